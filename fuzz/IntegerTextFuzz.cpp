// Any text as an integer: a value that is read prints back to the same value.

#include <string>

#include "FuzzSupport.h"
#include "text/IntegerText.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = ParseInteger(text);
    if (value) {
        fuzz::Check(ParseInteger(std::to_string(*value)) == value, "decimal round trip");
        fuzz::Check(text.find_first_of("\r\n") == std::string_view::npos,
                    "no line end in an integer");
    }
    return 0;
}
