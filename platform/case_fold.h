// Letter case as the program knows it: ASCII for changes, Windows-1252 pairs for matching.
#pragma once

#include <string_view>

namespace quorvane::platform {

/// a-z to A-Z; every other code point unchanged.
[[nodiscard]] constexpr char32_t asciiUpper(char32_t c)
{
    return (c >= U'a' && c <= U'z') ? c - (U'a' - U'A') : c;
}

/// A-Z to a-z; every other code point unchanged.
[[nodiscard]] constexpr char32_t asciiLower(char32_t c)
{
    return (c >= U'A' && c <= U'Z') ? c + (U'a' - U'A') : c;
}

/// The upper-case partner under the Windows-1252 pairs (ASCII, U+00E0-U+00FE except
/// U+00F7, š, œ, ž, ÿ); every other code point unchanged.
[[nodiscard]] char32_t foldUpper(char32_t c);

/// Equality without regard to letter case, by foldUpper.
[[nodiscard]] bool equalsIgnoreCase(std::u32string_view a, std::u32string_view b);

/// The same for two names given as the system's bytes (see decodeName).
[[nodiscard]] bool equalsIgnoreCase(std::string_view a, std::string_view b);

} // namespace quorvane::platform
