// FileSystem on POSIX/Linux system calls.
#include "posix_file_system.h"

#include "dos_attributes.h"
#include "posix_rename.h"
#include "trash.h"
#include "volumes.h"

#include <cstdlib>
#include <memory>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace quorvane::platform {

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

/// The file systems known to count a directory's subdirectories in its link count.
bool countsSubdirectoriesInLinks(const struct statfs& volume)
{
    const auto type = volume.f_type;
    return type == EXT4_SUPER_MAGIC // also ext2 and ext3, which share the magic number
        || type == XFS_SUPER_MAGIC || type == TMPFS_MAGIC;
}

/// `dir` (empty for the working directory) opened as a directory with `access` (O_RDONLY or
/// O_PATH), or -1.
int openDirectory(const std::string& dir, int access)
{
    const char* path = dir.empty() ? "." : dir.c_str();
    return retryOnEintr([&] { return ::open(path, access | O_DIRECTORY | O_CLOEXEC); });
}

/// Bits that only the stored word can carry, whatever the entry is.
constexpr std::uint32_t kStoredBits = kHidden | kSystem | kArchive;

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};

SysError failure(const char* what, const std::string& path)
{
    const int code = errno;
    return SysError { code, std::string(what) + " " + path };
}

std::string joinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty())
        return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::string_view baseNameOf(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

EntryKind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISDIR(mode))
        return EntryKind::Directory;
    if (S_ISLNK(mode))
        return EntryKind::Symlink;
    return EntryKind::Other;
}

/// The kind as readdir reports it; nullopt when the file system does not say.
std::optional<EntryKind> kindOfDirentType(unsigned char type)
{
    switch (type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Directory;
    case DT_LNK:
        return EntryKind::Symlink;
    case DT_UNKNOWN:
        return std::nullopt;
    default:
        return EntryKind::Other;
    }
}

std::uint32_t attributesOf(std::string_view name, const struct stat& info, std::uint32_t stored)
{
    std::uint32_t result = stored & kStoredBits;
    if (S_ISDIR(info.st_mode)) {
        // A directory's read-only flag is kept apart from its permissions: its entries must
        // stay renameable.
        result |= kDirectoryBit | (stored & kReadOnly);
    } else if ((info.st_mode & kWriteBits) == 0) {
        result |= kReadOnly;
    }
    if (name.starts_with('.') && name != "." && name != "..")
        result |= kHidden;
    return result;
}

std::int64_t nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000
        + static_cast<std::int64_t>(time.tv_nsec);
}

std::int64_t mtimeNsOf(const struct stat& info)
{
    return nanoseconds(info.st_mtim);
}

/// One entry as listDirectory reports it; nullopt when it vanished since readdir.
std::optional<DirEntry> readEntry(
    int dirFd, const std::string& dir, std::string name, unsigned char type, Detail detail)
{
    DirEntry entry;
    entry.name = std::move(name);
    const std::optional<EntryKind> kind = kindOfDirentType(type);
    if (kind && detail == Detail::KindOnly) {
        entry.kind = *kind;
        return entry;
    }
    struct stat info = {};
    if (::fstatat(dirFd, entry.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        // Listed but not examinable (a directory without search permission): keep the name.
        entry.kind = kind.value_or(EntryKind::Other);
        return entry;
    }
    entry.kind = kindOfMode(info.st_mode);
    if (detail == Detail::Full) {
        entry.size = static_cast<std::uint64_t>(info.st_size);
        entry.mtimeNs = mtimeNsOf(info);
        entry.attributes = attributesOf(entry.name, info, readDosAttrib(joinPath(dir, entry.name)));
    }
    return entry;
}

} // namespace

Result<std::vector<DirEntry>> PosixFileSystem::listDirectory(
    const std::string& dir, Detail detail) const
{
    std::vector<DirEntry> entries;
    if (Status read = visitDirectory(dir, detail, [&](const DirEntry& e) { entries.push_back(e); });
        !read.ok())
        return read.error();
    return entries;
}

Status PosixFileSystem::visitDirectory(
    const std::string& dir, Detail detail, const std::function<void(const DirEntry&)>& visit) const
{
    const std::unique_ptr<DIR, DirCloser> stream(::opendir(dir.empty() ? "." : dir.c_str()));
    if (!stream)
        return failure("open directory", dir);
    const int dirFd = ::dirfd(stream.get());
    for (;;) {
        errno = 0;
        const dirent* record = ::readdir(stream.get());
        if (record == nullptr) {
            if (errno != 0)
                return failure("read directory", dir);
            return {};
        }
        const std::string_view name(static_cast<const char*>(record->d_name));
        if (name == "." || name == "..")
            continue;
        std::optional<DirEntry> entry
            = readEntry(dirFd, dir, std::string(name), record->d_type, detail);
        if (entry) {
            entry->inode = static_cast<std::uint64_t>(record->d_ino);
            visit(*entry);
        }
    }
}

