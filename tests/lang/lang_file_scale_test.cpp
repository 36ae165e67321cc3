// Large language files in the shapes that cost a parser most: CTest gives this test a time
// limit that a parse growing with the square of the lines would overrun many times over.
#include "lang/lang_error.h"
#include "lang/lang_file.h"

#include <gtest/gtest.h>

#include <string>

using namespace quorvane::lang;

namespace {

/// Enough lines that a parse doing work for every earlier line at each line takes minutes,
/// where one that does a fixed amount of work per line takes a fraction of a second.
constexpr int kLines = 300000;

std::u32string ascii(const std::string& text)
{
    return { text.begin(), text.end() };
}

/// A constant name for `n` whose order falls as `n` rises: "Z" and kLines - n written with
/// six letters, the most significant first.
std::string constantName(int n)
{
    std::string name = "ZAAAAAA";
    for (int at = 6, rest = kLines - n; at > 0; --at, rest /= 26)
        name[static_cast<std::size_t>(at)] = static_cast<char>('A' + rest % 26);
    return name;
}

TLang_CompTranslations parse(const std::u32string& text)
{
    TLang_CompTranslations set;
    parseLanguageText(text, set, false);
    return set;
}

} // namespace

TEST(LangFileScale, ManySectionsEachFound)
{
    std::u32string text = U"LANGID=1033\n";
    for (int i = 0; i < kLines; ++i)
        text += ascii("[Form" + std::to_string(i) + "]\n1=t" + std::to_string(i) + "\n");
    // A section opened again adds to the form it opened first, whatever its letter case.
    text += U"[FORM7]\n2=second\n";
    const TLang_CompTranslations set = parse(text);
    ASSERT_EQ(set.forms().size(), std::size_t { kLines });
    for (const int i : { 0, 7, kLines / 2, kLines - 1 }) {
        const TLang_CompTranslation* form = set.form("form" + std::to_string(i));
        ASSERT_NE(form, nullptr) << i;
        EXPECT_EQ(*form->find(1), ascii("t" + std::to_string(i)));
    }
    EXPECT_EQ(*set.form("Form7")->find(2), U"second");
    EXPECT_EQ(set.form("Form7")->items().size(), 2U);
}

TEST(LangFileScale, IdsAndConstantsInFallingOrderAreSortedAndDuplicatesNamed)
{
    std::u32string ids = U"[F]\n";
    std::u32string constants = U"[$CONSTANTS]\n";
    for (int i = 0; i < kLines; ++i) {
        ids += ascii(std::to_string(kLines - i) + "=" + std::to_string(i) + "\n");
        constants += ascii(constantName(i) + "=" + std::to_string(i) + "\n");
    }
    const TLang_CompTranslations set = parse(ids + constants);
    const TLang_CompTranslation* form = set.form("F");
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->items().size(), std::size_t { kLines });
    EXPECT_EQ(form->items().front().id, 1);
    EXPECT_EQ(form->items().back().id, kLines);
    EXPECT_EQ(*form->find(kLines), U"0");
    ASSERT_EQ(set.constants().size(), std::size_t { kLines });
    EXPECT_EQ(
        set.constants().find(constantName(kLines - 1)).text, ascii(std::to_string(kLines - 1)));
    EXPECT_EQ(set.constants().items().front().name, constantName(kLines - 1));

    // The first repeated ID is the one named, with its line, not a name repeated after it.
    const std::u32string again = U"[f]\n" + ascii(std::to_string(kLines / 2)) + U"=x\n";
    try {
        (void)parse(ids + constants + again + U"[$Constants]\n" + ascii(constantName(0)) + U"=x\n");
        ADD_FAILURE() << "no error";
    } catch (const ELangError& e) {
        EXPECT_EQ(std::string(e.what()),
            "Loading translations failed.\r\nLine " + std::to_string(2 * kLines + 3)
                + ": Duplicate property value translation ID (" + std::to_string(kLines / 2) + ")");
    }
}

TEST(LangFileScale, ManyHeaderKeysTheLastValueCounting)
{
    std::u32string text;
    for (int i = 0; i < kLines; ++i)
        text += ascii("Key" + std::to_string(i) + "=v" + std::to_string(i) + "\n");
    text += U"key5=changed\nKEY6=\nLANGID=1040\n";
    const TLang_CompTranslations set = parse(text);
    EXPECT_EQ(set.langId(), 1040);
    EXPECT_EQ(set.header("KEY0"), std::optional<std::string>("v0"));
    EXPECT_EQ(set.header("Key5"), std::optional<std::string>("changed"));
    EXPECT_FALSE(set.header("key6").has_value());
    EXPECT_EQ(set.header("key" + std::to_string(kLines - 1)),
        std::optional<std::string>("v" + std::to_string(kLines - 1)));
}
