#pragma once

#include <cstdio>
#include <string>

#include "NumberConversions.h"

namespace quilvane::test {

inline constexpr NumberFormat kItalian{u',', u'.'};
inline constexpr NumberFormat kEnglish{u'.', u','};
inline constexpr NumberFormat kFrench{u',', u'\u202F'};
inline constexpr NumberFormat kSwiss{u'.', u'\''};
inline constexpr NumberFormat kArabic{u'\u066B', u'\u066C'};

inline std::u16string repeated(std::u16string_view piece, std::size_t times) {
    std::u16string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

// printf's %.15G in the C locale (nothing here calls setlocale), with the format's separator:
// the reference NumberText must match.
inline std::u16string printfGeneral(double value, NumberFormat format) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::u16string text;
    for (const char* c = buffer; *c != '\0'; ++c)
        text.push_back(*c == '.' ? format.decimalSeparator : static_cast<char16_t>(*c));
    return text == u"-0" ? u"0" : text;
}

// Names a parameterised case after its row, so that a failure reads as a sentence.
struct RowName {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const {
        return info.param.name;
    }
};

}  // namespace quilvane::test
