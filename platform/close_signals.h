// SIGTERM, SIGINT and SIGHUP as a request to close the program in good order.
#pragma once

namespace quorvane::platform {

/// Installs handlers for SIGTERM, SIGINT and SIGHUP that only write one byte to a pipe,
/// and returns the pipe's read end (-1 when no pipe could be made). The caller watches it
/// and closes the program the ordinary way, so the exit sequence runs: a session that ends
/// or a plain `kill` must not cost the user their settings. After the first signal a
/// second one of the same kind ends the process at once. A signal ignored at start stays ignored.
[[nodiscard]] int installCloseSignals();

/// Empties the pipe whose read end installCloseSignals returned, so that a watcher on it
/// is woken once per batch of signals; never blocks.
void drainCloseSignals(int readEnd);

} // namespace quorvane::platform
