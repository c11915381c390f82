#pragma once
// Integer text as every file and dialog reads it: blanks, an optional sign,
// then decimal digits or hexadecimal digits after "$", "x", "X" or "0x", and
// nothing after the digits. Decimal stays within the signed 32-bit range;
// hexadecimal takes any 32-bit pattern (two's complement), so colours written
// as 8 hex digits read back as they were.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

std::optional<int32_t> ParseInteger(std::string_view text);

// The value, or tabulon::Error "'text' は整数ではありません".
int32_t ReadInteger(std::string_view text);

// A count as people read it: "1,067,009". Only the window's texts use it; files
// and the command line keep plain digits.
std::string GroupedDigits(int64_t value);

}  // namespace tabulon
