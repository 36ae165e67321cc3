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
    if (S_ISDIR(source.st_mode)) {
        // A plain lookup may be answered from the kernel's cache of names, which on FUSE
        // volumes still holds, for a second or so, a spelling of an entry that has just moved
        // away: the second step of a case-only change would find its own old alias. link()
        // looks the new name up afresh, and for a directory it can only answer EEXIST (taken)
        // or refuse; it never creates anything.
        if (retryOnEintr([&] { return ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0); })
                != 0
            && errno == EEXIST)
            return SysError { EEXIST, operationText(from, to) };
        return checkedRename(from, to);
    }
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

/// Which of two spellings a directory lists, byte for byte. Only a listing can tell: a
/// lookup in a case-insensitive directory finds the entry under every spelling.
struct ListedSpellings
{
    bool readable = false;
    bool from = false;
    bool to = false;
};

ListedSpellings listedSpellings(std::string_view dir, std::string_view from, std::string_view to)
{
    ListedSpellings listed;
    const std::string dirPath = dir.empty() ? std::string(".") : std::string(dir);
    const std::unique_ptr<DIR, DirCloser> stream(::opendir(dirPath.c_str()));
    if (!stream)
        return listed;
    for (;;) {
        errno = 0;
        const dirent* record = ::readdir(stream.get());
        if (record == nullptr) {
            listed.readable = errno == 0;
            return listed;
        }
        const std::string_view name(static_cast<const char*>(record->d_name));
        listed.from = listed.from || name == from;
        listed.to = listed.to || name == to;
    }
}

/// Both lookups show the same entry as far as its attributes tell: what is left to compare
/// where the driver hands out an inode number per spelling.
bool sameAttributes(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && (a.st_mode & S_IFMT) == (b.st_mode & S_IFMT)
        && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec
        && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

/// True when `to` exists only because it is `from` itself seen through a case-insensitive
/// lookup: same directory text, names equal but for letter case, and `to` not listed under
/// its own spelling while it resolves. The listing is the test that counts: it tells a
/// case-insensitive directory from two entries (two files, or two hard links of one) whose
/// names differ in case on a case-sensitive one, where the exact name is listed and moving
/// through a temporary name would merge the two names into one. Inode numbers only back it
/// up: some drivers (FUSE's FAT among them) give each spelling a number of its own, and
/// then `from` must be listed as spelled and both lookups must agree on the entry's kind,
/// size and modification time. Were the guess still wrong, nothing would be lost: both steps
/// refuse to replace, so the entry would be given its name back.
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
    const bool sameInode = a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    if (!sameInode && !sameAttributes(a, b))
        return false;
    // When the directory cannot be read the answer is no, so that nothing moves on a guess.
    const ListedSpellings listed = listedSpellings(directoryOf(to), fromName, toName);
    if (!listed.readable || listed.to)
        return false;
    return sameInode || listed.from;
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
