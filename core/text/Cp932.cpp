#include "text/Cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <cstdio>
#include <memory>

#include "text/Error.h"

namespace tabulon {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter OpenCp932() {
    UErrorCode status = U_ZERO_ERROR;
    Converter conv(ucnv_open("windows-31j", &status));
    if (U_FAILURE(status)) {
        throw Error(std::string("cp932 converter unavailable: ") + u_errorName(status));
    }
    return conv;
}

// Every illegal or unassigned byte sequence becomes exactly one U+FFFD.
void ToUnicodeReplacement(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                          UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    *status = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, status);
}

// Records the code point and writes nothing in its place.
void FromUnicodeRecorder(const void* context, UConverterFromUnicodeArgs*, const UChar*, int32_t,
                         UChar32 codePoint, UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    *status = U_ZERO_ERROR;
    auto* list = static_cast<std::vector<char32_t>*>(const_cast<void*>(context));
    list->push_back(static_cast<char32_t>(codePoint));
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out(utf8.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) {
        throw Error(std::string("UTF-8 conversion failed: ") + u_errorName(status));
    }
    out.resize(static_cast<size_t>(length));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out(utf16.size() * 3 + 1, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf16.data(),
                       static_cast<int32_t>(utf16.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) {
        throw Error(std::string("UTF-8 conversion failed: ") + u_errorName(status));
    }
    out.resize(static_cast<size_t>(length));
    return out;
}

}  // namespace

// ICU's windows-31j swaps the control codes 0x1A, 0x1C and 0x7F the IBM way;
// cp932 keeps 0x00-0x7F as they are. So only runs of non-ASCII characters go
// through ICU, and ASCII is copied both ways.

std::string Cp932ToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size());
    Converter conv;
    std::u16string utf16;
    const auto decodeRun = [&](std::string_view run) {
        if (!conv) {
            conv = OpenCp932();
            UErrorCode status = U_ZERO_ERROR;
            ucnv_setToUCallBack(conv.get(), ToUnicodeReplacement, nullptr, nullptr, nullptr,
                                &status);
        }
        ucnv_resetToUnicode(conv.get());
        UErrorCode status = U_ZERO_ERROR;
        utf16.resize(run.size() + 1);
        const int32_t length =
            ucnv_toUChars(conv.get(), utf16.data(), static_cast<int32_t>(utf16.size()), run.data(),
                          static_cast<int32_t>(run.size()), &status);
        if (U_FAILURE(status)) {
            throw Error(std::string("cp932 decoding failed: ") + u_errorName(status));
        }
        out += Utf16ToUtf8(std::u16string_view(utf16.data(), static_cast<size_t>(length)));
    };
    size_t i = 0;
    while (i < cp932.size()) {
        if (static_cast<unsigned char>(cp932[i]) < 0x80) {
            out += cp932[i++];
            continue;
        }
        // A run of whole non-ASCII characters: a lead byte takes its trail
        // byte along only when that byte can be one.
        const size_t start = i;
        while (i < cp932.size() && static_cast<unsigned char>(cp932[i]) >= 0x80) {
            const bool pair = IsCp932LeadByte(static_cast<unsigned char>(cp932[i])) &&
                              i + 1 < cp932.size() &&
                              IsCp932TrailByte(static_cast<unsigned char>(cp932[i + 1]));
            i += pair ? 2 : 1;
        }
        decodeRun(cp932.substr(start, i - start));
    }
    return out;
}

namespace {

// Linux input methods and UTF-8 Japanese text write these seven characters
// with the JIS table's code points; Microsoft's table, and so cp932, has them
// under others. They are the same characters, so they are taken as such.
char16_t MicrosoftForm(char16_t c) {
    switch (c) {
        case 0x301C:
            return 0xFF5E;  // 〜 wave dash -> ～, 0x8160
        case 0x2016:
            return 0x2225;  // ‖ double vertical line -> ∥, 0x8161
        case 0x2212:
            return 0xFF0D;  // − minus sign -> －, 0x817C
        case 0x00A2:
            return 0xFFE0;  // ¢ -> ￠, 0x8191
        case 0x00A3:
            return 0xFFE1;  // £ -> ￡, 0x8192
        case 0x00AC:
            return 0xFFE2;  // ¬ -> ￢, 0x81CA
        case 0x2014:
            return 0x2015;  // — em dash -> ―, 0x815C
        default:
            return c;
    }
}

}  // namespace

