#pragma once
// The settings files (form.ini, font.ini, height.ini and card.ini in data/
// beside the executable): one value per line. Reading applies values one by one and
// stops silently at the first missing or malformed line of a file; writing
// skips silently a file that cannot be written. Nothing here ever reports.

#include <string>
#include <string_view>

#include "table/FontDesc.h"

namespace tabulon {

struct WindowBounds {
    int width = 383;
    int height = 283;
    int left = 245;
    int top = 100;
    bool operator==(const WindowBounds&) const = default;
};

// Where the card stands until it has been moved: beside the main window.
inline constexpr WindowBounds kDefaultCardBounds{560, 420, 640, 100};

inline constexpr int kDefaultRowHeight = 18;

struct SettingsFiles {
    std::string form;
    std::string font;
    std::string height;
    std::string card;  // the card's bounds, written as form.ini's
};

// The files inside `runDir`/data.
SettingsFiles SettingsFilesIn(std::string_view runDir);

std::string FontStyleToText(unsigned style);
unsigned FontStyleFromText(std::string_view text);

void ReadFormSettings(const std::string& path, WindowBounds& bounds);
void ReadFontSettings(const std::string& path, FontDesc& font);
void ReadHeightSettings(const std::string& path, int& rowHeight);

// Each returns whether the file was written.
bool WriteFormSettings(const std::string& path, const WindowBounds& bounds);
bool WriteFontSettings(const std::string& path, const FontDesc& font);
bool WriteHeightSettings(const std::string& path, int rowHeight);

}  // namespace tabulon
