// The whole content of one regular file, read with a ceiling on its size.
#include "file_content.h"

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::platform {

namespace {

/// Closes the descriptor when the read is over, whichever way it ends.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    { }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    [[nodiscard]] int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

Result<std::string> readFileContent(const std::string& path, std::size_t maxBytes)
{
    // O_NONBLOCK keeps a FIFO from holding the open until a writer comes; for the regular
    // files read below it changes nothing.
    const FileDescriptor file(retryOnEintr(
        [&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK); }));
    if (file.get() < 0)
        return lastError("open " + path);
    struct stat info = {};
    if (::fstat(file.get(), &info) != 0)
        return lastError("status of " + path);
    if (S_ISDIR(info.st_mode))
        return SysError { EISDIR, "read " + path };
    if (!S_ISREG(info.st_mode))
        return SysError { EINVAL, "read " + path };

    std::string content;
    std::array<char, 65536> buffer {};
    for (;;) {
        const ssize_t count
            = retryOnEintr([&] { return ::read(file.get(), buffer.data(), buffer.size()); });
        if (count < 0)
            return lastError("read " + path);
        if (count == 0)
            return content;
        // The size is checked as the bytes come, not from the status: the file may grow.
        if (static_cast<std::size_t>(count) > maxBytes - content.size())
            return SysError { EFBIG, "read " + path };
        content.append(buffer.data(), static_cast<std::size_t>(count));
    }
}

} // namespace quorvane::platform
