#pragma once
// Every text the core shows the user, in one place, grouped by where it
// appears: UTF-8, each "%s" or "%d" filled in by the function that builds it.
// The windows' own captions and labels stay with their windows.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "text/Error.h"

namespace tabulon::messages {

// ---- The common error box: what a failure says -----------------------------

// Paths are passed as the system spells them (UTF-8).
Error CannotOpen(std::string_view path);    // ファイル %s は開けません
Error CannotCreate(std::string_view path);  // ファイル %s を作成できません
// The same with why: "ファイル %s を作成できません: %s".
Error CannotCreate(std::string_view path, std::string_view reason);
// A write that failed part way, and why (errno): "ファイル %s に書き込めません: %s".
Error CannotWrite(std::string_view path, int error);
// Why a save target that is no plain file cannot take a table.
inline constexpr std::string_view kIsFolder = "フォルダです";
inline constexpr std::string_view kIsPipe = "名前付きパイプです";
inline constexpr std::string_view kIsDevice = "デバイスです";
inline constexpr std::string_view kIsSocket = "ソケットです";
// What the system's error number `error` means, for the messages above.
std::string SystemReason(int error);
// A file whose table would need more memory than its size justifies.
Error TooLarge(std::string_view path);  // ファイル %s は大きすぎるため開けません
// `text` holds cp932 bytes (a line of a file); it is shown decoded, its start
// only when it is long.
Error NotAnInteger(std::string_view text);  // '%s' は整数ではありません
Error IndexOutOfRange(long long index);  // リストのインデックスが範囲を超えています (%d)
Error GridIndexOutOfRange();  // グリッドインデックス が範囲を超えています
// A file too long for the plain-text pane.
Error TextTooLongForPane();  // 文字列の大きさが メモ の制限を越えました
// A file whose mark declares `encoding` but whose bytes at that cell are no
// character in it.
Error Unreadable(std::string_view path, std::string_view encoding, long long row, long long col);
// A file holding `count` characters that cp932 cannot hold, refused where no
// one can be asked; `listed` names the first few.
Error Unheld(std::string_view path, long long count, std::string_view listed);
// Text given to a command (a search text, a title) with a character cp932
// cannot hold: the character (empty for bytes that are none) and its code.
Error Unencodable(std::string_view character,
                  char32_t code);  // 「%s」(U+%04X) は Shift-JIS で表せません
// A failure of a library, with its own (English) words.
std::string Unexpected(std::string_view detail);  // 予期しないエラーが発生しました (%s)
// What any std::bad_alloc reads.
inline constexpr std::string_view kOutOfMemory = "メモリが不足しています";
// A table command given a file of no table format; also the start of a notice.
inline constexpr std::string_view kUnsupportedExtension = "未対応の拡張子を検出しました";

// ---- Notices of opening a file ----------------------------------------------

// NUL bytes cannot stand in a cell: a file holding `count` of them opens without them.
std::string NulBytesDropped(std::string_view path, long long count);

// ---- A save that did not finish ---------------------------------------------

// Its backup, found when the file is opened: the command line's notice, and
// the window's question (はい puts the backup's bytes back into the file).
std::string UnfinishedSave(std::string_view path, std::string_view backup);
std::string RestoreQuestion(std::string_view path, std::string_view backup);

// ---- Edits left unsaved when the program ended -----------------------------

// The question at start: the document's file (or 無題) and when it last
// changed, in local time. はい restores it, いいえ asks kRecoveryDropQuestion.
std::string RecoveryQuestion(std::string_view path, std::time_t lastChange);
inline constexpr std::string_view kRecoveryDropQuestion =
    "復元しない編集内容は失われます。削除してよろしいですか？";
// The status bar's notice when the data cannot be written: the writer's message.
std::string RecoveryNotKept(std::string_view reason);

// ---- Notices of the searches ------------------------------------------------

inline constexpr std::string_view kNotFound = "見つかりませんでした";
inline constexpr std::string_view kNoneFound = "１つも見つかりませんでした";
inline constexpr std::string_view kCellsReplaced = "%d 個のセルを置換しました";

// ---- The question before opening a file with characters cp932 cannot hold ----

// One of them: the character as it shows, or its code, and where it stands.
std::string UnheldAt(std::string_view shown, long long row, long long col);  // 「%s」 %d行 %d列
// `listed` holds an UnheldAt line each for the first few, `more` counts the rest.
// Only the window asks it (the command line refuses such a file), so its
// counts are grouped as the window's texts are.
std::string UnheldQuestion(long long count, std::string_view listed, long long more);

// ---- Undo and redo: the names of the steps and the edit menu's hints --------

inline constexpr std::string_view kStepTyping = "入力";
inline constexpr std::string_view kStepPaste = "貼り付け";
inline constexpr std::string_view kStepClearCells = "削除";
inline constexpr std::string_view kStepCut = "切り取り";
inline constexpr std::string_view kStepInsertRow = "行の挿入";
inline constexpr std::string_view kStepInsertColumn = "列の挿入";
inline constexpr std::string_view kStepDeleteRow = "行の削除";
inline constexpr std::string_view kStepDeleteColumn = "列の削除";
inline constexpr std::string_view kStepMoveRow = "行の移動";
inline constexpr std::string_view kStepMoveColumn = "列の移動";
inline constexpr std::string_view kStepItemNames = "項目編集";
inline constexpr std::string_view kStepSort = "整列";
inline constexpr std::string_view kStepColumnWidths = "横幅の変更";
inline constexpr std::string_view kStepFont = "フォントの設定";
inline constexpr std::string_view kStepReplace = "置換";

std::string UndoHint(std::string_view step);  // %sを元に戻します
std::string RedoHint(std::string_view step);  // %sをやり直します
inline constexpr std::string_view kUndoNothing = "直前の変更を元に戻します";
inline constexpr std::string_view kRedoNothing = "元に戻した変更をやり直します";
// Where the history ends because older steps were dropped.
inline constexpr std::string_view kStepsDropped =
    "それより前の変更はメモリの上限のため元に戻せません";
// Asked before a command whose undo step would not fit the history's budget.
inline constexpr std::string_view kCannotUndo = "この操作は元に戻せません";

}  // namespace tabulon::messages
