// Volume roots, the system directories and the temporary directory.
#include "volumes.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

/// The canonical form of an existing path, or "" when it cannot be resolved.
std::string canonicalPath(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(
        ::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

/// The home directory of the passwd entry of the real user, or "" without one.
std::string passwdHome()
{
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    struct passwd entry = {};
    struct passwd* found = nullptr;
    constexpr std::size_t kLargestBuffer = 1U << 20;
    while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE
        && buffer.size() < kLargestBuffer)
        buffer.resize(buffer.size() * 2);
    return found != nullptr && found->pw_dir != nullptr ? std::string(found->pw_dir)
                                                        : std::string();
}

/// The normalized path is a single component that begins with "lib".
bool isTopLevelLib(const std::string& normalized)
{
    return normalized.starts_with("/lib") && normalized.find('/', 1) == std::string::npos;
}

bool isSystemTreeRoot(const std::string& normalized)
{
    return isTopLevelLib(normalized)
        || std::ranges::find(systemDirectories(), normalized) != systemDirectories().end();
}

/// The normalized path lies in one of the system trees; any top-level "/lib..." counts, as
/// distributions add their own (/libexec, /libx32, /lib.usr-is-merged).
bool isInSystemTree(const std::string& normalized)
{
    if (normalized.starts_with("/lib"))
        return true;
    return std::ranges::any_of(systemDirectories(),
        [&](const std::string& system) { return isWithin(normalized, system); });
}

/// Whether the insides of the temporary directory may count as scratch space. A setting that
/// names "/", /home, the root of a system tree or a directory holding a home would switch the
/// guard off for all of it, so it is not trusted. A temporary directory deeper inside a system
/// tree is (a build tree under /opt or /var/lib with TMPDIR pointing into it).
bool isTrustedScratch(const std::string& temp, const std::vector<std::string>& homes)
{
    if (temp.empty() || temp == "/" || temp == "/home" || isSystemTreeRoot(temp))
        return false;
    return std::ranges::none_of(
        homes, [&](const std::string& home) { return isWithin(home, temp); });
}

/// Directories that are dangerous themselves though not what lies inside them: the places
/// where volumes are mounted, and the roots of scratch space. Other programs keep their own
/// directories in /tmp, and a run there would rename them all with the user's files: the mask
/// limits the files a run takes, never the directories. The temporary directory counts as
/// given and in canonical form, whatever it names.
bool isSharedParent(const std::string& normalized)
{
    for (const char* shared : { "/mnt", "/media", "/tmp", "/var/tmp" }) {
        if (normalized == shared)
            return true;
    }
    const std::string temp = tempDirectory();
    return temp.starts_with('/') && (normalized == temp || normalized == canonicalPath(temp));
}

/// The directories whose insides are scratch space the user owns.
std::vector<std::string> scratchDirectories(const std::vector<std::string>& homes)
{
    std::vector<std::string> scratch = { "/tmp", "/var/tmp" };
    const std::string temp = tempDirectory();
    if (!temp.starts_with('/'))
        return scratch;
    for (std::string form : { normalizeDirectory(temp), canonicalPath(temp) }) {
        if (isTrustedScratch(form, homes))
            scratch.push_back(std::move(form));
    }
    return scratch;
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
    if (path.empty())
        return {};
    const bool absolute = path.starts_with('/');
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (const std::string_view part : parts) {
        if (absolute || !out.empty())
            out.push_back('/');
        out.append(part);
    }
    if (out.empty())
        return absolute ? "/" : ".";
    return out;
}

bool isWithin(std::string_view path, std::string_view ancestor)
{
    const std::string p = normalizeDirectory(path);
    const std::string a = normalizeDirectory(ancestor);
    if (a.empty() || p.size() < a.size() || !p.starts_with(a))
        return false;
    return p.size() == a.size() || a == "/" || p[a.size()] == '/';
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
        "/libx32",
        "/opt",
        "/proc",
        "/run",
        "/sbin",
        "/srv",
        "/sys",
        "/usr",
        "/var",
    };
    return directories;
}

std::vector<std::string> homeDirectories()
{
    std::vector<std::string> homes;
    const auto add = [&homes](const std::string& home) {
        if (!home.starts_with('/'))
            return;
        for (std::string form : { normalizeDirectory(home), canonicalPath(home) }) {
            if (!form.empty() && std::ranges::find(homes, form) == homes.end())
                homes.push_back(std::move(form));
        }
    };
    if (const char* home = std::getenv("HOME")) // NOLINT(concurrency-mt-unsafe)
        add(home);
    add(passwdHome());
    return homes;
}

bool isDangerousPath(std::string_view dir, const std::vector<std::string>& mounts)
{
    if (isRoot(dir, mounts))
        return true;
    const std::string normalized = normalizeDirectory(dir);
    const std::vector<std::string> homes = homeDirectories();
    // A home is dangerous wherever it lies, also inside scratch space. The administrator's
    // home is a home like the others: dangerous itself, not its insides.
    if (normalized == "/home" || normalized == "/root"
        || std::ranges::find(homes, normalized) != homes.end() || isSharedParent(normalized))
        return true;
    if (std::ranges::any_of(scratchDirectories(homes), [&](const std::string& scratch) {
            return normalized != scratch && isWithin(normalized, scratch);
        }))
        return false;
    // udisks mounts a user's volumes below /run/media/USER on some systems: inside such a
    // volume lie the user's files, not the system's, though /run is a system tree.
    if (std::ranges::any_of(mounts, [&](const std::string& mount) {
            const std::string volume = normalizeDirectory(mount);
            return volume.starts_with("/run/media/") && normalized != volume
                && isWithin(normalized, volume);
        }))
        return false;
    return isInSystemTree(normalized);
}

bool isDirectory(const std::string& path)
{
    struct stat info = {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string tempDirectory()
{
    const char* tmpdir = std::getenv("TMPDIR"); // NOLINT(concurrency-mt-unsafe)
    if (tmpdir == nullptr || *tmpdir == '\0')
        return "/tmp";
    return normalizeDirectory(tmpdir);
}

} // namespace quorvane::platform
