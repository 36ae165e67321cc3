// Directory-change notification on inotify: one watched directory (optionally its subtree),
// a blocking wait for the next batch of changes, and a stop that wakes the waiter.
#include "inotify_watcher.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::platform {

namespace {

constexpr std::uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
/// The events a subtree needs to follow its subdirectories, whatever the filters.
constexpr std::uint32_t kTreeEvents = IN_CREATE | IN_MOVED_FROM | IN_MOVED_TO;

constexpr std::size_t kBufferSize = std::size_t { 64 } * 1024;
/// The first read of a batch leaves the rest of the buffer for the partners of its renames.
constexpr std::size_t kFirstReadSize = std::size_t { 48 } * 1024;
constexpr std::size_t kLargestEvent = sizeof(inotify_event) + NAME_MAX + 1;
/// How long a rename's second half may lag behind its first, and how often we look for it.
constexpr int kPartnerWaitMs = 5;
constexpr int kPartnerReads = 8;
constexpr int kFailurePauseMs = 100;

/// The filters under which an event is worth reporting.
std::uint32_t filtersExplaining(std::uint32_t mask, bool isDir)
{
    const std::uint32_t names = isDir ? DirNameFilter : FileNameFilter;
    if ((mask & IN_CREATE) != 0)
        return names | CreationFilter;
    if ((mask & (IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) != 0)
        return names;
    if ((mask & IN_ATTRIB) != 0)
        return AttributesFilter | SecurityFilter;
    if ((mask & IN_MODIFY) != 0)
        return SizeFilter | LastWriteFilter;
    if ((mask & IN_CLOSE_WRITE) != 0)
        return LastWriteFilter;
    if ((mask & IN_ACCESS) != 0)
        return LastAccessFilter;
    return 0;
}

ChangeAction actionOf(std::uint32_t mask)
{
    if ((mask & (IN_CREATE | IN_MOVED_TO)) != 0)
        return ChangeAction::Created;
    if ((mask & (IN_DELETE | IN_MOVED_FROM)) != 0)
        return ChangeAction::Deleted;
    return ChangeAction::Modified;
}

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};

/// The subdirectories of `path`, symbolic links left out; none when it cannot be read.
std::vector<std::string> subdirectoriesOf(const std::string& path, bool followLink)
{
    std::vector<std::string> names;
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    const int fd = retryOnEintr([&] { return ::open(path.c_str(), flags); });
    if (fd < 0)
        return names;
    const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        ::close(fd);
        return names;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool isDir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info = {};
            isDir = ::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0
                && S_ISDIR(info.st_mode);
        }
        if (isDir)
            names.emplace_back(name);
    }
    return names;
}

bool hasPrefix(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

std::uint32_t inotifyMaskFor(std::uint32_t filters)
{
    std::uint32_t mask = 0;
    if ((filters & (FileNameFilter | DirNameFilter)) != 0)
        mask |= kNameEvents;
    if ((filters & (AttributesFilter | SecurityFilter)) != 0)
        mask |= IN_ATTRIB;
    if ((filters & SizeFilter) != 0)
        mask |= IN_MODIFY;
    if ((filters & LastWriteFilter) != 0)
        mask |= IN_MODIFY | IN_CLOSE_WRITE;
    if ((filters & LastAccessFilter) != 0)
        mask |= IN_ACCESS;
    if ((filters & CreationFilter) != 0)
        mask |= IN_CREATE;
    return mask;
}

Result<std::unique_ptr<InotifyWatcher>> InotifyWatcher::open(
    const std::string& directory, std::uint32_t filters, bool subtree)
{
    if (inotifyMaskFor(filters) == 0)
        return SysError { EINVAL, "watch " + directory };
    if (directory.empty())
        return SysError { ENOENT, "watch" };
    const int inotifyFd = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (inotifyFd < 0)
        return lastError("inotify_init1");
    const int stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd < 0) {
        SysError error = lastError("eventfd");
        ::close(inotifyFd);
        return error;
    }
    const std::string root = directory.back() == '/' ? directory : directory + "/";
    // The watcher owns both descriptors from here on, also when the watch fails.
    std::unique_ptr<InotifyWatcher> watcher(
        new InotifyWatcher(inotifyFd, stopFd, root, filters, subtree));
    std::uint32_t mask = inotifyMaskFor(filters) | IN_ONLYDIR | IN_EXCL_UNLINK;
    if (subtree)
        mask |= kTreeEvents;
    const int wd = ::inotify_add_watch(inotifyFd, directory.c_str(), mask);
    if (wd < 0)
        return lastError("inotify_add_watch " + directory);
    watcher->m_prefixes.emplace(wd, std::string());
    if (subtree)
        watcher->watchTree({});
    return watcher;
}

