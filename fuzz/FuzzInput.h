#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "NumberConversions.h"
#include "NumberReference.h"

namespace quilvane::fuzz {

// A broken invariant is a finding: name it and stop, so libFuzzer keeps the input.
inline void require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}

using reference::kArabic;
using reference::kEnglish;
using reference::kFrench;
using reference::kItalian;
using reference::kSwiss;

// Hands out the fuzzer's bytes as formats, texts and doubles. The leading control bytes are
// chosen so that seed files can be plain text: «00 12,5» is the Italian format, then «12,5»
// with one byte per character (an odd second byte reads the rest as UTF-16 instead).
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t takeByte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    char16_t takeUnit() {
        const auto low = takeByte();
        return static_cast<char16_t>(low | (takeByte() << 8));
    }

    NumberFormat takeFormat() {
        switch (takeByte() % 8) {
            case 0:
                return kItalian;
            case 1:
                return kEnglish;
            case 2:
                return kFrench;
            case 3:
                return kSwiss;
            case 4:
                return kArabic;
            case 5:
                return {u'.', u'.'};
            case 6:
                return {u',', u','};
            default: {
                const char16_t decimal = takeUnit();
                return {decimal, takeUnit()};
            }
        }
    }

    // The rest of the input as text.
    std::u16string takeText() {
        const bool wide = (takeByte() & 1) != 0;
        if (m_pos < m_size && m_data[m_pos] == ' ') ++m_pos;  // the seeds' separating space
        std::u16string text;
        if (wide) {
            while (m_size - m_pos >= 2) text.push_back(takeUnit());
        } else {
            while (m_pos < m_size) text.push_back(takeByte());
        }
        return text;
    }

    double takeDouble() {
        unsigned char bytes[sizeof(double)] = {};
        for (unsigned char& byte : bytes) byte = takeByte();
        double value = 0.0;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    bool empty() const { return m_pos >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

}  // namespace quilvane::fuzz
