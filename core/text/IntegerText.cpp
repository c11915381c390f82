#include "text/IntegerText.h"

#include "text/Messages.h"

namespace tabulon {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view rest = text.substr(i);
    size_t digits = 0;
    bool hex = false;
    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        hex = true;
        digits = 1;
    } else if (rest.starts_with("0x")) {
        hex = true;
        digits = 2;
    }
    if (digits >= rest.size()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (size_t k = digits; k < rest.size(); ++k) {
        const int d =
            hex ? HexDigit(rest[k]) : (rest[k] >= '0' && rest[k] <= '9' ? rest[k] - '0' : -1);
        if (d < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFull) {
            return std::nullopt;
        }
    }
    if (hex) {
        const uint32_t pattern = static_cast<uint32_t>(value);
        const uint32_t signedPattern = negative ? 0u - pattern : pattern;
        return static_cast<int32_t>(signedPattern);
    }
    if (negative) {
        if (value > 0x80000000ull) return std::nullopt;
        return static_cast<int32_t>(-static_cast<int64_t>(value));
    }
    if (value > 0x7FFFFFFFull) return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t ReadInteger(std::string_view text) {
    if (const auto value = ParseInteger(text)) {
        return *value;
    }
    throw messages::NotAnInteger(text);
}

std::string GroupedDigits(int64_t value) {
    const std::string digits = std::to_string(value);
    const size_t sign = value < 0 ? 1 : 0;
    std::string grouped = digits.substr(0, sign);
    for (size_t i = sign; i < digits.size(); ++i) {
        if (i > sign && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace tabulon
