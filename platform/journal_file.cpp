// The system calls behind the run journal.
#include "journal_file.h"

#include "config_home.h"
#include "volumes.h"

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#ifndef EXFAT_SUPER_MAGIC // older kernel headers
#define EXFAT_SUPER_MAGIC 0x2011BAB0
#endif

namespace quorvane::platform {

bool FileIdentity::isDirectory() const
{
    return type == S_IFDIR;
}

std::string stateHome()
{
    return baseDirectory("XDG_STATE_HOME", ".local/state");
}

Result<FileIdentity> fileIdentity(const std::string& path)
{
    struct statx info = {};
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW,
            STATX_INO | STATX_BTIME | STATX_TYPE | STATX_SIZE | STATX_MTIME, &info)
        != 0)
        return lastError("statx " + path);
    FileIdentity identity;
    identity.device = (std::uint64_t { info.stx_dev_major } << 32U) | info.stx_dev_minor;
    identity.inode = info.stx_ino;
    identity.type = info.stx_mode & S_IFMT;
    identity.size = info.stx_size;
    identity.mtimeNs
        = static_cast<std::int64_t>(info.stx_mtime.tv_sec) * 1'000'000'000 + info.stx_mtime.tv_nsec;
    if ((info.stx_mask & STATX_BTIME) != 0)
        identity.birthNs = static_cast<std::uint64_t>(info.stx_btime.tv_sec) * 1'000'000'000U
            + info.stx_btime.tv_nsec;
    return identity;
}

bool inodeNumbersStable(const std::string& dir)
{
    struct statfs volume = {};
    if (::statfs(dir.empty() ? "." : dir.c_str(), &volume) != 0)
        return true;
    const auto type = volume.f_type;
    return type != MSDOS_SUPER_MAGIC && type != EXFAT_SUPER_MAGIC && type != FUSE_SUPER_MAGIC;
}

Status makeDirectories(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (!prefix.empty() && ::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return lastError("mkdir " + prefix);
        if (slash == std::string::npos)
            break;
    }
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0)
        return lastError("stat " + path);
    if (!S_ISDIR(info.st_mode))
        return SysError { ENOTDIR, "mkdir " + path };
    return {};
}

Result<std::vector<std::string>> directoryNames(const std::string& dir)
{
    DIR* stream = ::opendir(dir.c_str());
    if (stream == nullptr)
        return lastError("opendir " + dir);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(stream)) { // NOLINT(concurrency-mt-unsafe)
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    const int error = errno;
    ::closedir(stream);
    if (error != 0)
        return SysError { error, "readdir " + dir };
    return names;
}

Status removeJournalFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        return lastError("unlink " + path);
    return {};
}

Status syncDirectory(const std::string& dir)
{
    const int fd
        = retryOnEintr([&] { return ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return lastError("open " + dir);
    const int result = retryOnEintr([&] { return ::fsync(fd); });
    const SysError error = lastError("fsync " + dir);
    ::close(fd);
    if (result != 0)
        return error;
    return {};
}

AppendFile::~AppendFile()
{
    close();
}

void AppendFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

Status AppendFile::create(const std::string& path)
{
    close();
    m_path = path;
    m_fd = retryOnEintr([&] {
        return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    });
    if (m_fd < 0)
        return lastError("create " + path);
    // Advisory only: a file system without locks still gets its journal.
    (void)::flock(m_fd, LOCK_EX | LOCK_NB);
    return {};
}

bool isLockedByAnother(const std::string& path)
{
    const int fd = retryOnEintr([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

Status AppendFile::openExisting(const std::string& path)
{
    close();
    m_path = path;
    m_fd = retryOnEintr(
        [&] { return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW); });
    if (m_fd < 0)
        return lastError("open " + path);
    return {};
}

Status AppendFile::append(std::string_view bytes)
{
    if (m_fd < 0)
        return SysError { EBADF, "write " + m_path };
    while (!bytes.empty()) {
        const ssize_t written
            = retryOnEintr([&] { return ::write(m_fd, bytes.data(), bytes.size()); });
        if (written < 0)
            return lastError("write " + m_path);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

Status AppendFile::sync()
{
    if (m_fd < 0)
        return SysError { EBADF, "fsync " + m_path };
    if (retryOnEintr([&] { return ::fsync(m_fd); }) != 0)
        return lastError("fsync " + m_path);
    return {};
}

} // namespace quorvane::platform
