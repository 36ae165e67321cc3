// Rename that never replaces an existing entry, with the ways it falls back.
#include "posix_rename.h"

#include "case_fold.h"
#include "name_codec.h"

#include <climits>
#include <cstdio>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quorvane::platform {

namespace {

/// Names tried for the middle step of a case-only rename before giving up.
constexpr int kCaseRenameAttempts = 8;

std::string operationText(const std::string& from, const std::string& to)
{
    return "rename " + from + " to " + to;
}

/// The error for errno, read before anything else can change it.
SysError renameFailure(const std::string& from, const std::string& to)
{
    const int code = errno;
    return SysError { code, operationText(from, to) };
}

int renameat2NoReplace(int directoryFd, const std::string& from, const std::string& to)
{
#if defined(RENAME_NOREPLACE) && defined(__GLIBC__)                                                \
    && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 28))
    return ::renameat2(directoryFd, from.c_str(), directoryFd, to.c_str(), RENAME_NOREPLACE);
#else
    constexpr unsigned int renameNoReplaceFlag = 1U;
    return static_cast<int>(::syscall(
        SYS_renameat2, directoryFd, from.c_str(), directoryFd, to.c_str(), renameNoReplaceFlag));
#endif
}

int renameat2NoReplace(const std::string& from, const std::string& to)
{
    return renameat2NoReplace(AT_FDCWD, from, to);
}

/// A plain rename after making sure nothing bears the new name. Only a race with another
/// program creating `to` in between could still replace something; this is the last resort
/// where the system offers no atomic way.
Status checkedRename(const std::string& from, const std::string& to)
{
    struct stat target = {};
    if (::lstat(to.c_str(), &target) == 0)
        return SysError { EEXIST, operationText(from, to) };
    if (errno != ENOENT)
        return renameFailure(from, to);
    if (retryOnEintr([&] { return ::rename(from.c_str(), to.c_str()); }) != 0)
        return renameFailure(from, to);
    return {};
}

/// File systems without hard links (vfat and others) answer EPERM or ENOTSUP; EPERM also
/// comes from protected hard links, and EMLINK from a full link count.
bool linkingImpossible(int code)
{
    return code == EPERM || code == ENOTSUP || code == EOPNOTSUPP || code == EMLINK;
}

/// link() refuses an existing target atomically; the old name is removed afterwards.
Status linkThenUnlink(const std::string& from, const std::string& to)
{
    if (retryOnEintr([&] { return ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0); })
        != 0) {
        const int code = errno;
        if (linkingImpossible(code))
            return checkedRename(from, to);
        return SysError { code, operationText(from, to) };
    }
    if (retryOnEintr([&] { return ::unlink(from.c_str()); }) != 0) {
        const SysError error = renameFailure(from, to);
        // The entry must not be left under two names.
        (void)::unlink(to.c_str());
        return error;
    }
    return {};
}

Status emulatedMove(const std::string& from, const std::string& to)
{
    struct stat source = {};
    if (::lstat(from.c_str(), &source) != 0)
        return renameFailure(from, to);
    if (S_ISDIR(source.st_mode))
        return checkedRename(from, to);
    return linkThenUnlink(from, to);
}

Status moveNoReplace(const std::string& from, const std::string& to, RenameMethod method)
{
    if (method == RenameMethod::Native) {
        if (retryOnEintr([&] { return renameat2NoReplace(from, to); }) == 0)
            return {};
        // EINVAL: the file system does not know the flag; ENOSYS: the kernel lacks the call.
        if (errno != EINVAL && errno != ENOSYS)
            return renameFailure(from, to);
    }
    return emulatedMove(from, to);
}

/// The directory part of a path including its final "/", or "" for a bare name.
std::string_view directoryOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view {} : path.substr(0, slash + 1);
}

std::string_view baseNameOf(std::string_view path)
{
    return path.substr(directoryOf(path).size());
}

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};

