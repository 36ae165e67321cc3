// printf-style filling of message texts that never fails on a bad pattern.
#include "text_format.h"

#include <algorithm>

namespace quorvane::lang {

namespace {

// A width beyond this is taken as this: a language file must not be able to make one
// message allocate gigabytes.
constexpr std::size_t kMaxWidth = 1024;

std::u32string argumentText(const FormatArg& arg)
{
    if (const auto* text = std::get_if<std::u32string>(&arg))
        return *text;
    const std::string digits = std::to_string(std::get<std::int64_t>(arg));
    return { digits.begin(), digits.end() };
}

/// One "%..." placeholder as read from the pattern.
struct Placeholder
{
    std::size_t length = 0; ///< characters from "%" up to and including the letter
    bool leftAlign = false;
    std::size_t width = 0;
    char32_t conversion = 0; ///< 's', 'd', '%', or 0 when the specifier is unknown
};

Placeholder readPlaceholder(std::u32string_view pattern, std::size_t start)
{
    Placeholder p;
    std::size_t pos = start + 1;
    if (pos < pattern.size() && pattern[pos] == U'%') {
        p.conversion = U'%';
        p.length = 2;
        return p;
    }
    if (pos < pattern.size() && pattern[pos] == U'-') {
        p.leftAlign = true;
        ++pos;
    }
    while (pos < pattern.size() && pattern[pos] >= U'0' && pattern[pos] <= U'9') {
        p.width = std::min(kMaxWidth, p.width * 10 + (pattern[pos] - U'0'));
        ++pos;
    }
    if (pos < pattern.size() && (pattern[pos] == U's' || pattern[pos] == U'd')) {
        p.conversion = pattern[pos];
        ++pos;
    }
    p.length = pos - start;
    return p;
}

void appendPadded(std::u32string& out, const std::u32string& value, const Placeholder& p)
{
    const std::size_t padding = p.width > value.size() ? p.width - value.size() : 0;
    if (!p.leftAlign)
        out.append(padding, U' ');
    out.append(value);
    if (p.leftAlign)
        out.append(padding, U' ');
}

} // namespace

std::u32string formatText(std::u32string_view pattern, std::initializer_list<FormatArg> args)
{
    std::u32string out;
    out.reserve(pattern.size());
    const auto* nextArg = args.begin();
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const std::size_t percent = pattern.find(U'%', pos);
        if (percent == std::u32string_view::npos) {
            out.append(pattern.substr(pos));
            break;
        }
        out.append(pattern.substr(pos, percent - pos));
        const Placeholder p = readPlaceholder(pattern, percent);
        if (p.conversion == U'%') {
            out.push_back(U'%');
        } else if (p.conversion != 0 && nextArg != args.end()) {
            appendPadded(out, argumentText(*nextArg), p);
            ++nextArg;
        } else {
            // Unknown specifier or no argument left: the text stays as written.
            out.append(pattern.substr(percent, p.length));
        }
        pos = percent + p.length;
    }
    return out;
}

} // namespace quorvane::lang
