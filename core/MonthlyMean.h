#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "NumberConversions.h"

namespace quilvane {

inline constexpr int kMonthCount = 12;

// A month box read as its bar reads it, so that «12,5» counts 12.5 in the mean too; a text the
// regional format cannot read falls back to its leading number, and an empty box counts 0.
// Empty when the value, read either way, lies beyond the range of a double.
std::optional<double> monthValue(std::u16string_view text, NumberFormat format);

enum class MeanFailure { SumOutOfRange, CountUnreadable };

struct MeanResult {
    double mean = 0.0;
    std::optional<MeanFailure> failure;
};

// The sum of all twelve boxes, whatever the count, divided by the count the user picked.
MeanResult meanOfMonths(const std::array<std::u16string_view, kMonthCount>& monthTexts,
                        std::u16string_view countText, NumberFormat format);

}  // namespace quilvane
