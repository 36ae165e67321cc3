// The rules behind the mode dialogs: natural order, integer fields, the numbering example.
#include "engine/integer_text.h"
#include "engine/natural_order.h"
#include "engine/numbering_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace quorvane::engine {
namespace {

TEST(NaturalOrder, NumbersByValueLettersWithoutCaseAndATotalOrder)
{
    std::vector<std::u32string> names { U"track10.mp3", U"Track2.mp3", U"track1.mp3",
        U"track02.mp3", U"b", U"A", U"a", U"img_0010", U"img_9", U"x" };
    std::ranges::sort(names, naturalLess);
    EXPECT_EQ(names,
        (std::vector<std::u32string> { U"A", U"a", U"b", U"img_9", U"img_0010", U"track1.mp3",
            U"Track2.mp3", U"track02.mp3", U"track10.mp3", U"x" }));
    // Irreflexive and asymmetric on names equal but for case or zeros: a strict weak order.
    EXPECT_FALSE(naturalLess(U"a", U"a"));
    EXPECT_NE(naturalLess(U"track02", U"track2"), naturalLess(U"track2", U"track02"));
    // Runs longer than any integer type still compare.
    EXPECT_TRUE(naturalLess(U"n99999999999999999999999", U"n100000000000000000000000"));
}

TEST(IntegerValue, AcceptsSignedDecimalsWithinThirtyTwoBits)
{
    EXPECT_EQ(integerValue(U"-1"), -1);
    EXPECT_EQ(integerValue(U"+7"), 7);
    EXPECT_EQ(integerValue(U"2147483647"), 2147483647);
    EXPECT_EQ(integerValue(U"-2147483648"), std::numeric_limits<std::int32_t>::min());
    for (const std::u32string bad : { U"", U"-", U"2147483648", U"-2147483649",
             U"99999999999999999999", U" 1", U"1 ", U"1.5", U"$10", U"١" })
        EXPECT_FALSE(integerValue(bad).has_value()) << std::string(bad.begin(), bad.end());
    EXPECT_EQ(notAnIntegerMessage(U"two"), U"'two' is not a valid integer value");
}

TEST(NumberingLayout, ExampleAndStartValueCleaning)
{
    EXPECT_EQ(numberingExample(defaultNumLayout(), 2), U"NN - Filename.ext");
    EXPECT_EQ(numberingExample({ layoutElementNamed(U"Spazio"), layoutElementNamed(U"Numerazione"),
                                   layoutElementNamed(U"CD") },
                  3),
        U" NNNCD.ext");
    EXPECT_EQ(numberingExample({}, 2), U"");
    EXPECT_TRUE(layoutHasNumber(defaultNumLayout()));
    EXPECT_FALSE(layoutHasNumber({ layoutElementNamed(U"numerazione") })) << "words match exactly";

    EXPECT_EQ(cleanStartValue(U"a1b2").text, U"12");
    EXPECT_TRUE(cleanStartValue(U"a1b2").changed);
    EXPECT_EQ(cleanStartValue(U"abc").text, U"1");
    EXPECT_FALSE(cleanStartValue(U"0042").changed);
    EXPECT_TRUE(cleanStartValue(U"").changed) << "an empty field becomes 1, and says so";
}

} // namespace
} // namespace quorvane::engine