InotifyWatcher::InotifyWatcher(
    int inotifyFd, int stopFd, std::string root, std::uint32_t filters, bool subtree)
    : m_inotifyFd(inotifyFd)
    , m_stopFd(stopFd)
    , m_root(std::move(root))
    , m_filters(filters)
    , m_subtree(subtree)
    , m_buffer(kBufferSize)
{ }

InotifyWatcher::~InotifyWatcher()
{
    ::close(m_inotifyFd);
    ::close(m_stopFd);
}

ChangeBatch InotifyWatcher::wait()
{
    for (;;) {
        std::array<pollfd, 2> fds { { { m_stopFd, POLLIN, 0 }, { m_inotifyFd, POLLIN, 0 } } };
        // No timeout: an idle watcher sleeps in the kernel until a change or the stop.
        if (retryOnEintr([&] { return ::poll(fds.data(), fds.size(), -1); }) < 0) {
            pauseAfterFailure();
            continue;
        }
        if (fds[0].revents != 0)
            return { true, {} };
        if (fds[1].revents == 0)
            continue;
        m_used = 0;
        if (!readAvailable(kFirstReadSize)) {
            if (errno != EAGAIN)
                pauseAfterFailure();
            continue;
        }
        fetchRenamePartners();
        std::vector<ChangeRecord> records = decode(parse());
        if (!records.empty())
            return { false, std::move(records) };
    }
}

void InotifyWatcher::stop() noexcept
{
    // An eventfd stays readable once written: every later poll sees the stop at once.
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written
        = retryOnEintr([&] { return ::write(m_stopFd, &one, sizeof one); });
}

bool InotifyWatcher::readAvailable(std::size_t limit)
{
    const std::size_t room = std::min(limit, m_buffer.size()) - m_used;
    const ssize_t count
        = retryOnEintr([&] { return ::read(m_inotifyFd, m_buffer.data() + m_used, room); });
    if (count <= 0)
        return false;
    m_used += static_cast<std::size_t>(count);
    return true;
}

// The kernel queues the two halves of a rename one after the other, but a read may end
// between them. While a half is missing, read on for a moment so that one rename is
// reported once with both names; without its partner, a half is a move out or in.
void InotifyWatcher::fetchRenamePartners()
{
    for (int attempt = 0; attempt < kPartnerReads; ++attempt) {
        std::unordered_set<std::uint32_t> unpaired;
        for (const RawEvent& event : parse()) {
            if ((event.mask & IN_MOVED_FROM) != 0)
                unpaired.insert(event.cookie);
            else if ((event.mask & IN_MOVED_TO) != 0)
                unpaired.erase(event.cookie);
        }
        if (unpaired.empty() || m_buffer.size() - m_used < kLargestEvent)
            return;
        pollfd fd { m_inotifyFd, POLLIN, 0 };
        if (retryOnEintr([&] { return ::poll(&fd, 1, kPartnerWaitMs); }) <= 0)
            return;
        if (!readAvailable(m_buffer.size()))
            return;
    }
}

std::vector<InotifyWatcher::RawEvent> InotifyWatcher::parse() const
{
    std::vector<RawEvent> events;
    std::size_t offset = 0;
    while (offset + sizeof(inotify_event) <= m_used) {
        inotify_event header {};
        std::memcpy(&header, m_buffer.data() + offset, sizeof header);
        const char* name = m_buffer.data() + offset + sizeof header;
        const std::size_t length = header.len == 0 ? 0 : ::strnlen(name, header.len);
        events.push_back({ header.wd, header.mask, header.cookie, { name, length } });
        offset += sizeof header + header.len;
    }
    return events;
}

