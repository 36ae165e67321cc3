// Enumeration masks ("*.mp3", "*.*") matched against names.
#pragma once

#include <string_view>

namespace quorvane::platform {

/// True when the name matches the mask: "*" any run, "?" one character, letter case
/// ignored (foldUpper). "*.*" and "*" match every name, also names without a dot.
/// Several masks may be given separated by ";".
[[nodiscard]] bool matchesMask(std::u32string_view name, std::u32string_view mask);

/// True when the mask matches every name ("*" or "*.*" among its masks), so that a caller
/// with many names may skip matching them.
[[nodiscard]] bool matchesEveryName(std::u32string_view mask);

} // namespace quorvane::platform
