// The rules that rewrite one name; pure functions, no disk.
#pragma once

#include "rename_options.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane::engine {

/// Base and extension of a name, split at its last dot (neither holds that dot).
struct SplitName
{
    std::u32string base;
    std::u32string ext;
};

/// A name without a dot, or whose last dot is its first character, is all base.
[[nodiscard]] SplitName SplitExt(std::u32string_view name);

/// The decimal text of value ("-" first when negative), "0"s put in front until it is at
/// least width characters long; never cut.
[[nodiscard]] std::u32string Addzero(std::int64_t value, int width);

/// The name without the characters forbidden in names: " * / : < > ? \ | and, when
/// dosNames is set, also + , ; = [ ].
[[nodiscard]] std::u32string Check_Char_Vietati(std::u32string_view name, bool dosNames);

/// When the name begins with ".", the current text of SENZA_NOME put in front of it.
[[nodiscard]] std::u32string applyNamelessRule(std::u32string name);

/// Replaces every occurrence of search (letter case ignored, platform::foldUpper) left to
/// right; when search is exactly "." and keepExtDot is set, the extension's dot is spared.
/// Applies the nameless rule. An empty search text changes nothing but that rule.
[[nodiscard]] std::u32string ReplaceSequence(std::u32string_view name, std::u32string_view search,
    std::u32string_view replacement, bool keepExtDot);

/// Deletes runs of at least numDigits digits (see the scan rules in the source);
/// leadingOnly stops at the first non-digit that is examined. Applies the nameless rule.
[[nodiscard]] std::u32string RemoveNumbering(
    std::u32string_view name, int numDigits, bool leadingOnly);

/// Trims code points 0-32 at both ends; every run of spaces becomes one; no space before ".".
[[nodiscard]] std::u32string CompactBlanks(std::u32string_view name);

/// Capitals for mode 1 on a lower-case name, by CheckBox9, CheckBox6 and CheckBox12.
[[nodiscard]] std::u32string CapitaliseWords(
    std::u32string_view name, const RenameOptions& options);

enum class AccentDirection { ToAccented, ToApostrophe };

/// Vowel + apostrophe <-> accented letter; the name unchanged while handleAccents is off.
[[nodiscard]] std::u32string ConvertAccents(
    std::u32string_view name, AccentDirection direction, bool handleAccents);

/// The name with count characters deleted at the 1-based position and text inserted there.
[[nodiscard]] std::u32string ReplaceAt(
    std::u32string_view text, std::size_t position, std::size_t count, std::u32string_view name);

} // namespace quorvane::engine
