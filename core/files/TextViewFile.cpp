#include "files/TextViewFile.h"

#include <cstring>

#include "files/TextFile.h"
#include "text/Messages.h"

namespace tabulon {

std::string ReadTextForView(const std::string& path) {
    // One byte past the limit tells a text that is too long, whatever follows.
    FileBytes bytes = ReadFileBytes(path, kTextViewLimit + 1);
    const char* begin = bytes.data();
    const size_t size = strnlen(begin, bytes.size());
    if (size > kTextViewLimit) {
        throw messages::TextTooLongForPane();
    }
    const char* const end = begin + size;
    std::string text;
    text.reserve(size);
    for (const char* p = begin; p < end;) {
        if (const size_t lineEnd = LineEndLength(p, end)) {
            text += '\n';
            p += lineEnd;
        } else {
            text += *p++;
        }
    }
    return text;
}

}  // namespace tabulon
