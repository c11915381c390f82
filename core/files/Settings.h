#pragma once
// The settings files (form.ini, font.ini, height.ini, recent.ini and card.ini in data/
// beside the executable): one value per line. Reading applies values one by one and
// stops silently at the first missing or malformed line of a file; writing
// skips silently a file that cannot be written. Nothing here ever reports.
// Only a regular file of at most kLargestSettingsFile bytes is read, and every
// value is brought within bounds before it is used or written back: another
// program or a damaged disk may have put anything there.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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
inline constexpr size_t kLargestSettingsFile = size_t{64} << 10;
// Window sides and positions beyond any screen.
inline constexpr int kLargestWindowExtent = 16384;
inline constexpr int kLargestFontPixels = 1000;
inline constexpr size_t kLongestFaceName = 255;  // bytes, whole characters

WindowBounds SanitizedBounds(WindowBounds bounds);
// Height within 1 .. kLargestFontPixels pixels either sign, the face name
// within kLongestFaceName bytes.
FontDesc SanitizedFont(FontDesc font);
// Within the sizes the grid draws (1 .. 1000 pixels).
int SanitizedRowHeight(int pixels);

struct SettingsFiles {
    std::string form;
    std::string font;
    std::string height;
    std::string recent;
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

// A file that keeps a list, one entry a line: its lines in order (none when it
// is missing or unreadable), and writing them back.
std::vector<std::string> ReadSettingsLines(const std::string& path);
bool WriteSettingsLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace tabulon
