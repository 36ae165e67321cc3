// Byte-exact round trips of file names and the decoding of text files.
#include "platform/name_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace quorvane::platform;

namespace {

constexpr char32_t esc(unsigned byte)
{
    return kEscapeBase + byte;
}

} // namespace

TEST(NameCodec, InvalidBytesBecomeEscapesOneByOne)
{
    struct Case
    {
        std::string bytes;
        std::u32string decoded;
    };
    const std::vector<Case> cases = {
        { "a\xFF"
          "b",
            { U'a', esc(0xFF), U'b' } },
        { "\xE2\x82", { esc(0xE2), esc(0x82) } }, // truncated euro sign
        { "\xE2\x82"
          "A",
            { esc(0xE2), esc(0x82), U'A' } },
        { "\xC0\xAF", { esc(0xC0), esc(0xAF) } }, // overlong "/"
        { "\xE0\x80\xAF", { esc(0xE0), esc(0x80), esc(0xAF) } }, // overlong, 3 bytes
        { "\xED\xB2\x80", { esc(0xED), esc(0xB2), esc(0x80) } }, // encoded surrogate U+DC80
        { "\xF4\x90\x80\x80", { esc(0xF4), esc(0x90), esc(0x80), esc(0x80) } }, // > U+10FFFF
        { "\x80", { esc(0x80) } }, // lone continuation byte
        { "\xC3\xA0\xE2\x82\xAC\xF0\x9F\x8E\xB5", { U'\u00E0', U'\u20AC', U'\U0001F3B5' } },
        // Long ASCII runs, taken eight bytes at a time, then what is not ASCII.
        { "abcdefghij\xFF"
          "klmnopqrstuvwxyz\xC3\xA9",
            U"abcdefghij" + std::u32string { esc(0xFF) } + U"klmnopqrstuvwxyz\u00E9" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(decodeName(c.bytes), c.decoded);
        EXPECT_EQ(encodeName(c.decoded), c.bytes);
        const bool hasEscape = std::ranges::any_of(
            c.decoded, [](char32_t cp) { return cp >= esc(0) && cp <= esc(0xFF); });
        EXPECT_EQ(isValidUtf8(c.bytes), !hasEscape);
    }
}

TEST(NameCodec, EveryByteStringSurvivesTheRoundTrip)
{
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 256; ++b) {
            const std::string bytes { static_cast<char>(a), static_cast<char>(b) };
            ASSERT_EQ(encodeName(decodeName(bytes)), bytes) << a << " " << b;
        }
    }
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> length(0, 12);
    for (int i = 0; i < 20000; ++i) {
        std::string bytes(length(random), '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random));
        ASSERT_EQ(encodeName(decodeName(bytes)), bytes);
    }
}

TEST(NameCodec, DisplayTextReplacesEscapes)
{
    EXPECT_EQ(toDisplayUtf8(decodeName("a\xFF\xC3\xA9")), "a\xEF\xBF\xBD\xC3\xA9");
}

TEST(NameCodec, TextFilesAreUtf8OrElseCp1252)
{
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF"
                             "caf\xC3\xA9"),
        U"caf\u00E9");
    EXPECT_EQ(decodeTextFile("caf\xC3\xA9"), U"caf\u00E9");
    EXPECT_EQ(decodeTextFile("caf\xE9 \x80 \x9A\x9F"), U"caf\u00E9 \u20AC \u0161\u0178");
    EXPECT_EQ(decodeTextFile("\x81\x8D\x8F\x90\x9D"), U"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(decodeTextFile(""), U"");
    // A byte-order mark means UTF-8 even when a stray byte follows; the mark never shows.
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF"
                             "a\xE9"),
        std::u32string({ U'a', kEscapeBase + 0xE9 }));
}

TEST(NameCodec, Cp1252EncodesBackWhatItDecodes)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::optional<std::string> encoded = encodeCp1252(decodeCp1252(all));
    ASSERT_TRUE(encoded.has_value());
    EXPECT_EQ(*encoded, all);
    EXPECT_FALSE(encodeCp1252(U"\u65E5").has_value());
    EXPECT_FALSE(encodeCp1252(std::u32string { esc(0xFF) }).has_value());
}
