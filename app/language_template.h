// The translator's template: every built-in text of the program as a language file.
#pragma once

#include <QString>

namespace quorvane::app {

/// Builds every translatable form once (without showing it) and writes the Italian texts
/// of the forms, of the constants ("$CONSTANTS") and of the program's added texts
/// ("$ADDED") in the language-file format, escapes applied. Needs a QApplication.
[[nodiscard]] QString languageTemplate();

} // namespace quorvane::app
