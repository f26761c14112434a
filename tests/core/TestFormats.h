#pragma once

#include <string>

#include "NumberReference.h"

namespace quilvane::test {

using reference::kArabic;
using reference::kEnglish;
using reference::kFrench;
using reference::kItalian;
using reference::kSwiss;
using reference::printfGeneral;

inline std::u16string repeated(std::u16string_view piece, std::size_t times) {
    std::u16string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

// Names a parameterised case after its row, so that a failure reads as a sentence.
struct RowName {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const {
        return info.param.name;
    }
};

}  // namespace quilvane::test
