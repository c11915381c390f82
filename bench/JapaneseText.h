#pragma once
// Random cp932 cell texts of the kind a Japanese card file holds: names in
// kanji and hiragana, some half-width katakana, a few plain ASCII words.

#include <random>
#include <string>

class JapaneseText {
  public:
    explicit JapaneseText(unsigned seed) : random_(seed) {}

    std::string Next() {
        std::string text;
        const unsigned kind = Below(10);
        if (kind < 7) {
            for (unsigned i = 0, n = 1 + Below(3); i < n; ++i) {
                Kanji(text);
            }
            for (unsigned i = 0, n = 1 + Below(4); i < n; ++i) {
                Hiragana(text);
            }
        } else if (kind < 9) {
            for (unsigned i = 0, n = 3 + Below(6); i < n; ++i) {
                text += static_cast<char>(0xA6 + Below(0xDF - 0xA6 + 1));
            }
        } else {
            for (unsigned i = 0, n = 2 + Below(8); i < n; ++i) {
                text += static_cast<char>('a' + Below(26));
            }
        }
        return text;
    }

  private:
    unsigned Below(unsigned n) { return static_cast<unsigned>(random_() % n); }

    // First-level kanji with leads 0x89-0x97: every trail byte is assigned.
    void Kanji(std::string& text) {
        text += static_cast<char>(0x89 + Below(0x97 - 0x89 + 1));
        const unsigned trail = 0x40 + Below(0xFC - 0x40);  // 0x7F is no trail byte
        text += static_cast<char>(trail >= 0x7F ? trail + 1 : trail);
    }

    void Hiragana(std::string& text) {
        text += '\x82';
        text += static_cast<char>(0x9F + Below(0xF1 - 0x9F + 1));
    }

    std::mt19937 random_;
};
