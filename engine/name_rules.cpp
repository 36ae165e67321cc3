// The rules that rewrite one name: splitting, padding, forbidden characters, sequences,
// digit runs, blanks, capitals and accented letters.
#include "name_rules.h"

#include "lang/language_manager.h"
#include "platform/case_fold.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace quorvane::engine {

namespace {

constexpr char32_t kApostrophe = U'\'';

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool isForbidden(char32_t c, bool dosNames)
{
    // Every character of every name is asked: letters and digits leave at once.
    if ((c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9')
        || c > U'|')
        return false;
    constexpr std::u32string_view standard = U"\"*/:<>?\\|";
    constexpr std::u32string_view dosOnly = U"+,;=[]";
    return standard.find(c) != std::u32string_view::npos
        || (dosNames && dosOnly.find(c) != std::u32string_view::npos);
}

bool matchesAt(std::u32string_view text, std::size_t at, std::u32string_view search)
{
    return platform::equalsIgnoreCase(text.substr(at, search.size()), search);
}

/// The replacement of every left-to-right, non-overlapping occurrence of search in text.
std::u32string replaceAll(
    std::u32string_view text, std::u32string_view search, std::u32string_view replacement)
{
    if (search.empty() || search.size() > text.size())
        return std::u32string(text);
    std::u32string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (i + search.size() <= text.size() && matchesAt(text, i, search)) {
            result += replacement;
            i += search.size();
        } else {
            result += text[i];
            ++i;
        }
    }
    return result;
}

struct AccentPair
{
    char32_t vowel;
    char32_t accented;
};

// Vowel + apostrophe becomes the grave-accented letter; only lower-case forms take part.
constexpr std::array<AccentPair, 5> kToAccented { {
    { U'a', U'\u00E0' },
    { U'e', U'\u00E8' },
    { U'i', U'\u00EC' },
    { U'o', U'\u00F2' },
    { U'u', U'\u00F9' },
} };

// The accented letters split back into vowel + apostrophe; é joins è as "e'".
constexpr std::array<AccentPair, 6> kToApostrophe { {
    { U'a', U'\u00E0' },
    { U'e', U'\u00E8' },
    { U'e', U'\u00E9' },
    { U'i', U'\u00EC' },
    { U'o', U'\u00F2' },
    { U'u', U'\u00F9' },
} };

std::u32string toAccented(std::u32string name)
{
    // Position 1 has no vowel before it, so the walk starts at the second character.
    std::size_t i = 1;
    while (i < name.size()) {
        const bool closesWord = name[i] == kApostrophe && i + 1 < name.size()
            && (name[i + 1] == U' ' || name[i + 1] == U')');
        const auto* pair = closesWord
            ? std::ranges::find(kToAccented, name[i - 1], &AccentPair::vowel)
            : kToAccented.end();
        if (pair != kToAccented.end()) {
            name = ReplaceAt(std::u32string(1, pair->accented), i, 2, name);
            // The accented letter now stands at i - 1 and the space or ")" at i.
            i += 1;
        } else {
            ++i;
        }
    }
    return name;
}

std::u32string toApostrophe(std::u32string name)
{
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto* pair = std::ranges::find(kToApostrophe, name[i], &AccentPair::accented);
        if (pair != kToApostrophe.end())
            name = ReplaceAt(std::u32string { pair->vowel, kApostrophe }, i + 1, 1, name);
    }
    return name;
}

} // namespace

SplitName SplitExt(std::u32string_view name)
{
    const std::size_t dot = name.rfind(U'.');
    if (dot == std::u32string_view::npos || dot == 0)
        return { std::u32string(name), {} };
    return { std::u32string(name.substr(0, dot)), std::u32string(name.substr(dot + 1)) };
}

std::u32string Addzero(std::int64_t value, int width)
{
    const std::string decimal = std::to_string(value);
    const bool negative = value < 0;
    std::u32string digits(decimal.begin() + (negative ? 1 : 0), decimal.end());
    // Zeros go between the sign and the digits: "-07", never "0-7".
    const std::size_t wanted = width > 0 ? static_cast<std::size_t>(width) : 0;
    const std::size_t length = digits.size() + (negative ? 1 : 0);
    if (length < wanted)
        digits.insert(0, wanted - length, U'0');
    return negative ? U"-" + digits : digits;
}

