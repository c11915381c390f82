#pragma once
// No cell or item name holds a line break: typed and pasted texts lose every
// CR LF pair, lone CR and lone LF, the pieces joined directly. In cp932 these
// bytes are never part of a double-byte character, so bytes can be dropped.

#include <string>
#include <string_view>

namespace tabulon {

std::string RemoveLineBreaks(std::string_view text);

}  // namespace tabulon
