#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>

#include "NumberConversions.h"
#include "TestFormats.h"

using namespace std::string_literals;

namespace quilvane {
namespace {

using test::kArabic;
using test::kEnglish;
using test::kFrench;
using test::kItalian;
using test::kSwiss;
using test::repeated;

struct LocaleCase {
    const char* name;
    NumberFormat format;
    std::u16string text;
    std::optional<double> expected;  // empty: not a number in that format
};

void PrintTo(const LocaleCase& row, std::ostream* os) {
    *os << row.name;
}

class LocaleNumberTest : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleNumberTest, ReadsTheWholeText) {
    const LocaleCase& row = GetParam();
    const std::optional<double> result = LocaleNumber(row.text, row.format);
    if (!row.expected) {
        EXPECT_EQ(result, std::nullopt);
        return;
    }
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(IsLocaleNumberText(row.text, row.format));
    EXPECT_EQ(*result, *row.expected);
    EXPECT_FALSE(*result == 0.0 && std::signbit(*result)) << "negative zero would show as «-0»";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Italian, LocaleNumberTest, testing::Values(
    LocaleCase{"CommaIsTheDecimalSeparator", kItalian, u"12,5", 12.5},
    LocaleCase{"IntegerAlone", kItalian, u"7", 7.0},
    LocaleCase{"TrailingSeparatorIsAccepted", kItalian, u"12,", 12.0},
    LocaleCase{"LeadingSeparatorIsAccepted", kItalian, u",5", 0.5},
    LocaleCase{"GroupedThousands", kItalian, u"1.234,5", 1234.5},
    LocaleCase{"GroupedMillions", kItalian, u"1.234.567", 1234567.0},
    LocaleCase{"GroupsWithFraction", kItalian, u"12.345,678", 12345.678},
    LocaleCase{"Minus", kItalian, u"-3", -3.0},
    LocaleCase{"Plus", kItalian, u"+3", 3.0},
    LocaleCase{"MinusZeroIsPlainZero", kItalian, u"-0", 0.0},
    LocaleCase{"ZeroWithFraction", kItalian, u"0,0", 0.0},
    LocaleCase{"LeadingZeros", kItalian, u"00012", 12.0},
    LocaleCase{"SurroundingSpaces", kItalian, u"  12,5  ", 12.5},
    LocaleCase{"SurroundingTabAndLineFeed", kItalian, u"\t12\r\n", 12.0},
    LocaleCase{"SurroundingNoBreakSpaces", kItalian, u"\u00A012\u202F", 12.0},
    LocaleCase{"Exponent", kItalian, u"1,5E3", 1500.0},
    LocaleCase{"SmallExponentLetterWithMinus", kItalian, u"1,5e-3", 0.0015},
    LocaleCase{"ExponentWithPlus", kItalian, u"1E+3", 1000.0},
    LocaleCase{"ExponentAfterTrailingSeparator", kItalian, u"1,E2", 100.0},
    LocaleCase{"ExponentAfterLeadingSeparator", kItalian, u",5E1", 5.0},
    LocaleCase{"ExponentAfterGroups", kItalian, u"1.000E3", 1e6},
    LocaleCase{"EmptyFails", kItalian, u"", std::nullopt},
    LocaleCase{"BlanksOnlyFail", kItalian, u"   ", std::nullopt},
    LocaleCase{"SeparatorAloneFails", kItalian, u",", std::nullopt},
    LocaleCase{"TwoSeparatorsFail", kItalian, u"1,,2", std::nullopt},
    LocaleCase{"SeparatedTwiceFails", kItalian, u"1,2,3", std::nullopt},
    LocaleCase{"LettersFail", kItalian, u"abc", std::nullopt},
    LocaleCase{"TrailingLettersFail", kItalian, u"12,5abc", std::nullopt},
    LocaleCase{"NotANumberWordFails", kItalian, u"NaN", std::nullopt},
    LocaleCase{"InfinityWordFails", kItalian, u"inf", std::nullopt},
    LocaleCase{"InfinityAsWrittenFails", kItalian, u"-INF", std::nullopt},
    LocaleCase{"SpaceInsideFails", kItalian, u"1 2", std::nullopt},
    LocaleCase{"SpaceAfterSignFails", kItalian, u"- 3", std::nullopt},
    LocaleCase{"DoubleSignFails", kItalian, u"--3", std::nullopt},
    LocaleCase{"SignAloneFails", kItalian, u"-", std::nullopt},
    LocaleCase{"TrailingSignFails", kItalian, u"3-", std::nullopt},
    LocaleCase{"ExponentWithoutDigitsFails", kItalian, u"1E", std::nullopt},
    LocaleCase{"ExponentSignWithoutDigitsFails", kItalian, u"1E+", std::nullopt},
    LocaleCase{"ExponentWithoutMantissaFails", kItalian, u"E3", std::nullopt},
    LocaleCase{"ExponentAfterSeparatorAloneFails", kItalian, u",E3", std::nullopt},
    LocaleCase{"ExponentLetterDFails", kItalian, u"1D3", std::nullopt},
    LocaleCase{"SeparatorInExponentFails", kItalian, u"1E3,5", std::nullopt},
    LocaleCase{"GroupInExponentFails", kItalian, u"1E1.000", std::nullopt},
    LocaleCase{"HexFails", kItalian, u"&HFF", std::nullopt},
    LocaleCase{"CHexFails", kItalian, u"0x1F", std::nullopt}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(Grouping, LocaleNumberTest, testing::Values(
    LocaleCase{"GroupOfOneDigitIsNoGroup", kItalian, u"1.5", std::nullopt},
    LocaleCase{"GroupOfTwoDigitsIsNoGroup", kItalian, u"1.23", std::nullopt},
    LocaleCase{"GroupOfFourDigitsIsNoGroup", kItalian, u"1.2345", std::nullopt},
    LocaleCase{"FirstGroupOfFourDigitsFails", kItalian, u"1234.567", std::nullopt},
    LocaleCase{"LeadingGroupSeparatorFails", kItalian, u".123", std::nullopt},
    LocaleCase{"DoubledGroupSeparatorFails", kItalian, u"1..234", std::nullopt},
    LocaleCase{"TrailingGroupSeparatorFails", kItalian, u"1.234.", std::nullopt},
    LocaleCase{"GroupSeparatorBeforeDecimalFails", kItalian, u"1.,5", std::nullopt},
    LocaleCase{"GroupInFractionFails", kItalian, u"1,234.5", std::nullopt},
    LocaleCase{"GroupAfterSignFails", kItalian, u"-.123", std::nullopt},
    LocaleCase{"NegativeGrouped", kItalian, u"-1.234", -1234.0},
    LocaleCase{"FrenchNarrowNoBreakSpaceGroups", kFrench, u"1\u202F234,5", 1234.5},
    LocaleCase{"FrenchPlainSpaceIsNoGroup", kFrench, u"1 234,5", std::nullopt},
    LocaleCase{"SwissApostropheGroups", kSwiss, u"1'234.5", 1234.5},
    LocaleCase{"SwissCommaIsDecimalToo", kSwiss, u"1'234,5", 1234.5},
    LocaleCase{"SwissShortGroupFails", kSwiss, u"12'5", std::nullopt},
    LocaleCase{"ArabicSeparators", kArabic, u"1\u066C234\u066B5", 1234.5},
    LocaleCase{"ArabicFormatCommaIsDecimalToo", kArabic, u"12,5", 12.5},
    LocaleCase{"SeparatorsThatCoincideMeanNoGrouping", NumberFormat{u'.', u'.'}, u"1.5", 1.5},
    LocaleCase{"SeparatorsThatCoincideStillAllowOneDecimal", NumberFormat{u'.', u'.'}, u"1.234.5",
               std::nullopt},
    LocaleCase{"CommaForBothMeansNoGrouping", NumberFormat{u',', u','}, u"1,234", 1.234}
), test::RowName());

// The key filter can type only commas, so a comma is a decimal separator in every format.
INSTANTIATE_TEST_SUITE_P(English, LocaleNumberTest, testing::Values(
    LocaleCase{"PointIsTheDecimalSeparator", kEnglish, u"12.5", 12.5},
    LocaleCase{"CommaIsADecimalSeparatorToo", kEnglish, u"12,5", 12.5},
    LocaleCase{"CommaIsNoGroupSeparator", kEnglish, u"1,234", 1.234},
    LocaleCase{"CommaAndPointAreTwoSeparators", kEnglish, u"1,234.5", std::nullopt},
    LocaleCase{"PointAndCommaAreTwoSeparators", kEnglish, u"1.234,5", std::nullopt},
    LocaleCase{"LeadingComma", kEnglish, u",5", 0.5},
    LocaleCase{"LeadingPoint", kEnglish, u".5", 0.5},
    LocaleCase{"TrailingPoint", kEnglish, u"5.", 5.0},
    LocaleCase{"PointAloneFails", kEnglish, u".", std::nullopt},
    LocaleCase{"ExponentAfterComma", kEnglish, u"1,5E3", 1500.0},
    LocaleCase{"Minus", kEnglish, u"-3", -3.0},
    LocaleCase{"SpaceInsideFails", kEnglish, u"1 234", std::nullopt}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(Range, LocaleNumberTest, testing::Values(
    LocaleCase{"ExponentBeyondRangeFails", kItalian, u"1E400", std::nullopt},
    LocaleCase{"NegativeBeyondRangeFails", kItalian, u"-1E400", std::nullopt},
    LocaleCase{"ThreeHundredTenDigitsFail", kItalian, repeated(u"9", 310), std::nullopt},
    LocaleCase{"GroupedBeyondRangeFails", kItalian, u"1" + repeated(u".000", 103), std::nullopt},
    LocaleCase{"HugeExponentFails", kItalian, u"1E99999999999999999999", std::nullopt},
    LocaleCase{"UnderflowIsZero", kItalian, u"1E-400", 0.0},
    LocaleCase{"NegativeUnderflowIsPlainZero", kItalian, u"-1E-400", 0.0},
    LocaleCase{"DenormalIsKept", kItalian, u"1E-320", 1e-320},
    LocaleCase{"ZeroWithHugeExponent", kItalian, u"0E99999999999999999999", 0.0},
    LocaleCase{"LargestDoubleAsWrittenReadsBack", kItalian, u"1,79769313486232E+308", DBL_MAX},
    LocaleCase{"NegativeLargestDoubleAsWrittenReadsBack", kItalian, u"-1,79769313486232E+308",
               -DBL_MAX},
    LocaleCase{"JustAboveLargestDoubleReadsAsIt", kItalian, u"1,7976931348623159E308", DBL_MAX},
    LocaleCase{"AboveLargestWrittenFails", kItalian, u"1,79769313486233E+308", std::nullopt},
    LocaleCase{"JustAboveLargestWrittenFails", kItalian, u"1,797693134862320001E+308",
               std::nullopt},
    LocaleCase{"MillionLeadingZeros", kItalian, repeated(u"0", 1'000'000) + u"5", 5.0},
    LocaleCase{"MillionFractionZeros", kItalian, u"5," + repeated(u"0", 1'000'000), 5.0},
    LocaleCase{"MillionDigitsFail", kItalian, repeated(u"1", 1'000'000), std::nullopt},
    LocaleCase{"ManyGroupsFail", kItalian, u"1" + repeated(u".000", 300'000), std::nullopt},
    LocaleCase{"ManyGroupsScaledBack", kItalian,
               u"1" + repeated(u".000", 300'000) + u"E-900000", 1.0}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(OddCharacters, LocaleNumberTest, testing::Values(
    LocaleCase{"EmbeddedNulFails", kItalian, u"12\0"s, std::nullopt},
    LocaleCase{"NulBetweenDigitsFails", kItalian, u"1\0" u"2"s, std::nullopt},
    LocaleCase{"RightToLeftMarkFails", kItalian, u"\u200F12", std::nullopt},
    LocaleCase{"TrailingLeftToRightMarkFails", kItalian, u"12\u200E", std::nullopt},
    LocaleCase{"ArabicIndicDigitsFail", kItalian, u"\u0661\u0662", std::nullopt},
    LocaleCase{"ArabicIndicDigitsFailInArabicFormat", kArabic, u"\u0661\u066B\u0662",
               std::nullopt},
    LocaleCase{"FullwidthDigitsFail", kItalian, u"\uFF11", std::nullopt},
    LocaleCase{"ArabicDecimalSeparatorFailsInItalian", kItalian, u"1\u066B5", std::nullopt},
    LocaleCase{"UnicodeMinusSignFails", kItalian, u"\u22125", std::nullopt},
    LocaleCase{"LoneSurrogateFails", kItalian, u"1\xDC00"s, std::nullopt},
    LocaleCase{"DigitOutsideTheBasicPlaneFails", kItalian, u"\U0001D7CF", std::nullopt}
), test::RowName());
// clang-format on

// Whether a text LocaleNumber gives nothing for is a number too large, or no number at all.
struct WrittenCase {
    const char* name;
    NumberFormat format;
    std::u16string text;
    bool isNumber;
};

void PrintTo(const WrittenCase& row, std::ostream* os) {
    *os << row.name;
}

class IsLocaleNumberTextTest : public testing::TestWithParam<WrittenCase> {};

TEST_P(IsLocaleNumberTextTest, TellsTooLargeFromNoNumber) {
    const WrittenCase& row = GetParam();
    EXPECT_EQ(IsLocaleNumberText(row.text, row.format), row.isNumber);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, IsLocaleNumberTextTest, testing::Values(
    WrittenCase{"ExponentBeyondRange", kItalian, u"1,5E400", true},
    WrittenCase{"NegativeExponentBeyondRange", kEnglish, u"-1,5E400", true},
    WrittenCase{"GroupedBeyondRange", kItalian, u"1" + repeated(u".000", 103), true},
    WrittenCase{"HugeExponent", kItalian, u" 1E99999999999999999999 ", true},
    WrittenCase{"Empty", kItalian, u"", false},
    WrittenCase{"CommaAlone", kItalian, u",", false},
    WrittenCase{"TwoCommas", kItalian, u"3,7,5", false},
    WrittenCase{"BadGrouping", kItalian, u"1.5", false},
    WrittenCase{"ExponentWithoutDigits", kItalian, u"1,5E", false},
    WrittenCase{"TrailingLetter", kItalian, u"1E400x", false}
), test::RowName());
// clang-format on

TEST(LocaleNumber, ReadsOnlyInsideTheView) {
    const std::u16string text = u"12,5x";
    EXPECT_EQ(LocaleNumber(std::u16string_view(text).substr(0, 4), kItalian), 12.5);
    EXPECT_EQ(LocaleNumber(std::u16string_view(text).substr(0, 0), kItalian), std::nullopt);
}

}  // namespace
}  // namespace quilvane
