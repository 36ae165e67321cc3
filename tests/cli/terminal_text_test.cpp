// Names on a terminal: escaped so that nothing in them acts on the terminal, and readable back.
#include "cli/terminal_text.h"

#include "platform/name_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::cli {
namespace {

/// Reads an escaped text back into the bytes it stands for, by the documented rules.
std::string unescape(const std::string& text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] != '\\' || std::string("\\tnrx").find(next) == std::string::npos
            || i + 1 >= text.size()) {
            bytes.push_back(text[i]);
            continue;
        }
        ++i;
        if (next == 'x') {
            bytes.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            bytes.push_back(next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : '\\');
        }
    }
    return bytes;
}

TEST(TerminalText, ControlsAndStrayBytesAreEscapedPlainTextIsNot)
{
    // The expected texts are raw: what a terminal would show, byte for byte.
    const std::vector<std::pair<std::string, std::string>> cases {
        { "song\tname\r\n", R"(song\tname\r\n)" },
        { "\x1B[31mred", R"(\x1b[31mred)" },
        { std::string("nul\0del\x7F", 8), R"(nul\x00del\x7f)" },
        { "csi\xC2\x9B", R"(csi\xc2\x9b)" },
        { "caf\xE9 \xFF", R"(caf\xe9 \xff)" },
        { R"(AC\DC \ perch)"
          "\xC3\xA8 \xE2\x82\xAC",
            R"(AC\DC \ perch)"
            "\xC3\xA8 \xE2\x82\xAC" },
        { R"(a\tb \x41 \\ \)", R"(a\\tb \\x41 \\\ \)" },
        { "back\\\t", R"(back\\\t)" },
    };
    for (const auto& [name, shown] : cases)
        EXPECT_EQ(escapeForTerminal(name), shown) << shown;
}

TEST(TerminalText, EveryEscapedNameReadsBackToItsBytesAndIsInert)
{
    const std::vector<std::string> names { "plain", "a\\tb", "a\tb", "\\\t", R"(\\\)", R"(x\)",
        "\\x1b", "\x1B\\", "\\\xFF", "\\\xC2\x9B", "C:\\new\\table", std::string("\0\\\0", 3),
        "\xC3\x28\\n\n" };
    for (const std::string& name : names) {
        const std::string shown = escapeForTerminal(name);
        EXPECT_EQ(unescape(shown), name) << shown;
        EXPECT_TRUE(platform::isValidUtf8(shown)) << shown;
        for (const char c : shown) {
            const auto byte = static_cast<unsigned char>(c);
            EXPECT_TRUE(byte >= 0x20 && byte != 0x7F) << shown;
        }
    }
}

TEST(TerminalText, ProgramTextBecomesOneLineButANameKeepsItsBreaksEscaped)
{
    EXPECT_EQ(terminalLine(U"Errore:\r\n\r\nfile a\nb\r\n"), "Errore: file a\\nb");
    EXPECT_EQ(terminalLine(U"one\r\n two"), "one two");
}

} // namespace
} // namespace quorvane::cli
