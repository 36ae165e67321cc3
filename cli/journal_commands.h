// quorvane-cli history and undo: the recorded runs, and the undo of one of them.
#pragma once

#include "platform/file_system.h"

#include <iosfwd>
#include <span>
#include <string>

namespace quorvane::cli {

/// "history": one line per recorded run of `runsDirectory`, oldest first: id, local date
/// and time, state (complete, stopped, interrupted, undone), entries renamed, kind (run,
/// undo, file, directory) and directory, separated by two spaces. Returns 0, or 2 on bad
/// usage.
[[nodiscard]] int runHistory(std::span<const std::string> argsAfterCommandName,
    const std::string& runsDirectory, std::ostream& out, std::ostream& errors);

/// "undo [ID] [--no-journal]": undoes the latest recorded run, or run ID, and names on
/// `errors` every entry it could not restore. Entries the run never renamed are left alone
/// and count as no failure. Returns 0 when everything was restored, 1 otherwise (a run
/// already undone included), 2 on bad usage or an unknown ID.
[[nodiscard]] int runUndo(std::span<const std::string> argsAfterCommandName,
    platform::FileSystem& fs, const std::string& runsDirectory, std::ostream& out,
    std::ostream& errors);

} // namespace quorvane::cli
