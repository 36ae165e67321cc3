// Qt's own texts and the program's dates and numbers, in the program's language.
#pragma once

#include <QLocale>

namespace quorvane::app {

/// Makes `locale` the language of the texts Qt draws itself (the standard buttons of
/// message and input boxes: Annulla, Riprova, Ignora, Chiudi ...) by installing Qt's
/// translation for it on the application in place of the one installed before, and the
/// locale of the dates and numbers the program shows (programLocale()). Call it after the
/// QApplication exists and before the windows are made: a button keeps the text it was
/// made with. Returns false when Qt's translation for that language is not installed
/// (Debian package qt6-translations-l10n); Qt's texts are then English.
bool setQtLanguage(const QLocale& locale);

/// The locale of the dates and numbers the program shows: Italian until setQtLanguage
/// chooses another.
[[nodiscard]] QLocale programLocale();

} // namespace quorvane::app
