#pragma once

// Slow, separately written models of the conversions that the fuzz targets compare against:
// the grammar done again by hand, the arithmetic left to the C library's strtod.

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "NumberConversions.h"

namespace quilvane::fuzz {

inline bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// What the conversions must return for a decimal that the grammar accepted, written in ASCII as
// strtod reads it: the same double, or empty beyond range, except that up to the largest double
// as NumberText writes it (1.79769313486232E+308) the text still counts as the largest double.
inline void requireDecimalValue(const std::string& ascii, std::optional<double> result,
                                const char* invariant) {
    const double expected = std::strtod(ascii.c_str(), nullptr);
    if (std::isfinite(expected)) {
        require(result.has_value() && *result == expected, invariant);
        require(!(*result == 0.0 && std::signbit(*result)), "a zero is never negative");
        return;
    }
    const long double exact = std::fabs(std::strtold(ascii.c_str(), nullptr));
    const long double largestWritten = 1.79769313486232e308L;
    if (!result) {
        require(exact >= largestWritten * (1 - 1e-15L), invariant);
        return;
    }
    require(std::fabs(*result) == DBL_MAX && std::signbit(*result) == std::signbit(expected) &&
                exact <= largestWritten * (1 + 1e-15L),
            invariant);
}

// An unsigned integer given as hexadecimal digits, as strtod rounds it; empty beyond range.
inline std::optional<double> hexIntegerValue(const std::string& hexDigits) {
    if (hexDigits.empty()) return 0.0;
    const double value = std::strtod(("0x" + hexDigits).c_str(), nullptr);
    if (std::isinf(value)) return std::nullopt;
    return value;
}

inline std::string octalToHex(const std::string& octalDigits) {
    std::string bits;
    for (char digit : octalDigits) {
        const int value = digit - '0';
        bits += (value & 4) ? '1' : '0';
        bits += (value & 2) ? '1' : '0';
        bits += (value & 1) ? '1' : '0';
    }
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    std::string hex;
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        const int nibble = (bits[i] - '0') * 8 + (bits[i + 1] - '0') * 4 + (bits[i + 2] - '0') * 2 +
                           (bits[i + 3] - '0');
        hex += "0123456789ABCDEF"[nibble];
    }
    return hex;
}

// LeadingNumber done again: blanks dropped first, then the longest leading number taken.
inline void requireLeadingNumberModel(std::u16string_view text, std::optional<double> result) {
    std::string s;
    for (char16_t c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n') continue;
        s += (c > 0 && c < 128) ? static_cast<char>(c) : '\x01';
    }
    s += '\0';  // a stop that no rule accepts, so s[i + 1] is always readable below

    if (s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const bool hex = s[1] == 'H' || s[1] == 'h';
        std::string digits;
        for (std::size_t i = 2; hex ? std::isxdigit(static_cast<unsigned char>(s[i])) != 0
                                    : (s[i] >= '0' && s[i] <= '7');
             ++i) {
            digits += s[i];
        }
        const std::optional<double> expected = hexIntegerValue(hex ? digits : octalToHex(digits));
        require(result == expected, "LeadingNumber reads &H and &O as unsigned integers");
        return;
    }
    if (s[0] == '&') {
        require(result == 0.0, "a lone & is no number");
        return;
    }

    std::string number;
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') number += s[i++];
    bool mantissaDigit = false;
    for (; isAsciiDigit(s[i]); ++i, mantissaDigit = true) number += s[i];
    if (s[i] == '.') {
        number += s[i++];
        for (; isAsciiDigit(s[i]); ++i, mantissaDigit = true) number += s[i];
    }
    if (!mantissaDigit) {
        require(result == 0.0, "a text without leading digits reads 0");
        return;
    }
    if (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd') {
        const std::size_t sign = (s[i + 1] == '+' || s[i + 1] == '-') ? 1 : 0;
        if (isAsciiDigit(s[i + 1 + sign])) {
            number += 'e';
            ++i;
            if (sign != 0) number += s[i++];
            for (; isAsciiDigit(s[i]); ++i) number += s[i];
        }
    }
    requireDecimalValue(number, result, "LeadingNumber agrees with strtod");
}

inline bool isModelBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' ||
           c == u'\u00A0' || c == u'\u202F';
}

// Whether the model below can judge the format: separators that are no digit, sign or exponent
// letter (nonsense formats the real code must only survive).
inline bool isModelFormat(NumberFormat format) {
    for (char16_t c : {format.decimalSeparator, format.groupSeparator}) {
        if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'E' || c == u'e') {
            return false;
        }
    }
    return true;
}

// LocaleNumber done again, by splitting the text at its exponent, decimal and group separators.
inline void requireLocaleNumberModel(std::u16string_view text, NumberFormat format,
                                     std::optional<double> result, bool isNumberText) {
    while (!text.empty() && isModelBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isModelBlank(text.back())) text.remove_suffix(1);
    const auto fail = [&] {
        require(!result, "LocaleNumber rejects what is no number");
        require(!isNumberText, "IsLocaleNumberText rejects what is no number");
    };

    std::string ascii;
    if (!text.empty() && (text[0] == u'+' || text[0] == u'-')) {
        ascii += static_cast<char>(text[0]);
        text.remove_prefix(1);
    }

    std::u16string_view exponent;
    if (const std::size_t mark = text.find_first_of(u"Ee"); mark != text.npos) {
        exponent = text.substr(mark + 1);
        text = text.substr(0, mark);
        std::u16string_view digits = exponent;
        if (!digits.empty() && (digits[0] == u'+' || digits[0] == u'-')) digits.remove_prefix(1);
        if (digits.empty()) return fail();
        for (char16_t c : digits) {
            if (c < u'0' || c > u'9') return fail();
        }
    }

    const auto isDecimal = [&](char16_t c) { return c == format.decimalSeparator || c == u','; };
    std::u16string_view integer = text;
    std::u16string_view fraction;
    bool hasDecimal = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isDecimal(text[i])) continue;
        if (hasDecimal) return fail();
        hasDecimal = true;
        integer = text.substr(0, i);
        fraction = text.substr(i + 1);
    }

    std::string integerDigits;
    const bool grouping = !isDecimal(format.groupSeparator);
    std::size_t groupStart = 0;
    int groups = 0;
    for (std::size_t i = 0; i <= integer.size(); ++i) {
        if (i < integer.size() && !(grouping && integer[i] == format.groupSeparator)) continue;
        const std::u16string_view group = integer.substr(groupStart, i - groupStart);
        const bool last = i == integer.size();
        if (!(last && groups == 0)) {
            const bool sized =
                groups == 0 ? (group.size() >= 1 && group.size() <= 3) : group.size() == 3;
            if (!sized) return fail();
        }
        for (char16_t c : group) {
            if (c < u'0' || c > u'9') return fail();
            integerDigits += static_cast<char>(c);
        }
        ++groups;
        groupStart = i + 1;
    }
    std::string fractionDigits;
    for (char16_t c : fraction) {
        if (c < u'0' || c > u'9') return fail();
        fractionDigits += static_cast<char>(c);
    }
    if (integerDigits.empty() && fractionDigits.empty()) return fail();

    ascii += (integerDigits.empty() ? "0" : integerDigits) + "." + fractionDigits + "0";
    if (!exponent.empty()) {
        ascii += 'e';
        for (char16_t c : exponent) ascii += static_cast<char>(c);
    }
    require(isNumberText, "IsLocaleNumberText accepts every number, however large");
    requireDecimalValue(ascii, result, "LocaleNumber agrees with strtod");
}

}  // namespace quilvane::fuzz
