// Names in the order people expect: «2» before «10».
#pragma once

#include <string_view>

namespace quorvane::engine {

/// True when `a` comes before `b`: runs of digits compare by their value, other characters
/// without regard to letter case (Windows-1252 pairs); names equal that way fall back to
/// their code points, so the order is total and stable between calls.
[[nodiscard]] bool naturalLess(std::u32string_view a, std::u32string_view b);

} // namespace quorvane::engine
