#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "NumberConversions.h"
#include "TestFormats.h"

namespace quilvane {
namespace {

using test::kEnglish;
using test::kItalian;
using test::printfGeneral;

std::string utf8ish(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

// Finite doubles spread evenly over the exponent range, denormals included, from a fixed seed.
std::vector<double> randomFiniteDoubles(std::size_t count) {
    std::mt19937_64 bits(20240611);
    std::vector<double> values;
    values.reserve(count);
    while (values.size() < count) {
        const double value = std::bit_cast<double>(bits());
        if (std::isfinite(value)) values.push_back(value);
    }
    return values;
}

// Powers of ten and their neighbours sit on every rounding and exponent-form boundary.
std::vector<double> powersOfTenAndNeighbours() {
    std::vector<double> values = {
        0.0, -0.0, DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_MIN, std::numeric_limits<double>::denorm_min()};
    for (int exponent = -323; exponent <= 308; ++exponent) {
        const std::string written = "1e" + std::to_string(exponent);
        const double power = std::strtod(written.c_str(), nullptr);
        for (double value : {power, std::nextafter(power, 0.0), std::nextafter(power, DBL_MAX)}) {
            values.push_back(value);
            values.push_back(-value);
        }
    }
    return values;
}

// «Gives x back to 15 significant digits»: the text read back is written again unchanged, and
// the value read back lies within one unit of the fifteenth digit of x.
void expectRoundTrip(double value, NumberFormat format) {
    const std::u16string text = NumberText(value, format);
    const std::optional<double> back = LocaleNumber(text, format);
    ASSERT_TRUE(back.has_value()) << utf8ish(text) << " from " << value;
    ASSERT_EQ(NumberText(*back, format), text) << "from " << value;
    ASSERT_LE(std::abs(*back - value), 1e-14 * std::abs(value)) << utf8ish(text);
}

TEST(RoundTrip, RandomDoublesComeBackToFifteenDigitsInItalian) {
    for (double value : randomFiniteDoubles(100'000)) expectRoundTrip(value, kItalian);
}

TEST(RoundTrip, RandomDoublesComeBackToFifteenDigitsInEnglish) {
    for (double value : randomFiniteDoubles(100'000)) expectRoundTrip(value, kEnglish);
}

TEST(RoundTrip, PowersOfTenAndTheirNeighboursComeBack) {
    for (double value : powersOfTenAndNeighbours()) {
        expectRoundTrip(value, kItalian);
        expectRoundTrip(value, kEnglish);
    }
}

TEST(RoundTrip, LargestDoubleComesBackThoughItsTextIsAboveIt) {
    // 1,79769313486232E+308 exceeds the largest double; it reads back as the largest double.
    EXPECT_EQ(LocaleNumber(NumberText(DBL_MAX, kItalian), kItalian), DBL_MAX);
    EXPECT_EQ(LocaleNumber(NumberText(-DBL_MAX, kEnglish), kEnglish), -DBL_MAX);
    EXPECT_EQ(LeadingNumber(NumberText(DBL_MAX, kEnglish)), DBL_MAX);
}

TEST(RoundTrip, TextMatchesPrintfGeneralForm) {
    std::vector<double> values = randomFiniteDoubles(100'000);
    const std::vector<double> boundaries = powersOfTenAndNeighbours();
    values.insert(values.end(), boundaries.begin(), boundaries.end());
    for (double value : values) {
        ASSERT_EQ(NumberText(value, kItalian), printfGeneral(value, kItalian)) << value;
    }
}

TEST(RoundTrip, LeadingNumberReadsEnglishTextAsLocaleNumberDoes) {
    // The point and the E exponent are what LeadingNumber reads too.
    for (double value : randomFiniteDoubles(20'000)) {
        const std::u16string text = NumberText(value, kEnglish);
        ASSERT_EQ(LeadingNumber(text), LocaleNumber(text, kEnglish)) << utf8ish(text);
    }
}

}  // namespace
}  // namespace quilvane
