// The options of a directory listing, as the print-options window shows them.
#pragma once

#include <string>

namespace quorvane::engine {

/// The width of a listing line in characters; the name column takes what the other
/// columns leave.
inline constexpr int ListingWidth = 100;

/// The listing's options. The initializers are the values a first start has (no stored
/// settings); every flag but PrintTitleText is one the settings store keeps.
struct ListingOptions
{
    bool PrintTitle = false; ///< a title line at the top
    std::u32string PrintTitleText; ///< the title; never stored
    bool PrintHeading = true; ///< a heading line per directory
    bool PrintTotals = true; ///< a totals line per directory
    bool PrintSubdirs = true; ///< every subdirectory, breadth first, as a block of its own
    bool PrintDirNames = true; ///< directories listed among the files, and counted
    bool PrintSizes = true; ///< size column
    bool PrintDates = true; ///< date and time column
    bool PrintAttributes = true; ///< attribute column
    bool PrintExtensions = true; ///< file names with their extension
    bool PrintToTextFile = false; ///< how the print dialog's "to text file" box starts

    friend bool operator==(const ListingOptions&, const ListingOptions&) = default;
};

/// The name column's width: ListingWidth less 14 for sizes, 22 for dates, 7 for attributes.
[[nodiscard]] constexpr int nameColumnWidth(const ListingOptions& options)
{
    return ListingWidth - (options.PrintSizes ? 14 : 0) - (options.PrintDates ? 22 : 0)
        - (options.PrintAttributes ? 7 : 0);
}

} // namespace quorvane::engine
