#include "Settings.h"

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <optional>

#include "Error.h"
#include "IntegerText.h"
#include "PathNames.h"
#include "TextFile.h"

namespace tabulon {

namespace {

// Hands the file's lines, in order, to `apply` until it returns false or the
// lines run out. A missing or unreadable file applies nothing.
void ReadLines(const std::string& path, const std::function<bool(int, std::string_view)>& apply) {
    FileBytes bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const Error&) {
        return;
    }
    LineReader lines(bytes);
    std::string_view line;
    for (int index = 0; lines.Next(line) && apply(index, line); ++index) {
    }
}

bool WriteLines(const std::string& path, std::initializer_list<std::string_view> lines) {
    try {
        FileWriter file(path);
        for (std::string_view line : lines) {
            file.WriteLine(line);
        }
        file.Commit();
        return true;
    } catch (const Error&) {
        return false;
    }
}

}  // namespace

SettingsFiles SettingsFilesIn(std::string_view runDir) {
    const std::string data = std::string(runDir) + kPathSeparator + "data" + kPathSeparator;
    return {data + "form.ini", data + "font.ini", data + "height.ini"};
}

std::string StyleToText(unsigned style) {
    int number = 10000;
    if (style & kBold)
        number += 1;
    if (style & kItalic)
        number += 10;
    if (style & kUnderline)
        number += 100;
    if (style & kStrikeOut)
        number += 1000;
    return std::to_string(number);
}

unsigned StyleFromText(std::string_view text) {
    const auto on = [&](size_t index) { return text.size() > index && text[index] == '1'; };
    unsigned style = 0;
    if (on(4))
        style |= kBold;
    if (on(3))
        style |= kItalic;
    if (on(2))
        style |= kUnderline;
    if (on(1))
        style |= kStrikeOut;
    return style;
}

void ReadFormSettings(const std::string& path, WindowBounds& bounds) {
    int* const fields[] = {&bounds.width, &bounds.height, &bounds.left, &bounds.top};
    ReadLines(path, [&](int index, std::string_view line) {
        const auto value = ParseInteger(line);
        if (index >= 4 || !value)
            return false;
        *fields[index] = *value;
        return index < 3;
    });
}

void ReadFontSettings(const std::string& path, FontDesc& font) {
    ReadLines(path, [&](int index, std::string_view line) {
        std::optional<int32_t> value;
        switch (index) {
            case 0:
                if (!(value = ParseInteger(line)))
                    return false;
                font.charset = *value & 0xFF;
                return true;
            case 1:
                if (!(value = ParseInteger("$" + std::string(line))))
                    return false;
                font.color = *value;
                return true;
            case 2:
                if (!(value = ParseInteger(line)))
                    return false;
                font.SetHeight(*value);
                return true;
            case 3:
                font.faceName = std::string(line);
                return true;
            case 4:
                if (!(value = ParseInteger(line)))
                    return false;
                font.SetSize(*value);
                return true;
            case 5:
                font.style = StyleFromText(line);
                return false;
            default:
                return false;
        }
    });
}

void ReadHeightSettings(const std::string& path, int& rowHeight) {
    ReadLines(path, [&](int, std::string_view line) {
        if (const auto value = ParseInteger(line))
            rowHeight = *value;
        return false;
    });
}

bool WriteFormSettings(const std::string& path, const WindowBounds& bounds) {
    return WriteLines(path, {std::to_string(bounds.width), std::to_string(bounds.height),
                             std::to_string(bounds.left), std::to_string(bounds.top)});
}

bool WriteFontSettings(const std::string& path, const FontDesc& font) {
    char color[9];
    std::snprintf(color, sizeof color, "%08X", static_cast<uint32_t>(font.color));
    return WriteLines(path, {std::to_string(font.charset), color, std::to_string(font.Height()),
                             font.faceName, std::to_string(font.Size()), StyleToText(font.style)});
}

bool WriteHeightSettings(const std::string& path, int rowHeight) {
    return WriteLines(path, {std::to_string(rowHeight)});
}

}  // namespace tabulon
