#include "text/Utf8Wide.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "text/FormCounts.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// GCC 12 warns of the undefined vectors its own intrinsics pass (its bug
// 105593), wherever they are inlined.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#define TABULON_WIDE_TARGET \
    __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt")))
#endif

namespace tabulon {

#ifdef TABULON_WIDE_TARGET

bool HasWideUtf8() {
    static const bool can =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
        __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi2");
    return can;
}

namespace {

// For sixteen characters, each in a 32-bit lane with its first byte lowest:
// their code points, or nothing where the lanes hold an overlong three-byte
// form. (Surrogates need no look: they have no cp932 form.)
TABULON_WIDE_TARGET bool CodePoints(__m512i characters, __m512i& points) {
    const __m512i first = _mm512_and_si512(characters, _mm512_set1_epi32(0xFF));
    // The payload bits of the first three bytes (of a lead of two or three,
    // whose fifth bit is 0 either way), then joined: the first two in the low
    // half (a two-byte code point), the third in the high; then all three.
    const __m512i bits = _mm512_and_si512(characters, _mm512_set1_epi32(0x003F3F1F));
    const __m512i halves = _mm512_maddubs_epi16(bits, _mm512_set1_epi32(0x00010140));
    const __m512i two = _mm512_and_si512(halves, _mm512_set1_epi32(0xFFFF));
    const __m512i three = _mm512_madd_epi16(halves, _mm512_set1_epi32(0x00010040));
    const __mmask16 isThree = _mm512_cmpge_epu32_mask(first, _mm512_set1_epi32(0xE0));
    const __mmask16 isTwo = _mm512_cmpge_epu32_mask(first, _mm512_set1_epi32(0xC0)) & ~isThree;
    const __mmask16 overlong = _mm512_cmplt_epu32_mask(three, _mm512_set1_epi32(0x800));
    if ((isThree & overlong) != 0) return false;
    points = _mm512_mask_blend_epi32(isThree, _mm512_mask_blend_epi32(isTwo, first, two), three);
    return true;
}

// Which of sixteen cp932 forms may be one of the seven: those in row 0x81
// that kMaySeven marks, looked up 128 at a time by their distance from its
// first.
TABULON_WIDE_TARGET __mmask16 MaySevenLanes(__m512i forms) {
    alignas(64) static constexpr std::array<uint8_t, 128> kTable = [] {
        std::array<uint8_t, 128> table{};
        for (size_t i = 0; i < kSevenSpan; ++i)
            table[i] = kMaySeven[i];
        return table;
    }();
    const __m512i distance = _mm512_sub_epi32(forms, _mm512_set1_epi32(kSevenFirst));
    const __mmask16 near = _mm512_cmplt_epu32_mask(distance, _mm512_set1_epi32(kSevenSpan));
    const __m512i marked = _mm512_permutex2var_epi8(_mm512_load_si512(kTable.data()), distance,
                                                    _mm512_load_si512(kTable.data() + 64));
    return near & _mm512_test_epi32_mask(marked, _mm512_set1_epi32(0xFF));
}

// The first sixteen characters that `starts` marks in `bytes`, each in a
// 32-bit lane: its first byte lowest, then the three after it.
TABULON_WIDE_TARGET __m512i Characters(uint64_t starts, __m512i bytes) {
    alignas(64) static constexpr std::array<uint8_t, 64> kPlaces = [] {
        std::array<uint8_t, 64> places{};
        for (uint8_t i = 0; i < 64; ++i)
            places[i] = i;
        return places;
    }();
    const __m512i first = _mm512_cvtepu8_epi32(_mm512_castsi512_si128(
        _mm512_maskz_compress_epi8(starts, _mm512_load_si512(kPlaces.data()))));
    // Each lane's place in all four of its bytes, then one more in each.
    const __m512i spread = _mm512_shuffle_epi8(
        first, _mm512_set4_epi32(0x0C0C0C0C, 0x08080808, 0x04040404, 0x00000000));
    return _mm512_permutexvar_epi8(_mm512_add_epi32(spread, _mm512_set1_epi32(0x03020100)), bytes);
}

// Which of the bytes lie in low .. high.
TABULON_WIDE_TARGET uint64_t BytesFrom(unsigned char low, unsigned char high, __m512i in) {
    return _mm512_cmpge_epu8_mask(in, _mm512_set1_epi8(static_cast<char>(low))) &
           _mm512_cmple_epu8_mask(in, _mm512_set1_epi8(static_cast<char>(high)));
}

}  // namespace

TABULON_WIDE_TARGET Decoding DecodeUtf8Wide(const unsigned char* r, const unsigned char* end,
                                            char* w, const uint16_t* fromUnicode,
                                            FormCounts& counts) {
    // Each of the seven met is kept, its form and code point in one lane, and
    // noted a batch at a time: a branch on each block that holds one would be
    // as unpredictable as the text.
    constexpr size_t kSeenBatch = 256;
    alignas(64) uint32_t seen[kSeenBatch + 32];
    size_t seenCount = 0;
    const auto noteSeen = [&] {
        for (size_t i = 0; i < seenCount; ++i)
            counts.Note(static_cast<uint16_t>(seen[i] >> 16), seen[i] & 0xFFFF);
        seenCount = 0;
    };
    while (end - r >= 64) {
        const __m512i in = _mm512_loadu_si512(r);
        const uint64_t high = _mm512_movepi8_mask(in);
        if (high == 0) {
            if (_mm512_testn_epi8_mask(in, in) != 0) break;  // NUL ends the text
            _mm512_storeu_si512(w, in);  // over bytes already read: `w` never passes `r`
            w += 64;
            r += 64;
            continue;
        }
        const uint64_t continuation = BytesFrom(0x80, 0xBF, in);
        const uint64_t leadTwo = BytesFrom(0xC2, 0xDF, in);
        const uint64_t leadThree = BytesFrom(0xE0, 0xEF, in);
        const uint64_t starts = ~continuation;
        // The sixteen characters end where the seventeenth begins; every byte
        // before it must be ASCII, a lead of two or three, or a continuation
        // that one of those wants.
        const uint64_t next = _pdep_u64(uint64_t{1} << 16, starts);
        const uint64_t taken = next - 1;
        const uint64_t two = leadTwo & taken;
        const uint64_t three = leadThree & taken;
        const uint64_t wanted = two << 1 | three << 1 | three << 2;
        if (next == 0 || (high & ~continuation & ~leadTwo & ~leadThree & taken) != 0 ||
            (continuation & taken) != wanted) {
            break;
        }
        __m512i points;
        if (!CodePoints(Characters(starts, in), points)) break;
        // Four bytes from each form's place: the table has a spare entry at its
        // end. NUL and characters cp932 lacks have form 0.
        const __m512i forms = _mm512_and_si512(_mm512_i32gather_epi32(points, fromUnicode, 2),
                                               _mm512_set1_epi32(0xFFFF));
        if (_mm512_testn_epi32_mask(forms, forms) != 0) break;
        const __mmask16 seven = MaySevenLanes(forms);
        _mm512_storeu_si512(seen + seenCount,
                            _mm512_maskz_compress_epi32(
                                seven, _mm512_or_si512(_mm512_slli_epi32(forms, 16), points)));
        seenCount += static_cast<size_t>(__builtin_popcount(seven));
        if (seenCount > kSeenBatch) noteSeen();
        // Each form turned so that its lead is its lane's first byte and its
        // trail the last; a one-byte form keeps only its last.
        const __m512i turned = _mm512_rol_epi32(forms, 24);
        const __mmask16 pair = _mm512_cmpge_epu32_mask(forms, _mm512_set1_epi32(0x100));
        const uint64_t keep = _pdep_u64(pair, 0x1111111111111111u) | 0x8888888888888888u;
        const auto written = static_cast<unsigned>(__builtin_popcountll(keep));
        _mm512_mask_storeu_epi8(w, _bzhi_u64(~uint64_t{0}, written),
                                _mm512_maskz_compress_epi8(keep, turned));
        w += written;
        r += __builtin_ctzll(next);
    }
    noteSeen();
    return {w, r};
}

namespace {

// The checker looks at each byte with the three before it. Three tables, by
// the nibbles of the byte and of the one before, give a bit for each way a
// sequence can be wrong; a byte is wrong where all three agree on a bit. Bit
// 7 stands for a continuation after a continuation, which is right exactly
// where the byte two or three back leads a longer sequence.
constexpr uint8_t kTooShort = 1 << 0;   // a lead not followed by a continuation
constexpr uint8_t kTooLong = 1 << 1;    // a continuation after ASCII
constexpr uint8_t kOverlong3 = 1 << 2;  // E0 80..9F
constexpr uint8_t kTooLarge = 1 << 3;   // F4 90.. and F5..FF
constexpr uint8_t kSurrogate = 1 << 4;  // ED A0..BF
constexpr uint8_t kOverlong2 = 1 << 5;  // C0, C1
constexpr uint8_t kOverlong4 = 1 << 6;  // F0 80..8F; F5.. with 80..8F too
constexpr uint8_t kTwoContinuations = 1 << 7;
constexpr uint8_t kCarry = kTooShort | kTooLong | kTwoContinuations;

// By the high nibble of the byte before.
constexpr uint8_t kBeforeHigh[16] = {kTooLong,
                                     kTooLong,
                                     kTooLong,
                                     kTooLong,
                                     kTooLong,
                                     kTooLong,
                                     kTooLong,
                                     kTooLong,
                                     kTwoContinuations,
                                     kTwoContinuations,
                                     kTwoContinuations,
                                     kTwoContinuations,
                                     kTooShort | kOverlong2,
                                     kTooShort,
                                     kTooShort | kOverlong3 | kSurrogate,
                                     kTooShort | kTooLarge | kOverlong4};
// By the low nibble of the byte before.
constexpr uint8_t kBeforeLow[16] = {kCarry | kOverlong3 | kOverlong2 | kOverlong4,
                                    kCarry | kOverlong2,
                                    kCarry,
                                    kCarry,
                                    kCarry | kTooLarge,
                                    kCarry | kTooLarge | kOverlong4,
                                    kCarry | kTooLarge | kOverlong4,
                                    kCarry | kTooLarge | kOverlong4,
                                    kCarry | kTooLarge | kOverlong4,
                                    kCarry | kTooLarge | kOverlong4,
                                    kCarry | kTooLarge | kOverlong4,
                                    kCarry | kTooLarge | kOverlong4,
                                    kCarry | kTooLarge | kOverlong4,
                                    kCarry | kTooLarge | kOverlong4 | kSurrogate,
                                    kCarry | kTooLarge | kOverlong4,
                                    kCarry | kTooLarge | kOverlong4};
// By the high nibble of the byte itself.
constexpr uint8_t kByteHigh[16] = {
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kOverlong4,
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge,
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge,
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort};

TABULON_WIDE_TARGET __m512i Lookup(const uint8_t (&table)[16], __m512i nibbles) {
    const __m512i each =
        _mm512_broadcast_i32x4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table)));
    return _mm512_shuffle_epi8(each, nibbles);
}

