// The messages of printing and of the listing's outputs.
#pragma once

#include "lang/constant_id.h"

#include <string>

namespace quorvane::app {

/// Ids of the messages that printing shows, named as the program names its constants.
namespace printtext {
inline constexpr lang::ConstantId DIR_NON_LEGGIBILE { "DIR_NON_LEGGIBILE" };
inline constexpr lang::ConstantId FILE_NON_SCRITTO { "FILE_NON_SCRITTO" };
inline constexpr lang::ConstantId NESSUNA_STAMPANTE { "NESSUNA_STAMPANTE" };
inline constexpr lang::ConstantId SOTTODIR_NON_LEGGIBILI { "SOTTODIR_NON_LEGGIBILI" };
inline constexpr lang::ConstantId STAMPA_FALLITA { "STAMPA_FALLITA" };
inline constexpr lang::ConstantId STAMPA_SU_FILE_DI_TESTO { "STAMPA_SU_FILE_DI_TESTO" };
} // namespace printtext

/// The Italian text of one of the messages above (CR LF line breaks, printf placeholders).
/// Throws ELangError for an id it does not know.
[[nodiscard]] std::u32string printText(lang::ConstantId id);

} // namespace quorvane::app
