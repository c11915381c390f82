#include "text/LineBreaks.h"

#include <algorithm>

namespace tabulon {

std::string RemoveLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(result),
                 [](char c) { return c != '\r' && c != '\n'; });
    return result;
}

}  // namespace tabulon
