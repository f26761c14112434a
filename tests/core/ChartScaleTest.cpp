#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "ChartScale.h"
#include "TestFormats.h"
#include "WindowFigures.h"

namespace quilvane::chart {
namespace {

struct ScaleCase {
    const char* name;
    double value;
    float expected;
};

void PrintTo(const ScaleCase& row, std::ostream* os) {
    *os << row.name;
}

using figures::barTop;
using figures::kTwipsPerUnit;

// Far beyond any screen, well inside what a fixed-point rasteriser holds.
constexpr float kLimit = 1.0e6f;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class BarTopTest : public testing::TestWithParam<ScaleCase> {};

TEST_P(BarTopTest, PlacesTheBarTop) {
    EXPECT_EQ(barTopForValue(GetParam().value), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, BarTopTest, testing::Values(
    ScaleCase{"ZeroStandsOnTheZeroLine", 0.0, float(figures::kZeroLineY)},
    ScaleCase{"ThreeHundredNinetyTwoReachesTheTop", 392.0, float(barTop(392))},
    ScaleCase{"FractionMovesByFifteenTwipsPerUnit", 12.5, float(barTop(12.5))},
    ScaleCase{"NegativeHangsBelowTheZeroLine", -10.0, float(barTop(-10))},
    ScaleCase{"AboveTheWindowIsNotClampedYet", 60000.0, float(barTop(60000))},
    ScaleCase{"HugeValueClampsAtTheTopLimit", 1e6, -kLimit},
    ScaleCase{"HugeNegativeValueClampsAtTheBottomLimit", -1e6, kLimit},
    ScaleCase{"LargestDoubleClampsWithoutWrapping", DBL_MAX, -kLimit},
    ScaleCase{"NegativeLargestDoubleClampsWithoutWrapping", -DBL_MAX, kLimit},
    ScaleCase{"BeyondFloatRangeClamps", 1e300, -kLimit},
    ScaleCase{"InfinityClamps", kInfinity, -kLimit},
    ScaleCase{"TinyValueStaysOnTheZeroLine", 1e-300, float(figures::kZeroLineY)}
), test::RowName());
// clang-format on

class MeanBarWidthTest : public testing::TestWithParam<ScaleCase> {};

TEST_P(MeanBarWidthTest, SizesTheMeanBar) {
    EXPECT_EQ(meanBarWidth(GetParam().value), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, MeanBarWidthTest, testing::Values(
    ScaleCase{"FifteenTwipsPerUnit", 21.0, float(21 * kTwipsPerUnit)},
    ScaleCase{"ZeroHasNoBar", 0.0, 0.0f},
    ScaleCase{"NegativeZeroHasNoBar", -0.0, 0.0f},
    ScaleCase{"NegativeHasNoBar", -5.0, 0.0f},
    ScaleCase{"HugeNegativeHasNoBar", -DBL_MAX, 0.0f},
    ScaleCase{"NotANumberHasNoBar", kNaN, 0.0f},
    ScaleCase{"WideButInsideTheLimit", 50000.0, float(50000 * kTwipsPerUnit)},
    ScaleCase{"HugeClampsAtTheLimit", 1e300, kLimit},
    ScaleCase{"LargestDoubleClampsAtTheLimit", DBL_MAX, kLimit},
    ScaleCase{"InfinityClampsAtTheLimit", kInfinity, kLimit}
), test::RowName());
// clang-format on

TEST(ChartScale, NotANumberStaysDrawable) {
    const float top = barTopForValue(kNaN);
    EXPECT_TRUE(std::isfinite(top));
    EXPECT_LE(std::abs(top), kLimit);
}

}  // namespace
}  // namespace quilvane::chart
