#include "edit/HtmlTable.h"

#include <algorithm>
#include <cstdint>

#include "text/Cp932.h"

namespace tabulon {

namespace {

constexpr char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool IsAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

constexpr bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// `word` is lower case.
bool HasNoCase(std::string_view text, size_t at, std::string_view word) {
    if (at > text.size() || text.size() - at < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (Lower(text[at + i]) != word[i]) return false;
    }
    return true;
}

size_t FindNoCase(std::string_view text, std::string_view word, size_t from) {
    for (size_t i = from; i + word.size() <= text.size(); ++i) {
        if (HasNoCase(text, i, word)) return i;
    }
    return std::string_view::npos;
}

// A referenced character as UTF-8: one that is none (NUL, a surrogate,
// past U+10FFFF) reads U+FFFD, and a no-break space a space, which cp932 has.
void AppendCharacter(std::string& out, char32_t c) {
    if (c == 0 || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacementCharacter;
    if (c == 0xA0) c = ' ';
    AppendUtf8(c, out);
}

// The character a reference at `at` (on its '&') stands for, appended, and
// its length; 0 when it is none, so the '&' is a character of its own.
size_t AppendReference(std::string_view html, size_t at, std::string& out) {
    constexpr size_t kLongest = 10;  // "&#x10FFFF;"
    // Looked for nearby only, so that a page of '&' stays one pass.
    const size_t found = html.substr(at, kLongest + 1).find(';');
    if (found == std::string_view::npos) return 0;
    const size_t semicolon = at + found;
    const std::string_view name = html.substr(at + 1, semicolon - at - 1);
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) return 0;
        char32_t c = 0;
        for (const char d : digits) {
            const char l = Lower(d);
            const int v = l >= '0' && l <= '9'          ? l - '0'
                          : hex && l >= 'a' && l <= 'f' ? l - 'a' + 10
                                                        : -1;
            if (v < 0) return 0;
            c = std::min<char32_t>(c * (hex ? 16 : 10) + static_cast<char32_t>(v), 0x110000);
        }
        AppendCharacter(out, c);
        return semicolon - at + 1;
    }
    static constexpr struct {
        std::string_view name;
        char c;
    } kNamed[] = {{"amp", '&'},  {"lt", '<'},    {"gt", '>'},
                  {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '}};
    for (const auto& named : kNamed) {
        if (name == named.name) {
            out += named.c;
            return semicolon - at + 1;
        }
    }
    return 0;
}

// The value of a colspan attribute among a tag's attributes, at least 1.
size_t ColumnSpan(std::string_view attributes) {
    size_t i = FindNoCase(attributes, "colspan", 0);
    if (i == std::string_view::npos) return 1;
    i += 7;
    while (i < attributes.size() && (IsSpace(attributes[i]) || attributes[i] == '=' ||
                                     attributes[i] == '"' || attributes[i] == '\'')) {
        ++i;
    }
    size_t span = 0;
    for (; i < attributes.size() && attributes[i] >= '0' && attributes[i] <= '9'; ++i) {
        span = std::min<size_t>(span * 10 + static_cast<size_t>(attributes[i] - '0'), 1'000'000);
    }
    return std::max<size_t>(span, 1);
}

class TableReader {
  public:
    explicit TableReader(std::string_view html) : html_(html), padBudget_(html.size()) {}

    std::vector<std::vector<std::string>> Read() {
        size_t i = 0;
        while (i < html_.size() && !done_) {
            if (html_[i] == '<') {
                i = Tag(i);
            } else {
                const size_t end = std::min(html_.find('<', i), html_.size());
                if (inCell_) Text(html_.substr(i, end - i), i);
                i = end;
            }
        }
        EndRow();
        return std::move(rows_);
    }

  private:
    // The tag at `at`; gives where reading goes on.
    size_t Tag(size_t at) {
        if (html_.compare(at, 4, "<!--") == 0) {
            const size_t end = html_.find("-->", at + 4);
            return end == std::string_view::npos ? html_.size() : end + 3;
        }
        const bool closing = at + 1 < html_.size() && html_[at + 1] == '/';
        size_t i = at + (closing ? 2 : 1);
        const size_t nameStart = i;
        while (i < html_.size() && IsAsciiAlnum(html_[i]))
            ++i;
        if (i == nameStart && !closing && (at + 1 >= html_.size() || html_[at + 1] != '!') &&
            (at + 1 >= html_.size() || html_[at + 1] != '?')) {
            if (inCell_) Text(html_.substr(at, 1), at);  // a '<' that starts no tag
            return at + 1;
        }
        std::string name(html_.substr(nameStart, i - nameStart));
        std::transform(name.begin(), name.end(), name.begin(), Lower);
        // Attributes up to the '>' outside a quoted value.
        const size_t attributesStart = i;
        char quote = 0;
        bool afterEquals = false;
        for (; i < html_.size(); ++i) {
            const char c = html_[i];
            if (quote != 0) {
                if (c == quote) quote = 0;
            } else if (c == '>') {
                break;
            } else if ((c == '"' || c == '\'') && afterEquals) {
                quote = c;
            }
            if (c == '=') {
                afterEquals = true;
            } else if (!IsSpace(c)) {
                afterEquals = false;
            }
        }
        const std::string_view attributes = html_.substr(attributesStart, i - attributesStart);
        const size_t next = std::min(i + 1, html_.size());
        if (!closing && (name == "style" || name == "script")) {
            const size_t end = FindNoCase(html_, "</" + name, next);
            return end == std::string_view::npos ? html_.size() : end;
        }
        Element(name, closing, attributes);
        return next;
    }

    void Element(const std::string& name, bool closing, std::string_view attributes) {
        if (name == "table") {
            if (!closing) {
                ++depth_;
            } else if (depth_ == 1) {
                done_ = true;
            } else if (depth_ > 1) {
                --depth_;
            }
            return;
        }
        if (depth_ == 0) return;
        if (name == "br") {
            if (inCell_) {
                pendingSpace_ = false;
                rows_.back().back() += '\n';
            }
            return;
        }
        if (depth_ != 1) return;  // a table inside a cell gives only its text
        if (name == "tr") {
            EndRow();
            if (!closing) {
                rows_.emplace_back();
                rowOpen_ = true;
            }
        } else if (name == "td" || name == "th") {
            EndCell();
            if (closing) return;
            if (!rowOpen_) {
                rows_.emplace_back();
                rowOpen_ = true;
            }
            rows_.back().emplace_back();
            inCell_ = true;
            // Covered cells are padded only as far as the input's size goes,
            // so that a short hostile text cannot ask for millions of them.
            pad_ = std::min(ColumnSpan(attributes) - 1, padBudget_);
            padBudget_ -= pad_;
        }
    }

    void EndCell() {
        if (!inCell_) return;
        inCell_ = false;
        pendingSpace_ = false;
        rows_.back().resize(rows_.back().size() + pad_);
        pad_ = 0;
    }

    void EndRow() {
        EndCell();
        if (rowOpen_ && rows_.back().empty()) rows_.back().emplace_back();
        rowOpen_ = false;
    }

    // Text inside a cell, `at` where it starts in the page.
    void Text(std::string_view text, size_t at) {
        std::string& cell = rows_.back().back();
        size_t i = 0;
        while (i < text.size()) {
            const char c = text[i];
            if (IsSpace(c)) {
                size_t end = i;
                while (end < text.size() && IsSpace(text[end]))
                    ++end;
                const std::string_view run = text.substr(i, end - i);
                if (run.find_first_of("\r\n") != std::string_view::npos) {
                    pendingSpace_ = true;
                } else {
                    FlushSpace(cell);
                    cell += run;
                }
                i = end;
                continue;
            }
            FlushSpace(cell);
            if (c == '&') {
                if (const size_t length = AppendReference(html_, at + i, cell); length > 0) {
                    // A reference runs on to its ';', inside this text: no '<' comes before.
                    i += length;
                    continue;
                }
            }
            if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0') {
                cell += ' ';
                i += 2;
                continue;
            }
            cell += c;
            ++i;
        }
    }

    void FlushSpace(std::string& cell) {
        if (pendingSpace_ && !cell.empty() && cell.back() != '\n') cell += ' ';
        pendingSpace_ = false;
    }

    std::string_view html_;
    std::vector<std::vector<std::string>> rows_;
    int depth_ = 0;
    bool done_ = false;
    bool rowOpen_ = false;
    bool inCell_ = false;
    bool pendingSpace_ = false;
    size_t pad_ = 0;
    size_t padBudget_;
};

}  // namespace

bool IsSpreadsheetHtml(std::string_view html) {
    const size_t table = FindNoCase(html, "<table", 0);
    if (table == std::string_view::npos) return false;
    const std::string_view before = html.substr(0, table);
    for (const std::string_view mark :
         {"libreoffice", "openoffice", "microsoft excel", "urn:schemas-microsoft-com:office:excel",
          "google-sheets-html-origin", "gnumeric"}) {
        if (FindNoCase(before, mark, 0) != std::string_view::npos) return true;
    }
    return false;
}

std::vector<std::vector<std::string>> ReadHtmlTable(std::string_view html) {
    return TableReader(html).Read();
}

}  // namespace tabulon
