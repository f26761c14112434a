#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "NumberConversions.h"
#include "TestFormats.h"

using namespace std::string_literals;

namespace quilvane {
namespace {

using test::repeated;

struct LeadingCase {
    const char* name;
    std::u16string text;
    std::optional<double> expected;  // empty: out of range
};

void PrintTo(const LeadingCase& row, std::ostream* os) {
    *os << row.name;
}

class LeadingNumberTest : public testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsTheLeadingNumber) {
    const LeadingCase& row = GetParam();
    const std::optional<double> result = LeadingNumber(row.text);
    if (!row.expected) {
        EXPECT_EQ(result, std::nullopt);
        return;
    }
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, *row.expected);
    EXPECT_FALSE(*result == 0.0 && std::signbit(*result)) << "negative zero would show as «-0»";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Decimals, LeadingNumberTest, testing::Values(
    LeadingCase{"IntegerIsReadWhole", u"12", 12.0},
    LeadingCase{"CommaEndsTheNumber", u"12,5", 12.0},
    LeadingCase{"CommaAfterThreeEndsTheNumber", u"3,75", 3.0},
    LeadingCase{"LeadingCommaMeansNoNumber", u",5", 0.0},
    LeadingCase{"EmptyTextIsZero", u"", 0.0},
    LeadingCase{"PointIsTheDecimalSeparator", u"12.5", 12.5},
    LeadingCase{"FractionWithoutIntegerPart", u".5", 0.5},
    LeadingCase{"TrailingPointIsHarmless", u"5.", 5.0},
    LeadingCase{"LonePointIsZero", u".", 0.0},
    LeadingCase{"SecondPointEndsTheNumber", u"1.2.3", 1.2},
    LeadingCase{"LettersEndTheNumber", u"12abc", 12.0},
    LeadingCase{"LettersFirstMeanNoNumber", u"abc", 0.0},
    LeadingCase{"HexPrefixOfCIsNotHex", u"0x1F", 0.0},
    LeadingCase{"UnderscoreEndsTheNumber", u"1_000", 1.0},
    LeadingCase{"MinusSign", u"-12.5", -12.5},
    LeadingCase{"PlusSign", u"+7", 7.0},
    LeadingCase{"LoneMinusIsZero", u"-", 0.0},
    LeadingCase{"LonePlusIsZero", u"+", 0.0},
    LeadingCase{"MinusZeroIsPlainZero", u"-0", 0.0},
    LeadingCase{"DoubleSignMeansNoNumber", u"--1", 0.0},
    LeadingCase{"MixedSignsMeanNoNumber", u"+-1", 0.0},
    LeadingCase{"MinusInsideEndsTheNumber", u"1-2", 1.0},
    LeadingCase{"LeadingZerosAreIgnored", u"007", 7.0}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(Exponents, LeadingNumberTest, testing::Values(
    LeadingCase{"CapitalE", u"1E3", 1000.0},
    LeadingCase{"SmallE", u"1e3", 1000.0},
    LeadingCase{"CapitalD", u"1D3", 1000.0},
    LeadingCase{"SmallDWithMinus", u"1d-3", 0.001},
    LeadingCase{"ExponentWithPlus", u"1.5E+2", 150.0},
    LeadingCase{"ExponentLetterAloneEndsTheNumber", u"12E", 12.0},
    LeadingCase{"ExponentPlusAloneEndsTheNumber", u"12E+", 12.0},
    LeadingCase{"ExponentMinusAloneEndsTheNumber", u"12E-", 12.0},
    LeadingCase{"ExponentLetterThenCommaEndsTheNumber", u"12E,5", 12.0},
    LeadingCase{"DAloneEndsTheNumber", u"12D", 12.0},
    LeadingCase{"ExponentWithoutMantissaIsZero", u"E5", 0.0},
    LeadingCase{"ExponentAfterLonePointIsZero", u".E5", 0.0},
    LeadingCase{"SecondExponentEndsTheNumber", u"1E2E3", 100.0},
    LeadingCase{"PointInExponentEndsTheNumber", u"1E2.5", 100.0},
    LeadingCase{"ExponentOfZeroMantissaIsZero", u"0E999999999999999999999999", 0.0},
    LeadingCase{"HugeNegativeExponentUnderflowsToZero", u"1E-999999999999999999999999", 0.0},
    LeadingCase{"NegativeUnderflowIsPlainZero", u"-1E-400", 0.0},
    LeadingCase{"DenormalIsKept", u"1E-320", 1e-320},
    LeadingCase{"ExponentBalancesLeadingFractionZeros", u"0." + repeated(u"0", 399) + u"1E400", 1.0},
    LeadingCase{"ExponentBalancesTrailingIntegerZeros", u"1" + repeated(u"0", 400) + u"E-400", 1.0}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(Blanks, LeadingNumberTest, testing::Values(
    LeadingCase{"SpaceInsideDigitsIsRemoved", u"1 2", 12.0},
    LeadingCase{"TabsAndLineFeedsAreRemoved", u" \t\n 4\t2\n ", 42.0},
    LeadingCase{"BlankAfterSign", u"- 4", -4.0},
    LeadingCase{"BlanksAroundPointAndExponent", u" 1 . 5 E - 3 ", 0.0015},
    LeadingCase{"CarriageReturnIsNotABlank", u"1\r2", 1.0},
    LeadingCase{"NoBreakSpaceIsNotABlank", u"\u00A012", 0.0},
    LeadingCase{"NoBreakSpaceInsideEndsTheNumber", u"1\u00A02", 1.0}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(HexAndOctal, LeadingNumberTest, testing::Values(
    LeadingCase{"HexByte", u"&HFF", 255.0},
    LeadingCase{"HexInSmallLetters", u"&hff", 255.0},
    LeadingCase{"HexIsUnsigned", u"&HFFFF", 65535.0},
    LeadingCase{"HexTopBitIsNotASign", u"&H8000", 32768.0},
    LeadingCase{"HexThirtyTwoBits", u"&HFFFFFFFF", 4294967295.0},
    LeadingCase{"HexSixtyFourBits", u"&HFFFFFFFFFFFFFFFF", 18446744073709551615.0},
    LeadingCase{"HexLargestExactInteger", u"&H1FFFFFFFFFFFFF", 9007199254740991.0},
    LeadingCase{"HexHalfwayRoundsToEvenDown", u"&H20000000000001", 9007199254740992.0},
    LeadingCase{"HexHalfwayRoundsToEvenUp", u"&H20000000000003", 9007199254740996.0},
    LeadingCase{"HexJustAboveHalfwayRoundsUp", u"&H200000000000010001",
                std::ldexp(9007199254740994.0, 16)},
    LeadingCase{"HexLargestDouble", u"&HFFFFFFFFFFFFF8" + repeated(u"0", 242), DBL_MAX},
    LeadingCase{"HexHalfwayAboveLargestIsOutOfRange", u"&HFFFFFFFFFFFFFC" + repeated(u"0", 242),
                std::nullopt},
    LeadingCase{"HexTwoToThe1024IsOutOfRange", u"&H1" + repeated(u"0", 256), std::nullopt},
    LeadingCase{"HexLongLeadingZerosAreIgnored", u"&H" + repeated(u"0", 5000) + u"1",
                1.0},
    LeadingCase{"HexLetterEIsADigit", u"&HE5", 229.0},
    LeadingCase{"HexStopsAtNonHexLetter", u"&HFG", 15.0},
    LeadingCase{"HexStopsAtPoint", u"&H1.5", 1.0},
    LeadingCase{"HexWithBlanks", u"& H 1 0", 16.0},
    LeadingCase{"HexWithoutDigitsIsZero", u"&H", 0.0},
    LeadingCase{"HexAfterSignIsNoNumber", u"-&H10", 0.0},
    LeadingCase{"Octal", u"&O17", 15.0},
    LeadingCase{"OctalInSmallLetters", u"&o17", 15.0},
    LeadingCase{"OctalSixtyFourBits", u"&O1777777777777777777777", 18446744073709551615.0},
    LeadingCase{"OctalStopsAtEight", u"&O78", 7.0},
    LeadingCase{"OctalWithoutDigitsIsZero", u"&O", 0.0},
    LeadingCase{"OctalEightAloneIsZero", u"&O8", 0.0},
    LeadingCase{"AmpersandAloneIsZero", u"&", 0.0},
    LeadingCase{"AmpersandWithOtherLetterIsZero", u"&X1", 0.0}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(Range, LeadingNumberTest, testing::Values(
    LeadingCase{"ThreeHundredTenDigitsAreOutOfRange", repeated(u"9", 310), std::nullopt},
    LeadingCase{"ExponentBeyondRange", u"1E400", std::nullopt},
    LeadingCase{"NegativeBeyondRange", u"-1E400", std::nullopt},
    LeadingCase{"HugeExponentIsOutOfRange", u"1E+999999999999999999999", std::nullopt},
    LeadingCase{"LargePowerOfTenInRange", u"1E308", 1e308},
    LeadingCase{"LargestDoubleInFull", u"1.7976931348623157E308", DBL_MAX},
    LeadingCase{"LargestDoubleAsWrittenReadsBack", u"1.79769313486232E+308", DBL_MAX},
    LeadingCase{"NegativeLargestDoubleAsWritten", u"-1.79769313486232E+308", -DBL_MAX},
    LeadingCase{"LargestDoubleAsWrittenInDigits", u"179769313486232" + repeated(u"0", 294),
                DBL_MAX},
    LeadingCase{"JustAboveLargestWrittenIsOutOfRange", u"1.797693134862321E+308", std::nullopt},
    LeadingCase{"UnderflowIsZero", u"1E-400", 0.0}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(LongTexts, LeadingNumberTest, testing::Values(
    LeadingCase{"MillionLeadingZeros", repeated(u"0", 1'000'000) + u"5", 5.0},
    LeadingCase{"MillionBlanksBetweenDigits", u"1" + repeated(u" ", 1'000'000) + u"2", 12.0},
    LeadingCase{"MillionDigitsAreOutOfRange", repeated(u"1", 1'000'000), std::nullopt},
    LeadingCase{"MillionFractionZerosThenOne", u"0." + repeated(u"0", 1'000'000) + u"1", 0.0},
    LeadingCase{"MillionDigitsScaledBack", repeated(u"1", 1'000'000) + u"E-999999",
                1.1111111111111112},
    LeadingCase{"HalfwayRoundsToEven", u"9007199254740993", 9007199254740992.0},
    LeadingCase{"FarDigitJustAboveHalfwayRoundsUp",
                u"9007199254740993." + repeated(u"0", 5000) + u"1", 9007199254740994.0},
    LeadingCase{"FarZerosKeepHalfwayExact", u"9007199254740993." + repeated(u"0", 5000),
                9007199254740992.0},
    LeadingCase{"NinesJustBelowOneRoundToOne", u"0." + repeated(u"9", 100'000), 1.0}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(OddCharacters, LeadingNumberTest, testing::Values(
    LeadingCase{"NulEndsTheNumber", u"12\0" u"3"s, 12.0},
    LeadingCase{"NulFirstMeansNoNumber", u"\0" u"12"s, 0.0},
    LeadingCase{"RightToLeftMarkFirstMeansNoNumber", u"\u200F12", 0.0},
    LeadingCase{"RightToLeftMarkInsideEndsTheNumber", u"1\u200F2", 1.0},
    LeadingCase{"ArabicLetterMarkFirstMeansNoNumber", u"\u061C12", 0.0},
    LeadingCase{"ArabicIndicDigitsAreNoDigits", u"\u0661\u0662", 0.0},
    LeadingCase{"ArabicIndicDigitEndsTheNumber", u"1\u0662", 1.0},
    LeadingCase{"ArabicDecimalSeparatorEndsTheNumber", u"1\u066B5", 1.0},
    LeadingCase{"FullwidthDigitsAreNoDigits", u"\uFF11\uFF12", 0.0},
    LeadingCase{"SuperscriptTwoEndsTheNumber", u"1\u00B2", 1.0},
    LeadingCase{"MathematicalDigitOutsideTheBasicPlaneIsNoDigit", u"\U0001D7CF", 0.0},
    LeadingCase{"LoneSurrogateIsNoDigit", u"\xD800" u"1"s, 0.0},
    LeadingCase{"UnicodeMinusSignIsNoSign", u"\u22125", 0.0}
), test::RowName());
// clang-format on

TEST(LeadingNumber, ReadsOnlyInsideTheView) {
    // The digits after the view must not be read.
    const std::u16string text = u"12345";
    EXPECT_EQ(LeadingNumber(std::u16string_view(text).substr(0, 2)), 12.0);
    const std::u16string hex = u"&HFF";
    EXPECT_EQ(LeadingNumber(std::u16string_view(hex).substr(0, 3)), 15.0);
    EXPECT_EQ(LeadingNumber(std::u16string_view(hex).substr(0, 1)), 0.0);
}

TEST(LeadingNumber, IsUnchangedByWhatFollowsTheNumber) {
    for (std::u16string text : {u"12", u"12E", u"12E+", u"&H", u"&HF", u"-", u"1.5E-3", u""}) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        const std::optional<double> alone = LeadingNumber(text);
        EXPECT_EQ(LeadingNumber(text + u"#9"), alone);
        EXPECT_EQ(LeadingNumber(text + u",9"), alone);
    }
}

}  // namespace
}  // namespace quilvane
