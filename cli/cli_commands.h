// The three commands of quorvane-cli over the engine.
#pragma once

#include "cli_options.h"

#include "platform/file_system.h"

#include <iosfwd>

namespace quorvane::cli {

/// Runs a parsed command. Returns the exit status: 0 done, 1 some entries could not be
/// renamed or read, 2 refused (dangerous directory without --force) or unusable input.
[[nodiscard]] int runCommand(CliCommand& command, platform::FileSystem& fs, std::istream& in,
    std::ostream& out, std::ostream& errors);

} // namespace quorvane::cli
