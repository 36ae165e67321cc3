// The build number from the executable's version record.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::about {

/// The fourth dot-separated part of a file version ("0.9.9.234" gives "234"), at most four
/// characters of it; empty when the version has fewer than four parts. Parts after the
/// fourth are ignored.
[[nodiscard]] std::string buildNumberOf(std::string_view fileVersion);

/// The build number of this executable, from the version record the build generates into it.
[[nodiscard]] std::string buildNumber();

} // namespace quorvane::about
