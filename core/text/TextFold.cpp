#include "text/TextFold.h"

#include <array>
#include <cstdint>

#include "text/Cp932.h"

namespace tabulon {

namespace {

constexpr unsigned char kVoicedMark = 0xDE;      // "ﾞ"
constexpr unsigned char kSemiVoicedMark = 0xDF;  // "ﾟ"

constexpr bool IsSoundMark(unsigned char b) {
    return b == kVoicedMark || b == kSemiVoicedMark;
}

constexpr bool IsTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The fold table: for each one-byte key its full-width partner as a cp932
// code (lead byte high); 0 for the bytes that are no key.
constexpr std::array<uint16_t, 256> MakeFoldTable() {
    std::array<uint16_t, 256> table{};
    table[' '] = 0x8140;
    for (int i = 0; i < 26; ++i) {
        table[static_cast<size_t>('a' + i)] = static_cast<uint16_t>(0x8281 + i);
        table[static_cast<size_t>('A' + i)] = static_cast<uint16_t>(0x8260 + i);
    }
    for (int i = 0; i < 10; ++i) {
        table[static_cast<size_t>('0' + i)] = static_cast<uint16_t>(0x824F + i);
    }
    // Every printable ASCII symbol but the tilde. The quotes and the grave
    // accent go to cp932's curly quotes, the backslash to the full-width yen.
    constexpr std::pair<char, uint16_t> symbols[] = {
        {'!', 0x8149},  {'"', 0x8168}, {'#', 0x8194}, {'$', 0x8190}, {'%', 0x8193}, {'&', 0x8195},
        {'\'', 0x8166}, {'(', 0x8169}, {')', 0x816A}, {'*', 0x8196}, {'+', 0x817B}, {',', 0x8143},
        {'-', 0x817C},  {'.', 0x8144}, {'/', 0x815E}, {':', 0x8146}, {';', 0x8147}, {'<', 0x8183},
        {'=', 0x8181},  {'>', 0x8184}, {'?', 0x8148}, {'@', 0x8197}, {'[', 0x816D}, {'\\', 0x818F},
        {']', 0x816E},  {'^', 0x814F}, {'_', 0x8151}, {'`', 0x8165}, {'{', 0x816F}, {'|', 0x8162},
        {'}', 0x8170},
    };
    for (const auto& [key, partner] : symbols) {
        table[static_cast<unsigned char>(key)] = partner;
    }
    // Half-width katakana 0xA6 .. 0xDD; 0xB0, the prolonged sound mark, is no key.
    constexpr uint16_t kana[] = {
        0x8392,                                  // ｦ
        0x8340, 0x8342, 0x8344, 0x8346, 0x8348,  // ｧ ｨ ｩ ｪ ｫ
        0x8383, 0x8385, 0x8387, 0x8362,          // ｬ ｭ ｮ ｯ
        0,                                       // ｰ
        0x8341, 0x8343, 0x8345, 0x8347, 0x8349,  // ｱ ｲ ｳ ｴ ｵ
        0x834A, 0x834C, 0x834E, 0x8350, 0x8352,  // ｶ ｷ ｸ ｹ ｺ
        0x8354, 0x8356, 0x8358, 0x835A, 0x835C,  // ｻ ｼ ｽ ｾ ｿ
        0x835E, 0x8360, 0x8363, 0x8365, 0x8367,  // ﾀ ﾁ ﾂ ﾃ ﾄ
        0x8369, 0x836A, 0x836B, 0x836C, 0x836D,  // ﾅ ﾆ ﾇ ﾈ ﾉ
        0x836E, 0x8371, 0x8374, 0x8377, 0x837A,  // ﾊ ﾋ ﾌ ﾍ ﾎ
        0x837D, 0x837E, 0x8380, 0x8381, 0x8382,  // ﾏ ﾐ ﾑ ﾒ ﾓ
        0x8384, 0x8386, 0x8388,                  // ﾔ ﾕ ﾖ
        0x8389, 0x838A, 0x838B, 0x838C, 0x838D,  // ﾗ ﾘ ﾙ ﾚ ﾛ
        0x838F, 0x8393,                          // ﾜ ﾝ
    };
    for (size_t i = 0; i < std::size(kana); ++i) {
        table[0xA6 + i] = kana[i];
    }
    return table;
}

constexpr std::array<uint16_t, 256> kFoldTable = MakeFoldTable();

struct SoundMarkPair {
    unsigned char kana;
    unsigned char mark;
    std::string_view full;
};

constexpr SoundMarkPair kSoundMarkPairs[] = {
    {0xB6, kVoicedMark, "\x83\x4B"},     {0xB7, kVoicedMark, "\x83\x4D"},      // ｶﾞ ｷﾞ
    {0xB8, kVoicedMark, "\x83\x4F"},     {0xB9, kVoicedMark, "\x83\x51"},      // ｸﾞ ｹﾞ
    {0xBA, kVoicedMark, "\x83\x53"},     {0xBB, kVoicedMark, "\x83\x55"},      // ｺﾞ ｻﾞ
    {0xBC, kVoicedMark, "\x83\x57"},     {0xBD, kVoicedMark, "\x83\x59"},      // ｼﾞ ｽﾞ
    {0xBE, kVoicedMark, "\x83\x5B"},     {0xBF, kVoicedMark, "\x83\x5D"},      // ｾﾞ ｿﾞ
    {0xC0, kVoicedMark, "\x83\x5F"},     {0xC1, kVoicedMark, "\x83\x61"},      // ﾀﾞ ﾁﾞ
    {0xC2, kVoicedMark, "\x83\x64"},     {0xC3, kVoicedMark, "\x83\x66"},      // ﾂﾞ ﾃﾞ
    {0xC4, kVoicedMark, "\x83\x68"},     {0xCA, kVoicedMark, "\x83\x6F"},      // ﾄﾞ ﾊﾞ
    {0xCB, kVoicedMark, "\x83\x72"},     {0xCC, kVoicedMark, "\x83\x75"},      // ﾋﾞ ﾌﾞ
    {0xCD, kVoicedMark, "\x83\x78"},     {0xCE, kVoicedMark, "\x83\x7B"},      // ﾍﾞ ﾎﾞ
    {0xCA, kSemiVoicedMark, "\x83\x70"}, {0xCB, kSemiVoicedMark, "\x83\x73"},  // ﾊﾟ ﾋﾟ
    {0xCC, kSemiVoicedMark, "\x83\x76"}, {0xCD, kSemiVoicedMark, "\x83\x79"},  // ﾌﾟ ﾍﾟ
    {0xCE, kSemiVoicedMark, "\x83\x7C"},                                       // ﾎﾟ
};

// The trail byte of the small form of a full-width Latin, Greek or Cyrillic
// capital; any other character keeps its trail byte.
constexpr unsigned char LowerTrail(unsigned char lead, unsigned char trail) {
    switch (lead) {
        case 0x82:  // Ａ-Ｚ 0x8260-0x8279 -> ａ-ｚ 0x8281-0x829A
            return trail >= 0x60 && trail <= 0x79 ? trail + 0x21 : trail;
        case 0x83:  // Α-Ω 0x839F-0x83B6 -> α-ω 0x83BF-0x83D6
            return trail >= 0x9F && trail <= 0xB6 ? trail + 0x20 : trail;
        case 0x84:  // А-Я 0x8440-0x8460 -> а-я 0x8470-0x8491, skipping 0x847F
            if (trail >= 0x40 && trail <= 0x4E) return trail + 0x30;
            return trail >= 0x4F && trail <= 0x60 ? trail + 0x31 : trail;
        default:
            return trail;
    }
}

// The fold runs over millions of cells, mixing one- and two-byte characters
// at random, so it is table-driven: what each byte becomes is looked up, not
// decided by branches.

// What a one-byte character becomes under one combination of options.
struct SingleFold {
    unsigned char length;  // 0 (a sound mark), 1 or 2
    unsigned char first;
    unsigned char second;
};

using SingleFoldTable = std::array<SingleFold, 256>;

constexpr SingleFoldTable MakeSingleFoldTable(bool lower, bool widen) {
    SingleFoldTable table{};
    for (int b = 0; b < 256; ++b) {
        auto c = static_cast<unsigned char>(b);
        if (lower && c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c + ('a' - 'A'));
        }
        const uint16_t partner = widen ? kFoldTable[c] : 0;
        if (partner != 0) {
            table[static_cast<size_t>(b)] = {2, static_cast<unsigned char>(partner >> 8),
                                             static_cast<unsigned char>(partner & 0xFF)};
        } else if (widen && IsSoundMark(c)) {
            table[static_cast<size_t>(b)] = {0, 0, 0};
        } else {
            table[static_cast<size_t>(b)] = {1, c, 0};
        }
    }
    return table;
}

// Indexed by lower * 2 + widen; index 0 (nothing folds) is never used.
constexpr std::array<SingleFoldTable, 4> kSingleFoldTables = {
    MakeSingleFoldTable(false, false), MakeSingleFoldTable(false, true),
    MakeSingleFoldTable(true, false), MakeSingleFoldTable(true, true)};

using ByteMap = std::array<unsigned char, 256>;

// Trail-byte maps: 0 keeps the trail, 1-3 lower-case after lead 0x82-0x84.
constexpr std::array<ByteMap, 4> MakeTrailMaps() {
    std::array<ByteMap, 4> maps{};
    for (int t = 0; t < 256; ++t) {
        const auto trail = static_cast<unsigned char>(t);
        maps[0][trail] = trail;
        for (unsigned char lead = 0x82; lead <= 0x84; ++lead) {
            maps[lead - 0x81][trail] = LowerTrail(lead, trail);
        }
    }
    return maps;
}

constexpr std::array<ByteMap, 4> kTrailMaps = MakeTrailMaps();

constexpr ByteMap MakeTrailMapOfLead() {
    ByteMap map{};
    map[0x82] = 1;
    map[0x83] = 2;
    map[0x84] = 3;
    return map;
}

constexpr ByteMap kTrailMapOfLead = MakeTrailMapOfLead();

template <bool (*Predicate)(unsigned char)>
constexpr std::array<bool, 256> MakeByteSet() {
    std::array<bool, 256> set{};
    for (int b = 0; b < 256; ++b) {
        set[static_cast<size_t>(b)] = Predicate(static_cast<unsigned char>(b));
    }
    return set;
}

constexpr std::array<bool, 256> kLeadBytes = MakeByteSet<IsCp932LeadByte>();
constexpr std::array<bool, 256> kTrailBytes = MakeByteSet<IsTrailByte>();

}  // namespace

