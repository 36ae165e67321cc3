// SIGINT and SIGTERM as a request to stop a rename run after the entry being renamed.
#pragma once

namespace quorvane::platform {

/// Installs handlers for SIGINT and SIGTERM that only record which signal came. The first
/// delivery brings the default action back, so a second signal ends the process at once. A
/// signal that was ignored when the program started (nohup, a background job of a script)
/// stays ignored.
void installStopHandlers();

/// The number of the signal that asked the run to stop; 0 while none has.
[[nodiscard]] int receivedStopSignal();

/// Forgets a received signal, so that a later command in the same process starts afresh.
void clearStopSignal();

/// The exit status of a command stopped by `signal`, as a shell reports a process it ended
/// (128 + the signal number: 130 for SIGINT, 143 for SIGTERM).
[[nodiscard]] int stoppedStatus(int signal);

/// "SIGINT" or "SIGTERM"; "another signal" for any other number.
[[nodiscard]] const char* stopSignalName(int signal);

} // namespace quorvane::platform
