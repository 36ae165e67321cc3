// A file replaced as a whole: written beside its target, renamed over it when complete.
#pragma once

#include "sys_error.h"

#include <optional>

#include <string>
#include <string_view>

namespace quorvane::platform {

/// Writes a new version of a file so that the path always names either the old file or the
/// complete new one. Every write is checked to its last byte (a full disk, a file size limit)
/// and the data reaches the disk before the rename. Destroyed without a successful commit()
/// it removes its temporary file and leaves the target as it was.
class AtomicFile
{
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    /// Creates the temporary file in the target's directory (a symbolic link as target is
    /// followed, so the link stays and its file gets the new contents). An existing target's
    /// permission bits carry over; a new file gets 0666 less the umask.
    [[nodiscard]] Status open(const std::string& path);
    /// Appends bytes. After a failure every later call fails with the same error.
    [[nodiscard]] Status write(std::string_view bytes);
    /// Flushes to disk and renames over the target. On failure nothing of it remains.
    [[nodiscard]] Status commit();

private:
    void discard();

    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    std::optional<SysError> m_error;
};

} // namespace quorvane::platform
