// FileSystem on POSIX/Linux system calls.
#pragma once

#include "file_system.h"

#include <string>

namespace quorvane::platform {

/// The real file system.
class PosixFileSystem final : public FileSystem
{
public:
    PosixFileSystem() = default;
    ~PosixFileSystem() override;
    PosixFileSystem(const PosixFileSystem&) = delete;
    PosixFileSystem& operator=(const PosixFileSystem&) = delete;

    [[nodiscard]] Result<std::vector<DirEntry>> listDirectory(
        const std::string& dir, Detail detail) const override;
    [[nodiscard]] Status visitDirectory(const std::string& dir, Detail detail,
        const std::function<void(const DirEntry&)>& visit) const override;
    [[nodiscard]] Result<std::uint32_t> attributes(const std::string& path) const override;
    [[nodiscard]] Result<EntryStatus> status(const std::string& path, Links links) const override;
    [[nodiscard]] Status rename(const std::string& from, const std::string& to) override;
    [[nodiscard]] Status renameIn(
        const std::string& directory, const std::string& from, const std::string& to) override;
    void closeRenameDirectory() override;
    [[nodiscard]] Status setAttributes(const std::string& path, std::uint32_t value) override;
    [[nodiscard]] Status removeFile(const std::string& path) override;
    [[nodiscard]] Result<std::string> moveToTrash(const std::string& path) override;
    [[nodiscard]] bool isDangerousDirectory(const std::string& dir) const override;
    [[nodiscard]] bool certainlyHasNoSubdirectories(const std::string& dir) const override;
    [[nodiscard]] std::size_t longestName(const std::string& dir) const override;

private:
    /// The directory renameIn keeps open (a descriptor that only names it), and its path.
    std::string m_renamePath;
    int m_renameFd = -1;
};

} // namespace quorvane::platform