/// True when the directory has an entry spelled exactly `name`, byte for byte. Only a listing
/// can tell: a lookup in a case-insensitive directory finds the entry under every spelling.
/// When the directory cannot be read, the answer is yes, so that nothing is moved on a guess.
bool listsExactName(std::string_view dir, std::string_view name)
{
    const std::string dirPath = dir.empty() ? std::string(".") : std::string(dir);
    const std::unique_ptr<DIR, DirCloser> stream(::opendir(dirPath.c_str()));
    if (!stream)
        return true;
    for (;;) {
        errno = 0;
        const dirent* record = ::readdir(stream.get());
        if (record == nullptr)
            return errno != 0;
        if (std::string_view(static_cast<const char*>(record->d_name)) == name)
            return true;
    }
}

/// True when `to` exists only because it is `from` itself seen through a case-insensitive
/// lookup: same directory text, names equal but for letter case, same inode, and `to` not
/// listed under its own spelling. The last test tells a case-insensitive directory from two
/// hard links whose names differ in case on a case-sensitive one: there the exact name is
/// listed, and moving through a temporary name would merge the two names into one.
bool isCaseOnlyChange(const std::string& from, const std::string& to)
{
    if (directoryOf(from) != directoryOf(to))
        return false;
    const std::string_view fromName = baseNameOf(from);
    const std::string_view toName = baseNameOf(to);
    if (fromName == toName || !equalsIgnoreCase(fromName, toName))
        return false;
    struct stat a = {};
    struct stat b = {};
    if (::lstat(from.c_str(), &a) != 0 || ::lstat(to.c_str(), &b) != 0)
        return false;
    if (a.st_dev != b.st_dev || a.st_ino != b.st_ino)
        return false;
    return !listsExactName(directoryOf(to), toName);
}

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

Status renameThroughTemporary(const std::string& from, const std::string& to, RenameMethod method)
{
    std::string temporary;
    Status first;
    for (int attempt = 0; attempt < kCaseRenameAttempts; ++attempt) {
        temporary = caseRenameTemporaryName(from, attempt);
        first = moveNoReplace(from, temporary, method);
        if (first.ok() || first.error().code != EEXIST)
            break;
    }
    if (!first.ok())
        return SysError { first.error().code, operationText(from, to) };

    const Status second = moveNoReplace(temporary, to, method);
    if (second.ok())
        return {};
    if (!moveNoReplace(temporary, from, method).ok())
        return SysError { second.error().code,
            operationText(from, to) + " (the entry is left as " + temporary + ")" };
    return SysError { second.error().code, operationText(from, to) };
}

} // namespace

std::string caseRenameTemporaryName(const std::string& from, int attempt)
{
    std::string suffix = ".quorvane-case-rename";
    if (attempt > 0)
        suffix += "-" + std::to_string(attempt + 1);
    const std::string_view directory = directoryOf(from);
    std::string_view name = baseNameOf(from);
    if (name.size() + suffix.size() > NAME_MAX) {
        std::size_t keep = NAME_MAX - suffix.size();
        // Cutting inside a UTF-8 sequence would leave a name no file manager shows right.
        for (int back = 0; back < 3 && keep > 0 && isUtf8Continuation(name[keep]); ++back)
            --keep;
        name = name.substr(0, keep);
    }
    return std::string(directory) + std::string(name) + suffix;
}

Status renameNoReplaceAt(
    int directoryFd, const std::string& directory, const std::string& from, const std::string& to)
{
    if (from == to)
        return {};
    if (retryOnEintr([&] { return renameat2NoReplace(directoryFd, from, to); }) == 0)
        return {};
    return renameNoReplace(directory + from, directory + to);
}

Status renameNoReplace(const std::string& from, const std::string& to, RenameMethod method)
{
    // RENAME_NOREPLACE answers EEXIST for a -> a; an unchanged name needs no call at all.
    if (from == to)
        return {};
    Status result = moveNoReplace(from, to, method);
    if (result.ok() || result.error().code != EEXIST || !isCaseOnlyChange(from, to))
        return result;
    return renameThroughTemporary(from, to, method);
}

} // namespace quorvane::platform
