// The process-wide localisation manager and constant lookup.
#pragma once

#include "constant_id.h"
#include "lang_constants.h"

#include "lang/lang_constant_ids.h"
#include "reentrant_rw_lock.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quorvane::lang {

/// Owns the constants table and the lock that guards the localisation state.
class TLanguageManager
{
public:
    /// Loads the constants from a LANG_CONSTS blob; an empty blob leaves the table empty.
    /// Throws ELangError when the blob is malformed.
    explicit TLanguageManager(std::span<const std::uint8_t> constantsResource);

    [[nodiscard]] TLang_Constants& constants() { return m_constants; }
    [[nodiscard]] const TLang_Constants& constants() const { return m_constants; }
    [[nodiscard]] ReentrantRwLock& lock() const { return m_lock; }

    /// The text in force for the constant, under the shared hold.
    /// Throws ELangError "Constant "%s" not found".
    [[nodiscard]] std::u32string lookupConstant(std::string_view name) const;

private:
    TLang_Constants m_constants;
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
