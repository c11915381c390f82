#pragma once
// The failure messages that travel to the common error box, built with their
// placeholders filled in. Paths are passed as the system spells them (UTF-8).

#include <string>
#include <string_view>

#include "text/Error.h"

namespace tabulon::messages {

Error CannotOpen(std::string_view path);
Error CannotCreate(std::string_view path);
// A file whose table would need more memory than its size justifies.
Error TooLarge(std::string_view path);
Error WriteError();
// `text` holds cp932 bytes (a line of a file); it is shown decoded.
Error NotAnInteger(std::string_view text);
Error IndexOutOfRange(long long index);
Error GridIndexOutOfRange();
// A file whose mark declares `encoding` but whose bytes at that cell are no
// character in it.
Error Unreadable(std::string_view path, std::string_view encoding, long long row, long long col);
// A file holding `count` characters that cp932 cannot hold, refused where no
// one can be asked; `listed` names the first few.
Error Unheld(std::string_view path, long long count, std::string_view listed);

// Texts of the question and notice boxes that the core's callers share.
inline constexpr std::string_view kUnsupportedExtension = "未対応の拡張子を検出しました";

}  // namespace tabulon::messages
