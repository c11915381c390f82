#pragma once
// The find dialog's history rule: a search text is added only when no entry
// equals it without regard to the case of ASCII letters.

#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// Compares cp932 texts character by character: single-byte "A"-"Z" and
// "a"-"z" are equal, everything else (trail bytes included) byte for byte, so
// "ア" (0x83 0x41) and "ヂ" (0x83 0x61) stay apart.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

bool InHistory(const std::vector<std::string>& history, std::string_view text);

}  // namespace tabulon
