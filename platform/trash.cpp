// The user's trash as desktops share it (freedesktop.org Trash): a home trash and one per volume.
#include "trash.h"

#include "posix_rename.h"
#include "volumes.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::platform {

namespace {

constexpr mode_t kPrivateDirectory = 0700;
constexpr std::string_view kInfoSuffix = ".trashinfo";
/// Names tried in one trash before giving up; only a trash holding that many entries of one
/// name, or a file system that always answers EEXIST, gets there.
constexpr int kNameAttempts = 100000;

std::string trashOperation(const std::string& path)
{
    return "move to trash " + path;
}

SysError failure(const std::string& operation)
{
    const int code = errno;
    return SysError { code, operation };
}

/// The error of a step, told as part of the whole move.
SysError asPartOf(const std::string& operation, const SysError& step)
{
    std::string text = operation;
    text.append(" (").append(step.operation).append(")");
    return SysError { step.code, std::move(text) };
}

bool sameEntry(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// Makes every missing directory of the absolute `path`, each with mode 0700: the trash holds
/// what the user threw away and is nobody else's business.
Status makeDirectories(const std::string& path)
{
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('/', end + 1);
        const std::string prefix = path.substr(0, end);
        struct stat info = {};
        if (::stat(prefix.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode))
                return SysError { ENOTDIR, "create directory " + prefix };
            continue;
        }
        if (errno != ENOENT || (::mkdir(prefix.c_str(), kPrivateDirectory) != 0 && errno != EEXIST))
            return failure("create directory " + prefix);
    }
    return {};
}

/// The device of the path's nearest existing ancestor (itself included): where a directory
/// created there would live.
std::optional<dev_t> deviceOfNearest(std::string path)
{
    for (;;) {
        struct stat info = {};
        if (::stat(path.c_str(), &info) == 0)
            return info.st_dev;
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos || path == "/")
            return std::nullopt;
        path.resize(slash == 0 ? 1 : slash);
    }
}

/// A directory of our own in a volume's trash: created 0700 when missing, refused when it is
/// a link or a stranger's, as another user could otherwise read what we throw away.
Status ensureOwnDirectory(const std::string& dir)
{
    if (::mkdir(dir.c_str(), kPrivateDirectory) != 0 && errno != EEXIST)
        return failure("create directory " + dir);
    struct stat info = {};
    if (::lstat(dir.c_str(), &info) != 0)
        return failure("create directory " + dir);
    if (!S_ISDIR(info.st_mode))
        return SysError { ENOTDIR, "use trash " + dir };
    if (info.st_uid != ::getuid())
        return SysError { EACCES, "use trash " + dir };
    return {};
}

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

/// NAME for the `attempt`-th try (0-based), short enough that NAME.trashinfo is a valid name.
/// The record keeps the full original path, so a shortened NAME loses nothing.
std::string trashName(std::string_view base, int attempt)
{
    const std::string suffix = attempt == 0 ? std::string() : "." + std::to_string(attempt + 1);
    const std::size_t room = NAME_MAX - kInfoSuffix.size() - suffix.size();
    if (base.size() > room) {
        std::size_t keep = room;
        for (int back = 0; back < 3 && keep > 0 && isUtf8Continuation(base[keep]); ++back)
            --keep;
        base = base.substr(0, keep);
    }
    return std::string(base) + suffix;
}

