// A rename tried again, a bounded number of times, while the refusal is transient.
#include "rename_retry.h"

#include <cerrno>
#include <chrono>
#include <thread>

namespace quorvane::engine {

namespace {

constexpr int kSilentRetries = 5;
constexpr std::chrono::milliseconds kSilentRetryPause { 20 };

} // namespace

bool isRetriedSilently(int code)
{
    return code == EINTR || code == EAGAIN || code == EBUSY;
}

namespace {

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

} // namespace

platform::Status renameWithSilentRetries(
    platform::FileSystem& fs, const std::string& from, const std::string& to)
{
    return withSilentRetries([&] { return fs.rename(from, to); });
}

platform::Status renameInWithSilentRetries(platform::FileSystem& fs, const std::string& directory,
    const std::string& from, const std::string& to)
{
    return withSilentRetries([&] { return fs.renameIn(directory, from, to); });
}

} // namespace quorvane::engine
