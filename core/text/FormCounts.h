#pragma once
// How often a UTF-8 or UTF-16 file wrote each of the seven characters that
// have a JIS and a Microsoft code point (see kJisCodePoints): a file saves
// each back in the form it used most.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "text/Cp932.h"

namespace tabulon {

struct FormCounts {
    std::array<size_t, 7> jis{};
    std::array<size_t, 7> microsoft{};

    // `form` is the cp932 form of `c`, which may be one of the seven.
    void Note(uint16_t form, char32_t c) {
        const int i = SevenIndex(form);
        if (i < 0) return;
        const auto k = static_cast<size_t>(i);
        ++(c == kJisCodePoints[k] ? jis : microsoft)[k];
    }
    void Add(const FormCounts& other) {
        for (size_t i = 0; i < jis.size(); ++i) {
            jis[i] += other.jis[i];
            microsoft[i] += other.microsoft[i];
        }
    }
    // A bit for each of the seven whose Microsoft form the file wrote more.
    uint8_t MicrosoftForms() const {
        uint8_t bits = 0;
        for (size_t i = 0; i < jis.size(); ++i) {
            if (microsoft[i] > jis[i]) bits |= static_cast<uint8_t>(1u << i);
        }
        return bits;
    }
};

// Whether a cp932 form may be one of the seven, without a branch on the
// common symbols of row 0x81 around them (ー, 「, 」): the seven lie within
// 0x815C .. 0x81CA, and a small table says which of those they are.
inline constexpr uint16_t kSevenFirst = 0x815C;
inline constexpr unsigned kSevenSpan = 0x81CA - kSevenFirst + 1;
inline constexpr std::array<bool, kSevenSpan + 1> kMaySeven = [] {
    std::array<bool, kSevenSpan + 1> may{};
    for (unsigned i = 0; i < kSevenSpan; ++i)
        may[i] = SevenIndex(static_cast<uint16_t>(kSevenFirst + i)) >= 0;
    return may;
}();

inline bool MaySeven(uint16_t form) {
    return kMaySeven[std::min<unsigned>(static_cast<uint16_t>(form - kSevenFirst), kSevenSpan)];
}

}  // namespace tabulon
