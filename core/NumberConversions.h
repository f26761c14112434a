#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quilvane {

// The two characters of the user's regional number format that the conversions need.
struct NumberFormat {
    char16_t decimalSeparator = u',';
    char16_t groupSeparator = u'.';
};

// The longest leading number of the text, blanks ignored wherever they stand, the point as
// the only decimal separator; 0 when the text starts with no number. Empty only when the
// number lies beyond the range of a double.
std::optional<double> LeadingNumber(std::u16string_view text);

// The whole text read in the given regional format. Empty when the text is not a number
// there (no digit, two decimal separators, stray characters) or lies beyond a double's range.
std::optional<double> LocaleNumber(std::u16string_view text, NumberFormat format);

// General form: at most 15 significant digits, the format's decimal separator, no grouping.
std::u16string NumberText(double value, NumberFormat format);

}  // namespace quilvane
