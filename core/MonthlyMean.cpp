#include "MonthlyMean.h"

#include <cmath>

namespace quilvane {

std::optional<double> monthValue(std::u16string_view text, NumberFormat format) {
    if (auto value = LocaleNumber(text, format)) return value;
    // Its leading number would be a mere fragment of it («1» of «1,5E400»).
    if (IsLocaleNumberText(text, format)) return std::nullopt;
    return LeadingNumber(text);
}

MeanResult meanOfMonths(const std::array<std::u16string_view, kMonthCount>& monthTexts,
                        std::u16string_view countText, NumberFormat format) {
    double sum = 0.0;
    for (std::u16string_view text : monthTexts) {
        const std::optional<double> value = monthValue(text, format);
        if (!value) return {0.0, MeanFailure::SumOutOfRange};
        sum += *value;
    }
    if (!std::isfinite(sum)) return {0.0, MeanFailure::SumOutOfRange};

    const std::optional<double> count = LocaleNumber(countText, format);
    if (!count || *count == 0.0) return {0.0, MeanFailure::CountUnreadable};

    const double mean = sum / *count;
    if (!std::isfinite(mean)) return {0.0, MeanFailure::SumOutOfRange};
    return {mean, std::nullopt};
}

}  // namespace quilvane
