// The columns of a listing line: fitting, sizes, dates, attributes, and one entry's line.
#include "listing_format.h"

#include "name_rules.h"

#include "platform/display_width.h"
#include "platform/name_codec.h"

#include <algorithm>

namespace quorvane::engine {

namespace {

constexpr std::u32string_view kContinuation = U"       <---\r\n";
constexpr std::u32string_view kDirectoryColumn = U" < Directory >";
constexpr int kSizeWidth = 13;
constexpr std::u32string_view kColumnGap = U"   ";

bool isBlankOrControl(char32_t c)
{
    return c <= U' ' || c == U'\x7F';
}

std::u32string trimmed(std::u32string_view line)
{
    while (!line.empty() && isBlankOrControl(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && isBlankOrControl(line.back()))
        line.remove_suffix(1);
    return std::u32string(line);
}

} // namespace

std::u32string FitColumn(std::u32string_view text, int width, Alignment alignment)
{
    // Columns of a fixed-pitch line, not characters: a wide character takes two, a
    // combining accent none, so the next column starts at the same place on every line.
    const std::size_t columns = static_cast<std::size_t>(std::max(width, 0));
    std::size_t shown = platform::displayWidth(text);
    if (shown <= columns) {
        const std::u32string padding(columns - shown, U' ');
        return alignment == Alignment::Left ? std::u32string(text) + padding
                                            : padding + std::u32string(text);
    }
    std::u32string result;
    // A zero-width column cannot hold a piece; the whole text stays on one line rather
    // than looping for ever.
    if (columns == 0)
        return std::u32string(text);
    while (shown >= columns) {
        std::size_t taken = 0;
        std::size_t used = 0;
        // Marks that follow the last character stay with it.
        while (taken < text.size()
            && used + static_cast<std::size_t>(platform::displayWidth(text[taken])) <= columns)
            used += static_cast<std::size_t>(platform::displayWidth(text[taken++]));
        // A character wider than the whole column still goes somewhere.
        if (taken == 0)
            used = static_cast<std::size_t>(platform::displayWidth(text[taken++]));
        result += text.substr(0, taken);
        // A wide character that would straddle the edge starts the next piece; a space
        // keeps the continuation mark in its place.
        if (used < columns)
            result.append(columns - used, U' ');
        result += kContinuation;
        text.remove_prefix(taken);
        shown -= used;
    }
    result += text;
    result.append(columns - shown, U' ');
    return result;
}

std::u32string GroupThousands(std::uint64_t size)
{
    const std::string digits = std::to_string(size);
    std::u32string result;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += U'.';
        result += static_cast<char32_t>(digits[i]);
    }
    return result;
}

LocaleListingDateFormat::LocaleListingDateFormat(const std::string& localeName)
    : m_format(localeName)
{ }

std::u32string LocaleListingDateFormat::shortDate(const platform::LocalDateTime& time) const
{
    return platform::decodeTextFile(m_format.shortDate(time));
}

std::u32string LocaleListingDateFormat::longTime(const platform::LocalDateTime& time) const
{
    return platform::decodeTextFile(m_format.longTime(time));
}

std::u32string dateColumnText(const ListingDateFormat& format, const platform::LocalDateTime& time)
{
    std::u32string text = format.shortDate(time);
    if (time.hour != 0 || time.minute != 0 || time.second != 0)
        text += U' ' + format.longTime(time);
    if (text.size() == 18)
        text.insert(11, 1, U' ');
    return text;
}

bool isDirectoryEntry(const platform::DirEntry& entry)
{
    return entry.kind == platform::EntryKind::Directory
        || (entry.attributes & platform::kDirectoryBit) != 0;
}

std::u32string attributeText(std::uint32_t attributes)
{
    std::u32string text;
    if ((attributes & platform::kArchive) != 0)
        text += U'A';
    if ((attributes & platform::kHidden) != 0)
        text += U'H';
    if ((attributes & platform::kReadOnly) != 0)
        text += U'R';
    if ((attributes & platform::kSystem) != 0)
        text += U'S';
    return text;
}

std::u32string printableName(std::u32string_view name)
{
    std::u32string result(name);
    std::replace_if(
        result.begin(), result.end(), [](char32_t c) { return c < U' ' || c == U'\x7F'; },
        U'\xFFFD');
    return result;
}

std::u32string entryLine(
    const platform::DirEntry& entry, const ListingOptions& options, const ListingDateFormat& dates)
{
    const int nameWidth = nameColumnWidth(options);
    const std::u32string name = printableName(platform::decodeName(entry.name));
    std::u32string line;
    if (isDirectoryEntry(entry)) {
        line = FitColumn(name, nameWidth, Alignment::Left);
        if (options.PrintSizes)
            line += kDirectoryColumn;
    } else {
        line = FitColumn(
            options.PrintExtensions ? name : SplitExt(name).base, nameWidth, Alignment::Left);
        if (options.PrintSizes)
            line += U' ' + FitColumn(GroupThousands(entry.size), kSizeWidth, Alignment::Right);
    }
    if (options.PrintDates)
        line += std::u32string(kColumnGap)
            + dateColumnText(dates, platform::localDateTime(entry.mtimeNs));
    if (options.PrintAttributes)
        line += std::u32string(kColumnGap) + attributeText(entry.attributes);
    return trimmed(line);
}

} // namespace quorvane::engine
