// Texts between the core (code points) and Qt (UTF-16), without losing a name's bytes.
#pragma once

#include "lang/constant_id.h"
#include "lang/lang_constant_ids.h"

#include <QString>

#include <string>
#include <string_view>

namespace quorvane::app {

/// Code points to a QString. Lone surrogates, among them the U+DC80+byte escapes of
/// undecodable name bytes, stay single UTF-16 units, so toCore(toQt(x)) == x always.
[[nodiscard]] QString toQt(std::u32string_view text);

/// The inverse of toQt: pairs become one code point, lone surrogates stay as they are.
[[nodiscard]] std::u32string toCore(const QString& text);

/// A text for showing: every lone surrogate becomes U+FFFD. Never turn it back into a name.
[[nodiscard]] QString toDisplay(std::u32string_view text);

/// The current text of a message constant.
[[nodiscard]] QString constantText(lang::ConstantId id);

} // namespace quorvane::app
