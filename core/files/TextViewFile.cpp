#include "files/TextViewFile.h"

#include <cstring>
#include <string_view>

#include "files/TextFile.h"
#include "text/Cp932.h"
#include "text/Messages.h"
#include "text/TextEncoding.h"

namespace tabulon {

namespace {

// Unicode text after its mark, up to its first NUL character, as UTF-8;
// `size` becomes the bytes it took from the start of `bytes`.
std::string UnicodeText(std::string_view bytes, TextEncoding encoding, size_t& size) {
    const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = begin + bytes.size();
    const bool utf16 = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
    const bool littleEndian = encoding == TextEncoding::Utf16Le;
    std::string text;
    text.reserve(bytes.size());
    const auto* p = begin + ByteOrderMark(encoding).size();
    while (p < end) {
        const UnicodeRead read = utf16 ? ReadUtf16(p, end, littleEndian) : ReadUtf8(p, end);
        if (read.c == 0) break;
        AppendUtf8(read.c == kNoCharacter ? kReplacementCharacter : read.c, text);
        p += read.length;
    }
    size = static_cast<size_t>(p - begin);
    return text;
}

}  // namespace

std::string ReadTextForView(const std::string& path) {
    // One byte past the limit tells a text that is too long, whatever follows.
    FileBytes bytes = ReadFileBytes(path, kTextViewLimit + 1);
    const std::string_view file(bytes.data(), bytes.size());
    const TextEncoding encoding = DetectEncoding(file);
    size_t size = 0;
    std::string utf8;
    if (encoding == TextEncoding::ShiftJis) {
        size = strnlen(file.data(), file.size());
        if (size <= kTextViewLimit) utf8 = Cp932ToUtf8(file.substr(0, size));
    } else {
        utf8 = UnicodeText(file, encoding, size);
    }
    if (size > kTextViewLimit) {
        throw messages::TextTooLongForPane();
    }
    const char* const end = utf8.data() + utf8.size();
    std::string text;
    text.reserve(utf8.size());
    for (const char* p = utf8.data(); p < end;) {
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
