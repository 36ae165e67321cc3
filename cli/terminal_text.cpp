// Names and messages made safe and unambiguous for a terminal.
#include "terminal_text.h"

#include "platform/name_codec.h"

#include <array>
#include <cstdint>

namespace quorvane::cli {

namespace {

/// The escape of one character, or an empty text when it passes unchanged.
std::string escapeOf(char32_t c)
{
    static constexpr std::array<char, 16> kHex { '0', '1', '2', '3', '4', '5', '6', '7', '8', '9',
        'a', 'b', 'c', 'd', 'e', 'f' };
    const auto byteEscape = [](std::uint32_t byte) {
        return std::string { '\\', 'x', kHex.at((byte >> 4U) & 0xFU), kHex.at(byte & 0xFU) };
    };
    switch (c) {
    case U'\t':
        return "\\t";
    case U'\n':
        return "\\n";
    case U'\r':
        return "\\r";
    default:
        break;
    }
    if (c < 0x20 || c == 0x7F)
        return byteEscape(c);
    // C1 controls: some terminals take U+009B for the start of a command sequence.
    if (c >= 0x80 && c <= 0x9F)
        return byteEscape(0xC0U | (c >> 6U)) + byteEscape(0x80U | (c & 0x3FU));
    if (c >= platform::kEscapeBase && c <= platform::kEscapeBase + 0xFF)
        return byteEscape(c - platform::kEscapeBase);
    return {};
}

[[nodiscard]] bool startsEscape(char32_t c)
{
    return c == U'\\' || c == U't' || c == U'n' || c == U'r' || c == U'x' || !escapeOf(c).empty();
}

} // namespace

std::string escapeForTerminal(std::u32string_view text)
{
    std::string line;
    line.reserve(text.size());
    std::size_t plain = 0; // start of the characters that pass unchanged
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string escape = escapeOf(text[i]);
        if (text[i] == U'\\' && i + 1 < text.size() && startsEscape(text[i + 1]))
            escape = "\\\\";
        if (escape.empty())
            continue;
        line += platform::encodeName(text.substr(plain, i - plain));
        line += escape;
        plain = i + 1;
    }
    line += platform::encodeName(text.substr(plain));
    return line;
}

std::string escapeForTerminal(std::string_view bytes)
{
    return escapeForTerminal(platform::decodeName(bytes));
}

std::string terminalLine(std::u32string_view text)
{
    std::u32string line;
    line.reserve(text.size());
    bool lineBreak = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            lineBreak = true;
            ++i;
            continue;
        }
        // One space however many breaks (a blank line between paragraphs), none at the ends.
        if (lineBreak && !line.empty() && line.back() != U' ' && text[i] != U' ')
            line.push_back(U' ');
        lineBreak = false;
        line.push_back(text[i]);
    }
    return escapeForTerminal(line);
}

} // namespace quorvane::cli
