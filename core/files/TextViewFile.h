#pragma once
// A file of any other type, read for the plain-text pane: its text up to the
// first NUL character, in the encoding it is recognised to have (as the table
// files are: a mark, else valid UTF-8, else cp932), every line end (CR LF,
// lone CR, lone LF) made one LF.

#include <cstddef>
#include <string>

namespace tabulon {

// Larger texts are refused rather than choking the text pane.
inline constexpr size_t kTextViewLimit = 16 * 1024 * 1024;

// The text in UTF-8 with LF line ends, bytes that are no character shown as
// U+FFFD; or tabulon::Error: "ファイル %s は開けません", or
// "文字列の大きさが メモ の制限を越えました" when the file's bytes before the
// NUL exceed kTextViewLimit.
std::string ReadTextForView(const std::string& path);

}  // namespace tabulon
