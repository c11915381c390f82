#include "table/FontDesc.h"

#include <cstdint>

namespace tabulon {

namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t half = (c < 0 ? -c : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace

int FontDesc::Size() const {
    return -MulDiv(height_, 72, pixelsPerInch_);
}

void FontDesc::SetSize(int points) {
    height_ = -MulDiv(points, pixelsPerInch_, 72);
}

}  // namespace tabulon
