// A rename tried again, a bounded number of times, while the system calls the refusal
// transient.
#pragma once

#include "platform/file_system.h"

#include <string>

namespace quorvane::engine {

/// True for the errors that are retried without asking (interrupted, busy, try again).
[[nodiscard]] bool isRetriedSilently(int code);

/// fs.rename, repeated up to five more times with a short pause while it fails with an
/// error that isRetriedSilently; bounded so a file that stays busy cannot hang the program.
[[nodiscard]] platform::Status renameWithSilentRetries(
    platform::FileSystem& fs, const std::string& from, const std::string& to);

/// The same for fs.renameIn: `from` and `to` are names in `directory`.
[[nodiscard]] platform::Status renameInWithSilentRetries(platform::FileSystem& fs,
    const std::string& directory, const std::string& from, const std::string& to);

} // namespace quorvane::engine
