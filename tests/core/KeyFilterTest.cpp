#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "KeyFilter.h"
#include "TestFormats.h"

namespace quilvane {
namespace {

struct KeyCase {
    const char* name;
    std::int16_t typed;
    std::int16_t expected;
};

void PrintTo(const KeyCase& row, std::ostream* os) {
    *os << row.name;
}

class KeyFilterTest : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyFilterTest, FiltersTheTypedCharacter) {
    EXPECT_EQ(filterTypedCharacter(GetParam().typed), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Passing, KeyFilterTest, testing::Values(
    KeyCase{"ZeroPasses", '0', '0'},
    KeyCase{"FivePasses", '5', '5'},
    KeyCase{"NinePasses", '9', '9'},
    KeyCase{"BackspacePasses", 8, 8}
), test::RowName());

INSTANTIATE_TEST_SUITE_P(BecomingComma, KeyFilterTest, testing::Values(
    KeyCase{"CommaStaysComma", 44, 44},
    KeyCase{"PointBecomesComma", '.', 44},
    KeyCase{"SpaceBecomesComma", ' ', 44},
    KeyCase{"MinusBecomesComma", '-', 44},
    KeyCase{"PlusBecomesComma", '+', 44},
    KeyCase{"LetterEBecomesComma", 'E', 44},
    KeyCase{"SlashJustBelowZeroBecomesComma", '/', 44},
    KeyCase{"ColonJustAboveNineBecomesComma", ':', 44},
    KeyCase{"DeleteBecomesComma", 127, 44},
    KeyCase{"EnterBecomesComma", 13, 44},
    KeyCase{"EscapeBecomesComma", 27, 44},
    KeyCase{"NulBecomesComma", 0, 44},
    KeyCase{"ControlABecomesComma", 1, 44},
    KeyCase{"ControlGJustBelowBackspaceBecomesComma", 7, 44},
    KeyCase{"TabJustAboveBackspaceBecomesComma", 9, 44},
    KeyCase{"ControlZBecomesComma", 26, 44},
    KeyCase{"MinusOneBecomesComma", -1, 44},
    KeyCase{"MinusEightBecomesComma", -8, 44},
    KeyCase{"MinusFortyEightBecomesComma", -48, 44},
    KeyCase{"LowestCodeBecomesComma", INT16_MIN, 44},
    KeyCase{"HighestCodeBecomesComma", INT16_MAX, 44},
    KeyCase{"ArabicIndicDigitOneBecomesComma", 0x0661, 44}
), test::RowName());
// clang-format on

TEST(KeyFilter, EveryControlCodeButBackspaceBecomesComma) {
    for (std::int16_t code = 1; code <= 26; ++code) {
        if (code == kBackspaceCode) continue;
        EXPECT_EQ(filterTypedCharacter(code), kCommaCode) << code;
    }
}

static_assert(filterTypedCharacter('7') == '7', "usable at compile time");

}  // namespace
}  // namespace quilvane
