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
// the only decimal separator; 0 when the text starts with no number. Exponents take E or D;
// «&H» and «&O» start unsigned hexadecimal and octal integers. Empty only when the number lies
// beyond the range of a double (texts up to 1.79769313486232E+308, the largest double as
// NumberText writes it, read as the largest double).
std::optional<double> LeadingNumber(std::u16string_view text);

// The whole text read in the given regional format. Empty when the text is not a number
// there (no digit, two decimal separators, stray characters) or lies beyond a double's range.
// The comma is a decimal separator in every format, since the key filter types no other; the
// group separator counts only between groups of three digits in the integer part.
std::optional<double> LocaleNumber(std::u16string_view text, NumberFormat format);

// Whether the text is written as LocaleNumber wants it, whatever its size: «1,5E400» is, though
// no double holds it.
bool IsLocaleNumberText(std::u16string_view text, NumberFormat format);

// General form, like printf's %.15G: at most 15 significant digits, the format's decimal
// separator, no grouping, «1E+15» and «1E-05» beyond the plain range; -0 is «0». NaN and the
// infinities become «NAN», «INF» and «-INF», which LocaleNumber rejects. For every finite x,
// LocaleNumber(NumberText(x, f), f) gives x back to 15 significant digits.
std::u16string NumberText(double value, NumberFormat format);

}  // namespace quilvane
