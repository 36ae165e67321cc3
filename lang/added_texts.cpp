// Texts of messages that this program shows beyond the built-in constants table.
#include "added_texts.h"

#include "lang_constants.h"
#include "language_manager.h"

#include "platform/name_codec.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quorvane::lang {

namespace {

// UTF-8 texts, "\r\n" as in the built-in table. Each entry names its id, so an id and its
// text cannot drift apart.
constexpr std::array<std::pair<ConstantId, std::string_view>, 39> kTexts { {
    { added::ATTRIBUTI_NON_IMPOSTATI,
        "Gli attributi di %d elementi non sono stati modificati\r\n"
        "(collegamenti simbolici, file di altri utenti o file system che non li supportano)." },
    { added::CESTINO_FALLITO,
        "Impossibile spostare il file nel cestino:\r\n%s\r\n\r\nIl file non è stato toccato." },
    { added::CRONOLOGIA, "Cronologia operazioni" },
    { added::CRONOLOGIA_ANNULLA, "&Annulla l'operazione" },
    { added::CRONOLOGIA_ANNULLATA, "annullata" },
    { added::CRONOLOGIA_COMPLETATA, "completata" },
    { added::CRONOLOGIA_DATA, "Data" },
    { added::CRONOLOGIA_DIRECTORY, "Directory" },
    { added::CRONOLOGIA_FERMATA, "fermata" },
    { added::CRONOLOGIA_FILES, "Files" },
    { added::CRONOLOGIA_INTERROTTA, "interrotta" },
    { added::CRONOLOGIA_MENU, "C&ronologia operazioni" },
    { added::CRONOLOGIA_OPERAZIONE, "Operazione" },
    { added::CRONOLOGIA_STATO, "Stato" },
    { added::CRONOLOGIA_TIPO_ANNULLAMENTO, "annullamento" },
    { added::CRONOLOGIA_TIPO_DIRECTORY, "rinomina della directory" },
    { added::CRONOLOGIA_TIPO_FILE, "rinomina di un file" },
    { added::CRONOLOGIA_TIPO_RINOMINA, "rinomina" },
    { added::ELIMINA_SOLO_SELEZIONATO,
        "Si può eliminare solo il file su cui si è fatto clic: il percorso indicato è un "
        "altro." },
    { added::GIA_ANNULLATA,
        "Questa operazione è già stata annullata: i file hanno già i nomi di prima." },
    { added::LISTA_NON_VALIDA, "Il file non si può usare come lista di nomi:\r\n%s\r\n(%s)" },
    { added::NOME_GIA_USATO, "Esiste già un elemento con questo nome (Errore %d)" },
    { added::OPERAZIONE_INTERROTTA,
        "L'ultima operazione (%s, %d files in %s) si è interrotta prima della fine.\r\n\r\n"
        "Vuoi annullarla e ridare ai file i nomi di prima?" },
    { added::ORDINA_DATA, "Per &data" },
    { added::ORDINA_DIMENSIONE, "Per di&mensione" },
    { added::ORDINA_INVERTI, "&Inverti" },
    { added::ORDINA_NOME, "Per &nome" },
    // The size in the properties dialog; %s is the number in the language's own digits.
    { added::PROPRIETA_BYTE, "%s byte" },
    // The one-file-or-all question names this button "[ALL]", as it names "[OK]".
    { added::PULSANTE_TUTTI, "&All" },
    { added::REGISTRO_NON_SCRIVIBILE,
        "Impossibile scrivere il registro delle operazioni:\r\n%s\r\n\r\n"
        "Senza registro questa operazione non potrà essere annullata se il programma viene "
        "chiuso o si interrompe. Continuare comunque?" },
    { added::RINOMINA_RIFIUTATA, "Rinomina non riuscita: %s (Errore %d)" },
    { added::RIPRISTINO_INCOMPLETO,
        "%d nomi non sono stati ripristinati (cambiati da altri nel frattempo o in uso):"
        "\r\n%s" },
    { added::RUN_ESC_INTERROMPE, "Premi Esc per interrompere dopo il file in corso" },
    { added::RUN_INTERROMPI, "Interrompi" },
    { added::RUN_INTERROTTA, ", operazione interrotta" },
    { added::RUN_NON_RINOMINATI, ", %d non rinominati per errore" },
    { added::RUN_SALTA, "Salta" },
    { added::RUN_SALTA_TUTTI, "Salta tutti gli errori" },
    { added::SELEZIONE_NON_VALIDA,
        "La selezione contiene un nome che non è un file di questa directory: %s" },
} };

} // namespace

std::u32string addedText(ConstantId id)
{
    return LangManager().lookupAdded(id.name);
}

void loadAddedTexts(TLang_Constants& table)
{
    for (const auto& [id, text] : kTexts)
        table.add(id.name, platform::decodeName(text));
}

} // namespace quorvane::lang
