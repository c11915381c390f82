#include "text/Cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "text/InParallel.h"
#include "text/Messages.h"
#include "text/Transcoder.h"
#include "text/Utf8Wide.h"

namespace tabulon {

namespace codec_detail {

size_t BadUtf8Length(const unsigned char* p, const unsigned char* end) {
    const LeadRule rule = kLeadRules[p[0]];
    unsigned low = rule.low;
    unsigned high = rule.high;
    size_t n = 1;
    while (n < rule.length && p + n < end && p[n] >= low && p[n] <= high) {
        ++n;
        low = 0x80;
        high = 0xBF;
    }
    return n;
}

UnicodeRead ReadUtf8Tail(const unsigned char* p, const unsigned char* end) {
    const auto at = [&](std::ptrdiff_t i) { return i < end - p ? unsigned{p[i]} : 0u; };
    const UnicodeRead read = ReadUtf8Bytes(p[0], at(1), at(2), at(3));
    return read.c != kNoCharacter ? read : UnicodeRead{kNoCharacter, BadUtf8Length(p, end)};
}

}  // namespace codec_detail

void AppendUtf8(char32_t c, std::string& out) {
    char bytes[4];
    out.append(bytes, static_cast<size_t>(WriteUtf8(bytes, c) - bytes));
}

namespace {

// Validation as a shift-based state machine on the lead rules: each state is
// a bit offset, and a byte's row holds, at each state's offset, the state
// that byte leads to. One load and one shift per byte, with no branch on the
// byte's kind and no chain through each character's length, so validating is
// several times faster than reading.
struct Wanted {
    unsigned more = 0;  // continuations still wanted, the next in low..high
    unsigned low = 0;
    unsigned high = 0;
    bool operator==(const Wanted&) const = default;
};
constexpr unsigned kAccept = 0;
constexpr unsigned kReject = 6;

// Accept, reject, any one to three continuations, then each lead whose
// second byte has a range of its own.
constexpr std::array<Wanted, 9> kWanted = [] {
    std::array<Wanted, 9> wanted{};
    wanted[1] = {0, 1, 0};
    size_t n = 2;
    for (unsigned more = 1; more <= 3; ++more)
        wanted[n++] = {more, 0x80, 0xBF};
    for (const codec_detail::LeadRule& rule : codec_detail::kLeadRules) {
        const Wanted next{rule.length - 1u, rule.low, rule.high};
        if (rule.length < 2) continue;
        bool known = false;
        for (size_t i = 0; i < n; ++i)
            known = known || wanted[i] == next;
        if (!known) wanted[n++] = next;  // more than nine fails to compile
    }
    return wanted;
}();

constexpr unsigned StateOf(const Wanted& w) {
    for (size_t i = 0; i < kWanted.size(); ++i) {
        if (kWanted[i] == w) return static_cast<unsigned>(6 * i);
    }
    return kReject;
}

constexpr std::array<uint64_t, 256> kUtf8Rows = [] {
    std::array<uint64_t, 256> rows{};
    for (unsigned b = 0; b < 256; ++b) {
        const codec_detail::LeadRule& rule = codec_detail::kLeadRules[b];
        const unsigned first = rule.length == 1 ? kAccept
                               : rule.length == 0
                                   ? kReject
                                   : StateOf({rule.length - 1u, rule.low, rule.high});
        rows[b] = uint64_t{first} << kAccept | uint64_t{kReject} << kReject;
        for (size_t i = 2; i < kWanted.size(); ++i) {
            const Wanted& w = kWanted[i];
            const unsigned next = b < w.low || b > w.high ? kReject
                                  : w.more == 1           ? kAccept
                                                          : StateOf({w.more - 1, 0x80, 0xBF});
            rows[b] |= uint64_t{next} << (6 * i);
        }
    }
    return rows;
}();

// One part of a text, cut where a character begins; gives up early once
// another part has found the text invalid.
Utf8Check CheckUtf8Part(std::string_view text, const std::atomic<bool>& invalid) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    uint64_t state = kAccept;
    unsigned high = 0;
    while (p < end) {
        // Most of a table is ASCII: eight bytes at a time between characters.
        // (NUL is a character here: only the high bits count.)
        uint64_t word = 0;
        if (end - p >= 8) std::memcpy(&word, p, 8);
        if (end - p >= 8 && (state & 63) == kAccept && (word & 0x8080808080808080u) == 0) {
            p += 8;
            continue;
        }
        // A block at a time, then a look whether it failed: a cp932 file with
        // Japanese text fails within its first characters.
        const auto* stop = end - p > 64 ? p + 64 : end;
        for (; p < stop; ++p) {
            high |= *p;
            state = kUtf8Rows[*p] >> (state & 63);
        }
        if ((state & 63) == kReject || invalid.load(std::memory_order_relaxed)) {
            return Utf8Check::Invalid;
        }
    }
    if ((state & 63) != kAccept) return Utf8Check::Invalid;
    return high & 0x80 ? Utf8Check::NonAscii : Utf8Check::Ascii;
}

}  // namespace

