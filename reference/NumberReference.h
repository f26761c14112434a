#pragma once

#include <cstdio>
#include <string>

#include "NumberConversions.h"

namespace quilvane::reference {

inline constexpr NumberFormat kItalian{u',', u'.'};
inline constexpr NumberFormat kEnglish{u'.', u','};
inline constexpr NumberFormat kFrench{u',', u'\u202F'};
inline constexpr NumberFormat kSwiss{u'.', u'\''};
inline constexpr NumberFormat kArabic{u'\u066B', u'\u066C'};

// printf's %.15G in the C locale (nothing here calls setlocale), with the format's separator:
// NumberText must match it.
inline std::u16string printfGeneral(double value, NumberFormat format) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::u16string text;
    for (const char* c = buffer; *c != '\0'; ++c)
        text.push_back(*c == '.' ? format.decimalSeparator : static_cast<char16_t>(*c));
    return text == u"-0" ? u"0" : text;
}

}  // namespace quilvane::reference
