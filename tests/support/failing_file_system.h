// The real file system with renames and trash moves that fail on demand, for failure tests.
#pragma once

#include "platform/posix_file_system.h"

#include <cerrno>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace quorvane::test {

class FailingFileSystem final : public platform::FileSystem
{
public:
    /// Decides the errno of the n-th rename call (1-based); 0 lets it through.
    std::function<int(int call, const std::string& from, const std::string& to)> renameError;
    /// Decides the errno of moving `path` to the trash; 0 (or no function) lets it through.
    std::function<int(const std::string& path)> trashError;
    /// Directories reported as dangerous.
    std::vector<std::string> dangerous;
    /// Directories whose listing fails with EACCES (given as the run spells them, with "/").
    std::vector<std::string> unreadable;

    int renameCalls = 0;
    std::vector<std::string> attributeCalls;
    std::vector<std::string> removeCalls;
    std::vector<std::string> trashCalls;
    /// How often each directory was listed. The file list lists on a worker thread while the
    /// tree lists on the GUI thread, hence the lock.
    mutable std::map<std::string, int> listings;
    mutable std::mutex listingsLock;
    /// Called before each listing, on the thread that lists: a test holds a read here.
    std::function<void(const std::string& dir)> beforeListing;

    [[nodiscard]] platform::Result<std::vector<platform::DirEntry>> listDirectory(
        const std::string& dir, platform::Detail detail) const override
    {
        for (const auto& d : unreadable)
            if (d == dir)
                return platform::SysError { EACCES, "open directory " + dir };
        if (beforeListing)
            beforeListing(dir);
        {
            const std::lock_guard lock(listingsLock);
            ++listings[dir];
        }
        return m_real.listDirectory(dir, detail);
    }
    [[nodiscard]] platform::Result<std::uint32_t> attributes(const std::string& path) const override
    {
        return m_real.attributes(path);
    }
    [[nodiscard]] platform::Result<platform::EntryStatus> status(
        const std::string& path, platform::Links links) const override
    {
        return m_real.status(path, links);
    }
    [[nodiscard]] platform::Status rename(const std::string& from, const std::string& to) override
    {
        ++renameCalls;
        if (renameError) {
            if (const int code = renameError(renameCalls, from, to); code != 0)
                return platform::SysError { code, "rename " + from };
        }
        return m_real.rename(from, to);
    }
    [[nodiscard]] platform::Status setAttributes(
        const std::string& path, std::uint32_t value) override
    {
        attributeCalls.push_back(path);
        return m_real.setAttributes(path, value);
    }
    [[nodiscard]] platform::Status removeFile(const std::string& path) override
    {
        removeCalls.push_back(path);
        return m_real.removeFile(path);
    }
    [[nodiscard]] platform::Result<std::string> moveToTrash(const std::string& path) override
    {
        trashCalls.push_back(path);
        if (trashError) {
            if (const int code = trashError(path); code != 0)
                return platform::SysError { code, "move to trash " + path };
        }
        return m_real.moveToTrash(path);
    }
    [[nodiscard]] bool isDangerousDirectory(const std::string& dir) const override
    {
        for (const auto& d : dangerous)
            if (d == dir)
                return true;
        return m_real.isDangerousDirectory(dir);
    }
    [[nodiscard]] std::size_t longestName(const std::string& dir) const override
    {
        return m_real.longestName(dir);
    }

private:
    platform::PosixFileSystem m_real;
};

} // namespace quorvane::test
