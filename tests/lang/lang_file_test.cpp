// Tests of the language-file parser and of the text escapes.
#include "lang/lang_error.h"
#include "lang/lang_file.h"
#include "platform/name_codec.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

using namespace quorvane::lang;

namespace {

TLang_CompTranslations parse(std::u32string_view text, bool headerOnly = false)
{
    TLang_CompTranslations set;
    parseLanguageText(text, set, headerOnly);
    return set;
}

std::string errorOf(std::u32string_view text)
{
    try {
        (void)parse(text);
    } catch (const ELangError& e) {
        return e.what();
    }
    return "no error";
}

struct EscapeCase
{
    std::u32string written;
    std::u32string read;
};

class Unescape : public testing::TestWithParam<EscapeCase>
{
};

} // namespace

TEST_P(Unescape, GivesTheCharacters)
{
    EXPECT_EQ(unescapeText(GetParam().written), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(LangFile, Unescape,
    testing::Values(EscapeCase { U"a\\nb", U"a\r\nb" }, EscapeCase { U"C:\\temp", U"C:\temp" },
        EscapeCase { U"a\\Nb\\T", U"a\\Nb\\T" }, EscapeCase { U"\\65\\66", U"AB" },
        EscapeCase { U"\\6x", U"\\6x" }, EscapeCase { U"\\\\n", U"\\n" },
        EscapeCase { U"end\\", U"end\\" }, EscapeCase { U"\\00", std::u32string(1, U'\0') },
        EscapeCase { U"\\9", U"\\9" }, EscapeCase { U"\\x\\", U"\\x\\" }));

TEST(LangFile, EscapingRoundTripsEveryTextThroughTheTrimmingReader)
{
    const std::u32string texts[] = { U" e %d sottodirectory", U"valore in : ", U"a\r\nb\tc\\d",
        U"C:\\temp\\new", U"\u00E8 \x01\x1F", U"\\65" };
    for (const std::u32string& text : texts) {
        const std::u32string line = U"[$CONSTANTS]\nX = " + escapeText(text) + U"  \n";
        EXPECT_EQ(parse(line).constants().find("X").text, text);
    }
    // Every break form becomes one \n.
    EXPECT_EQ(escapeText(U"a\r\nb\n\rc\rd\ne"), U"a\\nb\\nc\\nd\\ne");
}

TEST(LangFile, ReadsHeaderSectionsAndEntriesByTheLineRules)
{
    const auto set = parse(U"\uFEFF; comment\r\n"
                           U"  LANGID = 66569 \r" // 0x10409: only the low 16 bits count
                           U"Author=Someone\n"
                           U"author=\n"
                           U"[]\n"
                           U"[$constants]\n"
                           U"SENZA_NOME = Untitled ; not a comment\n"
                           U"[broken\n"
                           U"CIFRE=a=b\n"
                           U"no equals sign\n"
                           U" = empty key\n"
                           U"[ Form1 ]\n"
                           U"007=seven\n"
                           U"0=zero\n-3=minus\nx=letters\n"
                           U"[form1]\n"
                           U"2=two\n"
                           U"[$ADDED]\nRUN_SALTA=Skip\n");
    EXPECT_EQ(set.langId(), 1033);
    EXPECT_FALSE(set.header("AUTHOR").has_value());
    EXPECT_EQ(set.constants().find("senza_nome").text, U"Untitled ; not a comment");
    EXPECT_EQ(set.constants().find("CIFRE").text, U"a=b");
    EXPECT_EQ(set.constants().size(), 2U);
    ASSERT_EQ(set.forms().size(), 1U);
    const TLang_CompTranslation* form = set.form("FORM1");
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->items().size(), 2U);
    EXPECT_EQ(*form->find(7), U"seven");
    EXPECT_EQ(*form->find(2), U"two");
    EXPECT_EQ(set.addedTexts().find("RUN_SALTA").text, U"Skip");
}

TEST(LangFile, ANulEndsTheTextAndAnyBreakEndsALine)
{
    const auto set = parse(std::u32string(U"LANGID=1031\r\rX=1\n\r") + U'\0' + U"LANGID=7");
    EXPECT_EQ(set.langId(), 1031);
    EXPECT_EQ(set.header("X"), std::optional<std::string>("1"));
}

TEST(LangFile, LangIdThatIsNoNumberIsZero)
{
    for (const std::u32string text :
        { U"", U"LANGID=abc", U"LANGID=12x", U"LANGID=0", U"LANGID=65536", U"LANGID=99999999999" })
        EXPECT_EQ(parse(text).langId(), 0) << std::string(text.begin(), text.end());
}

TEST(LangFile, ErrorsNameTheZeroBasedLine)
{
    EXPECT_EQ(errorOf(U"[$CONSTANTS]\nA=1\n\n; c\nA=2\n"),
        "Loading translations failed.\r\nLine 4: Duplicate constant name (\"A\")");
    EXPECT_EQ(errorOf(U"[$Constants]\r\n1X=1"),
        "Loading translations failed.\r\nLine 1: Invalid constant name (\"1X\")");
    EXPECT_EQ(errorOf(U"[F]\n5=a\n[G]\n5=b\n[f]\n05=c"),
        "Loading translations failed.\r\nLine 5: Duplicate property value translation ID (5)");
}

TEST(LangFile, TextsThatBecomePartOfNamesMayHoldNoSlashOrNul)
{
    // "\\47" is "/" and "\\00" a NUL once unescaped: either would move or cut a file name.
    for (const std::u32string_view text :
        { U"SENZA_NOME=..\\47evil", U"SENZA_NOME=a\\00b", U"senza_nome=/some/where/stolen",
            U"FILENAME=a/b", U"SEPARATORE=\\47", U"NUMERAZIONE=x\\00", U"SPAZIO=/" }) {
        SCOPED_TRACE(quorvane::platform::encodeName(text));
        const std::string error
            = errorOf(U"LANGID=1033\n[$CONSTANTS]\n" + std::u32string(text) + U"\n");
        EXPECT_TRUE(error.starts_with("Loading translations failed.\r\nLine 2: The text of "))
            << error;
    }
    // Other texts are shown, never made into names: a path there is no harm.
    EXPECT_EQ(parse(U"[$CONSTANTS]\nDIRECTORY=a/b\nSENZA_NOME=Untitled\n")
                  .constants()
                  .find("DIRECTORY")
                  .text,
        U"a/b");
}

TEST(LangFile, HeaderOnlyReadStopsAtTheFirstBracket)
{
    const auto set = parse(U"LANGID=1036\n[$CONSTANTS]\nA=1\nA=2\nLANGID=5", true);
    EXPECT_EQ(set.langId(), 1036);
    EXPECT_EQ(set.constants().size(), 0U);
    EXPECT_THROW((void)parse(U"[\nA=1", true).constants().find("A"), ELangError);
}

TEST(LangFile, FileIsDecodedAsUtf8OrWindows1252)
{
    const quorvane::test::TempDir dir;
    dir.file("utf8.lng", "LANGID=1036\n[$CONSTANTS]\nPRIMA=Apr\xC3\xA8s\n");
    dir.file("ansi.lng", "LANGID=1036\n[$CONSTANTS]\nPRIMA=Apr\xE8s \x80\n");
    EXPECT_EQ(
        readLanguageFile(dir / "utf8.lng", false).constants().find("PRIMA").text, U"Apr\u00E8s");
    EXPECT_EQ(readLanguageFile(dir / "ansi.lng", false).constants().find("PRIMA").text,
        U"Apr\u00E8s \u20AC");
    EXPECT_THROW((void)readLanguageFile(dir / "missing.lng", false), ELangError);
}
