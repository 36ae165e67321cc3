// Volume roots, the system directories and the temporary directory.
#include "volumes.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quorvane::platform {

namespace {

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

/// The kernel writes space, tab, newline and backslash in mountinfo paths as "\ooo".
std::string decodeOctalEscapes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && isOctalDigit(text[i + 1])
            && isOctalDigit(text[i + 2]) && isOctalDigit(text[i + 3])) {
            const int value
                = (text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0');
            if (value <= 0xFF) {
                out.push_back(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

/// The n-th (0-based) field of a line whose fields are separated by single spaces.
std::string_view nthField(std::string_view line, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos)
            return {};
        line.remove_prefix(space + 1);
    }
    return line.substr(0, line.find(' '));
}

std::string readWholeFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::vector<std::string> parseMountInfo(std::string_view text)
{
    std::vector<std::string> mounts;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::string_view mountPoint = nthField(line, 4);
        if (mountPoint.empty())
            continue;
        std::string decoded = decodeOctalEscapes(mountPoint);
        if (std::ranges::find(mounts, decoded) == mounts.end())
            mounts.push_back(std::move(decoded));
    }
    return mounts;
}

std::vector<std::string> mountPoints()
{
    std::vector<std::string> mounts = parseMountInfo(readWholeFile("/proc/self/mountinfo"));
    if (std::ranges::find(mounts, "/") == mounts.end())
        mounts.insert(mounts.begin(), "/");
    return mounts;
}

std::string normalizeDirectory(std::string_view path)
{
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        if (c == '/' && !out.empty() && out.back() == '/')
            continue;
        out.push_back(c);
    }
    if (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

bool isRoot(std::string_view dir, const std::vector<std::string>& mounts)
{
    const std::string normalized = normalizeDirectory(dir);
    if (normalized == "/")
        return true;
    return std::ranges::any_of(
        mounts, [&](const std::string& mount) { return normalizeDirectory(mount) == normalized; });
}

bool isRoot(std::string_view dir)
{
    return isRoot(dir, mountPoints());
}

const std::vector<std::string>& systemDirectories()
{
    static const std::vector<std::string> directories = {
        "/bin",
        "/boot",
        "/dev",
        "/etc",
        "/lib",
        "/lib32",
        "/lib64",
        "/proc",
        "/root",
        "/run",
        "/sbin",
        "/sys",
        "/usr",
        "/var",
    };
    return directories;
}

bool isDangerousPath(std::string_view dir, const std::vector<std::string>& mounts)
{
    if (isRoot(dir, mounts))
        return true;
    const std::string normalized = normalizeDirectory(dir);
    return std::ranges::find(systemDirectories(), normalized) != systemDirectories().end();
}

std::string tempDirectory()
{
    const char* tmpdir = std::getenv("TMPDIR"); // NOLINT(concurrency-mt-unsafe)
    if (tmpdir == nullptr || *tmpdir == '\0')
        return "/tmp";
    return normalizeDirectory(tmpdir);
}

} // namespace quorvane::platform
