#pragma once
// The table document: cells, counts, widths, row height, font, current cell,
// marker and modified flag. The one copy of the data; views observe it.
//
// Storage: one 8-byte handle per row for its item texts, packed together as
// one record (table/PackedRecord); the marker column (table/MarkerColumn)
// takes a handle per row only once two rows hold texts. A
// record lies in a text block (a file buffer adopted at load time, records
// packed in place over the lines they were read from; the block a CellBatch
// reserved; the block a load or a column change packs records into) or in an
// allocation of its own. A block counts the handles pointing into it and goes
// when the last one changes. Changing a cell packs its record anew; moving
// rows moves handles, never text, so inserting a row at the top of a million
// records is one memmove. Each item column has a place in the records, so
// moving, adding or removing one changes a list of places; refilling one
// packs every record anew, once. Cell texts never hold NUL: files cannot
// carry it (NUL ends a file's text), so SetCell drops NUL bytes.

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "table/CellText.h"
#include "table/FontDesc.h"
#include "table/LargeBlocks.h"
#include "table/MarkerColumn.h"
#include "table/PackedRecord.h"
#include "table/TableObserver.h"
#include "text/TextEncoding.h"

namespace tabulon {

// The marker "→" in cp932.
inline constexpr std::string_view kMarker = "\x81\xA8";

class TableModel {
  public:
    explicit TableModel(int pixelsPerInch = 96);
    ~TableModel();
    TableModel(const TableModel&) = delete;
    TableModel& operator=(const TableModel&) = delete;

    // What a table of this shape is budgeted at: the memory an 8-byte handle a
    // cell would take, allocator rounding included. Packed records hold cells
    // in far less (an empty one costs a byte at most), but every cell still
    // costs writers and views their work, so file readers refuse shapes by
    // this before setting them. Saturates instead of overflowing.
    static uint64_t StorageBytes(int64_t cols, int64_t rows);

    int ColCount() const { return static_cast<int>(widths_.size()); }
    int RowCount() const { return rowCount_; }

    // The text stays valid until a cell of its row changes or the columns
    // change. Outside the table: empty.
    std::string_view GetCell(int col, int row) const;
    // The item texts of a row back to back, in no set order and perhaps with
    // texts of items since deleted: for a scan to pass over rows that cannot
    // hold some bytes without reading their cells one by one.
    std::string_view RowTexts(int row) const { return records_[static_cast<size_t>(row)].Texts(); }
    // A row's item texts for reading them all, as a save does: what GetCell
    // gives for columns 1 and up, without its checks for each.
    class RecordView {
      public:
        std::string_view Cell(int col) const { return record_.Cell(places_[col - 1]); }
        // Writes `cell`, one of the record's, at `to`, which has room for it
        // and 15 bytes more; returns its end.
        char* Write(std::string_view cell, char* to) const { return record_.WriteText(cell, to); }
        std::string_view Texts() const { return record_.Texts(); }

      private:
        friend class TableModel;
        RecordView(PackedRecord record, const size_t* places) : record_(record), places_(places) {}
        PackedRecord::Reader record_;
        const size_t* places_;
    };
    // `row` must lie inside the table; the view lasts as long as its texts.
    RecordView Record(int row) const {
        return {records_[static_cast<size_t>(row)], places_.data()};
    }
    // Throws "グリッドインデックス が範囲を超えています" outside the table.
    void SetCell(int col, int row, std::string_view text);
    // Cells firstCol, firstCol + 1, ... of `row` take `texts`, the record
    // packed once: a pasted row costs one packing, not one a cell. Throws
    // like SetCell if they do not all lie inside the table.
    void SetRowCells(int row, int firstCol, std::span<const std::string_view> texts);
    std::vector<std::string> GetRowTexts(int row) const;
    void SetRowTexts(int row, const std::vector<std::string>& texts);
    std::vector<std::string> GetColTexts(int col) const;
    void SetColTexts(int col, const std::vector<std::string>& texts);
    void ClearCol(int col);

    // Counts below 1 are taken as 1. A current cell left outside moves to the
    // last column/row, raising SelectionChanged once before the change.
    void SetColCount(int count);
    void SetRowCount(int count);

    int GetColWidth(int col) const;
    void SetColWidth(int col, int pixels);  // throws outside the table
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int pixels);
    int RowHeight() const { return rowHeight_; }
    void SetRowHeight(int pixels);

    const FontDesc& Font() const { return font_; }
    void SetFont(const FontDesc& font);

    int CurrentCol() const { return currentCol_; }
    int CurrentRow() const { return currentRow_; }
    // Column first, then row: two moves, each raising SelectionChanged if it
    // changes something. Throws for a cell outside columns/rows 1 .. count - 1.
    void SetCurrentCell(int col, int row);
    void SetCurrentCol(int col);
    void SetCurrentRow(int row);