TABULON_WIDE_TARGET __m512i HighNibbles(__m512i bytes) {
    return _mm512_and_si512(_mm512_srli_epi16(bytes, 4), _mm512_set1_epi8(0x0F));
}

// The faults of the 64 bytes at `at`, judged with the three before it:
// nonzero bytes where a sequence is wrong.
TABULON_WIDE_TARGET __m512i Faults(const unsigned char* at) {
    const __m512i bytes = _mm512_loadu_si512(at);
    const __m512i before = _mm512_loadu_si512(at - 1);
    const __m512i lowBefore = _mm512_and_si512(before, _mm512_set1_epi8(0x0F));
    const __m512i wrong = _mm512_and_si512(
        _mm512_and_si512(Lookup(kBeforeHigh, HighNibbles(before)), Lookup(kBeforeLow, lowBefore)),
        Lookup(kByteHigh, HighNibbles(bytes)));
    // Third bytes of three or four, and fourth bytes of four, must continue.
    const __m512i third = _mm512_subs_epu8(_mm512_loadu_si512(at - 2),
                                           _mm512_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m512i fourth = _mm512_subs_epu8(_mm512_loadu_si512(at - 3),
                                            _mm512_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m512i mustContinue =
        _mm512_and_si512(_mm512_or_si512(third, fourth), _mm512_set1_epi8(static_cast<char>(0x80)));
    return _mm512_xor_si512(mustContinue, wrong);
}

// The same for `length` (at most 64) bytes at `from`, copied with the
// `before` bytes ahead of them and zeros around: nothing comes before a
// text's start, and an end within a sequence is a fault. Adds the bytes to
// `seen`.
TABULON_WIDE_TARGET __m512i FaultsOfCopy(const unsigned char* from, size_t before, size_t length,
                                         __m512i& seen) {
    alignas(64) unsigned char copy[3 + 64] = {};
    std::memcpy(copy + 3 - before, from - before, before + length);
    seen = _mm512_or_si512(seen, _mm512_loadu_si512(copy + 3));
    return Faults(copy + 3);
}

}  // namespace

TABULON_WIDE_TARGET Utf8Check CheckUtf8Wide(std::string_view text,
                                            const std::atomic<bool>& giveUp) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    __m512i seen = _mm512_setzero_si512();
    const size_t head = std::min<size_t>(text.size(), 64);
    __m512i faults = FaultsOfCopy(p, 0, head, seen);
    p += head;
    // A head shorter than a block held the end, and the zero after it.
    if (head == 64) {
        while (end - p >= 64) {
            // A stretch at a time, then a look whether it failed: a cp932 file
            // with Japanese text fails within its first characters.
            const auto* stop = p + std::min<size_t>((end - p) & ~size_t{63}, size_t{1} << 16);
            for (; p < stop; p += 64) {
                seen = _mm512_or_si512(seen, _mm512_loadu_si512(p));
                faults = _mm512_or_si512(faults, Faults(p));
            }
            if (_mm512_test_epi8_mask(faults, faults) != 0 ||
                giveUp.load(std::memory_order_relaxed)) {
                return Utf8Check::Invalid;
            }
        }
        faults = _mm512_or_si512(faults, FaultsOfCopy(p, 3, static_cast<size_t>(end - p), seen));
    }
    if (_mm512_test_epi8_mask(faults, faults) != 0) return Utf8Check::Invalid;
    return _mm512_movepi8_mask(seen) != 0 ? Utf8Check::NonAscii : Utf8Check::Ascii;
}

#else

bool HasWideUtf8() {
    return false;
}

Decoding DecodeUtf8Wide(const unsigned char* r, const unsigned char*, char* w, const uint16_t*,
                        FormCounts&) {
    return {w, r};
}

Utf8Check CheckUtf8Wide(std::string_view, const std::atomic<bool>&) {
    return Utf8Check::Invalid;
}

#endif

}  // namespace tabulon
