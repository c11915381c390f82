#include "Cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <cstdio>
#include <memory>

#include "Error.h"

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

std::string Cp932ToUtf8(std::string_view cp932) {
    // Plain ASCII needs no converter; cp932 keeps 0x00-0x7F as they are.
    bool ascii = true;
    for (char c : cp932) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        return std::string(cp932);
    }
    Converter conv = OpenCp932();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(conv.get(), ToUnicodeReplacement, nullptr, nullptr, nullptr, &status);
    std::u16string utf16(cp932.size() + 1, u'\0');
    const int32_t length =
        ucnv_toUChars(conv.get(), utf16.data(), static_cast<int32_t>(utf16.size()), cp932.data(),
                      static_cast<int32_t>(cp932.size()), &status);
    if (U_FAILURE(status)) {
        throw Error(std::string("cp932 decoding failed: ") + u_errorName(status));
    }
    utf16.resize(static_cast<size_t>(length));
    return Utf16ToUtf8(utf16);
}

Cp932Encoding Utf8ToCp932(std::string_view utf8) {
    Cp932Encoding result;
    const std::u16string utf16 = Utf8ToUtf16(utf8);
    Converter conv = OpenCp932();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(conv.get(), FromUnicodeRecorder, &result.unmappable, nullptr, nullptr,
                          &status);
    result.bytes.resize(utf16.size() * 2 + 1);
    const int32_t length =
        ucnv_fromUChars(conv.get(), result.bytes.data(), static_cast<int32_t>(result.bytes.size()),
                        utf16.data(), static_cast<int32_t>(utf16.size()), &status);
    if (U_FAILURE(status)) {
        throw Error(std::string("cp932 encoding failed: ") + u_errorName(status));
    }
    result.bytes.resize(static_cast<size_t>(length));
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

}  // namespace tabulon
