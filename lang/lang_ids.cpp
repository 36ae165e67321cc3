// Language identifiers (LANGID) and the languages they stand for.
#include "lang_ids.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quorvane::lang {

namespace {

struct Language
{
    std::uint16_t langId;
    std::string_view tag;
    std::string_view englishName;
};

// The languages a translator is likely to ship; a LANGID names a language and a region.
constexpr std::array<Language, 34> kLanguages { {
    { 1025, "ar-SA", "Arabic" },
    { 1026, "bg-BG", "Bulgarian" },
    { 1027, "ca-ES", "Catalan" },
    { 1028, "zh-TW", "Chinese (Traditional)" },
    { 1029, "cs-CZ", "Czech" },
    { 1030, "da-DK", "Danish" },
    { 1031, "de-DE", "German" },
    { 1032, "el-GR", "Greek" },
    { 1033, "en-US", "English" },
    { 1034, "es-ES", "Spanish" },
    { 1035, "fi-FI", "Finnish" },
    { 1036, "fr-FR", "French" },
    { 1037, "he-IL", "Hebrew" },
    { 1038, "hu-HU", "Hungarian" },
    { 1040, "it-IT", "Italian" },
    { 1041, "ja-JP", "Japanese" },
    { 1042, "ko-KR", "Korean" },
    { 1043, "nl-NL", "Dutch" },
    { 1044, "nb-NO", "Norwegian" },
    { 1045, "pl-PL", "Polish" },
    { 1046, "pt-BR", "Portuguese (Brazil)" },
    { 1048, "ro-RO", "Romanian" },
    { 1049, "ru-RU", "Russian" },
    { 1050, "hr-HR", "Croatian" },
    { 1051, "sk-SK", "Slovak" },
    { 1053, "sv-SE", "Swedish" },
    { 1055, "tr-TR", "Turkish" },
    { 1058, "uk-UA", "Ukrainian" },
    { 1060, "sl-SI", "Slovenian" },
    { 2052, "zh-CN", "Chinese (Simplified)" },
    { 2057, "en-GB", "English (United Kingdom)" },
    { 2070, "pt-PT", "Portuguese" },
    { 3079, "de-AT", "German (Austria)" },
    { 3082, "es-ES", "Spanish" },
} };

const Language* find(std::uint16_t langId)
{
    const auto* pos = std::ranges::lower_bound(kLanguages, langId, {}, &Language::langId);
    return pos != kLanguages.end() && pos->langId == langId ? pos : nullptr;
}

// The languages shipped with the program. A locale database names the language of a region
// ("American English", "español de España"), which is not what a person picks from a list
// of languages.
constexpr std::array<std::pair<std::uint16_t, std::string_view>, 8> kNativeNames { {
    { 1031, "Deutsch" },
    { 1033, "English" },
    { 1034, "Español" },
    { 1036, "Français" },
    { 1040, "Italiano" },
    { 2057, "English" },
    { 3079, "Deutsch" },
    { 3082, "Español" },
} };

} // namespace

std::string_view languageTagOf(std::uint16_t langId)
{
    const Language* language = find(langId);
    return language != nullptr ? language->tag : std::string_view();
}

std::string_view englishLanguageNameOf(std::uint16_t langId)
{
    const Language* language = find(langId);
    return language != nullptr ? language->englishName : std::string_view();
}

std::string_view nativeLanguageNameOf(std::uint16_t langId)
{
    const auto* pos
        = std::ranges::find(kNativeNames, langId, [](const auto& n) { return n.first; });
    return pos != kNativeNames.end() ? pos->second : std::string_view();
}

} // namespace quorvane::lang
