// Language identifiers (LANGID) and the languages they stand for.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorvane::lang {

inline constexpr std::uint16_t kLangItalian = 1040;
inline constexpr std::uint16_t kLangEnglishUs = 1033;

/// The language's BCP 47 tag ("de-DE"), or "" for a LANGID this program does not know.
[[nodiscard]] std::string_view languageTagOf(std::uint16_t langId);

/// The language's English name ("German"), or "" when unknown; for front ends without a
/// locale database.
[[nodiscard]] std::string_view englishLanguageNameOf(std::uint16_t langId);

/// The plain name a speaker gives the language, in the language itself and in UTF-8
/// ("Deutsch", "Français"), whatever region the LANGID names; "" for a language this
/// program does not name itself.
[[nodiscard]] std::string_view nativeLanguageNameOf(std::uint16_t langId);

} // namespace quorvane::lang
