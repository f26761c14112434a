#include "NumberConversions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace quilvane {

namespace {

// Any decimal rounds correctly to a double from its first 767 significant digits plus the
// knowledge of whether anything non-zero follows; keeping a few more costs nothing.
constexpr std::size_t kKeptDigits = 800;

// Far beyond any exponent that can still matter, far below where the arithmetic could overflow.
constexpr std::int64_t kExponentCap = 1'000'000'000'000;

// NumberText writes the largest double as 1.79769313486232E+308, a little above it. So that the
// app reads back what it wrote, decimals between the largest double and that text count as the
// largest double; beyond it a text is out of range.
constexpr std::string_view kLargestWrittenDigits = "179769313486232";
constexpr std::int64_t kLargestWrittenExponent = 308;

constexpr bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// A decimal as it is read, digit by digit: value = digits × 10^exponent, where digits past the
// kept ones only leave their trace in `droppedNonZero`. Long texts therefore cost no memory.
struct Decimal {
    std::array<char, kKeptDigits> digits{};
    std::size_t count = 0;  // significant digits kept, no leading zeros
    std::int64_t exponent = 0;
    bool droppedNonZero = false;
    bool anyDigit = false;
    bool negative = false;
};

void addDigit(Decimal& number, char16_t digit, bool inFraction) {
    number.anyDigit = true;
    if (number.count == 0 && digit == u'0') {
        if (inFraction) --number.exponent;
        return;
    }
    if (number.count < kKeptDigits) {
        number.digits[number.count++] = static_cast<char>(digit);
        if (inFraction) --number.exponent;
        return;
    }
    if (digit != u'0') number.droppedNonZero = true;
    if (!inFraction) ++number.exponent;
}

void addExponentDigit(std::int64_t& exponent, char16_t digit) {
    exponent = std::min(exponent * 10 + (digit - u'0'), kExponentCap);
}

std::optional<double> withSign(double magnitude, bool negative) {
    // A zero is written «0» and must count as one, so no negative zero ever leaves here.
    if (magnitude == 0.0) return 0.0;
    return negative ? -magnitude : magnitude;
}

bool isAtMostLargestWritten(std::string_view significand, std::int64_t leadingExponent) {
    if (leadingExponent != kLargestWrittenExponent) return false;
    while (significand.size() > 1 && significand.back() == '0') significand.remove_suffix(1);
    return significand <= kLargestWrittenDigits;
}

std::optional<double> toDouble(const Decimal& number, std::int64_t writtenExponent) {
    if (number.count == 0) return 0.0;

    // A single non-zero digit after the kept ones stands in for all the dropped ones.
    std::array<char, kKeptDigits + 32> buffer{};
    char* end = std::copy_n(number.digits.begin(), number.count, buffer.begin());
    std::int64_t exponent = number.exponent + writtenExponent;
    if (number.droppedNonZero) {
        *end++ = '1';
        --exponent;
    }
    const std::string_view significand(buffer.data(),
                                       static_cast<std::size_t>(end - buffer.data()));
    const std::int64_t leadingExponent =
        exponent + static_cast<std::int64_t>(significand.size()) - 1;

    // Settled here so that from_chars never sees an exponent it might mishandle.
    if (leadingExponent > kLargestWrittenExponent) return std::nullopt;
    if (leadingExponent < -400) return 0.0;  // far below half the smallest denormal

    *end++ = 'e';
    end = std::to_chars(end, buffer.end(), exponent).ptr;
    double magnitude = 0.0;
    const auto [ptr, error] = std::from_chars(buffer.data(), end, magnitude);
    if (error == std::errc::result_out_of_range) {
        if (leadingExponent < 0) return 0.0;
        if (!isAtMostLargestWritten(significand, leadingExponent)) return std::nullopt;
        magnitude = DBL_MAX;
    } else if (error != std::errc() || ptr != end || !std::isfinite(magnitude)) {
        return std::nullopt;
    }
    return withSign(magnitude, number.negative);
}

// An unsigned integer in base 8 or 16, rounded to a double the way a decimal would be: the top
// 61 or more significant bits are kept exactly, the rest only as whether any is set.
struct BinaryInteger {
    std::uint64_t top = 0;
    std::int64_t droppedBits = 0;
    bool droppedNonZero = false;
};

void addRadixDigit(BinaryInteger& number, unsigned digit, int bitsPerDigit) {
    if (number.top == 0 && digit == 0) return;
    if (std::bit_width(number.top) + bitsPerDigit <= 64) {
        number.top = (number.top << bitsPerDigit) | digit;
        return;
    }
    number.droppedBits += bitsPerDigit;
    if (digit != 0) number.droppedNonZero = true;
}

std::optional<double> toDouble(const BinaryInteger& number) {
    if (number.top == 0) return 0.0;
    const int topBits = std::bit_width(number.top);
    if (topBits + number.droppedBits > DBL_MAX_EXP) return std::nullopt;

    const int shift = std::max(0, topBits - DBL_MANT_DIG);
    std::uint64_t mantissa = number.top >> shift;
    if (shift > 0) {
        const std::uint64_t rest = number.top & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (number.droppedNonZero || (mantissa & 1) != 0))) {
            ++mantissa;
        }
    }
    const double value =
        std::ldexp(static_cast<double>(mantissa), shift + static_cast<int>(number.droppedBits));
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

