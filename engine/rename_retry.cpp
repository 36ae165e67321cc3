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

platform::Status renameWithSilentRetries(
    platform::FileSystem& fs, const std::string& from, const std::string& to)
{
    platform::Status status = fs.rename(from, to);
    for (int attempt = 1;
         !status.ok() && isRetriedSilently(status.error().code) && attempt <= kSilentRetries;
         ++attempt) {
        std::this_thread::sleep_for(kSilentRetryPause * attempt);
        status = fs.rename(from, to);
    }
    return status;
}

} // namespace quorvane::engine
