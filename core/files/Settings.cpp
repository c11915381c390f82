#include "files/Settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>

#include "files/PathNames.h"
#include "files/TextFile.h"
#include "table/ViewGeometry.h"
#include "text/Cp932.h"
#include "text/Error.h"
#include "text/IntegerText.h"

namespace tabulon {

namespace {

// The lines of one settings file, read in order. A missing or unreadable file
// has no lines.
class SettingsLines {
  public:
    explicit SettingsLines(const std::string& path) {
        try {
            bytes_ = ReadFileBytes(path, kLargestSettingsFile);
        } catch (const Error&) {
        }
        reader_.emplace(bytes_);
    }

    std::optional<std::string_view> Next() {
        std::string_view line;
        if (!reader_->Next(line)) return std::nullopt;
        return line;
    }

    // The next line as an integer, read after `prefix`; nothing if the line is
    // missing or no integer.
    std::optional<int32_t> NextInteger(std::string_view prefix = {}) {
        const auto line = Next();
        if (!line) return std::nullopt;
        std::string text(prefix);
        text.append(*line);
        return ParseInteger(text);
    }

  private:
    FileBytes bytes_;
    std::optional<LineReader> reader_;
};

bool WriteLines(const std::string& path, std::initializer_list<std::string_view> lines) {
    return WriteSettingsLines(path, std::vector<std::string>(lines.begin(), lines.end()));
}

// Lines of font.ini in order, each applied as far as they go.
void ApplyFontSettings(SettingsLines& lines, FontDesc& font) {
    auto value = lines.NextInteger();
    if (!value) return;
    font.charset = *value & 0xFF;
    // The colour is written as bare hexadecimal digits.
    if (!(value = lines.NextInteger("$"))) return;
    font.color = *value;
    if (!(value = lines.NextInteger())) return;
    font.SetHeight(*value);
    const auto face = lines.Next();
    if (!face) return;
    font.faceName = std::string(*face);
    // Read after the height, the size is the one that counts.
    if (!(value = lines.NextInteger())) return;
    font.SetSize(*value);
    if (const auto style = lines.Next()) {
        font.style = FontStyleFromText(*style);
    }
}

}  // namespace

WindowBounds SanitizedBounds(WindowBounds bounds) {
    for (int* side : {&bounds.width, &bounds.height}) {
        *side = std::clamp(*side, 1, kLargestWindowExtent);
    }
    for (int* place : {&bounds.left, &bounds.top}) {
        *place = std::clamp(*place, -kLargestWindowExtent, kLargestWindowExtent);
    }
    return bounds;
}

FontDesc SanitizedFont(FontDesc font) {
    const int pixels =
        std::clamp(std::abs(std::max(font.Height(), -INT32_MAX)), 1, kLargestFontPixels);
    font.SetHeight(font.Height() > 0 ? pixels : -pixels);
    if (font.faceName.size() > kLongestFaceName) {
        size_t end = 0;
        for (size_t next = 0; next <= kLongestFaceName;) {
            end = next;
            next += IsCp932LeadByte(static_cast<unsigned char>(font.faceName[next])) ? 2 : 1;
        }
        font.faceName.resize(end);
    }
    return font;
}

int SanitizedRowHeight(int pixels) {
    return std::clamp(pixels, kSmallestViewSize, kLargestViewSize);
}

SettingsFiles SettingsFilesIn(std::string_view runDir) {
    const std::string data = std::string(runDir) + kPathSeparator + "data" + kPathSeparator;
    return {data + "form.ini", data + "font.ini", data + "height.ini", data + "recent.ini",
            data + "card.ini"};
}

std::string FontStyleToText(unsigned style) {
    int number = 10000;
    if (style & kBold) number += 1;
    if (style & kItalic) number += 10;
    if (style & kUnderline) number += 100;
    if (style & kStrikeOut) number += 1000;
    return std::to_string(number);
}

unsigned FontStyleFromText(std::string_view text) {
    const auto on = [&](size_t index) { return text.size() > index && text[index] == '1'; };
    unsigned style = 0;
    if (on(4)) style |= kBold;
    if (on(3)) style |= kItalic;
    if (on(2)) style |= kUnderline;
    if (on(1)) style |= kStrikeOut;
    return style;
}

void ReadFormSettings(const std::string& path, WindowBounds& bounds) {
    SettingsLines lines(path);
    for (int* field : {&bounds.width, &bounds.height, &bounds.left, &bounds.top}) {
        const auto value = lines.NextInteger();
        if (!value) break;
        *field = *value;
    }
    bounds = SanitizedBounds(bounds);
}

void ReadFontSettings(const std::string& path, FontDesc& font) {
    SettingsLines lines(path);
    ApplyFontSettings(lines, font);
    font = SanitizedFont(font);
}

void ReadHeightSettings(const std::string& path, int& rowHeight) {
    if (const auto value = SettingsLines(path).NextInteger()) {
        rowHeight = SanitizedRowHeight(*value);
    }
}

bool WriteFormSettings(const std::string& path, const WindowBounds& shown) {
    const WindowBounds bounds = SanitizedBounds(shown);
    return WriteLines(path, {std::to_string(bounds.width), std::to_string(bounds.height),
                             std::to_string(bounds.left), std::to_string(bounds.top)});
}

bool WriteFontSettings(const std::string& path, const FontDesc& chosen) {
    const FontDesc font = SanitizedFont(chosen);
    char color[9];
    std::snprintf(color, sizeof color, "%08X", static_cast<uint32_t>(font.color));
    return WriteLines(
        path, {std::to_string(font.charset), color, std::to_string(font.Height()), font.faceName,
               std::to_string(font.Size()), FontStyleToText(font.style)});
}

bool WriteHeightSettings(const std::string& path, int rowHeight) {
    return WriteLines(path, {std::to_string(SanitizedRowHeight(rowHeight))});
}

std::vector<std::string> ReadSettingsLines(const std::string& path) {
    SettingsLines lines(path);
    std::vector<std::string> read;
    while (const auto line = lines.Next()) {
        read.emplace_back(*line);
    }
    return read;
}

bool WriteSettingsLines(const std::string& path, const std::vector<std::string>& lines) {
    try {
        FileWriter file(path);
        for (const std::string& line : lines) {
            file.WriteLine(line);
        }
        file.Commit();
        return true;
    } catch (const Error&) {
        return false;
    }
}

}  // namespace tabulon
