// What `quorvane-cli preview` prints: its rows and the conflicts among them.
#pragma once

#include "engine/run_state.h"

#include "platform/file_system.h"

#include <iosfwd>

namespace quorvane::cli {

/// One row per entry: directory, old name and new name. With `nulTerminated` every field
/// ends with a NUL byte and holds the name's own bytes, for scripts; otherwise the fields
/// are escaped for a terminal (escapeForTerminal) and separated by TAB, one row a line.
void writePreviewRows(const engine::UndoLog& rows, bool nulTerminated, std::ostream& out);

/// Names every row whose new name the run will be refused (markPreviewRows) on `errors`,
/// one line each: "quorvane-cli: will fail: DIR/OLD -> NEW: reason" for a name that cannot
/// be given at all, then "quorvane-cli: conflict: DIR/OLD -> NEW: reason" for one that is,
/// or would be, taken. Returns how many.
[[nodiscard]] std::size_t reportConflicts(
    const engine::UndoLog& rows, const platform::FileSystem& fs, std::ostream& errors);

} // namespace quorvane::cli
