// Letter case by the Windows-1252 upper/lower pairs.
#include "case_fold.h"

#include "name_codec.h"

#include <algorithm>

namespace quorvane::platform {

char32_t foldUpper(char32_t c)
{
    if (c < 0x80)
        return asciiUpper(c);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    switch (c) {
    case 0x0161: // š
        return 0x0160;
    case 0x0153: // œ
        return 0x0152;
    case 0x017E: // ž
        return 0x017D;
    case 0x00FF: // ÿ
        return 0x0178;
    default:
        return c;
    }
}

bool equalsIgnoreCase(std::u32string_view a, std::u32string_view b)
{
    return std::ranges::equal(
        a, b, [](char32_t x, char32_t y) { return foldUpper(x) == foldUpper(y); });
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    // Most names are ASCII, where a byte is a character and the fold is A-Z alone: a run
    // compares a million of them without decoding one.
    const auto isAscii = [](std::string_view s) {
        return std::ranges::all_of(s, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if (isAscii(a) && isAscii(b))
        return std::ranges::equal(a, b, [](char x, char y) {
            return asciiUpper(static_cast<unsigned char>(x))
                == asciiUpper(static_cast<unsigned char>(y));
        });
    return equalsIgnoreCase(decodeName(a), decodeName(b));
}

} // namespace quorvane::platform
