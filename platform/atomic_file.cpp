// A file replaced as a whole: written beside its target, renamed over it when complete.
#include "atomic_file.h"

#include <cstdlib>
#include <memory>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::platform {

namespace {

std::string directoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// The file a symbolic link finally names; the path itself when it is no link.
std::string resolvedTarget(const std::string& path)
{
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    const std::unique_ptr<char, decltype(&std::free)> real(
        ::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

} // namespace

AtomicFile::~AtomicFile()
{
    discard();
}

Status AtomicFile::open(const std::string& path)
{
    discard();
    m_error.reset();
    m_target = resolvedTarget(path);
    const std::string prefix = directoryOf(m_target) + "/." + baseNameOf(m_target) + ".";
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = prefix + std::to_string(random() % 1'000'000) + ".tmp";
        // O_EXCL: never write into something that is already there (or a planted link).
        const int fd = retryOnEintr([&] {
            return ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        });
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return lastError("create a temporary file beside " + m_target);
        }
        m_fd = fd;
        m_temporary = candidate;
        struct stat old = {};
        if (::stat(m_target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
            (void)::fchmod(m_fd, old.st_mode & 07777);
        return {};
    }
    return SysError { EEXIST, "create a temporary file beside " + m_target };
}

Status AtomicFile::write(std::string_view bytes)
{
    if (m_error)
        return *m_error;
    if (m_fd < 0)
        return SysError { EBADF, "write " + m_target };
    while (!bytes.empty()) {
        const ssize_t written
            = retryOnEintr([&] { return ::write(m_fd, bytes.data(), bytes.size()); });
        if (written < 0) {
            m_error = lastError("write " + m_target);
            return *m_error;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

Status AtomicFile::commit()
{
    if (m_error) {
        discard();
        return *m_error;
    }
    if (m_fd < 0)
        return SysError { EBADF, "write " + m_target };
    if (::fsync(m_fd) != 0) {
        const SysError error = lastError("write " + m_target);
        discard();
        return error;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const SysError error = lastError("write " + m_target);
        discard();
        return error;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const SysError error = lastError("replace " + m_target);
        discard();
        return error;
    }
    m_temporary.clear();
    return {};
}

void AtomicFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

} // namespace quorvane::platform
