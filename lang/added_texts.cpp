// Texts of messages that this program shows beyond the built-in constants table.
#include "added_texts.h"

#include "lang_error.h"

#include "platform/name_codec.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quorvane::lang {

namespace {

// Sorted by name; UTF-8 texts, "\r\n" as in the built-in table.
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kTexts { {
    { "ATTRIBUTI_NON_IMPOSTATI",
        "Gli attributi di %d elementi non sono stati modificati\r\n"
        "(collegamenti simbolici, file di altri utenti o file system che non li supportano)." },
    { "CESTINO_FALLITO",
        "Impossibile spostare il file nel cestino:\r\n%s\r\n\r\nIl file non è stato toccato." },
    { "ELIMINA_SOLO_SELEZIONATO",
        "Si può eliminare solo il file su cui si è fatto clic: il percorso indicato è un "
        "altro." },
    { "LISTA_NON_VALIDA", "Il file %s non è una lista di nomi utilizzabile:\r\n%s" },
    { "NOME_GIA_USATO", "Esiste già un elemento con questo nome (Errore %d)" },
    { "RINOMINA_RIFIUTATA", "Rinomina non riuscita: %s (Errore %d)" },
    { "RUN_INTERROMPI", "Interrompi" },
    { "RUN_INTERROTTA", ", operazione interrotta" },
    { "RUN_NON_RINOMINATI", ", %d non rinominati per errore" },
    { "RUN_SALTA", "Salta" },
    { "RUN_SALTA_TUTTI", "Salta tutti gli errori" },
    { "SELEZIONE_NON_VALIDA",
        "La selezione contiene un nome che non è un file di questa directory: %s" },
} };

} // namespace

std::u32string addedText(std::string_view name)
{
    const auto* it = std::ranges::lower_bound(
        kTexts, name, {}, &std::pair<std::string_view, std::string_view>::first);
    if (it == kTexts.end() || it->first != name)
        throw ELangError("Constant \"" + std::string(name) + "\" not found");
    return platform::decodeName(it->second);
}

} // namespace quorvane::lang
