// Tests of the constants table: order, name rules and its three error messages.
#include "lang/lang_constants.h"
#include "lang/lang_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using quorvane::lang::ELangError;
using quorvane::lang::TLang_Constants;

namespace {

std::string errorOf(auto&& action)
{
    try {
        action();
    } catch (const ELangError& e) {
        return e.what();
    }
    return "(no error)";
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

TEST(LangConstants, CompareNamesFoldsAsciiCaseAndPutsUnderscoreAfterLetters)
{
    struct Case
    {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        { "senza_nome", "SENZA_NOME", 0 },
        { "ABC", "abd", -1 },
        { "A_B", "AB", 1 },
        { "_", "z", 1 },
        { "A1", "AA", -1 },
        { "FILENAME", "FILE_IN_USO", -1 },
        { "FILE", "FILENAME", -1 },
        { "", "A", -1 },
        { "CON_STRINGA", "CONFERMA", 1 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sign(TLang_Constants::compareNames(c.a, c.b)), c.expected)
            << c.a << " vs " << c.b;
        EXPECT_EQ(sign(TLang_Constants::compareNames(c.b, c.a)), -c.expected)
            << c.b << " vs " << c.a;
    }
}

TEST(LangConstants, AddKeepsTableOrderWhateverTheInsertionOrder)
{
    TLang_Constants table;
    for (const char* name : { "Z_LAST", "b", "A_B", "AB", "_X", "a1", "ZZ" })
        table.add(name, U"t");
    std::vector<std::string> names;
    for (const auto& item : table.items())
        names.push_back(item.name);
    EXPECT_EQ(names, (std::vector<std::string> { "a1", "AB", "A_B", "b", "ZZ", "Z_LAST", "_X" }));
}

TEST(LangConstants, AddStoresTextAsDefaultAndFindIgnoresCase)
{
    TLang_Constants table;
    table.add("SENZA_NOME", U"Senza nome", 7);
    table.add("SPAZIO", U"Spazio");
    const auto& item = table.find("senza_NOME");
    EXPECT_EQ(item.name, "SENZA_NOME");
    EXPECT_EQ(item.text, U"Senza nome");
    EXPECT_EQ(item.defaultText, U"Senza nome");
    EXPECT_EQ(item.flags, 7);
    EXPECT_EQ(table.findOrNull("spazio"), &table.find("SPAZIO"));
    EXPECT_EQ(table.findOrNull("SPAZI"), nullptr);
    EXPECT_EQ(table.findOrNull("SPAZIO_"), nullptr);
}

TEST(LangConstants, ErrorsCarryTheNameAsGiven)
{
    TLang_Constants table;
    table.add("Name", U"x");
    EXPECT_EQ(errorOf([&] { table.add("NAME", U"y"); }), "Duplicate constant name (\"NAME\")");
    EXPECT_EQ(errorOf([&] { (void)table.find("Absent"); }), "Constant \"Absent\" not found");
    for (const char* bad : { "1ABC", "", "\xC3\xA8t\xC3\xA0", "A-B", "A B", "A=" })
        EXPECT_EQ(errorOf([&] { table.add(bad, U"z"); }),
            std::string("Invalid constant name (\"") + bad + "\")");
    EXPECT_EQ(table.size(), 1U);
    EXPECT_EQ(table.find("name").text, U"x");
    for (const char* good : { "_", "_1", "a", "Z9_" })
        EXPECT_TRUE(TLang_Constants::isValidName(good)) << good;
}