    int MarkerRow() const { return markerRow_; }
    void MoveMarker(int row);

    // Drag moves: the whole row (marker column included) or column (with its
    // width); the current cell follows the texts it pointed at.
    void MoveRow(int from, int to);
    void MoveCol(int from, int to);
    // The same moves of texts alone: current cell and widths stay. The row
    // move may leave the marker column where it is.
    void MoveRowTexts(int from, int to, bool markerColumnToo);
    void MoveColTexts(int from, int to);
    // Row firstRow + i takes row firstRow + order[i]'s texts in columns firstCol
    // and up; firstCol is 0 (the marker column too) or 1 (the items alone).
    void PermuteRows(int firstRow, const std::vector<int>& order, int firstCol);

    // The empty document of 2 x 3 cells, reset widths and row height, its
    // encoding Shift-JIS; the file name, Modified and the font stay.
    void ResetToEmpty();

    // Whether a save would write something else than the last one. Only the
    // undo history sets it, since it alone knows which state was saved.
    bool Modified() const { return modified_; }
    const std::string& CurrentFileName() const { return currentFileName_; }
    void SetCurrentFileName(std::string path) { currentFileName_ = std::move(path); }
    // How the document's file is encoded, so that Save writes it back the same
    // way; Shift-JIS for a new document (ResetToEmpty makes it so).
    const FileEncoding& Encoding() const { return encoding_; }
    void SetEncoding(const FileEncoding& encoding) { encoding_ = encoding; }

    void AddObserver(TableObserver* observer);
    void RemoveObserver(TableObserver* observer);

    // While one lives, the texts SetCell puts in are announced when the last
    // one ends, as one CellsChanged for the rectangle around them (clipped to
    // the table as it then stands): a pasted block of a million cells is one
    // notice for the views, not a million.
    class CellBatch {
      public:
        explicit CellBatch(TableModel& model);
        ~CellBatch();
        CellBatch(const CellBatch&) = delete;
        CellBatch& operator=(const CellBatch&) = delete;

        // Room for texts of `bytes` bytes in all, `count` of them, that the
        // batch's SetCell calls copy into one block instead of allocating
        // each: a million pasted cells are then one allocation, not a
        // million of 32 bytes or more. Texts beyond the room are allocated
        // alone. At most one reservation a batch counts.
        void ReserveTexts(size_t bytes, size_t count);

      private:
        TableModel& model_;
    };

    // For file readers. While a BulkLoad lives, views hear one reset around the
    // whole change instead of a notice per cell. Texts may point into an
    // adopted buffer, which lives until the next ResetToEmpty.
    class BulkLoad {
      public:
        explicit BulkLoad(TableModel& model);
        ~BulkLoad();
        BulkLoad(const BulkLoad&) = delete;
        BulkLoad& operator=(const BulkLoad&) = delete;

        void AdoptBuffer(ByteBuffer buffer, size_t size);

        // A part of a load, which sets rows' records; parts may set theirs at
        // once with other parts' on threads of their own, while nothing else
        // changes the model. Each row a part sets must be empty before. A
        // part has a cache line to itself, so that parts at work do not slow
        // each other down.
        class alignas(64) Part {
          public:
            // `from`: where in the adopted buffer SetRecord packs records in
            // place (null: nowhere).
            Part(BulkLoad& load, char* from);
            ~Part();
            Part(const Part&) = delete;
            Part& operator=(const Part&) = delete;
            // Row `row`'s items (columns 1 and up) take `cells`, NUL-free
            // texts in the adopted buffer from `from` on, in order, all read
            // before `readTo`: the record is packed in place over the bytes
            // it was read from when they hold it, else copied. Records must
            // come in the order of the buffer.
            void SetRecord(int row, std::span<const std::string_view> cells, const char* readTo);
            // Free room in the adopted buffer, bytes no text of the load is
            // read from any more.
            struct Room {
                char* begin;
                const char* end;
            };
            // The same for texts from anywhere in the adopted buffer, in any
            // order, none of them in a room, packed into the first of
            // `rooms` that holds the record, trying `room` first and then the
            // others in turn, else copied into blocks of the part's own. A
            // room's begin moves past what it takes; `room` is left at the
            // room that took it.
            void PlaceRecord(int row, std::span<const std::string_view> cells,
                             std::span<Room> rooms, size_t& room);

          private:
            void Copy(int row, const PackedRecord::Layout& layout);

            // A block the part copies records into, and how many it holds.
            struct Copies {
                const char* begin;
                size_t used;
                size_t records;
            };
            BulkLoad& load_;
            char* packedTo_;
            size_t packed_ = 0;
            std::vector<Copies> copies_;
            char* copyTo_ = nullptr;
            char* copyEnd_ = nullptr;
        };

