#pragma once
// A file of any other type, read for the plain-text pane: its bytes up to the
// first NUL, every line end (CR LF, lone CR, lone LF) made one LF.

#include <cstddef>
#include <string>

namespace tabulon {

// Larger texts are refused rather than choking the text pane.
inline constexpr size_t kTextViewLimit = 16 * 1024 * 1024;

// The cp932 bytes with LF line ends, or tabulon::Error: "ファイル %s は開けません",
// or "文字列の大きさが メモ の制限を越えました" beyond kTextViewLimit.
std::string ReadTextForView(const std::string& path);

}  // namespace tabulon
