// Names in the order people expect: «2» before «10».
#pragma once

#include <string_view>

namespace quorvane::engine {

/// True when `a` comes before `b` in the order of the file list and of a run: the user's
/// collation, runs of digits by their value, letter case ignored (platform::Collator::less);
/// names equal that way fall back to their code points, so the order is total.
[[nodiscard]] bool naturalLess(std::u32string_view a, std::u32string_view b);

} // namespace quorvane::engine