std::string_view VoicedKana(char kana, char mark) {
    for (const auto& pair : kSoundMarkPairs) {
        if (pair.kana == static_cast<unsigned char>(kana) &&
            pair.mark == static_cast<unsigned char>(mark)) {
            return pair.full;
        }
    }
    return {};
}

namespace {

// The fold itself. `onCharacter(source, consumed, produced)` hears of every
// character of `text`: where it starts, how many bytes it took, how many it
// wrote; the fast fold passes a no-op, which the compiler removes.
template <typename OnCharacter>
std::string_view Fold(std::string_view text, bool lower, bool widen, std::string& buffer,
                      OnCharacter&& onCharacter) {
    // Widening at most doubles the text; lower-casing keeps every length.
    if (buffer.size() < 2 * text.size()) {
        buffer.resize(2 * text.size());
    }
    const SingleFoldTable& singles = kSingleFoldTables[lower * 2 + widen];
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    auto* const begin = reinterpret_cast<unsigned char*>(buffer.data());
    unsigned char* out = begin;
    size_t i = 0;
    while (i < size) {
        const unsigned char c = in[i];
        const unsigned char next = i + 1 < size ? in[i + 1] : 0;
        // A lead byte without a valid trail byte stands alone, as a decoder sees it.
        const bool pair = kLeadBytes[c] && kTrailBytes[next];
        SingleFold single = singles[c];
        if (!pair && widen && IsSoundMark(next) && single.length == 2) {
            // A key before a sound mark: the voiced kana, or nothing.
            const std::string_view voiced =
                VoicedKana(static_cast<char>(c), static_cast<char>(next));
            single = {static_cast<unsigned char>(voiced.size()),
                      voiced.empty() ? uint8_t{0} : static_cast<unsigned char>(voiced[0]),
                      voiced.empty() ? uint8_t{0} : static_cast<unsigned char>(voiced[1])};
        }
        const unsigned char trail = kTrailMaps[lower ? kTrailMapOfLead[c] : 0][next];
        // Both bytes are written either way; the length decides what stays.
        out[0] = pair ? c : single.first;
        out[1] = pair ? trail : single.second;
        const size_t produced = pair ? 2 : single.length;
        const size_t consumed = pair ? 2 : 1;
        onCharacter(i, consumed, produced);
        out += produced;
        i += consumed;
    }
    return {reinterpret_cast<const char*>(begin), static_cast<size_t>(out - begin)};
}

}  // namespace

