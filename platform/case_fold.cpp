// Letter case by Unicode's simple mappings (ICU), with ASCII answered without a look-up.
#include "case_fold.h"

#include "name_codec.h"

#include <algorithm>

#include <unicode/uchar.h>

namespace quorvane::platform {

namespace {

/// ICU takes a code point as a signed 32-bit value; what no code point is stays as it is.
bool outsideUnicode(char32_t c)
{
    return c > 0x10FFFF;
}

char32_t fromIcu(UChar32 c)
{
    return static_cast<char32_t>(c);
}

UChar32 toIcu(char32_t c)
{
    return static_cast<UChar32>(c);
}

} // namespace

char32_t letterUpper(char32_t c)
{
    if (c < 0x80 || outsideUnicode(c))
        return asciiUpper(c);
    return fromIcu(u_toupper(toIcu(c)));
}

char32_t letterLower(char32_t c)
{
    if (c < 0x80 || outsideUnicode(c))
        return asciiLower(c);
    return fromIcu(u_tolower(toIcu(c)));
}

char32_t letterTitle(char32_t c)
{
    if (c < 0x80 || outsideUnicode(c))
        return asciiUpper(c);
    return fromIcu(u_totitle(toIcu(c)));
}

bool isLetter(char32_t c)
{
    if (c < 0x80)
        return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
    return !outsideUnicode(c) && u_isalpha(toIcu(c)) != 0;
}

char32_t foldUpper(char32_t c)
{
    if (c < 0x80 || outsideUnicode(c))
        return asciiUpper(c);
    // Through the lower case first: İ lowers to i, which folding alone leaves apart.
    return fromIcu(u_toupper(u_foldCase(u_tolower(toIcu(c)), U_FOLD_CASE_DEFAULT)));
}

bool equalsIgnoreCase(std::u32string_view a, std::u32string_view b)
{
    return std::ranges::equal(
        a, b, [](char32_t x, char32_t y) { return foldUpper(x) == foldUpper(y); });
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    // Most names are ASCII, where a byte is a character and the fold is A-Z alone (no
    // other ASCII character folds, and only a non-ASCII one could fold onto an ASCII
    // letter): a run compares a million of them without decoding one.
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
