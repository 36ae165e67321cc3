// Names in the order people expect.
#include "natural_order.h"

#include "platform/case_fold.h"

namespace quorvane::engine {

namespace {

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

/// The digit run at the start of `text`.
std::u32string_view digitRun(std::u32string_view text)
{
    std::size_t end = 0;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return text.substr(0, end);
}

/// Compares two digit runs by value: without leading zeros, the longer is larger.
int compareNumbers(std::u32string_view a, std::u32string_view b)
{
    const auto significant = [](std::u32string_view run) {
        const std::size_t first = run.find_first_not_of(U'0');
        return first == std::u32string_view::npos ? std::u32string_view {} : run.substr(first);
    };
    const std::u32string_view x = significant(a);
    const std::u32string_view y = significant(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

} // namespace

bool naturalLess(std::u32string_view a, std::u32string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::u32string_view x = digitRun(a.substr(i));
            const std::u32string_view y = digitRun(b.substr(j));
            if (const int order = compareNumbers(x, y); order != 0)
                return order < 0;
            i += x.size();
            j += y.size();
            continue;
        }
        const char32_t x = platform::foldUpper(a[i]);
        const char32_t y = platform::foldUpper(b[j]);
        if (x != y)
            return x < y;
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return a < b;
}

} // namespace quorvane::engine
