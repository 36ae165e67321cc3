// Rename that never replaces an existing entry, with the ways it falls back.
#pragma once

#include "sys_error.h"

#include <string>

namespace quorvane::platform {

/// How the no-replace move is done.
enum class RenameMethod {
    /// renameat2(RENAME_NOREPLACE), falling back to Emulated where the file system or the
    /// kernel does not support the flag.
    Native,
    /// What is done without RENAME_NOREPLACE: link + unlink for non-directories (a checked
    /// rename where hard links are not supported), a checked rename for directories.
    Emulated,
};

/// Moves `from` to `to` unless `to` exists (then EEXIST). `from` == `to` succeeds without a
/// system call. Where `to` exists only because it is `from` itself under another letter case
/// (a case-insensitive volume), the change goes through a temporary name in the same
/// directory; if the second step fails, the entry is given its old name back.
[[nodiscard]] Status renameNoReplace(
    const std::string& from, const std::string& to, RenameMethod method = RenameMethod::Native);

} // namespace quorvane::platform