std::string_view FoldTextInto(std::string_view text, FindOptions options, std::string& buffer) {
    const bool lower = !options.MatchCase;
    const bool widen = !options.MatchWidth;
    if (!lower && !widen) {
        return text;
    }
    return Fold(text, lower, widen, buffer, [](size_t, size_t, size_t) {});
}

std::string_view FoldCharacters(std::string_view text, FindOptions options, std::string& buffer,
                                std::vector<FoldedCharacter>& characters) {
    const bool widen = !options.MatchWidth;
    characters.clear();
    size_t folded = 0;
    const std::string_view result =
        Fold(text, !options.MatchCase, widen, buffer,
             [&](size_t source, size_t consumed, size_t produced) {
                 if (produced > 0) {
                     characters.push_back({folded, source, source + consumed});
                     folded += produced;
                 } else if (widen && IsSoundMark(static_cast<unsigned char>(text[source])) &&
                            !characters.empty() && characters.back().sourceEnd == source) {
                     // A mark goes with the character it follows, voiced or not.
                     characters.back().sourceEnd = source + consumed;
                 }
             });
    return result;
}

std::string FoldText(std::string_view text, FindOptions options) {
    std::string buffer;
    return std::string(FoldTextInto(text, options, buffer));
}

std::string HalfToFull(std::string_view text) {
    return FoldText(text, FindOptions{.MatchCase = true, .MatchWidth = false});
}

}  // namespace tabulon
