// Texts of messages that this program shows beyond the built-in constants table.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::lang {

/// The Italian text of one of the program's added messages (`NOME_GIA_USATO`, ...).
/// They are kept apart from the built-in table, whose layout and count stored language
/// files rely on. Throws ELangError when the name is unknown.
[[nodiscard]] std::u32string addedText(std::string_view name);

} // namespace quorvane::lang
