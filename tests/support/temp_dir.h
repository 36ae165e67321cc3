// A real temporary directory for one test, removed with everything in it afterwards.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace quorvane::test {

inline void writeFile(const std::string& path, const std::string& contents)
{
    std::ofstream out(path, std::ios::binary);
    out << contents;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

/// The names in the directory `path`, sorted by bytes.
inline std::vector<std::string> namesIn(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

/// True when the path names an entry, a dangling symbolic link included.
inline bool exists(const std::string& path)
{
    struct stat info = {};
    return ::lstat(path.c_str(), &info) == 0;
}

class TempDir
{
public:
    TempDir()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp")
            + "/quorvane-test-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        // Read-only directories left by a test must not keep their contents alive.
        std::filesystem::permissions(
            m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The directory, without a final "/".
    [[nodiscard]] const std::string& path() const { return m_path; }
    /// path() + "/" + relative.
    [[nodiscard]] std::string operator/(const std::string& relative) const
    {
        return m_path + "/" + relative;
    }

    /// Creates a file (and its parent directories) holding `content`.
    void file(const std::string& relative, const std::string& content = {}) const
    {
        const std::filesystem::path p = *this / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
    }
    void dir(const std::string& relative) const
    {
        std::filesystem::create_directories(*this / relative);
    }
    [[nodiscard]] bool exists(const std::string& relative) const
    {
        return test::exists(*this / relative);
    }
    [[nodiscard]] std::string read(const std::string& relative) const
    {
        return readFile(*this / relative);
    }
    /// The names in a directory below this one ("" for this one), sorted by bytes.
    [[nodiscard]] std::vector<std::string> namesIn(const std::string& relative = {}) const
    {
        return test::namesIn(relative.empty() ? m_path : *this / relative);
    }

private:
    std::string m_path;
};

} // namespace quorvane::test
