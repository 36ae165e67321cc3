// Marks on preview rows: which names change and which new names would collide.
#pragma once

#include "run_state.h"

#include "platform/file_system.h"

#include <vector>

namespace quorvane::engine {

/// What the preview shows about one row.
struct PreviewMark
{
    bool changed = false; ///< the new name differs from the old one
    bool conflict = false; ///< a changed row whose new name is, or will be, taken
    /// The errno the run will be refused with for a changed row whose new name cannot be
    /// given at all: kNotAnEntryName ("/", NUL, "." or ".."), ENAMETOOLONG (longer than the
    /// directory's file system allows); 0 when none.
    int refusal = 0;
};

/// One mark per row, index-aligned with `rows` (rows in run order). A changed row conflicts
/// when another changed row of the same directory gets the same new name, or when an entry
/// of that name is in the directory on disk and is neither the row's own entry nor renamed
/// away by an earlier changed row of the same directory. Names compare exactly, as bytes.
/// A row the run will refuse (see PreviewMark::refusal) takes no name and keeps its own.
/// Each directory with a changed row is listed once; one that cannot be listed contributes
/// no conflicts from disk. Reads only; linear in the number of rows. For many rows the
/// directories are listed on a second thread while the caller's works out the rows' own
/// names, so `fs` must be usable from any thread (one at a time).
[[nodiscard]] std::vector<PreviewMark> markPreviewRows(
    const UndoLog& rows, const platform::FileSystem& fs);

} // namespace quorvane::engine
