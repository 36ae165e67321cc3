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
/// (a case-insensitive volume or directory: the directory does not list the exact bytes of
/// `to` while `to` resolves, to the same inode or, where the driver numbers each spelling
/// apart, to an entry listed as `from` is and alike in kind, size and time), the change goes
/// through caseRenameTemporaryName(from, attempt) for the first attempt whose name is free;
/// if the second step fails, the entry is given its old name back, and if that fails too the
/// error text names where it was left. Two entries whose names differ only in case (two
/// files, or two hard links of one) are two entries: EEXIST, nothing moves.
[[nodiscard]] Status renameNoReplace(
    const std::string& from, const std::string& to, RenameMethod method = RenameMethod::Native);

/// renameNoReplace(directory + from, directory + to), where `directoryFd` is `directory`
/// opened: the common case, a free new name, is one system call that resolves no path;
/// every refusal goes the long way, which tells a case-only change from a real clash and
/// stands in where the system lacks the call.
[[nodiscard]] Status renameNoReplaceAt(
    int directoryFd, const std::string& directory, const std::string& from, const std::string& to);

/// The path through which a case-only rename of `from` passes in its `attempt`-th try
/// (0-based; a later try is made only when the name of the earlier one is taken): in the
/// same directory, the base name of `from` followed by ".quorvane-case-rename" and, from
/// attempt 1 on, "-" and attempt + 1. The base name is shortened (never splitting a UTF-8
/// sequence) when the result would exceed NAME_MAX bytes. Visible and recognisable, so an
/// entry stranded there by a crash can be found and given back its name; a journal can
/// record it before the first step.
[[nodiscard]] std::string caseRenameTemporaryName(const std::string& from, int attempt);

} // namespace quorvane::platform
