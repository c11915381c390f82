#include "text/Messages.h"

#include <cerrno>
#include <cstdio>
#include <initializer_list>

#include "text/Cp932.h"
#include "text/IntegerText.h"

namespace tabulon::messages {

namespace {

// The pattern with each "%s" / "%d" replaced by the next value, in order.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string text;
    auto value = values.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && value != values.end() &&
            (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
            text += *value++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

}  // namespace

Error CannotOpen(std::string_view path) {
    return Error(Fill("ファイル %s は開けません", {path}));
}

Error CannotCreate(std::string_view path) {
    return Error(Fill("ファイル %s を作成できません", {path}));
}

Error TooLarge(std::string_view path) {
    return Error(Fill("ファイル %s は大きすぎるため開けません", {path}));
}

Error CannotCreate(std::string_view path, std::string_view reason) {
    return Error(Fill("ファイル %s を作成できません: %s", {path, reason}));
}

Error CannotWrite(std::string_view path, int error) {
    return Error(Fill("ファイル %s に書き込めません: %s", {path, SystemReason(error)}));
}

std::string SystemReason(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return "ディスクの空き容量が不足しています";
        case EACCES:
        case EPERM:
        case EROFS:
            return "書き込みが許可されていません";
        case EFBIG:
            return "ファイルが大きすぎます";
        case EIO:
            return "入出力エラーが発生しました";
        case ENOENT:
        case ENOTDIR:
            return "フォルダがありません";
        case EISDIR:
            return std::string(kIsFolder);
        default:
            return Fill("システムエラー %d", {std::to_string(error)});
    }
}

std::string UnfinishedSave(std::string_view path, std::string_view backup) {
    return Fill("ファイル %s の保存は完了していません。元の内容が %s に残っています",
                {path, backup});
}

std::string RecoveryQuestion(std::string_view path, std::time_t lastChange) {
    char when[32] = "";
    std::tm local{};
    if (::localtime_r(&lastChange, &local) != nullptr) {
        std::strftime(when, sizeof when, "%Y/%m/%d %H:%M", &local);
    }
    return Fill(
        "前回、保存されずに終了した編集内容があります。復元しますか？\n\n"
        "ファイル: %s\n最後の変更: %s",
        {path.empty() ? std::string_view("無題") : path, when});
}

std::string RecoveryNotKept(std::string_view reason) {
    return Fill("編集内容を復元用に保存できません（%s）", {reason});
}

std::string RestoreQuestion(std::string_view path, std::string_view backup) {
    return UnfinishedSave(path, backup) + "。\n元の内容に戻しますか？";
}

Error NotAnInteger(std::string_view text) {
    // A damaged file can hold a line of any length; the message shows its start.
    constexpr size_t kShown = 200;
    constexpr std::string_view kPattern = "'%s' は整数ではありません";
    if (text.size() <= kShown) {
        return Error(Fill(kPattern, {Cp932ToUtf8(text)}));
    }
    size_t cut = 0;
    while (cut < kShown) {
        cut += IsCp932LeadByte(static_cast<unsigned char>(text[cut])) ? 2 : 1;
    }
    return Error(Fill(kPattern, {Cp932ToUtf8(text.substr(0, cut)) + "…"}));
}

Error IndexOutOfRange(long long index) {
    return Error(Fill("リストのインデックスが範囲を超えています (%d)", {std::to_string(index)}));
}

Error GridIndexOutOfRange() {
    return Error("グリッドインデックス が範囲を超えています");
}

Error TextTooLongForPane() {
    return Error("文字列の大きさが メモ の制限を越えました");
}

Error Unreadable(std::string_view path, std::string_view encoding, long long row, long long col) {
    return Error(Fill("ファイル %s の %d行 %d列 に %s として読めないバイトがあります",
                      {path, std::to_string(row), std::to_string(col), encoding}));
}

Error Unheld(std::string_view path, long long count, std::string_view listed) {
    return Error(Fill("ファイル %s には Shift-JIS で表せない文字が %d 個あります: %s",
                      {path, std::to_string(count), listed}));
}

Error Unencodable(std::string_view character, char32_t code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(code));
    return Error(Fill("「%s」(U+%s) は Shift-JIS で表せません", {character, hex}));
}

std::string UnheldAt(std::string_view shown, long long row, long long col) {
    return Fill("「%s」 %d行 %d列", {shown, std::to_string(row), std::to_string(col)});
}

std::string Unexpected(std::string_view detail) {
    return Fill("予期しないエラーが発生しました (%s)", {detail});
}

std::string NulBytesDropped(std::string_view path, long long count) {
    return Fill(
        "ファイル %s に含まれていた NUL 文字 %d 個を取り除いて開きました。\n"
        "保存すると、取り除いた文字はファイルからもなくなります。",
        {path, std::to_string(count)});
}

std::string UnheldQuestion(long long count, std::string_view listed, long long more) {
    std::string text =
        Fill("Shift-JIS で表せない文字が %d 個あります。\n%s\n", {GroupedDigits(count), listed});
    if (more > 0) text += Fill("ほか %d 個\n", {GroupedDigits(more)});
    return text +
           "それぞれを 〓 に置き換えて開きますか？\n"
           "置き換えた表には名前が付かないので、元のファイルは上書きされません。";
}

std::string UndoHint(std::string_view step) {
    return Fill("%sを元に戻します", {step});
}

std::string RedoHint(std::string_view step) {
    return Fill("%sをやり直します", {step});
}

}  // namespace tabulon::messages
