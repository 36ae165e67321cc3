// The process-wide localisation manager: constants, the language list and switching.
#pragma once

#include "constant_id.h"
#include "lang_constants.h"
#include "lang_file.h"

#include "lang/lang_constant_ids.h"
#include "reentrant_rw_lock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::lang {

/// A translatable form as the manager sees it: its controller registers it and receives
/// the translation of its form at every switch.
class LangTranslatable
{
public:
    virtual ~LangTranslatable() = default;
    /// The form's name, which names its section in a language file.
    [[nodiscard]] virtual std::string formName() const = 0;
    /// Writes the translation's texts, or the built-in texts for none.
    virtual void applyTranslation(const TLang_CompTranslation* translation) = 0;
};

/// A registered language: its LANGID and its file.
struct TLang_LangResource
{
    std::uint16_t langId = 0;
    std::string path;
};

/// Owns the constants, the language list, the registered forms and the lock that guards
/// them. Index 0 of the language list is the base language, index i >= 1 the i-th
/// registered file.
class TLanguageManager
{
public:
    /// Loads the constants from a LANG_CONSTS blob; an empty blob leaves the table empty.
    /// Throws ELangError when the blob is malformed.
    explicit TLanguageManager(std::span<const std::uint8_t> constantsResource);

    [[nodiscard]] TLang_Constants& constants() { return m_constants; }
    [[nodiscard]] const TLang_Constants& constants() const { return m_constants; }
    /// The program's added texts (beyond the built-in table), translatable the same way.
    [[nodiscard]] TLang_Constants& addedTexts() { return m_added; }
    [[nodiscard]] const TLang_Constants& addedTexts() const { return m_added; }
    [[nodiscard]] ReentrantRwLock& lock() const { return m_lock; }

    /// The text in force for the constant, under the shared hold.
    /// Throws ELangError "Constant "%s" not found".
    [[nodiscard]] std::u32string lookupConstant(std::string_view name) const;
    /// The text in force for an added text; the same error when it is absent.
    [[nodiscard]] std::u32string lookupAdded(std::string_view name) const;

    void SetBaseLanguage(std::uint16_t langId);
    [[nodiscard]] std::uint16_t BaseLanguage() const;
    [[nodiscard]] std::uint16_t CurrentLanguage() const;

    /// Registers every acceptable file matching the mask in the folder (in file-name order,
    /// so that a stored index keeps naming the same language); descends into directories
    /// not beginning with "." when `recurse`. Returns how many files were accepted.
    /// Throws ELangError when a file exists but cannot be read.
    int FindLanguageFiles(const platform::FileSystem& fs, const std::string& folder,
        std::u32string_view mask, bool recurse);
    /// Reads the file's header; true when it carries a LANGID (registered unless it is the
    /// base language). False when there is no such file. Throws ELangError when it cannot
    /// be read.
    bool AddLanguageFile(const std::string& path);

    [[nodiscard]] int CountLanguages() const;
    /// Throws std::out_of_range for an index outside 0 .. CountLanguages() - 1.
    [[nodiscard]] std::uint16_t LanguageIdAt(int index) const;
    /// The display name of the language at the index (see setLanguageNamer).
    [[nodiscard]] std::u32string LanguageTitleAt(int index) const;
    /// Names languages for LanguageTitleAt; the GUI gives the locale database's names.
    void setLanguageNamer(std::function<std::u32string(std::uint16_t)> namer);

    /// Puts the language into force everywhere. A file that cannot be read or parsed
    /// throws ELangError and changes nothing.
    void SwitchLanguage(std::uint16_t langId);
    /// The whole file of the language, or none for the base language or an unknown one.
    [[nodiscard]] std::unique_ptr<TLang_CompTranslations> LoadTranslationSet(
        std::uint16_t langId) const;
    /// Brings the constants, the added texts and every registered form to the set (the
    /// built-in texts for none).
    void ApplyTranslationSet(const TLang_CompTranslations* set);

    void AttachController(LangTranslatable* form);
    void DetachController(LangTranslatable* form);
    /// Gives a form that has just been made the language in force.
    void TranslateNewForm(LangTranslatable& form) const;

private:
    std::vector<TLang_LangResource> m_languages;
    std::vector<LangTranslatable*> m_forms;
    std::uint16_t m_baseLanguage = 1033;
    std::uint16_t m_currentLanguage = 1033;
    std::function<std::u32string(std::uint16_t)> m_namer;
    TLang_Constants m_constants;
    TLang_Constants m_added;
    mutable ReentrantRwLock m_lock;
};

/// The single manager, created from the embedded LANG_CONSTS resource on first use.
[[nodiscard]] TLanguageManager& LangManager();

/// The current text of a constant named at run time (a language file's entry). Throws
/// ELangError when the name is unknown.
[[nodiscard]] std::u32string LookupConstant(std::string_view name);

/// The current text of a built-in constant; the program's code names them by id
/// (lang/lang_constant_ids.h).
[[nodiscard]] inline std::u32string LookupConstant(ConstantId id)
{
    return LookupConstant(id.name);
}

} // namespace quorvane::lang
