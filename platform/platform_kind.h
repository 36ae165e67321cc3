// Whether the system can report directory changes (the program's "NT" family).
#pragma once

namespace quorvane::platform {

/// True when an inotify instance can be created; the directory monitor needs one.
[[nodiscard]] bool directoryNotificationAvailable();

} // namespace quorvane::platform