Utf8Check CheckUtf8(std::string_view text) {
    // On every core at once, each part cut where a character begins.
    const size_t parts = PartsFor(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::vector<size_t> cuts = CutsAt(text.size(), parts, [&](size_t at) {
        return static_cast<size_t>(Utf8CutNear(bytes + at) - bytes);
    });
    std::vector<Utf8Check> checks(parts);
    std::atomic<bool> invalid = false;
    RunParts(parts, [&](size_t i) {
        const std::string_view part = text.substr(cuts[i], cuts[i + 1] - cuts[i]);
        checks[i] = HasWideUtf8() ? CheckUtf8Wide(part, invalid) : CheckUtf8Part(part, invalid);
        if (checks[i] == Utf8Check::Invalid) invalid = true;
    });
    if (invalid) return Utf8Check::Invalid;
    return std::ranges::find(checks, Utf8Check::NonAscii) != checks.end() ? Utf8Check::NonAscii
                                                                          : Utf8Check::Ascii;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    // Every character in the form cp932 names: Microsoft's for all seven.
    std::string out;
    Transcoder().Encode(cp932, {TextEncoding::Utf8, 0x7F}, out);
    return out;
}

Cp932Encoding Utf8ToCp932(std::string_view utf8) {
    const Cp932Tables& tables = Cp932TablesOnce();
    Cp932Encoding result;
    // Never longer than the UTF-8: no character takes more bytes in cp932.
    result.bytes.resize(utf8.size());
    char* w = result.bytes.data();
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        uint64_t word;
        if (end - p >= 8 && AsciiWord(p, word)) {
            std::memcpy(w, &word, 8);
            w += 8;
            p += 8;
            continue;
        }
        const UnicodeRead read = ReadUtf8(p, end);
        p += read.length;
        const uint16_t form = Cp932Form(read.c, tables);
        if (form != 0) {
            w = WriteCp932(w, form);
        } else if (read.c == 0) {
            *w++ = '\0';
        } else {
            result.unmappable.push_back(read.c == kNoCharacter ? kReplacementCharacter : read.c);
        }
    }
    result.bytes.resize(static_cast<size_t>(w - result.bytes.data()));
    return result;
}

std::string Utf8ToCp932OrThrow(std::string_view utf8) {
    Cp932Encoding encoded = Utf8ToCp932(utf8);
    if (!encoded.ok()) {
        const char32_t c = encoded.unmappable.front();
        std::string one;
        if (c != kReplacementCharacter) AppendUtf8(c, one);
        throw messages::Unencodable(one, c);
    }
    return std::move(encoded.bytes);
}

// The tables come from ICU's windows-31j converter, which knows cp932's
// characters, Microsoft's extensions and which duplicates encode to which.

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

// Notes that the character has no form and writes nothing in its place.
void FromUnicodeRecorder(const void* context, UConverterFromUnicodeArgs*, const UChar*, int32_t,
                         UChar32, UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    *status = U_ZERO_ERROR;
    *static_cast<bool*>(const_cast<void*>(context)) = true;
}

Cp932Tables MakeCp932Tables() {
    Cp932Tables tables;
    tables.toUnicode.assign(0x10000, 0);
    tables.fromUnicode.assign(0x10001, 0);
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
    // only when its bytes decode back to it: the converter also takes a few
    // private-use code points to other characters, which is never wanted.
    Converter encoder = OpenCp932();
    bool unmappable = false;
    ucnv_setFromUCallBack(encoder.get(), FromUnicodeRecorder, &unmappable, nullptr, nullptr,
                          &status);
    for (unsigned unit = 0x80; unit < 0x10000; ++unit) {
        const char16_t c = tables.toUnicode[unit];
        if (c < 0x80 || c == 0xFFFD || tables.fromUnicode[c] != 0) continue;
        const UChar one = c;
        char bytes[4];
        UErrorCode error = U_ZERO_ERROR;
        unmappable = false;
        ucnv_resetFromUnicode(encoder.get());
        const int32_t n = ucnv_fromUChars(encoder.get(), bytes, 4, &one, 1, &error);
        if (U_FAILURE(error) || unmappable || n < 1 || n > 2) continue;
        const auto lead = static_cast<unsigned char>(bytes[0]);
        const unsigned form = n == 1 ? lead : lead << 8 | static_cast<unsigned char>(bytes[1]);
        if (tables.toUnicode[form] == c) tables.fromUnicode[c] = static_cast<uint16_t>(form);
    }
    for (size_t i = 0; i < kJisCodePoints.size(); ++i) {
        tables.fromUnicode[kJisCodePoints[i]] = kJisCp932Forms[i];
    }
    return tables;
}

}  // namespace

const Cp932Tables& Cp932TablesOnce() {
    static const Cp932Tables tables = MakeCp932Tables();
    return tables;
}

}  // namespace tabulon
