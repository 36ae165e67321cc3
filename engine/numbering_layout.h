// The numbering layout: its elements, as the numbering dialog edits and shows them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// What an element of the layout writes into a name.
enum class LayoutKind {
    FileName, ///< the base of the current name
    Number, ///< the running number, at least NumDigits digits
    Separator, ///< " - "
    Space, ///< " "
    Literal, ///< the element's own text
};

/// One element of the layout. Held as what it is, never as a word of a language: a layout
/// set under one language means the same under every other.
struct LayoutElement
{
    LayoutKind kind = LayoutKind::Literal;
    std::u32string text; ///< a literal's text; empty for the other kinds

    bool operator==(const LayoutElement&) const = default;
};

using NumberingLayout = std::vector<LayoutElement>;

/// The element a word names in the language in force: the exact text of FILENAME,
/// NUMERAZIONE, SEPARATORE or SPAZIO is that element; any other word is a literal.
[[nodiscard]] LayoutElement layoutElementNamed(std::u32string_view word);

/// The element as a person reads it: the text of its constant in the language in force,
/// a literal's own text.
[[nodiscard]] std::u32string layoutElementText(const LayoutElement& element);

/// The layout offered when none was set yet: number, separator, file name.
[[nodiscard]] NumberingLayout defaultNumLayout();

/// True when the layout holds the number element (the digit slider has a use).
[[nodiscard]] bool layoutHasNumber(const NumberingLayout& layout);

/// The example of the dialog: every element as the run would write it, with "N" for each
/// digit, the file name element's text for the base name, and ".ext"; empty for an empty
/// layout.
[[nodiscard]] std::u32string numberingExample(const NumberingLayout& layout, int digits);

/// A typed start value reduced to its digits ("1" when none is left).
struct CleanedStart
{
    std::u32string text;
    bool changed = false; ///< the user is told when the typed text was not all digits
};
[[nodiscard]] CleanedStart cleanStartValue(std::u32string_view typed);

} // namespace quorvane::engine
