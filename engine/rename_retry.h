// A rename tried again, a bounded number of times, while the system calls the refusal
// transient; and the names no rename is ever asked to use.
#pragma once

#include "platform/file_system.h"

#include <cerrno>
#include <string>
#include <string_view>

namespace quorvane::engine {

/// True when `name` (the system's bytes) can name an entry of a directory: not empty, not
/// "." or "..", holding neither "/" nor NUL. Any other name would reach another directory,
/// or be cut short on its way to the system.
[[nodiscard]] bool isEntryName(std::string_view name);

/// The errno of a rename refused before it reached the system, because its old or new name
/// is not an entry name. A rename within one directory never gets it from the system: the
/// platform answers an unsupported flag by falling back, so the code is unambiguous here.
inline constexpr int kNotAnEntryName = EINVAL;

/// True when `error` is such a refusal.
[[nodiscard]] bool isNotAnEntryName(const platform::SysError& error);

/// The reason of a refused rename in the system's words (strerror); for kNotAnEntryName,
/// what the name is.
[[nodiscard]] std::string refusalText(const platform::SysError& error);

/// True for the errors that are retried without asking (interrupted, busy, try again).
[[nodiscard]] bool isRetriedSilently(int code);

/// fs.rename(directory + from, directory + to), `directory` ending in "/", repeated up to
/// five more times with a short pause while it fails with an error that isRetriedSilently;
/// bounded so a file that stays busy cannot hang the program. Whatever made the names (rules,
/// a list, a language's texts, typed text, a journal), one that is not an entry name never
/// reaches the system: the rename is refused with kNotAnEntryName.
[[nodiscard]] platform::Status renameWithSilentRetries(platform::FileSystem& fs,
    const std::string& directory, const std::string& from, const std::string& to);

/// The same through fs.renameIn, which may keep the directory open from call to call.
[[nodiscard]] platform::Status renameInWithSilentRetries(platform::FileSystem& fs,
    const std::string& directory, const std::string& from, const std::string& to);

} // namespace quorvane::engine
