// The messages of printing and of the listing's outputs.
#include "print_texts.h"

#include "lang/lang_error.h"
#include "platform/name_codec.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace quorvane::app {

namespace {

constexpr std::array<std::pair<lang::ConstantId, std::string_view>, 6> kTexts { {
    { printtext::DIR_NON_LEGGIBILE,
        "Impossibile leggere la directory %s:\r\n%s\r\n\r\nL'elenco non è stato prodotto." },
    { printtext::FILE_NON_SCRITTO,
        "Impossibile scrivere il file %s:\r\n%s\r\n\r\n"
        "Un file che esisteva già con questo nome non è stato toccato." },
    { printtext::NESSUNA_STAMPANTE,
        "Non è installata nessuna stampante: l'elenco non è stato stampato.\r\n"
        "Si può stamparlo su un file PDF o su un file di testo." },
    { printtext::SOTTODIR_NON_LEGGIBILI,
        "%d sottodirectory non si sono potute leggere e nell'elenco risultano vuote:\r\n%s" },
    { printtext::STAMPA_FALLITA, "Stampa non riuscita:\r\n%s" },
    { printtext::STAMPA_SU_FILE_DI_TESTO, "Stampa su File di testo" },
} };

} // namespace

std::u32string printText(lang::ConstantId id)
{
    const auto* it = std::ranges::find_if(
        kTexts, [&](const auto& entry) { return entry.first.name == id.name; });
    if (it == kTexts.end())
        throw lang::ELangError("Constant \"" + std::string(id.name) + "\" not found");
    return platform::decodeName(it->second);
}

} // namespace quorvane::app
