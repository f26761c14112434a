#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <ostream>
#include <string>

#include "NumberConversions.h"
#include "TestFormats.h"

namespace quilvane {
namespace {

using test::kEnglish;
using test::kFrench;
using test::kItalian;

struct TextCase {
    const char* name;
    NumberFormat format;
    double value;
    std::u16string_view expected;
};

void PrintTo(const TextCase& row, std::ostream* os) {
    *os << row.name;
}

class NumberTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(NumberTextTest, WritesGeneralForm) {
    const TextCase& row = GetParam();
    EXPECT_EQ(NumberText(row.value, row.format), row.expected);
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// clang-format off
INSTANTIATE_TEST_SUITE_P(Italian, NumberTextTest, testing::Values(
    TextCase{"HalfWithComma", kItalian, 45.5, u"45,5"},
    TextCase{"IntegerWithoutSeparator", kItalian, 120.0, u"120"},
    TextCase{"ThirdHasFifteenDigits", kItalian, 1.0 / 3, u"0,333333333333333"},
    TextCase{"TwoDecimals", kItalian, 9.75, u"9,75"},
    TextCase{"SmallInteger", kItalian, 21.0, u"21"},
    TextCase{"Zero", kItalian, 0.0, u"0"},
    TextCase{"NegativeZeroIsZero", kItalian, -0.0, u"0"},
    TextCase{"Negative", kItalian, -45.5, u"-45,5"},
    TextCase{"NoGrouping", kItalian, 1234567.5, u"1234567,5"},
    TextCase{"BinaryFractionNoiseIsRoundedAway", kItalian, 0.1 + 0.2, u"0,3"},
    TextCase{"RoundedToFifteenDigits", kItalian, 2.0 / 3, u"0,666666666666667"},
    TextCase{"LargestWithoutExponent", kItalian, 999999999999999.0, u"999999999999999"},
    TextCase{"FractionRoundedAwayBelowExponentForm", kItalian, 999999999999999.4, u"999999999999999"},
    TextCase{"ExponentFromFifteenIntegerDigits", kItalian, 1e15, u"1E+15"},
    TextCase{"RoundingUpReachesExponentForm", kItalian, 9999999999999998.0, u"1E+16"},
    TextCase{"FourteenthPowerWithoutExponent", kItalian, 1e14, u"100000000000000"},
    TextCase{"SmallestWithoutExponent", kItalian, 0.0001, u"0,0001"},
    TextCase{"SmallFractionKeepsDigits", kItalian, 0.00012345, u"0,00012345"},
    TextCase{"ExponentBelowTenThousandth", kItalian, 0.00001, u"1E-05"},
    TextCase{"RoundingUpLeavesExponentForm", kItalian, 9.999999999999999e-5, u"0,0001"},
    TextCase{"JustBelowTenThousandthKeepsExponent", kItalian, 9.99999999999999e-5, u"9,99999999999999E-05"},
    TextCase{"ExponentWithFraction", kItalian, 1.5e20, u"1,5E+20"},
    TextCase{"ExponentRoundedToFifteenDigits", kItalian, 123456789012345678.0, u"1,23456789012346E+17"},
    TextCase{"ThreeDigitExponent", kItalian, 1e100, u"1E+100"},
    TextCase{"ThreeDigitNegativeExponent", kItalian, 1e-100, u"1E-100"},
    TextCase{"NegativeWithExponent", kItalian, -1e-300, u"-1E-300"},
    TextCase{"LargestDouble", kItalian, DBL_MAX, u"1,79769313486232E+308"},
    TextCase{"SmallestNormal", kItalian, DBL_MIN, u"2,2250738585072E-308"},
    TextCase{"SmallestDenormal", kItalian, std::numeric_limits<double>::denorm_min(), u"4,94065645841247E-324"}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(OtherFormats, NumberTextTest, testing::Values(
    TextCase{"EnglishPoint", kEnglish, 45.5, u"45.5"},
    TextCase{"EnglishExponent", kEnglish, 1.5e-7, u"1.5E-07"},
    TextCase{"EnglishNoGrouping", kEnglish, 1234567.0, u"1234567"},
    TextCase{"FrenchComma", kFrench, 2.5, u"2,5"},
    TextCase{"FrenchNoGrouping", kFrench, 1234.5, u"1234,5"}
), test::RowName());

// Never produced by the app; written so that nobody takes them for numbers.
INSTANTIATE_TEST_SUITE_P(NotFinite, NumberTextTest, testing::Values(
    TextCase{"NotANumber", kItalian, std::numeric_limits<double>::quiet_NaN(), u"NAN"},
    TextCase{"Infinity", kItalian, kInfinity, u"INF"},
    TextCase{"NegativeInfinity", kItalian, -kInfinity, u"-INF"}
), test::RowName());
// clang-format on

TEST(NumberText, NonFiniteTextIsNoNumberInAnyFormat) {
    for (double value : {std::numeric_limits<double>::quiet_NaN(), kInfinity, -kInfinity}) {
        for (NumberFormat format : {kItalian, kEnglish}) {
            const std::u16string text = NumberText(value, format);
            EXPECT_EQ(LocaleNumber(text, format), std::nullopt);
            EXPECT_EQ(LeadingNumber(text), 0.0);
        }
    }
}

}  // namespace
}  // namespace quilvane
