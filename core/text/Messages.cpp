#include "text/Messages.h"

#include "text/Cp932.h"

namespace tabulon::messages {

namespace {

std::string Fill(std::string_view pattern, std::string_view value) {
    std::string text(pattern);
    text.replace(text.find('%'), 2, value);
    return text;
}

}  // namespace

Error CannotOpen(std::string_view path) {
    return Error(Fill("ファイル %s は開けません", path));
}

Error CannotCreate(std::string_view path) {
    return Error(Fill("ファイル %s を作成できません", path));
}

Error TooLarge(std::string_view path) {
    return Error(Fill("ファイル %s は大きすぎるため開けません", path));
}

Error WriteError() {
    return Error("ストリームへの書き込みエラー");
}

Error NotAnInteger(std::string_view text) {
    // A damaged file can hold a line of any length; the message shows its start.
    constexpr size_t kShown = 200;
    if (text.size() <= kShown) {
        return Error(Fill("'%s' は整数ではありません", Cp932ToUtf8(text)));
    }
    size_t cut = 0;
    while (cut < kShown) {
        cut += IsCp932LeadByte(static_cast<unsigned char>(text[cut])) ? 2 : 1;
    }
    return Error(Fill("'%s' は整数ではありません", Cp932ToUtf8(text.substr(0, cut)) + "…"));
}

Error IndexOutOfRange(long long index) {
    return Error(Fill("リストのインデックスが範囲を超えています (%d)", std::to_string(index)));
}

Error Unreadable(std::string_view path, std::string_view encoding, long long row, long long col) {
    return Error("ファイル " + std::string(path) + " の " + std::to_string(row) + "行 " +
                 std::to_string(col) + "列 に " + std::string(encoding) +
                 " として読めないバイトがあります");
}

Error Unheld(std::string_view path, long long count, std::string_view listed) {
    return Error("ファイル " + std::string(path) + " には Shift-JIS で表せない文字が " +
                 std::to_string(count) + " 個あります: " + std::string(listed));
}

Error GridIndexOutOfRange() {
    return Error("グリッドインデックス が範囲を超えています");
}

}  // namespace tabulon::messages
