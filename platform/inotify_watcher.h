// Directory-change notification on inotify: one watched directory (optionally its subtree),
// a blocking wait for the next batch of changes, and a stop that wakes the waiter.
#pragma once

#include "platform/sys_error.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvane::platform {

/// Kinds of change to report, as bits of a filter mask. Linux has no separate creation
/// time, security descriptor or size notification, so several kinds share an inotify event:
///   FileNameFilter, DirNameFilter  entries (files / directories) added, removed, renamed
///                                  (IN_CREATE, IN_DELETE, IN_MOVED_FROM, IN_MOVED_TO)
///   AttributesFilter, SecurityFilter  permissions, owner, times, extended attributes of an
///                                  entry (IN_ATTRIB), reported as modified
///   SizeFilter                     contents written or truncated (IN_MODIFY)
///   LastWriteFilter                contents written (IN_MODIFY), or a file opened for
///                                  writing was closed (IN_CLOSE_WRITE, which "touch" gives)
///   LastAccessFilter               contents read (IN_ACCESS)
///   CreationFilter                 an entry of any kind was created (IN_CREATE)
enum ChangeFilter : std::uint32_t {
    FileNameFilter = 0x1,
    DirNameFilter = 0x2,
    AttributesFilter = 0x4,
    SizeFilter = 0x8,
    LastWriteFilter = 0x10,
    LastAccessFilter = 0x20,
    CreationFilter = 0x40,
    SecurityFilter = 0x100,
};

/// What happened to an entry.
enum class ChangeAction { Created, Deleted, Modified, Renamed };

/// One reported change. Names are bytes relative to the watched directory; an entry of a
/// watched subdirectory is named "sub/dir/name".
struct ChangeRecord
{
    ChangeAction action = ChangeAction::Modified;
    std::string name; ///< the entry; the old name of a rename
    std::string newName; ///< the new name of a rename; empty for the other actions

    bool operator==(const ChangeRecord&) const = default;
};

/// The result of InotifyWatcher::wait().
struct ChangeBatch
{
    bool stopped = false; ///< stop() was called; `records` is empty
    std::vector<ChangeRecord> records; ///< in the order the changes happened; never empty
                                       ///< unless stopped
};

/// The inotify events that serve `filters` (0 for none).
[[nodiscard]] std::uint32_t inotifyMaskFor(std::uint32_t filters);

/// Watches one directory. A rename inside the watched tree is one Renamed record (the
/// kernel's IN_MOVED_FROM / IN_MOVED_TO pair, matched by cookie); an entry moved out of the
/// tree is Deleted, one moved in is Created. Changes of the watched directory itself are not
/// reported. Changes lost to a full kernel queue are not reported either.
///
/// With a subtree, every subdirectory gets its own watch, also the ones that appear later
/// (symbolic links are never followed). Entries created inside a new subdirectory before its
/// watch is in place are covered only by the report of the subdirectory itself; a
/// subdirectory that cannot be watched (no permission, watch limit) is left out silently.
///
/// Threads: wait() is called by one thread at a time; stop() from any thread (it is also
/// async-signal-safe) for as long as the watcher lives.
class InotifyWatcher
{
public:
    /// Starts watching `directory` (bytes; a symbolic link to a directory is followed) for
    /// the changes in `filters`. Fails with the errno of the call that failed: ENOENT,
    /// ENOTDIR, EACCES, ENOSPC (watch limit), EMFILE; EINVAL when `filters` selects nothing.
    [[nodiscard]] static Result<std::unique_ptr<InotifyWatcher>> open(
        const std::string& directory, std::uint32_t filters, bool subtree);

    ~InotifyWatcher();
    InotifyWatcher(const InotifyWatcher&) = delete;
    InotifyWatcher& operator=(const InotifyWatcher&) = delete;
    InotifyWatcher(InotifyWatcher&&) = delete;
    InotifyWatcher& operator=(InotifyWatcher&&) = delete;

    /// Blocks, without a time limit and without using the processor, until changes are
    /// available or stop() has been called; stop() wins when both are true. Events that
    /// report nothing (filtered out, an overflow) do not end the wait. A failing poll or
    /// read is not reported: the wait pauses briefly and goes on.
    [[nodiscard]] ChangeBatch wait();

    /// Makes the current and every later wait() return `stopped`.
    void stop() noexcept;

private:
    struct RawEvent
    {
        int wd;
        std::uint32_t mask;
        std::uint32_t cookie;
        std::string_view name;
    };

    InotifyWatcher(
        int inotifyFd, int stopFd, std::string root, std::uint32_t filters, bool subtree);

    [[nodiscard]] bool readAvailable(std::size_t limit);
    void fetchRenamePartners();
    [[nodiscard]] std::vector<RawEvent> parse() const;
    [[nodiscard]] std::vector<ChangeRecord> decode(const std::vector<RawEvent>& events);
    void report(std::vector<ChangeRecord>& out, const RawEvent& event, ChangeRecord record);
    void followDirectory(const ChangeRecord& record);
    void watchTree(const std::string& relative);
    void renameTree(const std::string& from, const std::string& to);
    void forgetTree(const std::string& relative);
    void pauseAfterFailure() const;

    int m_inotifyFd;
    int m_stopFd;
    std::string m_root; ///< the watched directory with a final "/"
    std::uint32_t m_filters;
    bool m_subtree;
    std::unordered_map<int, std::string> m_prefixes; ///< watch → "" or "sub/dir/"
    std::vector<char> m_buffer;
    std::size_t m_used = 0; ///< bytes of m_buffer holding events
};

} // namespace quorvane::platform
