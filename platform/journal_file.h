// The system calls behind the run journal: where it lives, an append-only file made durable
// on request, and the identity of an entry.
#pragma once

#include "sys_error.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform {

/// The base directory of the user's state files, without a trailing "/": $XDG_STATE_HOME
/// when it is an absolute path, otherwise ".local/state" in the home directory. Empty when
/// no home is known.
[[nodiscard]] std::string stateHome();

/// What an entry is, whatever its name: the device, the inode number and, where the file
/// system keeps it, the birth time (a symbolic link is identified as itself). The birth
/// time tells a file apart from a later one that was given the inode number it freed.
/// Where the volume does not keep inode numbers (stableNumbers false), neither the device
/// nor the inode number tells anything; the entry's type, size and modification time, read
/// with them, are what is left to tell it by.
struct FileIdentity
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t birthNs = 0; ///< nanoseconds since the epoch; 0 when not known
    /// The volume gives an entry the same inode number at every lookup, for as long as the
    /// entry lives. False on FAT and exFAT (in the kernel or through FUSE) and on FUSE volumes.
    bool stableNumbers = true;
    std::uint32_t type = 0; ///< the S_IFMT bits of the mode; 0 when not read
    std::uint64_t size = 0; ///< bytes
    std::int64_t mtimeNs = 0; ///< modification time, nanoseconds since the epoch

    /// An identity that was never read; it matches nothing.
    [[nodiscard]] bool known() const { return inode != 0; }
    /// The entry is a directory (by the type read with the identity).
    [[nodiscard]] bool isDirectory() const;
    /// The same entry: device and inode agree, and so do the birth times where both are known.
    [[nodiscard]] bool sameEntry(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode
            && (birthNs == 0 || other.birthNs == 0 || birthNs == other.birthNs);
    }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

/// The identity of the entry at `path` (not following a final symbolic link), with its
/// type, size and modification time. stableNumbers is left true: only the volume can tell
/// (inodeNumbersStable).
[[nodiscard]] Result<FileIdentity> fileIdentity(const std::string& path);

/// False when the volume holding directory `dir` may give one entry another inode number
/// from one lookup to the next, or after a remount another device number: FAT and exFAT,
/// whose numbers are made up in memory, and FUSE, whose numbers are the session's own
/// (fusefat's change whenever the kernel forgets an entry). True when in doubt.
[[nodiscard]] bool inodeNumbersStable(const std::string& dir);

/// Creates `path` and its missing parents with mode 0700; an existing directory is success.
[[nodiscard]] Status makeDirectories(const std::string& path);

/// The names in a directory, "." and ".." left out, in no particular order.
[[nodiscard]] Result<std::vector<std::string>> directoryNames(const std::string& dir);

/// Removes one file.
[[nodiscard]] Status removeJournalFile(const std::string& path);

/// Makes the entries of a directory (a new file's name) durable: fsync of the directory.
[[nodiscard]] Status syncDirectory(const std::string& dir);

/// True when another open file description holds the lock that AppendFile::create takes:
/// the journal belongs to a run that is still going on in some process.
[[nodiscard]] bool isLockedByAnother(const std::string& path);

/// A file written only at its end (O_APPEND), whose bytes reach the disk when sync() is
/// called. A created file is locked (flock) until it is closed, so that other processes can
/// tell a run in progress from one that died. Closed by its destructor.
class AppendFile
{
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    /// Creates a new file with mode 0600; EEXIST when the name is taken.
    [[nodiscard]] Status create(const std::string& path);
    /// Opens an existing file to add to it.
    [[nodiscard]] Status openExisting(const std::string& path);
    /// Writes every byte (short writes and EINTR are continued).
    [[nodiscard]] Status append(std::string_view bytes);
    /// fsync of the file.
    [[nodiscard]] Status sync();
    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    void close();

private:
    int m_fd = -1;
    std::string m_path;
};

} // namespace quorvane::platform
