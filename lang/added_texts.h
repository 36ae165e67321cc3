// Texts of messages that this program shows beyond the built-in constants table.
#pragma once

#include "constant_id.h"

#include <string>
#include <string_view>

namespace quorvane::lang {

/// The ids of the added messages. They are kept apart from the built-in table, whose
/// layout and count stored language files rely on.
namespace added {
inline constexpr ConstantId AGGIORNAMENTI_IN_CORSO { "AGGIORNAMENTI_IN_CORSO" };
inline constexpr ConstantId AGGIORNAMENTI_MOTIVO { "AGGIORNAMENTI_MOTIVO" };
inline constexpr ConstantId AGGIORNAMENTI_RISPOSTA { "AGGIORNAMENTI_RISPOSTA" };
inline constexpr ConstantId APRI_FALLITO { "APRI_FALLITO" };
inline constexpr ConstantId ATTRIBUTI_NON_IMPOSTATI { "ATTRIBUTI_NON_IMPOSTATI" };
inline constexpr ConstantId CDPLAYER_INI_SCEGLI { "CDPLAYER_INI_SCEGLI" };
inline constexpr ConstantId CDPLAYER_INI_TITOLO { "CDPLAYER_INI_TITOLO" };
inline constexpr ConstantId CESTINO_FALLITO { "CESTINO_FALLITO" };
inline constexpr ConstantId CIFRE_OFF { "CIFRE_OFF" };
inline constexpr ConstantId CRONOLOGIA { "CRONOLOGIA" };
inline constexpr ConstantId CRONOLOGIA_ANNULLA { "CRONOLOGIA_ANNULLA" };
inline constexpr ConstantId CRONOLOGIA_ANNULLATA { "CRONOLOGIA_ANNULLATA" };
inline constexpr ConstantId CRONOLOGIA_COMPLETATA { "CRONOLOGIA_COMPLETATA" };
inline constexpr ConstantId CRONOLOGIA_DATA { "CRONOLOGIA_DATA" };
inline constexpr ConstantId CRONOLOGIA_DIRECTORY { "CRONOLOGIA_DIRECTORY" };
inline constexpr ConstantId CRONOLOGIA_FERMATA { "CRONOLOGIA_FERMATA" };
inline constexpr ConstantId CRONOLOGIA_FILES { "CRONOLOGIA_FILES" };
inline constexpr ConstantId CRONOLOGIA_INTERROTTA { "CRONOLOGIA_INTERROTTA" };
inline constexpr ConstantId CRONOLOGIA_MENU { "CRONOLOGIA_MENU" };
inline constexpr ConstantId CRONOLOGIA_OPERAZIONE { "CRONOLOGIA_OPERAZIONE" };
inline constexpr ConstantId CRONOLOGIA_STATO { "CRONOLOGIA_STATO" };
inline constexpr ConstantId CRONOLOGIA_TIPO_ANNULLAMENTO { "CRONOLOGIA_TIPO_ANNULLAMENTO" };
inline constexpr ConstantId CRONOLOGIA_TIPO_DIRECTORY { "CRONOLOGIA_TIPO_DIRECTORY" };
inline constexpr ConstantId CRONOLOGIA_TIPO_FILE { "CRONOLOGIA_TIPO_FILE" };
inline constexpr ConstantId CRONOLOGIA_TIPO_RINOMINA { "CRONOLOGIA_TIPO_RINOMINA" };
inline constexpr ConstantId DESKTOP_MANCANTE { "DESKTOP_MANCANTE" };
inline constexpr ConstantId DIR_NON_LEGGIBILE { "DIR_NON_LEGGIBILE" };
inline constexpr ConstantId ELIMINA_SOLO_SELEZIONATO { "ELIMINA_SOLO_SELEZIONATO" };
inline constexpr ConstantId FILE_NON_SCRITTO { "FILE_NON_SCRITTO" };
inline constexpr ConstantId GIA_ANNULLATA { "GIA_ANNULLATA" };
inline constexpr ConstantId IMPOSTAZIONI_NON_FILE { "IMPOSTAZIONI_NON_FILE" };
inline constexpr ConstantId IMPOSTAZIONI_NON_LEGGIBILI { "IMPOSTAZIONI_NON_LEGGIBILI" };
inline constexpr ConstantId IMPOSTAZIONI_NON_LETTE { "IMPOSTAZIONI_NON_LETTE" };
inline constexpr ConstantId IMPOSTAZIONI_NON_SCRIVIBILI { "IMPOSTAZIONI_NON_SCRIVIBILI" };
inline constexpr ConstantId IMPOSTAZIONI_NON_VALIDE { "IMPOSTAZIONI_NON_VALIDE" };
inline constexpr ConstantId LISTA_NON_VALIDA { "LISTA_NON_VALIDA" };
inline constexpr ConstantId NESSUNA_STAMPANTE { "NESSUNA_STAMPANTE" };
inline constexpr ConstantId NOME_GIA_PRESENTE { "NOME_GIA_PRESENTE" };
inline constexpr ConstantId NOME_GIA_USATO { "NOME_GIA_USATO" };
inline constexpr ConstantId NOME_IN_CONFLITTO { "NOME_IN_CONFLITTO" };
inline constexpr ConstantId NOME_NON_VALIDO { "NOME_NON_VALIDO" };
inline constexpr ConstantId OPERAZIONE_INTERROTTA { "OPERAZIONE_INTERROTTA" };
inline constexpr ConstantId ORDINA_DATA { "ORDINA_DATA" };
inline constexpr ConstantId ORDINA_DIMENSIONE { "ORDINA_DIMENSIONE" };
inline constexpr ConstantId ORDINA_INVERTI { "ORDINA_INVERTI" };
inline constexpr ConstantId ORDINA_NOME { "ORDINA_NOME" };
inline constexpr ConstantId PROPRIETA_BYTE { "PROPRIETA_BYTE" };
inline constexpr ConstantId PULSANTE_TUTTI { "PULSANTE_TUTTI" };
inline constexpr ConstantId REGISTRO_NON_SCRIVIBILE { "REGISTRO_NON_SCRIVIBILE" };
inline constexpr ConstantId RINOMINA_RIFIUTATA { "RINOMINA_RIFIUTATA" };
inline constexpr ConstantId RINOMINA_RIFIUTATA_SCELTA { "RINOMINA_RIFIUTATA_SCELTA" };
inline constexpr ConstantId RIPRISTINO_INCOMPLETO { "RIPRISTINO_INCOMPLETO" };
inline constexpr ConstantId RIPRISTINO_NOME_GIA_PRESENTE { "RIPRISTINO_NOME_GIA_PRESENTE" };
inline constexpr ConstantId RUN_ESC_INTERROMPE { "RUN_ESC_INTERROMPE" };
inline constexpr ConstantId RUN_INTERROMPI { "RUN_INTERROMPI" };
inline constexpr ConstantId RUN_INTERROTTA { "RUN_INTERROTTA" };
inline constexpr ConstantId RUN_NON_RINOMINATI { "RUN_NON_RINOMINATI" };
inline constexpr ConstantId RUN_SALTA { "RUN_SALTA" };
inline constexpr ConstantId RUN_SALTA_TUTTI { "RUN_SALTA_TUTTI" };
inline constexpr ConstantId SELEZIONE_NON_VALIDA { "SELEZIONE_NON_VALIDA" };
inline constexpr ConstantId SOTTODIR_NON_LEGGIBILI { "SOTTODIR_NON_LEGGIBILI" };
inline constexpr ConstantId STAMPA_FALLITA { "STAMPA_FALLITA" };
inline constexpr ConstantId STAMPA_SU_FILE_DI_TESTO { "STAMPA_SU_FILE_DI_TESTO" };
} // namespace added

class TLang_Constants;

/// The text in force of one of the program's added messages: Italian, or the language
/// file's "$ADDED" text. Throws ELangError when the id has no text (a test checks every id
/// above has one).
[[nodiscard]] std::u32string addedText(ConstantId id);

/// Adds every added message with its Italian text as the default to the table.
void loadAddedTexts(TLang_Constants& table);

} // namespace quorvane::lang