int hexDigitValue(int c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

int octalDigitValue(int c) {
    return c >= u'0' && c <= u'7' ? c - u'0' : -1;
}

// Walks a text the way LeadingNumber sees it: with every space, tab and line feed gone.
class BlankSkippingReader {
public:
    static constexpr int kEnd = -1;

    explicit BlankSkippingReader(std::u16string_view text) : m_text(text) {}

    int peek() {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos])) ++m_pos;
        return m_pos < m_text.size() ? m_text[m_pos] : kEnd;
    }
    void advance() { ++m_pos; }

private:
    static bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }

    std::u16string_view m_text;
    std::size_t m_pos = 0;
};

std::optional<double> readRadixInteger(BlankSkippingReader& reader, int (*digitValue)(int),
                                       int bitsPerDigit) {
    BinaryInteger number;
    for (int digit = digitValue(reader.peek()); digit >= 0; digit = digitValue(reader.peek())) {
        addRadixDigit(number, static_cast<unsigned>(digit), bitsPerDigit);
        reader.advance();
    }
    return toDouble(number);
}

bool isLocaleBlank(char16_t c) {
    // No-break spaces too: regional formats group digits with them, and copies keep them.
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' ||
           c == u'\u00A0' || c == u'\u202F';
}

void appendAscii(std::u16string& out, std::string_view ascii) {
    for (char c : ascii) out.push_back(static_cast<char16_t>(c));
}

}  // namespace

std::optional<double> LeadingNumber(std::u16string_view text) {
    BlankSkippingReader reader(text);

    if (reader.peek() == u'&') {
        reader.advance();
        const int radix = reader.peek();
        if (radix == u'H' || radix == u'h') {
            reader.advance();
            return readRadixInteger(reader, hexDigitValue, 4);
        }
        if (radix == u'O' || radix == u'o') {
            reader.advance();
            return readRadixInteger(reader, octalDigitValue, 3);
        }
        return 0.0;
    }

    Decimal number;
    int c = reader.peek();
    if (c == u'+' || c == u'-') {
        number.negative = c == u'-';
        reader.advance();
    }
    for (c = reader.peek(); isDigit(static_cast<char16_t>(c)); c = reader.peek()) {
        addDigit(number, static_cast<char16_t>(c), false);
        reader.advance();
    }
    if (c == u'.') {
        reader.advance();
        for (c = reader.peek(); isDigit(static_cast<char16_t>(c)); c = reader.peek()) {
            addDigit(number, static_cast<char16_t>(c), true);
            reader.advance();
        }
    }

    // An exponent letter counts only with digits after it; otherwise the number ended before it.
    std::int64_t exponent = 0;
    if (c == u'E' || c == u'e' || c == u'D' || c == u'd') {
        reader.advance();
        bool negativeExponent = false;
        c = reader.peek();
        if (c == u'+' || c == u'-') {
            negativeExponent = c == u'-';
            reader.advance();
        }
        for (c = reader.peek(); isDigit(static_cast<char16_t>(c)); c = reader.peek()) {
            addExponentDigit(exponent, static_cast<char16_t>(c));
            reader.advance();
        }
        if (negativeExponent) exponent = -exponent;
    }
    return toDouble(number, exponent);
}

