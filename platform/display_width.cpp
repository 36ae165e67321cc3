// How many columns of a fixed-pitch text a character takes.
#include "display_width.h"

#include <unicode/uchar.h>

namespace quorvane::platform {

int displayWidth(char32_t c)
{
    if (c < 0x300)
        return 1; // Latin, the common case, without asking ICU
    // The escape of an undecodable byte (and any lone surrogate) shows as one U+FFFD.
    if (c >= 0xD800 && c <= 0xDFFF)
        return 1;
    const auto code = static_cast<UChar32>(c);
    const auto category = static_cast<UCharCategory>(u_charType(code));
    if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK
        || (category == U_FORMAT_CHAR && c != 0xAD))
        return 0;
    // The medial vowels and final consonants of Hangul syllables join the letter before.
    if (u_getIntPropertyValue(code, UCHAR_HANGUL_SYLLABLE_TYPE) == U_HST_VOWEL_JAMO
        || u_getIntPropertyValue(code, UCHAR_HANGUL_SYLLABLE_TYPE) == U_HST_TRAILING_JAMO)
        return 0;
    const auto width = u_getIntPropertyValue(code, UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

std::size_t displayWidth(std::u32string_view text)
{
    std::size_t columns = 0;
    for (const char32_t c : text)
        columns += static_cast<std::size_t>(displayWidth(c));
    return columns;
}

} // namespace quorvane::platform
