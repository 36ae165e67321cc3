// quorvane-cli check-update: asks the version server whether a newer version exists.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace quorvane::cli {

/// Exit statuses of check-update besides 2 (bad arguments).
inline constexpr int kUpToDate = 0;
inline constexpr int kCheckFailed = 1;
inline constexpr int kNewVersionOffered = 3;

/// Runs "check-update [--server URL]" (`args` are the words after the command's name): asks
/// the configured version server, or URL (http:// only), as the window's menu command does,
/// and prints the message the window would show on `out`, one line per line of the message.
/// Why a check failed goes to `errors`. Returns kUpToDate, kNewVersionOffered, kCheckFailed,
/// or 2 for arguments it does not understand. Runs its own event loop while it waits (creates
/// the Qt core application when there is none); never opens a window.
[[nodiscard]] int runCheckUpdate(
    std::span<const std::string> args, std::ostream& out, std::ostream& errors);

/// The usage of check-update for --help: its synopsis line (to be indented by two blanks, as
/// the other commands' are), then a paragraph.
[[nodiscard]] const char* checkUpdateUsage();

} // namespace quorvane::cli
