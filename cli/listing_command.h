// quorvane-cli listing: a directory's listing as the window prints it, on standard output.
#pragma once

#include "platform/file_system.h"

#include <iosfwd>
#include <span>
#include <string>

namespace quorvane::cli {

/// Runs "listing DIR [options]" given the arguments after the word "listing". Writes the
/// listing (UTF-8, CR LF line ends) to `out` one directory at a time, and one-line messages
/// to `errors`. Dates take the LC_TIME formats of the environment's locale, the order of the
/// lines its collation. Returns the exit status: 0 done; 1 some subdirectories could not be
/// read (each was listed as one without matches and is named on `errors`); 2 bad usage, a
/// DIR that does not exist or cannot be read (nothing is written to `out`), or `out` failed.
[[nodiscard]] int runListing(std::span<const std::string> argsAfterCommandName,
    platform::FileSystem& fs, std::ostream& out, std::ostream& errors);

/// The usage lines of the listing command, for the program's --help.
[[nodiscard]] const char* listingUsageText();

} // namespace quorvane::cli
