#pragma once

#include <cstdint>

namespace quilvane {

inline constexpr std::int16_t kBackspaceCode = 8;
inline constexpr std::int16_t kCommaCode = 44;

// Digits and Backspace pass; every other typed character becomes a comma, the one separator
// the number boxes know.
constexpr std::int16_t filterTypedCharacter(std::int16_t code) {
    if ((code >= '0' && code <= '9') || code == kBackspaceCode) return code;
    return kCommaCode;
}

}  // namespace quilvane
