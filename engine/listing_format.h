// The columns of a listing line: fitting, sizes, dates, attributes, and one entry's line.
#pragma once

#include "listing_options.h"

#include "platform/file_system.h"
#include "platform/locale_time.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane::engine {

enum class Alignment { Left, Right };

/// The text padded with spaces to `width` columns on the side the alignment says, columns
/// counted as a fixed-pitch line shows them (platform::displayWidth). A wider text is cut
/// into pieces of `width` columns; each full piece is followed by "       <---" and CR LF,
/// the last (possibly empty) piece is padded on the right, whatever the alignment, so the
/// later columns follow it on the last line.
[[nodiscard]] std::u32string FitColumn(std::u32string_view text, int width, Alignment alignment);

/// The decimal text of the size with "." between groups of three digits: "1.234.567".
[[nodiscard]] std::u32string GroupThousands(std::uint64_t size);

/// How the listing writes a moment. Tests give a fixed format; the program the user's locale.
class ListingDateFormat
{
public:
    virtual ~ListingDateFormat() = default;
    [[nodiscard]] virtual std::u32string shortDate(const platform::LocalDateTime& time) const = 0;
    [[nodiscard]] virtual std::u32string longTime(const platform::LocalDateTime& time) const = 0;
};

/// The user's LC_TIME formats (strftime %x and %X).
class LocaleListingDateFormat final : public ListingDateFormat
{
public:
    /// An empty name means the locale of the environment.
    explicit LocaleListingDateFormat(const std::string& localeName = {});
    [[nodiscard]] std::u32string shortDate(const platform::LocalDateTime& time) const override;
    [[nodiscard]] std::u32string longTime(const platform::LocalDateTime& time) const override;

private:
    platform::LocaleTimeFormat m_format;
};

/// The date column's text: short date, a space and long time, the time left out at exactly
/// midnight; an 18-character text gets a space before its 12th character so that a one-digit
/// hour lines up under two-digit ones.
[[nodiscard]] std::u32string dateColumnText(
    const ListingDateFormat& format, const platform::LocalDateTime& time);

/// True for a directory (a symbolic link to one is not: the listing never follows links).
[[nodiscard]] bool isDirectoryEntry(const platform::DirEntry& entry);

/// "A", "H", "R", "S" for the attribute bits that are set, in that order.
[[nodiscard]] std::u32string attributeText(std::uint32_t attributes);

/// The printable form of a name: control characters (a name may hold a line feed) become
/// U+FFFD, so that no name can break a listing line or forge one.
[[nodiscard]] std::u32string printableName(std::u32string_view name);

/// One entry's line (possibly several output lines joined by CR LF when the name is longer
/// than its column), trimmed of spaces and control characters at both ends. The caller has
/// already left out directories when PrintDirNames is off, and "." and "..".
[[nodiscard]] std::u32string entryLine(
    const platform::DirEntry& entry, const ListingOptions& options, const ListingDateFormat& dates);

} // namespace quorvane::engine