std::vector<ChangeRecord> InotifyWatcher::decode(const std::vector<RawEvent>& events)
{
    std::unordered_set<std::uint32_t> partnered;
    for (const RawEvent& event : events) {
        if ((event.mask & IN_MOVED_TO) != 0)
            partnered.insert(event.cookie);
    }
    // The first half of each paired rename, waiting for its second half.
    std::unordered_map<std::uint32_t, std::pair<RawEvent, std::string>> pending;
    std::vector<ChangeRecord> out;
    for (const RawEvent& event : events) {
        if ((event.mask & IN_Q_OVERFLOW) != 0) {
            // Lost events may have included new subdirectories: look for them again.
            if (m_subtree)
                watchTree({});
            continue;
        }
        if ((event.mask & IN_IGNORED) != 0) {
            m_prefixes.erase(event.wd);
            continue;
        }
        const auto watch = m_prefixes.find(event.wd);
        if (watch == m_prefixes.end() || event.name.empty())
            continue; // a removed watch, or the watched directory itself
        std::string name = watch->second + std::string(event.name);
        if ((event.mask & IN_MOVED_FROM) != 0 && partnered.contains(event.cookie)) {
            pending.insert_or_assign(event.cookie, std::pair { event, std::move(name) });
            continue;
        }
        ChangeRecord record { actionOf(event.mask), std::move(name), {} };
        if ((event.mask & IN_MOVED_TO) != 0) {
            if (const auto from = pending.find(event.cookie); from != pending.end()) {
                record = { ChangeAction::Renamed, std::move(from->second.second),
                    std::move(record.name) };
                pending.erase(from);
            }
        }
        report(out, event, std::move(record));
    }
    // A first half whose second half came from a watch we no longer know: a move out.
    for (auto& [cookie, half] : pending)
        report(out, half.first, { ChangeAction::Deleted, std::move(half.second), {} });
    return out;
}

void InotifyWatcher::report(
    std::vector<ChangeRecord>& out, const RawEvent& event, ChangeRecord record)
{
    const bool isDir = (event.mask & IN_ISDIR) != 0;
    if (isDir && m_subtree)
        followDirectory(record);
    if ((filtersExplaining(event.mask, isDir) & m_filters) != 0)
        out.push_back(std::move(record));
}

void InotifyWatcher::followDirectory(const ChangeRecord& record)
{
    switch (record.action) {
    case ChangeAction::Created:
        watchTree(record.name);
        break;
    case ChangeAction::Deleted:
        forgetTree(record.name);
        break;
    case ChangeAction::Renamed:
        renameTree(record.name, record.newName);
        break;
    case ChangeAction::Modified:
        break;
    }
}

// Watches the directory `relative` (not the root, which open() watches) and everything
// below it. Adding a watch for a directory already watched returns the same descriptor,
// so looking again after an overflow only fills the gaps.
void InotifyWatcher::watchTree(const std::string& relative)
{
    const std::uint32_t mask
        = inotifyMaskFor(m_filters) | kTreeEvents | IN_ONLYDIR | IN_EXCL_UNLINK | IN_DONT_FOLLOW;
    std::vector<std::string> pending { relative };
    while (!pending.empty()) {
        const std::string dir = std::move(pending.back());
        pending.pop_back();
        const std::string path = m_root + dir;
        if (!dir.empty()) {
            const int wd = ::inotify_add_watch(m_inotifyFd, path.c_str(), mask);
            if (wd < 0)
                continue;
            m_prefixes.insert_or_assign(wd, dir + "/");
        }
        const std::string prefix = dir.empty() ? dir : dir + "/";
        for (const std::string& name : subdirectoriesOf(path, dir.empty()))
            pending.push_back(prefix + name);
    }
}

void InotifyWatcher::renameTree(const std::string& from, const std::string& to)
{
    const std::string oldPrefix = from + "/";
    const std::string newPrefix = to + "/";
    for (auto& [wd, prefix] : m_prefixes) {
        if (hasPrefix(prefix, oldPrefix))
            prefix.replace(0, oldPrefix.size(), newPrefix);
    }
}

void InotifyWatcher::forgetTree(const std::string& relative)
{
    const std::string gone = relative + "/";
    for (auto it = m_prefixes.begin(); it != m_prefixes.end();) {
        if (hasPrefix(it->second, gone)) {
            ::inotify_rm_watch(m_inotifyFd, it->first);
            it = m_prefixes.erase(it);
        } else {
            ++it;
        }
    }
}

void InotifyWatcher::pauseAfterFailure() const
{
    pollfd fd { m_stopFd, POLLIN, 0 };
    ::poll(&fd, 1, kFailurePauseMs);
}

} // namespace quorvane::platform
