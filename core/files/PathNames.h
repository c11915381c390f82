#pragma once
// Path pieces as the file commands see them. They work on full paths; the
// folder separator is the platform's ('/'), so a name without any separator
// has no folder, no short name and no extension.

#include <string>
#include <string_view>

namespace tabulon {

inline constexpr char kPathSeparator = '/';

// The text after the last "." if that "." follows the last separator; else empty.
std::string FileExtension(std::string_view path);
// The file name without folder and extension; empty without a separator.
std::string FileStem(std::string_view path);
// The text before the last separator (the whole text if it has none).
std::string FolderOf(std::string_view path);

}  // namespace tabulon
