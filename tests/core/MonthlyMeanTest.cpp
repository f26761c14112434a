#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>

#include "MonthlyMean.h"
#include "TestFormats.h"

namespace quilvane {
namespace {

using test::kEnglish;
using test::kItalian;
using test::repeated;

using MonthTexts = std::array<std::u16string, kMonthCount>;

struct MeanCase {
    const char* name;
    NumberFormat format;
    MonthTexts months;
    std::u16string count;
    double expectedMean;
    std::optional<MeanFailure> expectedFailure;
};

void PrintTo(const MeanCase& row, std::ostream* os) {
    *os << row.name;
}

MeanResult meanOf(const MonthTexts& months, std::u16string_view count, NumberFormat format) {
    std::array<std::u16string_view, kMonthCount> views;
    for (int i = 0; i < kMonthCount; ++i) views[i] = months[i];
    return meanOfMonths(views, count, format);
}

MonthTexts filled(std::u16string text) {
    MonthTexts months;
    months.fill(text);
    return months;
}

class MonthlyMeanTest : public testing::TestWithParam<MeanCase> {};

TEST_P(MonthlyMeanTest, AveragesTheMonths) {
    const MeanCase& row = GetParam();
    const MeanResult result = meanOf(row.months, row.count, row.format);
    EXPECT_EQ(result.failure, row.expectedFailure);
    EXPECT_EQ(result.mean, row.expectedMean);
}

const std::u16string kTooManyDigits = repeated(u"9", 310);

// clang-format off
INSTANTIATE_TEST_SUITE_P(Means, MonthlyMeanTest, testing::Values(
    MeanCase{"ThreeMonthsCountedByThree", kItalian,
             {u"10", u"20", u"33"}, u"3", 21.0, std::nullopt},
    MeanCase{"DecimalCommaCountsInTheMean", kItalian,
             {u"12,5", u"7"}, u"2", 9.75, std::nullopt},
    MeanCase{"DecimalCommaCountsInEnglishToo", kEnglish,
             {u"12,5", u"7"}, u"2", 9.75, std::nullopt},
    MeanCase{"AllEmptyIsZero", kItalian, {}, u"12", 0.0, std::nullopt},
    MeanCase{"EveryBoxCountsWhateverTheCount", kItalian,
             {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10", u"11", u"12"}, u"6",
             13.0, std::nullopt},
    MeanCase{"FractionalCount", kItalian, {u"10"}, u"2,5", 4.0, std::nullopt},
    MeanCase{"UnreadableBoxesFallBackToTheirLeadingNumber", kItalian,
             {u"10", u",", u"abc", u"12,5,3"}, u"1", 22.0, std::nullopt},
    MeanCase{"PointInItalianFallsBackToTheLeadingNumber", kItalian,
             {u"1.5"}, u"1", 1.5, std::nullopt},
    MeanCase{"GroupedThousandsInItalian", kItalian, {u"1.500"}, u"1", 1500.0, std::nullopt},
    MeanCase{"NegativeMonthsCount", kItalian, {u"-4", u"10"}, u"2", 3.0, std::nullopt}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(Failures, MonthlyMeanTest, testing::Values(
    MeanCase{"BoxBeyondRangeIsSumOutOfRange", kItalian,
             {u"1", kTooManyDigits}, u"2", 0.0, MeanFailure::SumOutOfRange},
    MeanCase{"OverflowingSumIsSumOutOfRange", kItalian,
             filled(u"1,7E308"), u"12", 0.0, MeanFailure::SumOutOfRange},
    MeanCase{"OverflowingNegativeSumIsSumOutOfRange", kItalian,
             filled(u"-1,7E308"), u"12", 0.0, MeanFailure::SumOutOfRange},
    MeanCase{"DecimalBoxBeyondRangeIsSumOutOfRange", kItalian,
             {u"10", u"1,5E400"}, u"2", 0.0, MeanFailure::SumOutOfRange},
    MeanCase{"MeanBeyondRangeIsOutOfRange", kItalian,
             {u"1E300"}, u"1E-300", 0.0, MeanFailure::SumOutOfRange},
    MeanCase{"EmptyCountIsUnreadable", kItalian, {u"10"}, u"", 0.0, MeanFailure::CountUnreadable},
    MeanCase{"ZeroCountIsUnreadable", kItalian, {u"10"}, u"0", 0.0, MeanFailure::CountUnreadable},
    MeanCase{"NegativeZeroCountIsUnreadable", kItalian, {u"10"}, u"-0,0", 0.0,
             MeanFailure::CountUnreadable},
    MeanCase{"LetterCountIsUnreadable", kItalian, {u"10"}, u"abc", 0.0,
             MeanFailure::CountUnreadable},
    MeanCase{"CountWithTwoSeparatorsIsUnreadable", kItalian, {u"10"}, u"1,,2", 0.0,
             MeanFailure::CountUnreadable},
    MeanCase{"CountBeyondRangeIsUnreadable", kItalian, {u"10"}, u"1E400", 0.0,
             MeanFailure::CountUnreadable}
), test::RowName());
// clang-format on

struct MonthValueCase {
    const char* name;
    NumberFormat format;
    std::u16string text;
    std::optional<double> expected;
};

void PrintTo(const MonthValueCase& row, std::ostream* os) {
    *os << row.name;
}

class MonthValueTest : public testing::TestWithParam<MonthValueCase> {};

TEST_P(MonthValueTest, ReadsTheBoxAsItsBarDoes) {
    EXPECT_EQ(monthValue(GetParam().text, GetParam().format), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Boxes, MonthValueTest, testing::Values(
    MonthValueCase{"EmptyBoxIsZero", kItalian, u"", 0.0},
    MonthValueCase{"DecimalComma", kItalian, u"12,5", 12.5},
    MonthValueCase{"DecimalCommaInEnglish", kEnglish, u"12,5", 12.5},
    MonthValueCase{"CommaAloneIsZero", kItalian, u",", 0.0},
    MonthValueCase{"TwoCommasKeepTheLeadingInteger", kItalian, u"3,7,5", 3.0},
    MonthValueCase{"BeyondRangeIsEmpty", kItalian, kTooManyDigits, std::nullopt},
    MonthValueCase{"ExponentBeyondRangeIsEmpty", kEnglish, u"1E400", std::nullopt},
    // Their leading numbers, 1, are fragments of numbers far too large.
    MonthValueCase{"DecimalBeyondRangeIsEmpty", kItalian, u"1,5E400", std::nullopt},
    MonthValueCase{"GroupedBeyondRangeIsEmpty", kItalian, u"1" + repeated(u".000", 103),
                   std::nullopt},
    MonthValueCase{"DecimalBelowRangeIsZero", kItalian, u"1,5E-400", 0.0}
), test::RowName());
// clang-format on

}  // namespace
}  // namespace quilvane