Result<std::uint32_t> PosixFileSystem::attributes(const std::string& path) const
{
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0)
        return failure("read attributes of", path);
    return attributesOf(baseNameOf(path), info, readDosAttrib(path));
}

std::size_t PosixFileSystem::longestName(const std::string& dir) const
{
    // Asked of the directory itself: a mounted volume may allow less than the system's
    // NAME_MAX (vfat, network file systems). -1 means no limit is known.
    const long longest = ::pathconf(dir.empty() ? "." : dir.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : 0;
}

bool PosixFileSystem::certainlyHasNoSubdirectories(const std::string& dir) const
{
    // A directory's link count is 2 plus its subdirectories (each one's ".." links back) on
    // the file systems that keep the old convention; btrfs, FUSE and network file systems
    // may answer anything, and ext4 answers 1 past 65,000 subdirectories. The directory is
    // opened for reading, so that one it could not list is not passed over in silence.
    const int fd = openDirectory(dir, O_RDONLY);
    if (fd < 0)
        return false;
    struct stat info = {};
    struct statfs volume = {};
    const bool none = ::fstat(fd, &info) == 0 && ::fstatfs(fd, &volume) == 0 && info.st_nlink == 2
        && countsSubdirectoriesInLinks(volume);
    ::close(fd);
    return none;
}

PosixFileSystem::~PosixFileSystem()
{
    closeRenameDirectory();
}

Status PosixFileSystem::rename(const std::string& from, const std::string& to)
{
    return renameNoReplace(from, to);
}

Status PosixFileSystem::renameIn(
    const std::string& directory, const std::string& from, const std::string& to)
{
    if (m_renameFd < 0 || directory != m_renamePath) {
        closeRenameDirectory();
        m_renameFd = openDirectory(directory, O_PATH);
        if (m_renameFd >= 0)
            m_renamePath = directory;
    }
    if (m_renameFd < 0)
        return renameNoReplace(directory + from, directory + to);
    return renameNoReplaceAt(m_renameFd, directory, from, to);
}

void PosixFileSystem::closeRenameDirectory()
{
    if (m_renameFd >= 0)
        ::close(m_renameFd);
    m_renameFd = -1;
    m_renamePath.clear();
}

Status PosixFileSystem::removeFile(const std::string& path)
{
    if (retryOnEintr([&] { return ::unlink(path.c_str()); }) != 0)
        return failure("delete", path);
    return {};
}

Result<std::string> PosixFileSystem::moveToTrash(const std::string& path)
{
    return platform::moveToTrash(path);
}

Status PosixFileSystem::setAttributes(const std::string& path, std::uint32_t value)
{
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0)
        return failure("set attributes of", path);

    Status result = writeDosAttrib(path, value);
    // Without user extended attributes nothing is lost when no bit needs the stored word.
    const std::uint32_t storedOnly = kStoredBits | (S_ISDIR(info.st_mode) ? kReadOnly : 0U);
    if (!result.ok() && (result.error().code == ENOTSUP || result.error().code == EOPNOTSUPP)
        && (value & storedOnly) == 0)
        result = Status {};

    if (S_ISREG(info.st_mode)) {
        const mode_t mode = info.st_mode & 07777;
        const mode_t wanted = (value & kReadOnly) != 0 ? mode & ~kWriteBits : mode | S_IWUSR;
        if (wanted != mode && ::chmod(path.c_str(), wanted) != 0 && result.ok())
            result = failure("set attributes of", path);
    }
    return result;
}

Result<EntryStatus> PosixFileSystem::status(const std::string& path, Links links) const
{
    struct stat info = {};
    const int result
        = links == Links::Follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (result != 0)
        return failure("stat", path);
    EntryStatus status;
    status.kind = kindOfMode(info.st_mode);
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.mtimeNs = nanoseconds(info.st_mtim);
    status.atimeNs = nanoseconds(info.st_atim);
    status.permissions = static_cast<std::uint32_t>(info.st_mode) & 0777U;
    return status;
}

bool PosixFileSystem::isDangerousDirectory(const std::string& dir) const
{
    const std::vector<std::string> mounts = mountPoints();
    if (isDangerousPath(dir, mounts))
        return true;
    const std::unique_ptr<char, decltype(&std::free)> resolved(
        ::realpath(dir.c_str(), nullptr), &std::free);
    return resolved && isDangerousPath(resolved.get(), mounts);
}

} // namespace quorvane::platform
