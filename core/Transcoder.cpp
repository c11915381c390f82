#include "Transcoder.h"

#include <array>
#include <cstring>

#include "Utf8Sequence.h"

namespace tabulon {

namespace {

// The seven characters with two Unicode forms, in FileEncoding::jisForms'
// order: their cp932 bytes, the JIS code points, Microsoft's code points.
constexpr std::array<uint16_t, 7> kSevenForms = {0x8160, 0x8161, 0x817C, 0x8191,
                                                 0x8192, 0x81CA, 0x815C};
constexpr std::array<char32_t, 7> kJisCodePoints = {0x301C, 0x2016, 0x2212, 0x00A2,
                                                    0x00A3, 0x00AC, 0x2014};

int SevenIndex(uint16_t form) {
    for (size_t i = 0; i < kSevenForms.size(); ++i) {
        if (kSevenForms[i] == form) return static_cast<int>(i);
    }
    return -1;
}

// Writes cp932 at `w`, which never runs ahead of what has been read.
class Cp932Output {
  public:
    Cp932Output(const Cp932Tables& tables, char* w) : tables_(tables), w_(w) {}

    char* position() const { return w_; }
    void Ascii(char c) { *w_++ = c; }
    void AsciiWord(uint64_t word) {
        std::memcpy(w_, &word, 8);
        w_ += 8;
    }
    void Unreadable(Transcoder::Decoded& result) {
        *w_++ = Transcoder::kUnreadableMark;
        result.unreadable = true;
    }
    // A non-ASCII character of at least two bytes in the file.
    void Character(char32_t c, Transcoder::Decoded& result) {
        const uint16_t form = c < 0x10000 ? tables_.fromUnicode[c] : 0;
        if (form == 0) {
            std::memcpy(w_, Transcoder::kUnheldMark.data(), 2);
            w_ += 2;
            result.unheld.push_back(c);
        } else if (form < 0x100) {
            *w_++ = static_cast<char>(form);
        } else {
            *w_++ = static_cast<char>(form >> 8);
            *w_++ = static_cast<char>(form & 0xFF);
            if ((form >> 8) == 0x81) NoteForm(form, c);
        }
    }
    uint8_t JisForms() const {
        uint8_t bits = 0;
        for (size_t i = 0; i < jis_.size(); ++i) {
            if (jis_[i] > microsoft_[i]) bits |= static_cast<uint8_t>(1u << i);
        }
        return bits;
    }

  private:
    void NoteForm(uint16_t form, char32_t c) {
        const int i = SevenIndex(form);
        if (i < 0) return;
        ++(c == kJisCodePoints[static_cast<size_t>(i)] ? jis_ : microsoft_)[static_cast<size_t>(i)];
    }

    const Cp932Tables& tables_;
    char* w_;
    std::array<size_t, 7> jis_{};
    std::array<size_t, 7> microsoft_{};
};

bool AsciiWithoutNul(uint64_t word) {
    constexpr uint64_t kHigh = 0x8080808080808080u;
    constexpr uint64_t kOnes = 0x0101010101010101u;
    return (word & kHigh) == 0 && ((word - kOnes) & ~word & kHigh) == 0;
}

void DecodeUtf8(const unsigned char* r, const unsigned char* end, Cp932Output& out,
                Transcoder::Decoded& result) {
    while (r < end) {
        if (end - r >= 8) {
            uint64_t word;
            std::memcpy(&word, r, 8);
            if (AsciiWithoutNul(word)) {
                out.AsciiWord(word);
                r += 8;
                continue;
            }
        }
        if (*r < 0x80) {
            if (*r == 0) return;
            out.Ascii(static_cast<char>(*r++));
            continue;
        }
        char32_t c;
        if (const size_t length = ReadUtf8Sequence(r, end, c)) {
            r += length;
            out.Character(c, result);
        } else {
            ++r;
            out.Unreadable(result);
        }
    }
}

void DecodeUtf16(const unsigned char* r, const unsigned char* end, bool littleEndian,
                 Cp932Output& out, Transcoder::Decoded& result) {
    const auto unitAt = [&](const unsigned char* p) {
        return static_cast<char32_t>(littleEndian ? p[0] | p[1] << 8 : p[0] << 8 | p[1]);
    };
    while (end - r >= 2) {
        const char32_t unit = unitAt(r);
        r += 2;
        if (unit < 0x80) {
            if (unit == 0) return;
            out.Ascii(static_cast<char>(unit));
        } else if (unit >= 0xD800 && unit <= 0xDBFF && end - r >= 2 && unitAt(r) >= 0xDC00 &&
                   unitAt(r) <= 0xDFFF) {
            const char32_t c = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(r) - 0xDC00);
            r += 2;
            out.Character(c, result);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out.Unreadable(result);
        } else {
            out.Character(unit, result);
        }
    }
    if (r < end) out.Unreadable(result);  // half a unit at the end
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        // cp932 decodes to the basic plane only.
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(char32_t c, bool littleEndian, std::string& out) {
    const auto high = static_cast<char>(c >> 8);
    const auto low = static_cast<char>(c & 0xFF);
    out += littleEndian ? low : high;
    out += littleEndian ? high : low;
}

}  // namespace

Transcoder::Transcoder() : tables_(MakeCp932Tables()) {}

Transcoder::Decoded Transcoder::Decode(char* data, size_t size, TextEncoding from) const {
    Decoded result;
    if (from == TextEncoding::ShiftJis) {
        result.size = size;  // cp932 already
        return result;
    }
    const std::string_view mark = ByteOrderMark(from);
    const size_t skip = std::string_view(data, size).starts_with(mark) ? mark.size() : 0;
    const auto* r = reinterpret_cast<const unsigned char*>(data) + skip;
    const auto* end = reinterpret_cast<const unsigned char*>(data) + size;
    Cp932Output out(tables_, data);
    if (from == TextEncoding::Utf16Le || from == TextEncoding::Utf16Be) {
        DecodeUtf16(r, end, from == TextEncoding::Utf16Le, out, result);
    } else {
        DecodeUtf8(r, end, out, result);
    }
    result.size = static_cast<size_t>(out.position() - data);
    data[result.size] = '\0';
    result.jisForms = out.JisForms();
    return result;
}

void Transcoder::Encode(std::string_view cp932, const FileEncoding& to, std::string& out) const {
    const bool utf16 = to.encoding == TextEncoding::Utf16Le || to.encoding == TextEncoding::Utf16Be;
    const bool littleEndian = to.encoding == TextEncoding::Utf16Le;
    out.reserve(out.size() + cp932.size() * (utf16 ? 2 : 3) / 2);
    const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
    const auto* end = p + cp932.size();
    while (p < end) {
        char32_t c = *p;
        if (c >= 0x80) {
            const unsigned pair = end - p >= 2 ? (unsigned{p[0]} << 8 | p[1]) : 0;
            const char16_t decoded = pair ? tables_.toUnicode[pair] : u'\0';
            if (IsCp932LeadByte(p[0]) && decoded != 0) {
                c = decoded;
                if (to.jisForms && p[0] == 0x81) {
                    const int i = SevenIndex(static_cast<uint16_t>(pair));
                    if (i >= 0 && (to.jisForms >> i & 1))
                        c = kJisCodePoints[static_cast<size_t>(i)];
                }
                ++p;
            } else {
                c = tables_.toUnicode[*p] ? tables_.toUnicode[*p] : 0xFFFD;
            }
        }
        ++p;
        if (utf16) {
            AppendUtf16(c, littleEndian, out);
        } else {
            AppendUtf8(c, out);
        }
    }
}

}  // namespace tabulon
