#pragma once

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

}  // namespace quilvane::test
