#include "search/SearchHistory.h"

#include <algorithm>

#include "text/Cp932.h"

namespace tabulon {

namespace {

unsigned char AsciiLower(unsigned char b) {
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

}  // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (IsCp932LeadByte(x) && i + 1 < a.size()) {
            // Lead bytes equal, then the trail bytes must be too.
            if (x != y || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
        } else if (AsciiLower(x) != AsciiLower(y)) {
            return false;
        }
    }
    return true;
}

bool InHistory(const std::vector<std::string>& history, std::string_view text) {
    return std::any_of(history.begin(), history.end(), [&](const std::string& entry) {
        return EqualIgnoringAsciiCase(entry, text);
    });
}

}  // namespace tabulon
