// FileSystem on POSIX/Linux system calls.
#pragma once

#include "file_system.h"

namespace quorvane::platform {

/// The real file system.
class PosixFileSystem final : public FileSystem
{
public:
    [[nodiscard]] Result<std::vector<DirEntry>> listDirectory(
        const std::string& dir, Detail detail) const override;
    [[nodiscard]] Status visitDirectory(const std::string& dir, Detail detail,
        const std::function<void(const DirEntry&)>& visit) const override;
    [[nodiscard]] Result<std::uint32_t> attributes(const std::string& path) const override;
    [[nodiscard]] Result<EntryStatus> status(const std::string& path, Links links) const override;
    [[nodiscard]] Status rename(const std::string& from, const std::string& to) override;
    [[nodiscard]] Status setAttributes(const std::string& path, std::uint32_t value) override;
    [[nodiscard]] Status removeFile(const std::string& path) override;
    [[nodiscard]] Result<std::string> moveToTrash(const std::string& path) override;
    [[nodiscard]] bool isDangerousDirectory(const std::string& dir) const override;
};

} // namespace quorvane::platform
