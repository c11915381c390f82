// Any bytes as each of the three settings files: reading never fails, and
// what is read is written and read back the same.

#include "FuzzSupport.h"
#include "TestFiles.h"
#include "files/Settings.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file = fuzz::ScratchFile("settings.ini");
    testing::WriteBytes(file, std::string_view(reinterpret_cast<const char*>(data), size));
    WindowBounds bounds;
    FontDesc font;
    int height = kDefaultRowHeight;
    ReadFormSettings(file, bounds);
    ReadFontSettings(file, font);
    ReadHeightSettings(file, height);
    fuzz::Check(font.charset >= 0 && font.charset <= 255, "character set in range");

    WindowBounds bounds2;
    fuzz::Check(WriteFormSettings(file, bounds), "form written");
    ReadFormSettings(file, bounds2);
    fuzz::Check(bounds2 == bounds, "bounds survive a round trip");
    if (font.faceName.find_first_of("\r\n") == std::string::npos &&
        font.faceName.find('\0') == std::string::npos) {
        FontDesc font2;
        fuzz::Check(WriteFontSettings(file, font), "font written");
        ReadFontSettings(file, font2);
        // The size is stored after the height and is the one that counts, so
        // a height between two sizes comes back as that size's height.
        fuzz::Check(font2.Size() == font.Size(), "font size survives a round trip");
        font2.SetHeight(font.Height());
        fuzz::Check(font2 == font, "font survives a round trip");
    }
    std::remove(file.c_str());
    return 0;
}
