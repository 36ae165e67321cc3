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
constexpr std::array<std::pair<ConstantId, std::string_view>, 63> kTexts { {
    { added::AGGIORNAMENTI_IN_CORSO, "Ricerca aggiornamenti in corso..." },
    { added::AGGIORNAMENTI_MOTIVO, "Motivo: %s" },
    { added::AGGIORNAMENTI_RISPOSTA,
        "il server ha risposto con un testo che non è una versione del programma" },
    { added::APRI_FALLITO,
        "Nessun programma ha potuto aprire il file:\r\n"
        "%s\r\n\r\n"
        "Installa un programma per questo tipo di file o associane uno." },
    { added::ATTRIBUTI_NON_IMPOSTATI,
        "Gli attributi di %d elementi non sono stati modificati\r\n"
        "(collegamenti simbolici, file di altri utenti o file system che non li supportano)." },
    { added::CDPLAYER_INI_SCEGLI,
        "File cercato: %s\r\n\r\n"
        "Vuoi indicare tu il file del database?" },
    { added::CDPLAYER_INI_TITOLO, "Scegli il file del database del lettore CD" },
    { added::CESTINO_FALLITO,
        "Impossibile spostare il file nel cestino:\r\n%s\r\n\r\nIl file non è stato toccato." },
    { added::CIFRE_OFF, "Off" },
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
    { added::DESKTOP_MANCANTE, "La cartella Desktop non esiste: %s" },
    { added::DIR_NON_LEGGIBILE,
        "Impossibile leggere la directory %s:\r\n%s\r\n\r\nL'elenco non è stato prodotto." },
    { added::ELIMINA_SOLO_SELEZIONATO,
        "Si può eliminare solo il file su cui si è fatto clic: il percorso indicato è un "
        "altro." },
    { added::FILE_NON_SCRITTO,
        "Impossibile scrivere il file %s:\r\n%s\r\n\r\nUn file che esisteva già con questo nome "
        "non è stato toccato." },
    { added::GIA_ANNULLATA,
        "Questa operazione è già stata annullata: i file hanno già i nomi di prima." },
    { added::IMPOSTAZIONI_NON_FILE, "%s non è un file" },
    { added::IMPOSTAZIONI_NON_LEGGIBILI, "%s non si può leggere" },
    { added::IMPOSTAZIONI_NON_LETTE,
        "Impostazioni non lette (%s): si usano quelle predefinite e il file non viene "
        "modificato." },
    { added::IMPOSTAZIONI_NON_SCRIVIBILI, "%s non si può scrivere" },
    { added::IMPOSTAZIONI_NON_VALIDE, "%s non è un file di impostazioni valido" },
    { added::LISTA_NON_VALIDA, "Il file non si può usare come lista di nomi:\r\n%s\r\n(%s)" },
    { added::NESSUNA_STAMPANTE,
        "Non è installata nessuna stampante: l'elenco non è stato stampato.\r\nSi può stamparlo su "
        "un file PDF o su un file di testo." },
    { added::NOME_GIA_PRESENTE,
        "Esiste già un elemento chiamato %s in questa directory.\r\n"
        "Scegli un altro nome." },
    { added::NOME_GIA_USATO, "Esiste già un elemento con questo nome (Errore %d)" },
    { added::NOME_IN_CONFLITTO,
        "Questo nome esiste già nella directory o viene dato anche a un altro elemento" },
    { added::NOME_NON_VALIDO,
        "Questo nome non è valido nella directory: contiene \"/\" o il carattere nullo, "
        "oppure è \".\" o \"..\" (Errore %d)" },
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
    { added::RINOMINA_RIFIUTATA_SCELTA,
        "Rinomina file: %s\r\n\r\n"
        "Premi %s per riprovare con il nome qui sotto o %s per lasciare il file com'è." },
    { added::RIPRISTINO_INCOMPLETO,
        "%d nomi non sono stati ripristinati (cambiati da altri nel frattempo o in uso):"
        "\r\n%s" },
    { added::RIPRISTINO_NOME_GIA_PRESENTE,
        "Impossibile rinominare %s di nuovo in %s:\r\n"
        "esiste già un elemento con quel nome. Spostalo o rinominalo, poi annulla di nuovo." },
    { added::RUN_ESC_INTERROMPE, "Premi Esc per interrompere dopo il file in corso" },
    { added::RUN_INTERROMPI, "Interrompi" },
    { added::RUN_INTERROTTA, ", operazione interrotta" },
    { added::RUN_NON_RINOMINATI, ", %d non rinominati per errore" },
    { added::RUN_SALTA, "Salta" },
    { added::RUN_SALTA_TUTTI, "Salta tutti gli errori" },
    { added::SELEZIONE_NON_VALIDA,
        "La selezione contiene un nome che non è un file di questa directory: %s" },
    { added::SOTTODIR_NON_LEGGIBILI,
        "%d sottodirectory non si sono potute leggere e nell'elenco risultano vuote:\r\n%s" },
    { added::STAMPA_FALLITA, "Stampa non riuscita:\r\n%s" },
    { added::STAMPA_SU_FILE_DI_TESTO, "Stampa su File di testo" },
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
