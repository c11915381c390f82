#pragma once
// The four characters a web page cannot hold as they are, shared by the HTML
// export and the clipboard's HTML form so that both escape alike.

#include <string_view>

namespace tabulon {

// The character reference a page writes for `c` (& < > "), or empty.
constexpr std::string_view HtmlReference(char c) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return "&quot;";
        default:
            return {};
    }
}

}  // namespace tabulon
