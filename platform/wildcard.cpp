// Enumeration masks ("*.mp3", "*.*") matched against names.
#include "wildcard.h"

#include "case_fold.h"

namespace quorvane::platform {

namespace {

bool sameLetter(char32_t a, char32_t b)
{
    return a == b || foldUpper(a) == foldUpper(b);
}

/// One mask without ";". Greedy: a "*" first takes nothing and, on a mismatch, takes one
/// character more. Only the last "*" needs remembering, because whatever an earlier star
/// could take more is also taken by the later one, so the work stays close to linear.
bool matchesPattern(std::u32string_view name, std::u32string_view pattern)
{
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::u32string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starAt = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || sameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::u32string_view::npos) {
            p = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

/// As the classic enumeration does, a mask ending in ".*" also takes names that have no
/// dot at that point: "*.*" takes every name, "readme.*" takes "readme".
bool matchesSingleMask(std::u32string_view name, std::u32string_view mask)
{
    if (matchesPattern(name, mask))
        return true;
    if (mask.ends_with(U".*"))
        return matchesPattern(name, mask.substr(0, mask.size() - 2));
    return false;
}

std::u32string_view trimmed(std::u32string_view text)
{
    const auto isBlank = [](char32_t c) { return c == U' ' || c == U'\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

/// A mask of stars alone, or of stars then ".*".
bool takesAll(std::u32string_view mask)
{
    if (mask.ends_with(U".*"))
        mask.remove_suffix(2);
    return !mask.empty() && mask.find_first_not_of(U'*') == std::u32string_view::npos;
}

} // namespace

bool matchesEveryName(std::u32string_view mask)
{
    for (;;) {
        const std::size_t separator = mask.find(U';');
        if (takesAll(trimmed(mask.substr(0, separator))))
            return true;
        if (separator == std::u32string_view::npos)
            return false;
        mask.remove_prefix(separator + 1);
    }
}

bool matchesMask(std::u32string_view name, std::u32string_view mask)
{
    for (;;) {
        const std::size_t separator = mask.find(U';');
        const std::u32string_view single = trimmed(mask.substr(0, separator));
        if (!single.empty() && matchesSingleMask(name, single))
            return true;
        if (separator == std::u32string_view::npos)
            return false;
        mask.remove_prefix(separator + 1);
    }
}

} // namespace quorvane::platform