Cp932Encoding Utf8ToCp932(std::string_view utf8) {
    Cp932Encoding result;
    std::u16string utf16 = Utf8ToUtf16(utf8);
    for (char16_t& c : utf16) {
        c = MicrosoftForm(c);
    }
    result.bytes.reserve(utf16.size() * 2);
    Converter encoder;
    Converter decoder;
    std::string buffer;
    std::u16string check;
    std::vector<char32_t> unmappable;
    // Encodes a run of UTF-16 and tells whether every character of it came
    // back from the bytes as itself: ICU silently takes a few private-use
    // code points to other characters, which is never wanted.
    const auto encode = [&](std::u16string_view run) {
        if (!encoder) {
            encoder = OpenCp932();
            decoder = OpenCp932();
            UErrorCode status = U_ZERO_ERROR;
            ucnv_setFromUCallBack(encoder.get(), FromUnicodeRecorder, &unmappable, nullptr, nullptr,
                                  &status);
        }
        unmappable.clear();
        ucnv_resetFromUnicode(encoder.get());
        UErrorCode status = U_ZERO_ERROR;
        buffer.resize(run.size() * 2 + 1);
        const int32_t length =
            ucnv_fromUChars(encoder.get(), buffer.data(), static_cast<int32_t>(buffer.size()),
                            run.data(), static_cast<int32_t>(run.size()), &status);
        if (U_FAILURE(status)) {
            throw Error(std::string("cp932 encoding failed: ") + u_errorName(status));
        }
        buffer.resize(static_cast<size_t>(length));
        if (!unmappable.empty()) {
            return false;
        }
        ucnv_resetToUnicode(decoder.get());
        check.resize(run.size() + 1);
        const int32_t decoded =
            ucnv_toUChars(decoder.get(), check.data(), static_cast<int32_t>(check.size()),
                          buffer.data(), length, &status);
        return U_SUCCESS(status) &&
               run == std::u16string_view(check.data(), static_cast<size_t>(decoded));
    };
    size_t i = 0;
    while (i < utf16.size()) {
        if (utf16[i] < 0x80) {
            result.bytes += static_cast<char>(utf16[i++]);
            continue;
        }
        const size_t start = i;
        while (i < utf16.size() && utf16[i] >= 0x80)
            ++i;
        const std::u16string_view run(utf16.data() + start, i - start);
        if (encode(run)) {
            result.bytes += buffer;
            continue;
        }
        // Something in the run has no faithful form: character by character,
        // keeping what has one and listing the rest.
        size_t k = 0;
        while (k < run.size()) {
            const size_t width =
                U16_IS_LEAD(run[k]) && k + 1 < run.size() && U16_IS_TRAIL(run[k + 1]) ? 2 : 1;
            const std::u16string_view one = run.substr(k, width);
            if (encode(one)) {
                result.bytes += buffer;
            } else {
                UChar32 c = one[0];
                if (width == 2) {
                    c = U16_GET_SUPPLEMENTARY(one[0], one[1]);
                }
                result.unmappable.push_back(static_cast<char32_t>(c));
            }
            k += width;
        }
    }
    return result;
}

std::string Utf8ToCp932OrThrow(std::string_view utf8) {
    Cp932Encoding encoded = Utf8ToCp932(utf8);
    if (!encoded.ok()) {
        char32_t c = encoded.unmappable.front();
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
        std::u16string one;
        if (c != 0xFFFD) {
            UChar units[2];
            int32_t n = 0;
            U16_APPEND_UNSAFE(units, n, static_cast<UChar32>(c));
            one.assign(units, units + n);
        }
        throw Error("「" + Utf16ToUtf8(one) + "」(" + buffer + ") は Shift-JIS で表せません");
    }
    return std::move(encoded.bytes);
}

namespace {

Cp932Tables MakeCp932Tables() {
    Cp932Tables tables;
    tables.toUnicode.assign(0x10000, 0);
    tables.fromUnicode.assign(0x10000, 0);
    for (char16_t c = 1; c < 0x80; ++c) {
        tables.fromUnicode[c] = c;
    }
    Converter decoder = OpenCp932();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(decoder.get(), ToUnicodeReplacement, nullptr, nullptr, nullptr, &status);
    // How the converter decodes `bytes`: one character, or 0 when it takes
    // them for more than one.
    const auto decodeOne = [&](const char* bytes, int32_t length) -> char16_t {
        UChar out[4];
        UErrorCode error = U_ZERO_ERROR;
        ucnv_resetToUnicode(decoder.get());
        const int32_t n = ucnv_toUChars(decoder.get(), out, 4, bytes, length, &error);
        return U_SUCCESS(error) && n == 1 ? static_cast<char16_t>(out[0]) : u'\0';
    };
    for (unsigned b = 0; b < 0x100; ++b) {
        const char byte = static_cast<char>(b);
        tables.toUnicode[b] = b < 0x80 ? static_cast<char16_t>(b) : decodeOne(&byte, 1);
        if (!IsCp932LeadByte(static_cast<unsigned char>(b))) continue;
        for (unsigned t = 0x40; t <= 0xFC; ++t) {
            const char pair[2] = {byte, static_cast<char>(t)};
            tables.toUnicode[b << 8 | t] = decodeOne(pair, 2);
        }
    }

    // Every character some bytes decode to, encoded by the converter and kept
    // when its bytes decode back to it, as Utf8ToCp932 keeps characters.
    Converter encoder = OpenCp932();
    std::vector<char32_t> unmappable;
    ucnv_setFromUCallBack(encoder.get(), FromUnicodeRecorder, &unmappable, nullptr, nullptr,
                          &status);
    for (unsigned unit = 0x80; unit < 0x10000; ++unit) {
        const char16_t c = tables.toUnicode[unit];
        if (c < 0x80 || c == 0xFFFD || tables.fromUnicode[c] != 0) continue;
        const UChar one = c;
        char bytes[4];
        UErrorCode error = U_ZERO_ERROR;
        unmappable.clear();
        ucnv_resetFromUnicode(encoder.get());
        const int32_t n = ucnv_fromUChars(encoder.get(), bytes, 4, &one, 1, &error);
        if (U_FAILURE(error) || !unmappable.empty() || n < 1 || n > 2) continue;
        const auto lead = static_cast<unsigned char>(bytes[0]);
        const unsigned form = n == 1 ? lead : lead << 8 | static_cast<unsigned char>(bytes[1]);
        if (tables.toUnicode[form] == c) tables.fromUnicode[c] = static_cast<uint16_t>(form);
    }
    for (char16_t jis : std::u16string_view(u"\u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014")) {
        tables.fromUnicode[jis] = tables.fromUnicode[MicrosoftForm(jis)];
    }
    return tables;
}

}  // namespace

const Cp932Tables& Cp932TablesOnce() {
    static const Cp932Tables tables = MakeCp932Tables();
    return tables;
}

}  // namespace tabulon
