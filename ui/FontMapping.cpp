#include "FontMapping.h"

#include <QPalette>
#include <cstdlib>

#include "Cp932Text.h"
#include "text/Cp932.h"

QFont ToQFont(const tabulon::FontDesc& desc) {
    QFont font(FromCp932(desc.faceName));
    // A negative height is the character height without internal leading,
    // which is what a pixel size means to Qt.
    font.setPixelSize(std::max(std::abs(desc.Height()), 1));
    font.setBold(desc.style & tabulon::kBold);
    font.setItalic(desc.style & tabulon::kItalic);
    font.setUnderline(desc.style & tabulon::kUnderline);
    font.setStrikeOut(desc.style & tabulon::kStrikeOut);
    return font;
}

void TakeQFont(tabulon::FontDesc& desc, const QFont& chosen) {
    const auto face = tabulon::Utf8ToCp932(chosen.family().toStdString());
    if (face.ok()) {
        desc.faceName = face.bytes;
    }
    if (chosen.pointSize() > 0) {
        desc.SetSize(chosen.pointSize());
    } else if (chosen.pixelSize() > 0) {
        desc.SetHeight(-chosen.pixelSize());
    }
    unsigned style = 0;
    style |= chosen.bold() ? tabulon::kBold : 0u;
    style |= chosen.italic() ? tabulon::kItalic : 0u;
    style |= chosen.underline() ? tabulon::kUnderline : 0u;
    style |= chosen.strikeOut() ? tabulon::kStrikeOut : 0u;
    desc.style = style;
}

QColor TextColor(const tabulon::FontDesc& desc, const QPalette& palette) {
    const auto value = static_cast<uint32_t>(desc.color);
    if (value & 0xFF000000u) {
        return palette.color(QPalette::Text);
    }
    // A colour value is 0x00BBGGRR.
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