Status writeAll(int fd, std::string_view text, const std::string& operation)
{
    while (!text.empty()) {
        const ssize_t written = retryOnEintr([&] { return ::write(fd, text.data(), text.size()); });
        if (written < 0)
            return failure(operation);
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

/// Writes the record into the new file `infoPath` made with O_EXCL. EEXIST means the name is
/// taken; a record that could not be written completely is removed.
Status writeRecord(const std::string& infoPath, const std::string& text)
{
    const int fd = retryOnEintr([&] {
        return ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    });
    if (fd < 0)
        return failure("create " + infoPath);
    Status status = writeAll(fd, text, "write " + infoPath);
    if (::close(fd) != 0 && status.ok())
        status = failure("write " + infoPath);
    if (!status.ok())
        (void)::unlink(infoPath.c_str());
    return status;
}

std::tm localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    (void)::localtime_r(&now, &local);
    return local;
}

/// The path a record of `location` holds for `original`: relative to the volume's mount point
/// in a volume trash, absolute in the home trash.
std::string recordedPath(const std::string& original, const TrashLocation& location)
{
    if (location.topdir.empty())
        return original;
    const std::size_t skip = location.topdir == "/" ? 1 : location.topdir.size() + 1;
    return original.substr(skip);
}

std::string canonicalDirectory(const std::string& dir)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(
        ::realpath(dir.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

/// The mount point of the volume holding `dir` (canonical): the longest one that contains it.
std::string mountPointOf(const std::string& dir)
{
    std::string best = "/";
    for (const std::string& mount : mountPoints()) {
        const std::string normalized = normalizeDirectory(mount);
        if (isWithin(dir, normalized) && normalized.size() > best.size())
            best = normalized;
    }
    return best;
}

} // namespace

std::string encodeTrashPath(std::string_view path)
{
    static constexpr std::string_view unreserved = "-_.!~*'()/";
    static constexpr std::array<char, 16> hex
        = { '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F' };
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool alphanumeric = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')
            || (byte >= '0' && byte <= '9');
        if (alphanumeric || unreserved.find(c) != std::string_view::npos) {
            out.push_back(c);
            continue;
        }
        out.push_back('%');
        out.push_back(hex.at(byte >> 4U));
        out.push_back(hex.at(byte & 0x0FU));
    }
    return out;
}

std::string trashInfoText(std::string_view path, const std::tm& deletion)
{
    std::array<char, 32> date {};
    const std::size_t length
        = std::strftime(date.data(), date.size(), "%Y-%m-%dT%H:%M:%S", &deletion);
    return "[Trash Info]\nPath=" + encodeTrashPath(path)
        + "\nDeletionDate=" + std::string(date.data(), length) + "\n";
}

std::optional<std::string> homeTrashDirectory()
{
    // XDG base directories must be absolute; a relative setting is to be ignored.
    const char* dataHome = std::getenv("XDG_DATA_HOME"); // NOLINT(concurrency-mt-unsafe)
    if (dataHome != nullptr && *dataHome == '/') {
        const std::string dir = normalizeDirectory(dataHome);
        return dir == "/" ? "/Trash" : dir + "/Trash";
    }
    const char* home = std::getenv("HOME"); // NOLINT(concurrency-mt-unsafe)
    if (home != nullptr && *home == '/')
        return normalizeDirectory(std::string(home) + "/.local/share/Trash");
    return std::nullopt;
}

Result<TrashLocation> volumeTrash(const std::string& topdir)
{
    const std::string base = topdir == "/" ? std::string() : normalizeDirectory(topdir);
    const std::string uid = std::to_string(::getuid());

    // A shared trash made by the administrator is trusted only with the sticky bit, which
    // keeps users from removing each other's directories in it.
    const std::string shared = base + "/.Trash";
    struct stat info = {};
    if (::lstat(shared.c_str(), &info) == 0 && S_ISDIR(info.st_mode)
        && (info.st_mode & S_ISVTX) != 0) {
        const std::string own = shared + "/" + uid;
        if (ensureOwnDirectory(own).ok())
            return TrashLocation { own, topdir == "/" ? "/" : base };
    }

    const std::string own = base + "/.Trash-" + uid;
    if (Status status = ensureOwnDirectory(own); !status.ok())
        return status.error();
    return TrashLocation { own, topdir == "/" ? "/" : base };
}

Result<std::string> moveIntoTrash(const std::string& original, const TrashLocation& location)
{
    const std::string operation = trashOperation(original);
    struct stat before = {};
    if (::lstat(original.c_str(), &before) != 0)
        return failure(operation);
    if (S_ISDIR(before.st_mode))
        return SysError { EISDIR, operation };

    const std::string files = location.directory + "/files";
    const std::string info = location.directory + "/info";
    for (const std::string& dir : { files, info }) {
        if (Status status = makeDirectories(dir); !status.ok())
            return asPartOf(operation, status.error());
    }

    const std::string text = trashInfoText(recordedPath(original, location), localNow());
    const std::string base = original.substr(original.rfind('/') + 1);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = trashName(base, attempt);
        std::string infoPath = info;
        infoPath.append("/").append(name).append(kInfoSuffix);
        if (const Status record = writeRecord(infoPath, text); !record.ok()) {
            if (record.error().code == EEXIST)
                continue;
            return asPartOf(operation, record.error());
        }
        // The record comes first so that no entry sits in the trash without one; without
        // the entry it is removed again.
        std::string target = files;
        target.append("/").append(name);
        if (const Status moved = renameNoReplace(original, target); !moved.ok()) {
            (void)::unlink(infoPath.c_str());
            if (moved.error().code == EEXIST)
                continue;
            return SysError { moved.error().code, operation };
        }
        struct stat after = {};
        if (::lstat(target.c_str(), &after) != 0 || !sameEntry(before, after)) {
            // Someone replaced the entry between the check and the move: what is in the trash
            // now is not what the caller meant, and the caller must hear it.
            std::string what = "another entry took its place: ";
            what.append(target);
            return asPartOf(operation, SysError { EIO, std::move(what) });
        }
        return target;
    }
    return SysError { EEXIST, operation };
}

Result<std::string> moveToTrash(const std::string& path)
{
    const std::string operation = trashOperation(path);
    struct stat before = {};
    if (::lstat(path.c_str(), &before) != 0)
        return failure(operation);
    if (S_ISDIR(before.st_mode))
        return SysError { EISDIR, operation };

    // The record names the entry by its canonical directory and its own name, so a link to
    // the entry is moved as itself while links on the way to it are resolved.
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string parent
        = slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
    const std::string canonicalParent = canonicalDirectory(parent);
    if (canonicalParent.empty())
        return failure(operation);
    const std::string original = canonicalParent == "/" ? "/" + name : canonicalParent + "/" + name;

    if (const std::optional<std::string> home = homeTrashDirectory();
        home && deviceOfNearest(*home) == before.st_dev) {
        Result<std::string> moved = moveIntoTrash(original, TrashLocation { *home, {} });
        // The same device seen through another mount answers EXDEV; the volume's own trash
        // may still take the entry.
        if (moved.ok() || moved.error().code != EXDEV)
            return moved;
    }

    const Result<TrashLocation> location = volumeTrash(mountPointOf(canonicalParent));
    if (!location.ok())
        return asPartOf(operation, location.error());
    return moveIntoTrash(original, location.value());
}

} // namespace quorvane::platform
