#pragma once
// The table font as data: what the settings and HTML files store. Height and
// size are one measure at a pixels-per-inch value: setting one sets the other.

#include <cstdint>
#include <string>

namespace tabulon {

enum FontStyle : unsigned {
    kBold = 1,
    kItalic = 2,
    kUnderline = 4,
    kStrikeOut = 8,
};

// The system's window-text colour, named as a system colour (not an RGB value).
inline constexpr int32_t kWindowTextColor = static_cast<int32_t>(0xFF000008u);
inline constexpr int32_t kShiftJisCharset = 128;
// "ＭＳ Ｐゴシック" in cp932.
inline constexpr char kDefaultFaceName[] =
    "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";

class FontDesc {
  public:
    explicit FontDesc(int pixelsPerInch = 96) : pixelsPerInch_(pixelsPerInch) {}

    int32_t charset = kShiftJisCharset;
    int32_t color = kWindowTextColor;
    std::string faceName = kDefaultFaceName;  // cp932 bytes
    unsigned style = 0;                       // FontStyle bits

    int Height() const { return height_; }
    void SetHeight(int height) { height_ = height; }
    int Size() const;
    void SetSize(int points);
    int PixelsPerInch() const { return pixelsPerInch_; }

    bool operator==(const FontDesc&) const = default;

  private:
    int pixelsPerInch_;
    int height_ = -12;
};

}  // namespace tabulon
