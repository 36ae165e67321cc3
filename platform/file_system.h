// The file-system operations the program needs, behind one interface so tests can fail them.
#pragma once

#include "sys_error.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorvane::platform {

/// DOS attribute bits as the program uses them.
enum Attribute : std::uint32_t {
    kReadOnly = 1,
    kHidden = 2,
    kSystem = 4,
    kDirectoryBit = 16,
    kArchive = 32,
};

/// What an entry is, read without following symbolic links.
enum class EntryKind { File, Directory, Symlink, Other };

/// One entry of a directory. Names are the raw bytes of the file system.
struct DirEntry
{
    std::string name;
    EntryKind kind = EntryKind::File;
    std::uint64_t inode = 0; ///< the inode number the directory lists (0 when unknown)
    /// The following are filled only by Detail::Full.
    std::uint32_t attributes = 0; ///< Attribute bits, kDirectoryBit for directories
    std::uint64_t size = 0; ///< bytes
    std::int64_t mtimeNs = 0; ///< modification time, nanoseconds since the Unix epoch
};

/// What one entry is, as status() reads it.
struct EntryStatus
{
    EntryKind kind = EntryKind::File;
    std::uint64_t size = 0; ///< bytes
    std::int64_t mtimeNs = 0; ///< modification time, nanoseconds since the Unix epoch
    std::int64_t atimeNs = 0; ///< last access, nanoseconds since the Unix epoch
    std::uint32_t permissions = 0; ///< the nine rwx bits of the mode
};

/// Whether status() looks through a symbolic link at the entry it names.
enum class Links { Follow, DoNotFollow };

/// How much listDirectory reads for every entry.
enum class Detail {
    KindOnly, ///< name and kind (cheap: no per-entry system call on most file systems)
    Full, ///< also attributes, size and modification time
};

/// The operating system's file system. Paths are byte strings; directory paths may or
/// may not end in "/". No operation follows a symbolic link that names the entry itself.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    /// Every entry of the directory except "." and "..", in the order the system gives.
    [[nodiscard]] virtual Result<std::vector<DirEntry>> listDirectory(
        const std::string& dir, Detail detail) const = 0;

    /// The same entries handed to `visit` one at a time (the same object each time), so
    /// that a directory of a million entries is never held whole. Fails as listDirectory
    /// does; entries visited before a failure stay visited.
    [[nodiscard]] virtual Status visitDirectory(const std::string& dir, Detail detail,
        const std::function<void(const DirEntry&)>& visit) const
    {
        auto listing = listDirectory(dir, detail);
        if (!listing.ok())
            return listing.error();
        for (const DirEntry& entry : listing.value())
            visit(entry);
        return {};
    }

    /// The attribute bits of one entry: read-only (files: no write permission bit;
    /// directories: the stored word), hidden (name begins with "." or stored bit),
    /// system and archive (stored word), kDirectoryBit for directories.
    [[nodiscard]] virtual Result<std::uint32_t> attributes(const std::string& path) const = 0;

    /// What one entry is: with Links::DoNotFollow a symbolic link is reported as a link.
    [[nodiscard]] virtual Result<EntryStatus> status(
        const std::string& path, Links links) const = 0;

    /// Renames without ever replacing an existing entry. A change of letter case alone
    /// succeeds on case-insensitive volumes too. `from` == `to` is a successful no-op.
    /// Fails with EEXIST when `to` exists.
    [[nodiscard]] virtual Status rename(const std::string& from, const std::string& to) = 0;

    /// rename(directory + from, directory + to), `directory` ending in "/" (or empty for the
    /// working directory), for a run renaming many entries of one directory: the system
    /// may keep the directory open from call to call, which spares it walking the path
    /// twice per entry, until closeRenameDirectory() or a call for another directory.
    [[nodiscard]] virtual Status renameIn(
        const std::string& directory, const std::string& from, const std::string& to)
    {
        return rename(directory + from, directory + to);
    }

    /// Lets go of the directory renameIn kept open: a later call opens it afresh, so that
    /// one run never reaches into a directory another run saw under the same path.
    virtual void closeRenameDirectory() { }

    /// Replaces the entry's attribute set with `value` (sum of Attribute bits): the stored
    /// word (extended attribute user.DOSATTRIB) and, for files, the write permission bits.
    /// The caller decides whether failures matter (the rename run ignores them).
    [[nodiscard]] virtual Status setAttributes(const std::string& path, std::uint32_t value) = 0;

    /// Deletes one entry that is not a directory (a symbolic link itself, never its target).
    [[nodiscard]] virtual Status removeFile(const std::string& path) = 0;

    /// Moves one entry that is not a directory into the user's trash (freedesktop.org
    /// layout: files/NAME and info/NAME.trashinfo). Entries of the home trash's device go to
    /// $XDG_DATA_HOME/Trash (default ~/.local/share/Trash), others to their own volume's
    /// $topdir/.Trash-$uid; missing trash directories are created with mode 0700. Never copies:
    /// when the entry's own volume has no usable trash it fails (EXDEV, EACCES ...) and the
    /// entry stays. EISDIR for a directory, ENOENT when nothing is there; a symbolic link is
    /// moved as the link. Returns the path the entry now has inside the trash.
    [[nodiscard]] virtual Result<std::string> moveToTrash(const std::string& path) = 0;

    /// True where a bulk rename is dangerous: a volume root ("/" or a mount point); /mnt,
    /// /media, /tmp, /var/tmp and the temporary directory themselves; else, unless it lies
    /// inside /tmp, /var/tmp or the temporary directory, any directory in the system trees
    /// (/usr /etc /var /opt /srv /lib* ...), /home and the user's home itself (not the
    /// directories inside it). Dangerous when either the path text (normalized:
    /// trailing "/", ".", ".." and repeated "/" do not matter) or its canonical form is.
    [[nodiscard]] virtual bool isDangerousDirectory(const std::string& dir) const = 0;

    /// The longest name, in bytes, that the file system holding `dir` gives an entry (its
    /// NAME_MAX); 0 when the system cannot tell.
    [[nodiscard]] virtual std::size_t longestName(const std::string& dir) const
    {
        (void)dir;
        return 0;
    }

    /// True only when the system can tell, without reading the directory's entries, that
    /// `dir` has no subdirectory; false when it has one, and whenever in doubt. A directory
    /// of a million files need not be read through to learn it has no subdirectories.
    [[nodiscard]] virtual bool certainlyHasNoSubdirectories(const std::string& dir) const
    {
        (void)dir;
        return false;
    }
};

} // namespace quorvane::platform
