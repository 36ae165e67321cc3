// Language files: the translation set one file holds, its parser and the text escapes.
#pragma once

#include "lang_constants.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace quorvane::lang {

/// One translated form text: the ID of its entry in the form's tree and the text.
struct TLang_PropValueTranslation
{
    std::int32_t id = 0; ///< always greater than 0
    std::u32string text;
};

/// The translations of one form's texts, kept in ascending, unique ID order.
class TLang_CompTranslation
{
public:
    explicit TLang_CompTranslation(std::string formName)
        : m_name(std::move(formName))
    { }

    [[nodiscard]] const std::string& name() const { return m_name; }
    /// Adds a text. Throws ELangError "Duplicate property value translation ID (%d)".
    void add(std::int32_t id, std::u32string text);
    /// The text for the ID, or nullptr (binary search).
    [[nodiscard]] const std::u32string* find(std::int32_t id) const;
    [[nodiscard]] const std::vector<TLang_PropValueTranslation>& items() const { return m_items; }

    /// Collects texts for one form with add()'s check and error, in any order, and puts them
    /// in with one sort, so that a form's worth costs n log n whatever the order of its IDs.
    class Batch
    {
    public:
        /// The IDs `form` holds count as taken.
        explicit Batch(const TLang_CompTranslation& form);
        /// As add(); the text reaches the form at commitTo().
        void add(std::int32_t id, std::u32string text);
        /// Moves what was collected into `form`, the one given to the constructor (unchanged
        /// since), and leaves the batch empty.
        void commitTo(TLang_CompTranslation& form);

    private:
        /// Filled once the IDs stop rising (or the form held some): while they rise, each
        /// new one is greater than all before it and needs no lookup.
        std::unordered_set<std::int32_t> m_taken;
        std::vector<TLang_PropValueTranslation> m_items;
    };

private:
    std::string m_name;
    std::vector<TLang_PropValueTranslation> m_items;
};

/// Everything one language file holds after parsing.
class TLang_CompTranslations
{
public:
    /// The header value of the key (compared without regard to case), or nullopt.
    [[nodiscard]] std::optional<std::string> header(std::string_view key) const;
    /// Sets a header value; an empty value removes the key.
    void setHeader(std::string_view key, std::string value);
    /// The LANGID header as a number, low 16 bits only; 0 when missing or not a number.
    [[nodiscard]] std::uint16_t langId() const;

    [[nodiscard]] TLang_Constants& constants() { return m_constants; }
    [[nodiscard]] const TLang_Constants& constants() const { return m_constants; }
    /// The program's added texts, kept apart from the built-in constants table.
    [[nodiscard]] TLang_Constants& addedTexts() { return m_added; }
    [[nodiscard]] const TLang_Constants& addedTexts() const { return m_added; }

    /// The translation of the form (name without regard to case), or nullptr.
    [[nodiscard]] const TLang_CompTranslation* form(std::string_view formName) const;
    /// The translation of the form, created at the end of the list when missing.
    TLang_CompTranslation& formForWriting(std::string_view formName);
    [[nodiscard]] const std::vector<TLang_CompTranslation>& forms() const { return m_forms; }

    /// The position of the form (name without regard to case) in forms(), or nullopt.
    [[nodiscard]] std::optional<std::size_t> formIndex(std::string_view formName) const;

private:
    /// Header values by key in upper case: a key is looked up with every line that sets it.
    std::unordered_map<std::string, std::string> m_header;
    TLang_Constants m_constants;
    TLang_Constants m_added;
    std::vector<TLang_CompTranslation> m_forms;
    /// Positions in m_forms by name in upper case: a file may hold a great many sections.
    std::unordered_map<std::string, std::size_t> m_formIndex;
};

/// The section that holds the built-in constants.
inline constexpr std::string_view kConstantsSection = "$CONSTANTS";
/// The section that holds the program's added texts (same NAME=text lines).
inline constexpr std::string_view kAddedSection = "$ADDED";

/// Parses a decoded language file into `set`. With `headerOnly` the parse stops at the
/// first line that begins with "[". Any error stops the parse and is thrown as ELangError
/// "Loading translations failed.\r\nLine %d: %s" with the zero-based line.
void parseLanguageText(std::u32string_view text, TLang_CompTranslations& set, bool headerOnly);

/// Reads and parses a language file (UTF-8 when valid, Windows-1252 otherwise). Throws
/// ELangError when the file cannot be read or parsed.
[[nodiscard]] TLang_CompTranslations readLanguageFile(const std::string& path, bool headerOnly);

/// Resolves the escapes \\, \n (CR LF), \t and \dd (two decimal digits); every other
/// backslash is an ordinary character.
[[nodiscard]] std::u32string unescapeText(std::u32string_view text);

/// The inverse for writing a file: tab as \t, any line break as \n, backslash as \\, other
/// codes below 32 as \dd. A blank at either end becomes \32, since a reader trims it.
[[nodiscard]] std::u32string escapeText(std::u32string_view text);

/// Decimal digits only, leading zeros allowed; nullopt when empty, not digits or too
/// large for a signed 32-bit number.
[[nodiscard]] std::optional<std::int32_t> parseDecimalId(std::string_view key);

} // namespace quorvane::lang
