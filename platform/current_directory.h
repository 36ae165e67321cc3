// The process's working directory, as the bytes the system gives.
#pragma once

#include <string>

namespace quorvane::platform {

/// The working directory; "/" when it cannot be read (it was removed, or is out of reach).
[[nodiscard]] std::string currentDirectory();

} // namespace quorvane::platform
