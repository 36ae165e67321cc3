// Tests of the LANG_CONSTS blob: the generated built-in blob and hostile hand-made ones.
#include "blob_builder.h"
#include "lang/constants_resource.h"
#include "lang/lang_constants.h"
#include "lang/lang_error.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using quorvane::lang::ELangError;
using quorvane::lang::loadConstantsResource;
using quorvane::lang::TLang_Constants;
using quorvane::lang::test::BlobBuilder;

namespace {

std::vector<std::uint8_t> readBuiltinBlob()
{
    std::ifstream in(LANG_CONSTS_BIN, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

std::string loadError(const std::vector<std::uint8_t>& blob)
{
    TLang_Constants table;
    try {
        loadConstantsResource(blob, table);
    } catch (const ELangError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(ConstantsResource, GeneratedBlobHoldsTheBuiltInTableInOrder)
{
    const auto blob = readBuiltinBlob();
    ASSERT_GT(blob.size(), 8U);
    // First entry byte for byte: lengths are little-endian 16-bit.
    const std::vector<std::uint8_t> head { 1, 55, 0, 0, 0, 9, 0, 'A', 'T', 'T', 'E', 'N', 'D', 'E',
        'R', 'E', 12, 0, 'A', 't', 't', 'e', 'n', 'd', 'e', 'r', 'e', '.', '.', '.' };
    EXPECT_TRUE(std::equal(head.begin(), head.end(), blob.begin()));
    EXPECT_EQ(
        std::vector<std::uint8_t>(blob.end() - 3, blob.end()), (std::vector<std::uint8_t>(3, 0)));
    // "è" is stored as the single Windows-1252 byte 0xE8, the line break as real CR LF.
    const std::string bytes(blob.begin(), blob.end());
    EXPECT_NE(bytes.find("selezionata \xE8\r\ncorrentemente"), std::string::npos);

    TLang_Constants table;
    EXPECT_EQ(loadConstantsResource(blob, table), 1);
    ASSERT_EQ(table.size(), 55U);
    for (std::size_t i = 1; i < table.size(); ++i)
        EXPECT_LT(
            TLang_Constants::compareNames(table.items()[i - 1].name, table.items()[i].name), 0);
    EXPECT_EQ(table.items().front().name, "ATTENDERE");
    EXPECT_EQ(table.items().back().name, "UN_FILE_O_TUTTI");
    EXPECT_EQ(table.find("DIR_IN_USO").text,
        U"Errore: Probabilmente la directory selezionata \u00E8\r\n"
        U"correntemente in uso da qualche altra applicazione");
}

TEST(ConstantsResource, EveryTruncationIsAnErrorNeverARead)
{
    const auto valid = BlobBuilder(2).entry("AB", "x\x80y").entry("C", "").bytes;
    TLang_Constants table;
    loadConstantsResource(valid, table);
    EXPECT_EQ(table.find("ab").text, U"x\u20ACy");
    EXPECT_EQ(table.find("C").text, U"");
    for (std::size_t length = 0; length < valid.size(); ++length) {
        const std::vector<std::uint8_t> prefix(
            valid.begin(), valid.begin() + static_cast<long>(length));
        EXPECT_EQ(loadError(prefix).rfind("Malformed constants resource: ", 0), 0U) << length;
    }
}

TEST(ConstantsResource, BadCountsAndNamesAreRejected)
{
    EXPECT_EQ(loadError(BlobBuilder(-1).bytes).rfind("Malformed constants resource: ", 0), 0U);
    EXPECT_EQ(loadError(BlobBuilder(0x7FFFFFFF).entry("A", "b").bytes)
                  .rfind("Malformed constants resource: ", 0),
        0U);
    EXPECT_EQ(
        loadError(BlobBuilder(1).entry("1ABC", "x").bytes), "Invalid constant name (\"1ABC\")");
    EXPECT_EQ(
        loadError(BlobBuilder(1).entry("\xE8", "x").bytes), "Invalid constant name (\"\xC3\xA8\")");
    EXPECT_EQ(loadError(BlobBuilder(2).entry("abc", "x").entry("ABC", "y").bytes),
        "Duplicate constant name (\"ABC\")");
}

TEST(ConstantsResource, TrailingBytesAreIgnoredAndFailureKeepsTheTable)
{
    TLang_Constants table;
    auto blob = BlobBuilder(1, 0).entry("ONE", "1").bytes;
    blob.insert(blob.end(), { 0xFF, 0xFF, 0xFF, 0xFF, 0x01 });
    EXPECT_EQ(loadConstantsResource(blob, table), 0);
    EXPECT_EQ(table.size(), 1U);

    // A load that fails half-way leaves the previous contents whole.
    const auto bad = BlobBuilder(2).entry("TWO", "2").entry("9", "x").bytes;
    EXPECT_THROW(loadConstantsResource(bad, table), ELangError);
    ASSERT_EQ(table.size(), 1U);
    EXPECT_EQ(table.find("ONE").text, U"1");

    // A good load replaces everything that was there.
    loadConstantsResource(BlobBuilder(0).bytes, table);
    EXPECT_EQ(table.size(), 0U);
}
