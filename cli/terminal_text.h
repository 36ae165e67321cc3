// Names and messages made safe and unambiguous for a terminal.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::cli {

/// `text` as UTF-8 that a terminal shows literally, one line, every name readable back:
///   TAB, LF and CR become \t, \n and \r;
///   every other control character (C0, DEL, and U+0080..U+009F) and every byte that is not
///   part of valid UTF-8 become \xNN per byte, lower-case hex (ESC is \x1b, U+009B is
///   \xc2\x9b);
///   a backslash is doubled only where it would otherwise start one of these escapes: before
///   another backslash, before t, n, r or x, and before a character that is itself escaped.
/// Everything else passes unchanged ("AC\DC" stays as it is).
[[nodiscard]] std::string escapeForTerminal(std::u32string_view text);

/// The same for file-name bytes (or a message holding them), decoded as decodeName does.
[[nodiscard]] std::string escapeForTerminal(std::string_view bytes);

/// A text of the program as one terminal line: its CR LF line breaks become one space, and
/// what is left is escaped as escapeForTerminal does (a name inside keeps its own breaks).
[[nodiscard]] std::string terminalLine(std::u32string_view text);

} // namespace quorvane::cli