// The rule, for every format:
// - blanks (ASCII white space and the no-break spaces) may surround the number;
// - then an optional + or -, then digits 0-9 only;
// - the decimal separator is the format's one and, in every format, also the comma: the key
//   filter turns every typed character but a digit into a comma, so «12,5» has to mean 12.5
//   even where the point is the decimal separator. At most one decimal separator in all, with
//   digits on at least one side of it;
// - the group separator counts only when it is not a decimal separator (so an English format
//   has no grouping), only in the integer part, and only as real grouping: the first group 1 to
//   3 digits, every further group exactly 3. «1.5» in an Italian format is thus no number here
//   and the caller falls back to its leading number, 1.5, instead of reading 15;
// - an optional exponent, E or e, an optional sign and at least one digit.
namespace {

struct WrittenNumber {
    Decimal number;
    std::int64_t exponent = 0;
};

// The text read by the rule above, before its size is looked at.
std::optional<WrittenNumber> readLocaleNumber(std::u16string_view text, NumberFormat format) {
    while (!text.empty() && isLocaleBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isLocaleBlank(text.back())) text.remove_suffix(1);

    const auto isDecimalSeparator = [&format](char16_t c) {
        return c == format.decimalSeparator || c == u',';
    };
    const bool grouping = !isDecimalSeparator(format.groupSeparator);

    Decimal number;
    std::size_t i = 0;
    const std::size_t size = text.size();
    if (i < size && (text[i] == u'+' || text[i] == u'-')) {
        number.negative = text[i] == u'-';
        ++i;
    }

    int digitsInGroup = 0;
    bool grouped = false;
    for (; i < size; ++i) {
        const char16_t c = text[i];
        if (isDigit(c)) {
            addDigit(number, c, false);
            ++digitsInGroup;
        } else if (grouping && c == format.groupSeparator) {
            if (digitsInGroup == 0 || digitsInGroup > 3 || (grouped && digitsInGroup != 3)) {
                return std::nullopt;
            }
            grouped = true;
            digitsInGroup = 0;
        } else {
            break;
        }
    }
    if (grouped && digitsInGroup != 3) return std::nullopt;

    if (i < size && isDecimalSeparator(text[i])) {
        for (++i; i < size && isDigit(text[i]); ++i) addDigit(number, text[i], true);
    }
    if (!number.anyDigit) return std::nullopt;

    std::int64_t exponent = 0;
    if (i < size && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < size && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        if (i == size || !isDigit(text[i])) return std::nullopt;
        for (; i < size && isDigit(text[i]); ++i) addExponentDigit(exponent, text[i]);
        if (negativeExponent) exponent = -exponent;
    }
    if (i != size) return std::nullopt;
    return WrittenNumber{number, exponent};
}

}  // namespace

std::optional<double> LocaleNumber(std::u16string_view text, NumberFormat format) {
    const std::optional<WrittenNumber> written = readLocaleNumber(text, format);
    if (!written) return std::nullopt;
    return toDouble(written->number, written->exponent);
}

bool IsLocaleNumberText(std::u16string_view text, NumberFormat format) {
    return readLocaleNumber(text, format).has_value();
}

std::u16string NumberText(double value, NumberFormat format) {
    // Never produced by the app's own arithmetic; written so that no reader takes them for
    // numbers (LocaleNumber rejects them, LeadingNumber reads 0).
    if (std::isnan(value)) return u"NAN";
    if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
    if (value == 0.0) return u"0";

    // to_chars rounds correctly and, unlike printf, ignores the C locale.
    constexpr int kSignificantDigits = 15;
    std::array<char, 40> buffer{};
    const char* const end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::abs(value),
                      std::chars_format::scientific, kSignificantDigits - 1)
            .ptr;
    // buffer: d.dddddddddddddde±xx
    const std::string_view written(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t exponentMark = written.find('e');
    std::array<char, kSignificantDigits> digitBuffer{};
    digitBuffer[0] = written[0];
    std::copy(written.begin() + 2, written.begin() + static_cast<std::ptrdiff_t>(exponentMark),
              digitBuffer.begin() + 1);
    std::string_view digits(digitBuffer.data(), digitBuffer.size());
    while (digits.size() > 1 && digits.back() == '0') digits.remove_suffix(1);

    int exponent = 0;
    const char* exponentBegin = written.data() + exponentMark + 1;
    if (*exponentBegin == '+') ++exponentBegin;
    std::from_chars(exponentBegin, end, exponent);

    std::u16string out;
    out.reserve(32);
    if (value < 0) out.push_back(u'-');

    if (exponent < -4 || exponent >= kSignificantDigits) {
        out.push_back(static_cast<char16_t>(digits[0]));
        if (digits.size() > 1) {
            out.push_back(format.decimalSeparator);
            appendAscii(out, digits.substr(1));
        }
        out.push_back(u'E');
        out.push_back(exponent < 0 ? u'-' : u'+');
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) out.push_back(u'0');
        std::array<char, 8> exponentDigits{};
        const char* exponentEnd =
            std::to_chars(exponentDigits.data(), exponentDigits.data() + exponentDigits.size(),
                          magnitude)
                .ptr;
        appendAscii(
            out, std::string_view(exponentDigits.data(),
                                  static_cast<std::size_t>(exponentEnd - exponentDigits.data())));
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        appendAscii(out, digits.substr(0, integerDigits));
        for (std::size_t i = digits.size(); i < integerDigits; ++i) out.push_back(u'0');
        if (digits.size() > integerDigits) {
            out.push_back(format.decimalSeparator);
            appendAscii(out, digits.substr(integerDigits));
        }
    } else {
        out.push_back(u'0');
        out.push_back(format.decimalSeparator);
        out.append(static_cast<std::size_t>(-exponent - 1), u'0');
        appendAscii(out, digits);
    }
    return out;
}

}  // namespace quilvane
