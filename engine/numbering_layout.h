// The numbering layout as the numbering dialog edits and shows it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// The layout offered when none was set yet: number, separator, file name, in the texts
/// of the current language.
[[nodiscard]] std::vector<std::u32string> defaultNumLayout();

/// True when the layout holds the number element (the digit slider has a use).
[[nodiscard]] bool layoutHasNumber(const std::vector<std::u32string>& layout);

/// The example of the dialog: every element as the run would write it, with "N" for each
/// digit, the file name element's own text for the base name, and ".ext"; empty for an
/// empty layout.
[[nodiscard]] std::u32string numberingExample(
    const std::vector<std::u32string>& layout, int digits);

/// A typed start value reduced to its digits ("1" when none is left).
struct CleanedStart
{
    std::u32string text;
    bool changed = false; ///< the user is told when the typed text was not all digits
};
[[nodiscard]] CleanedStart cleanStartValue(std::u32string_view typed);

} // namespace quorvane::engine
