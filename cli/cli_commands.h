// The three commands of quorvane-cli over the engine.
#pragma once

#include "cli_options.h"

#include "platform/file_system.h"

#include <iosfwd>

namespace quorvane::cli {

/// Runs a parsed command; names go to `out` and `errors` escaped for a terminal, except the
/// raw output of transform and of preview -z. Returns the exit status: 0 done; 1 some
/// entries could not be renamed, read or given their attributes, or a preview found
/// conflicts; 2 refused input (a selection that is not a file of the directory, an unusable
/// list file, a dangerous directory without --force, a missing directory); 128 + the signal
/// (130 SIGINT, 143 SIGTERM) when a stop signal was received during a rename, whatever else
/// happened. Signal handlers are the caller's to install (installStopHandlers).
[[nodiscard]] int runCommand(CliCommand& command, platform::FileSystem& fs, std::istream& in,
    std::ostream& out, std::ostream& errors);

} // namespace quorvane::cli
