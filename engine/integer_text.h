// Integer fields as the program's dialogs and files hold them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::engine {

/// The value of a whole integer text: an optional sign and decimal digits, nothing else
/// (no blanks, no "$" hexadecimal), within the 32-bit signed range. nullopt otherwise.
[[nodiscard]] std::optional<std::int32_t> integerValue(std::u32string_view text);

/// The conversion error for a text that is not an integer: "'%s' is not a valid integer
/// value" with the text.
[[nodiscard]] std::u32string notAnIntegerMessage(std::u32string_view text);

} // namespace quorvane::engine
