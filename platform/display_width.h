// How many columns of a fixed-pitch text a character takes.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorvane::platform {

/// The columns `c` takes in a fixed-pitch line: 2 for East Asian wide and full-width
/// characters, 0 for combining marks and invisible format characters, 1 for everything
/// else, among them the U+DC80+byte escape of an undecodable byte (shown as one U+FFFD).
[[nodiscard]] int displayWidth(char32_t c);

/// The columns of a whole text: the sum over its characters.
[[nodiscard]] std::size_t displayWidth(std::u32string_view text);

} // namespace quorvane::platform
