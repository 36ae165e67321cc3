// quorvane-cli --language: the texts of a language file for the rules and messages.
#pragma once

#include <string>

namespace quorvane::cli {

/// Puts the language file's constants and added texts into force for this process (the
/// names the rules make up, such as the one for a nameless file, and the layout elements
/// that --layout recognises). Returns the empty text on success, otherwise a one-line
/// error: the file cannot be read, does not parse, or carries no LANGID.
[[nodiscard]] std::string useLanguageFile(const std::string& path);

} // namespace quorvane::cli
