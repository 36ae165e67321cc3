// Where the user's configuration files live.
#pragma once

#include <string>

namespace quorvane::platform {

/// An XDG base directory without a trailing "/": $`variable` when it is an absolute path,
/// otherwise `underHome` in the home directory ($HOME when absolute, else the passwd
/// entry's). Empty when no home is known.
[[nodiscard]] std::string baseDirectory(const char* variable, const std::string& underHome);

/// The base directory of the user's configuration files, without a trailing "/":
/// $XDG_CONFIG_HOME when it is an absolute path, otherwise ".config" in the home directory
/// ($HOME when absolute, else the passwd entry's). Empty when no home is known.
[[nodiscard]] std::string configHome();

} // namespace quorvane::platform
