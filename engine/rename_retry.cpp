// A rename tried again, a bounded number of times, while the refusal is transient; and the
// names no rename is ever asked to use.
#include "rename_retry.h"

#include <chrono>
#include <thread>

namespace quorvane::engine {

namespace {

constexpr int kSilentRetries = 5;
constexpr std::chrono::milliseconds kSilentRetryPause { 20 };

template<typename Rename>
platform::Status withSilentRetries(const Rename& rename)
{
    platform::Status status = rename();
    for (int attempt = 1;
         !status.ok() && isRetriedSilently(status.error().code) && attempt <= kSilentRetries;
         ++attempt) {
        std::this_thread::sleep_for(kSilentRetryPause * attempt);
        status = rename();
    }
    return status;
}

/// The refusal of a rename whose names are not both entry names; empty when they are.
platform::Status checkNames(
    const std::string& directory, const std::string& from, const std::string& to)
{
    if (isEntryName(from) && isEntryName(to))
        return {};
    return platform::SysError { kNotAnEntryName,
        "rename " + directory + from + " to " + to + " (not a name of that directory)" };
}

} // namespace

bool isEntryName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".."
        && name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool isNotAnEntryName(const platform::SysError& error)
{
    return error.code == kNotAnEntryName;
}

std::string refusalText(const platform::SysError& error)
{
    if (isNotAnEntryName(error))
        return R"(not a name of that directory: it holds "/" or NUL, or is "." or "..")";
    return error.text();
}

bool isRetriedSilently(int code)
{
    return code == EINTR || code == EAGAIN || code == EBUSY;
}

platform::Status renameWithSilentRetries(platform::FileSystem& fs, const std::string& directory,
    const std::string& from, const std::string& to)
{
    if (platform::Status refused = checkNames(directory, from, to); !refused.ok())
        return refused;
    return withSilentRetries([&] { return fs.rename(directory + from, directory + to); });
}

platform::Status renameInWithSilentRetries(platform::FileSystem& fs, const std::string& directory,
    const std::string& from, const std::string& to)
{
    if (platform::Status refused = checkNames(directory, from, to); !refused.ok())
        return refused;
    return withSilentRetries([&] { return fs.renameIn(directory, from, to); });
}

} // namespace quorvane::engine