      private:
        TableModel& model_;
        // Parts add blocks and credit their records one at a time.
        std::mutex parts_;
    };

  private:
    using Text = CellText;

    // Every marker cell's text, never freed.
    static const Text kMarkerText;

    // Bytes holding many texts or records, freed when no handle points into
    // them any more.
    struct TextBlock {
        ByteBuffer bytes;
        size_t size = 0;  // bytes in use
        size_t capacity = 0;
        size_t cells = 0;  // handles pointing into it
        const char* begin() const { return bytes.get(); }
    };
    // The block holding `bytes`; nullptr for bytes allocated alone.
    TextBlock* BlockOf(const char* bytes);
    // Returns where the block begins.
    const char* AddBlock(ByteBuffer bytes, size_t size, size_t capacity);
    void EraseBlock(TextBlock* block);
    // Room for `bytes` at the end of the block beginning at `block`, counted as
    // one more handle into it; nullptr if it has none.
    char* RoomIn(const char* block, size_t bytes);
    void CreditLoadedCells();
    // One handle fewer to `bytes`: the block's count, or the allocation freed.
    void ReleaseBytes(const char* bytes);
    void Release(Text text);
    void Release(PackedRecord record);
    Text Own(std::string_view text);
    void Assign(int row, Text text);
    // Where column `col`'s texts lie in the records.
    size_t PlaceOf(int col) const { return places_[static_cast<size_t>(col - 1)]; }
    // Row `row`'s item texts by their place in its record, in a buffer the
    // next call reuses; places no column holds any more read empty.
    std::span<std::string_view> RowCells(int row);
    // Columns in their records' order again, as after packing them anew.
    void PlacesInOrder();
    // Packs the records anew if their places are not the columns' order.
    void ReadyForRecords();
    // Packs row `row`'s record in place at `packedTo` and moves it on, when
    // the record fits before `readTo`; false if it does not. Touches nothing
    // but the row, so parts of a buffer can be packed at once.
    bool PackInPlace(char*& packedTo, int row, const PackedRecord::Layout& layout,
                     const char* readTo);
    // Packs `cells` as row `row`'s record, copying them first: they may lie
    // in the record they replace.
    void StoreRecord(int row, std::span<const std::string_view> cells);
    // Packs every row anew into one block after `edit(row, texts)` changed
    // its texts (column 0 first); column 0 takes its text if it changed.
    template <typename Edit>
    void RewriteRows(Edit&& edit);
    void NoteChanged(int col0, int row, int col1);
    void ReleaseAll();
    using Records = std::vector<PackedRecord, LargeAllocator<PackedRecord>>;

    void RaiseSelection(int col, int row);
    template <typename F>
    void Notify(F&& f);

    MarkerColumn markers_;  // column 0
    Records records_;       // columns 1 and up
    // For each item column, its text's place in the records: moving, adding
    // or removing a column changes this list, not a million records. Places
    // no column holds keep their texts until the record is packed again.
    std::vector<size_t> places_;
    size_t placeCount_ = 0;  // places handed out
    // Whether column c's place is c - 1 and no other was handed out, as
    // loads need to pack a record read in the columns' order.
    bool placesInOrder_ = true;
    std::vector<int> widths_;  // one per column: their count is the column count
    int rowCount_ = 0;
    int defaultColWidth_ = 64;
    int rowHeight_ = 18;
    FontDesc font_;
    int currentCol_ = 1;
    int currentRow_ = 1;
    int markerRow_ = 1;
    friend class UndoHistory;
    bool modified_ = false;
    std::string currentFileName_;
    FileEncoding encoding_;
    std::vector<TextBlock> blocks_;  // by address
    size_t lastBlock_ = SIZE_MAX;    // where BlockOf found one last
    // Texts and records allocated alone, outside every block: without any,
    // the table goes with its blocks, not one handle at a time.
    size_t alone_ = 0;
    // The block the current CellBatch reserved, while it takes texts.
    const char* openBlock_ = nullptr;
    // While a BulkLoad lives: the block adopted last, which records are
    // packed into in place, where it ends, and how many records since its
    // count was last updated.
    const char* loadingBlock_ = nullptr;
    const char* loadingEnd_ = nullptr;
    size_t loadedCells_ = 0;
    // Buffers reused from row to row.
    std::vector<std::string_view> rowCells_;
    std::string packing_;
    std::vector<TableObserver*> observers_;
    int bulkDepth_ = 0;
    // The cells set while a CellBatch lives: columns and rows from .. to.
    int batchDepth_ = 0;
    int batchCol0_ = 0, batchRow0_ = 0, batchCol1_ = -1, batchRow1_ = -1;
};

}  // namespace tabulon