std::u32string Check_Char_Vietati(std::u32string_view name, bool dosNames)
{
    std::u32string result;
    result.reserve(name.size());
    for (const char32_t c : name) {
        if (!isForbidden(c, dosNames))
            result += c;
    }
    return result;
}

std::u32string applyNamelessRule(std::u32string name)
{
    // The text is fetched every time: the language may have been switched since the last call.
    if (!name.empty() && name.front() == U'.')
        name.insert(0, lang::LookupConstant(lang::id::SENZA_NOME));
    return name;
}

std::u32string ReplaceSequence(std::u32string_view name, std::u32string_view search,
    std::u32string_view replacement, bool keepExtDot)
{
    std::u32string result;
    if (search == U"." && keepExtDot) {
        const SplitName parts = SplitExt(name);
        result = replaceAll(parts.base, search, replacement);
        if (!parts.ext.empty())
            result += U'.' + parts.ext;
    } else {
        result = replaceAll(name, search, replacement);
    }
    return applyNamelessRule(std::move(result));
}

std::u32string RemoveNumbering(std::u32string_view name, int numDigits, bool leadingOnly)
{
    const std::size_t minRun = numDigits > 1 ? static_cast<std::size_t>(numDigits) : 1;
    std::u32string result(name);
    std::size_t i = 0;
    while (i < result.size()) {
        if (isDigit(result[i])) {
            std::size_t end = i; // one past the run
            while (end < result.size() && isDigit(result[end]))
                ++end;
            if (end - i >= minRun)
                result.erase(i, end - i);
            else
                i = end + 1; // a short run and the character after it go unexamined
        } else if (leadingOnly) {
            break;
        } else {
            ++i;
        }
    }
    return applyNamelessRule(std::move(result));
}

std::u32string CompactBlanks(std::u32string_view name)
{
    const auto isBlank = [](char32_t c) { return c <= U' '; };
    std::size_t first = 0;
    std::size_t last = name.size();
    while (first < last && isBlank(name[first]))
        ++first;
    while (last > first && isBlank(name[last - 1]))
        --last;
    std::u32string result(name.substr(first, last - first));

    std::size_t i = 0;
    while (i + 1 < result.size()) {
        if (result[i] == U' ' && (result[i + 1] == U' ' || result[i + 1] == U'.'))
            result.erase(i, 1);
        else
            ++i;
    }
    return result;
}

std::u32string CapitaliseWords(std::u32string_view name, const RenameOptions& options)
{
    std::u32string result(name);
    if (options.CheckBox9) {
        // A letter of any script counts, also one without case (日), whose capital is
        // itself: otherwise the first letter would be looked for further on, as far as the
        // extension.
        const auto letter = std::ranges::find_if(result, platform::isLetter);
        if (letter != result.end())
            *letter = platform::letterTitle(*letter);
    }
    if (!options.CheckBox6 && !options.CheckBox12)
        return result;

    const bool dashRule = options.CheckBox12 && !options.CheckBox6;
    bool dashSeen = false;
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (i > 0) {
            const char32_t previous = result[i - 1];
            const bool opens = previous == U'(' || previous == U'[';
            if (options.CheckBox6 && (opens || previous == U' '))
                result[i] = platform::letterTitle(result[i]);
            if (dashRule && (opens || (previous == U' ' && dashSeen))) {
                result[i] = platform::letterTitle(result[i]);
                dashSeen = false;
            }
        }
        if (result[i] == U'-')
            dashSeen = true;
    }
    return result;
}

std::u32string ConvertAccents(
    std::u32string_view name, AccentDirection direction, bool handleAccents)
{
    if (!handleAccents)
        return std::u32string(name);
    return direction == AccentDirection::ToAccented ? toAccented(std::u32string(name))
                                                    : toApostrophe(std::u32string(name));
}

std::u32string ReplaceAt(
    std::u32string_view text, std::size_t position, std::size_t count, std::u32string_view name)
{
    // Positions before the first character mean the first; beyond the end, the end.
    const std::size_t at = std::min(position > 0 ? position - 1 : 0, name.size());
    const std::size_t deleted = std::min(count, name.size() - at);
    std::u32string result;
    result.reserve(name.size() - deleted + text.size());
    result.append(name.substr(0, at)).append(text).append(name.substr(at + deleted));
    return result;
}

} // namespace quorvane::engine
