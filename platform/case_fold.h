// Letter case: Unicode's simple (one-to-one) mappings for changes and for matching.
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

/// The simple upper-case mapping (é to É, ñ to Ñ); a code point without one (ß, 日, an
/// escaped byte) is returned unchanged.
[[nodiscard]] char32_t letterUpper(char32_t c);

/// The simple lower-case mapping; unchanged where there is none.
[[nodiscard]] char32_t letterLower(char32_t c);

/// The simple title-case mapping, the capital a word begins with: the upper case but for
/// the few letters whose word-initial form differs (ǆ gives ǅ, Georgian keeps its letters).
[[nodiscard]] char32_t letterTitle(char32_t c);

/// True for a letter of any script, with case or without (日).
[[nodiscard]] bool isLetter(char32_t c);

/// The key by which letter case is ignored: the upper case of the simple case folding of
/// the lower case, so that two code points match whenever a case change of the rules could
/// turn one into the other (é and É, ς and Σ, İ and i); every other code point is itself.
[[nodiscard]] char32_t foldUpper(char32_t c);

/// Equality without regard to letter case, by foldUpper.
[[nodiscard]] bool equalsIgnoreCase(std::u32string_view a, std::u32string_view b);

/// The same for two names given as the system's bytes (see decodeName).
[[nodiscard]] bool equalsIgnoreCase(std::string_view a, std::string_view b);

} // namespace quorvane::platform
