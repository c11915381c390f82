#include "table/TableModel.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "text/Messages.h"

namespace tabulon {

namespace {

// The marker text is shared by every marker cell; it is never freed.
constexpr char kMarkerStorage[] = "\x81\xA8";

template <typename Vector>
void RotateOne(Vector& v, int from, int to) {
    const auto at = [&](int i) { return v.begin() + i; };
    if (from < to) {
        std::rotate(at(from), at(from + 1), at(to + 1));
    } else if (to < from) {
        std::rotate(at(to), at(from), at(from + 1));
    }
}

// Where index `i` ends up when the element at `from` moves to `to`.
int FollowMove(int i, int from, int to) {
    if (i == from) return to;
    if (from < to && i > from && i <= to) return i - 1;
    if (to < from && i >= to && i < from) return i + 1;
    return i;
}

}  // namespace

TableModel::Text::Text(const char* bytes, size_t size) {
    static_assert(sizeof(bytes) == sizeof(bits_));
    const auto address = reinterpret_cast<uintptr_t>(bytes);
    if (address > kAddressMask) {
        throw std::bad_alloc();  // no such address on the systems Tabulon runs on
    }
    bits_ = address | std::min<uint64_t>(size, kLongSize) << kSizeShift;
}

const TableModel::Text TableModel::kMarkerText(kMarkerStorage, kMarker.size());

TableModel::TableModel(int pixelsPerInch) : font_(pixelsPerInch) {
    columns_.assign(2, Column(3));
    rowCount_ = 3;
    widths_ = {font_.Size() + 6, defaultColWidth_};
    columns_[0][1] = kMarkerText;
}

TableModel::~TableModel() {
    for (auto& column : columns_) {
        ReleaseColumn(column);
    }
}

uint64_t TableModel::StorageBytes(int64_t cols, int64_t rows) {
    if (cols <= 0 || rows <= 0) {
        return 0;
    }
    // Columns are made at the reset's 3 rows and then resized: a column that
    // grows gets room for at least 6 and leaves its first block behind.
    constexpr int64_t kResetRows = 3;
    const bool grows = rows > kResetRows;
    const uint64_t slots = static_cast<uint64_t>(grows ? std::max<int64_t>(rows, 6) : kResetRows);
    uint64_t column = sizeof(Column) + sizeof(int) + LargeBlockFootprint(slots * sizeof(Text));
    if (grows) {
        column += LargeBlockFootprint(kResetRows * sizeof(Text));
    }
    // The vectors of columns and widths round up to whole pages.
    constexpr uint64_t kTableVectors = 16 << 10;
    const auto count = static_cast<uint64_t>(cols);
    return column > (UINT64_MAX - kTableVectors) / count ? UINT64_MAX
                                                         : column * count + kTableVectors;
}

TableModel::TextBlock* TableModel::BlockOf(const char* bytes) {
    // Cells next to each other mostly share a block: try the last one first.
    if (lastBlock_ < blocks_.size()) {
        TextBlock& last = blocks_[lastBlock_];
        if (bytes >= last.begin() && bytes < last.begin() + last.capacity) return &last;
    }
    const auto after =
        std::upper_bound(blocks_.begin(), blocks_.end(), bytes,
                         [](const char* b, const TextBlock& block) { return b < block.begin(); });
    if (after == blocks_.begin()) {
        return nullptr;
    }
    TextBlock& block = *std::prev(after);
    if (bytes >= block.begin() + block.capacity) return nullptr;
    lastBlock_ = static_cast<size_t>(&block - blocks_.data());
    return &block;
}

const char* TableModel::AddBlock(ByteBuffer bytes, size_t size, size_t capacity) {
    const char* begin = bytes.get();
    const auto at =
        std::upper_bound(blocks_.begin(), blocks_.end(), begin,
                         [](const char* b, const TextBlock& block) { return b < block.begin(); });
    lastBlock_ = SIZE_MAX;
    blocks_.insert(at, TextBlock{std::move(bytes), size, capacity, 0});
    return begin;
}

void TableModel::EraseBlock(TextBlock* block) {
    lastBlock_ = SIZE_MAX;
    blocks_.erase(blocks_.begin() + (block - blocks_.data()));
}

void TableModel::CreditLoadedCells() {
    if (loadedCells_ != 0) {
        BlockOf(loadingBlock_)->cells += loadedCells_;
        loadedCells_ = 0;
    }
}

void TableModel::Release(Text text) {
    if (!text || text == kMarkerText) {
        return;
    }
    CreditLoadedCells();  // before the count can reach zero
    TextBlock* block = BlockOf(text.Bytes());
    if (block == nullptr) {
        delete[] text.Bytes();
    } else if (--block->cells == 0 && block->begin() != openBlock_ &&
               block->begin() != loadingBlock_) {
        EraseBlock(block);
    }
}

TableModel::Text TableModel::Own(std::string_view text) {
    if (text == kMarker) {
        return kMarkerText;
    }
    const size_t length =
        text.size() - static_cast<size_t>(std::count(text.begin(), text.end(), '\0'));
    if (length == 0) {
        return {};
    }
    char* copy = nullptr;
    TextBlock* block = openBlock_ ? BlockOf(openBlock_) : nullptr;
    if (block && block->capacity - block->size > length) {
        copy = block->bytes.get() + block->size;
        block->size += length + 1;
        ++block->cells;
    } else {
        copy = new char[length + 1];
    }
    std::remove_copy(text.begin(), text.end(), copy, '\0');
    copy[length] = '\0';
    return {copy, length};
}

void TableModel::Assign(int col, int row, Text text) {
    Text& slot = columns_[static_cast<size_t>(col)][static_cast<size_t>(row)];
    if (slot != text) {
        Release(slot);
        slot = text;
    }
}

void TableModel::ReleaseColumn(Column& column) {
    for (Text text : column) {
        Release(text);
    }
    column.clear();
}

template <typename F>
void TableModel::Notify(F&& f) {
    if (bulkDepth_ > 0) {
        return;
    }
    // By index, not over a copy: announcing a change needs no memory, so a
    // change made is always announced, also when memory has run out.
    for (size_t i = 0; i < observers_.size(); ++i) {
        f(*observers_[i]);
    }
}

void TableModel::RaiseSelection(int col, int row) {
    // Selection notices reach observers even during a bulk change: the marker
    // handler must see every move.
    for (size_t i = 0; i < observers_.size(); ++i) {
        observers_[i]->SelectionChanged(col, row);
    }
}

void TableModel::AddObserver(TableObserver* observer) {
    observers_.push_back(observer);
}

void TableModel::RemoveObserver(TableObserver* observer) {
    std::erase(observers_, observer);
}

std::string_view TableModel::GetCell(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= rowCount_) {
        return {};
    }
    return columns_[static_cast<size_t>(col)][static_cast<size_t>(row)].View();
}

void TableModel::SetCell(int col, int row, std::string_view text) {
    if (col < 0 || row < 0 || col >= ColCount() || row >= rowCount_) {
        throw messages::GridIndexOutOfRange();
    }
    Assign(col, row, Own(text));
    if (batchDepth_ > 0) {
        if (batchCol1_ < 0) {
            batchCol0_ = batchCol1_ = col;
            batchRow0_ = batchRow1_ = row;
        } else {
            batchCol0_ = std::min(batchCol0_, col);
            batchCol1_ = std::max(batchCol1_, col);
            batchRow0_ = std::min(batchRow0_, row);
            batchRow1_ = std::max(batchRow1_, row);
        }
        return;
    }
    Notify([&](TableObserver& o) { o.CellsChanged(col, row, col, row); });
}

std::vector<std::string> TableModel::GetRowTexts(int row) const {
    std::vector<std::string> texts;
    texts.reserve(columns_.size());
    for (int c = 0; c < ColCount(); ++c) {
        texts.emplace_back(GetCell(c, row));
    }
    return texts;
}

void TableModel::SetRowTexts(int row, const std::vector<std::string>& texts) {
    const int n = std::min(ColCount(), static_cast<int>(texts.size()));
    for (int c = 0; c < n; ++c) {
        Assign(c, row, Own(texts[static_cast<size_t>(c)]));
    }
    if (n > 0) Notify([&](TableObserver& o) { o.CellsChanged(0, row, n - 1, row); });
}

std::vector<std::string> TableModel::GetColTexts(int col) const {
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(rowCount_));
    for (int r = 0; r < rowCount_; ++r) {
        texts.emplace_back(GetCell(col, r));
    }
    return texts;
}

void TableModel::SetColTexts(int col, const std::vector<std::string>& texts) {
    const int n = std::min(rowCount_, static_cast<int>(texts.size()));
    for (int r = 0; r < n; ++r) {
        Assign(col, r, Own(texts[static_cast<size_t>(r)]));
    }
    if (n > 0) Notify([&](TableObserver& o) { o.CellsChanged(col, 0, col, n - 1); });
}

void TableModel::ClearCol(int col) {
    auto& column = columns_[static_cast<size_t>(col)];
    for (Text& text : column) {
        Release(text);
        text = {};
    }
    Notify([&](TableObserver& o) { o.CellsChanged(col, 0, col, rowCount_ - 1); });
}

void TableModel::SetColCount(int count) {
    count = std::max(count, 1);
    const int old = ColCount();
    if (count == old) {
        return;
    }
    const bool moveCurrent = currentCol_ >= count;
    if (moveCurrent) {
        RaiseSelection(count - 1, currentRow_);
    }
    if (count < old) {
        const TableChange change{TableChange::Kind::ColumnsRemoved, count, old - count};
        Notify([&](TableObserver& o) { o.TableChanging(change); });
        for (int c = count; c < old; ++c) {
            ReleaseColumn(columns_[static_cast<size_t>(c)]);
        }
        columns_.resize(static_cast<size_t>(count));
        widths_.resize(static_cast<size_t>(count));
        if (moveCurrent) currentCol_ = count - 1;
        Notify([&](TableObserver& o) { o.TableChanged(change); });
    } else {
        const TableChange change{TableChange::Kind::ColumnsInserted, old, count - old};
        Notify([&](TableObserver& o) { o.TableChanging(change); });
        // One at a time: a prototype to copy from would cost a column more.
        columns_.reserve(static_cast<size_t>(count));
        while (columns_.size() < static_cast<size_t>(count)) {
            columns_.emplace_back(static_cast<size_t>(rowCount_));
        }
        widths_.resize(static_cast<size_t>(count), defaultColWidth_);
        Notify([&](TableObserver& o) { o.TableChanged(change); });
    }
    if (moveCurrent) {
        Notify([](TableObserver& o) { o.CurrentCellMoved(); });
    }
}

void TableModel::SetRowCount(int count) {
    count = std::max(count, 1);
    const int old = rowCount_;
    if (count == old) {
        return;
    }
    const bool moveCurrent = currentRow_ >= count;
    if (moveCurrent) {
        RaiseSelection(currentCol_, count - 1);
    }
    const bool shrink = count < old;
    const TableChange change{
        shrink ? TableChange::Kind::RowsRemoved : TableChange::Kind::RowsInserted,
        std::min(old, count), std::abs(old - count)};
    Notify([&](TableObserver& o) { o.TableChanging(change); });
    for (auto& column : columns_) {
        if (shrink) {
            for (size_t r = static_cast<size_t>(count); r < column.size(); ++r) {
                Release(column[r]);
            }
        }
        column.resize(static_cast<size_t>(count));
    }
    rowCount_ = count;
    if (moveCurrent) currentRow_ = count - 1;
    Notify([&](TableObserver& o) { o.TableChanged(change); });
    if (moveCurrent) {
        Notify([](TableObserver& o) { o.CurrentCellMoved(); });
    }
}

int TableModel::GetColWidth(int col) const {
    if (col < 0 || col >= ColCount()) {
        throw messages::GridIndexOutOfRange();
    }
    return widths_[static_cast<size_t>(col)];
}

void TableModel::SetColWidth(int col, int pixels) {
    if (col < 0 || col >= ColCount()) {
        throw messages::GridIndexOutOfRange();
    }
    widths_[static_cast<size_t>(col)] = pixels;
    Notify([](TableObserver& o) { o.ColumnWidthsChanged(); });
}

void TableModel::SetDefaultColWidth(int pixels) {
    defaultColWidth_ = pixels;
    std::fill(widths_.begin(), widths_.end(), pixels);
    Notify([](TableObserver& o) { o.ColumnWidthsChanged(); });
}

void TableModel::SetRowHeight(int pixels) {
    rowHeight_ = pixels;
    Notify([](TableObserver& o) { o.RowHeightChanged(); });
}

void TableModel::SetFont(const FontDesc& font) {
    font_ = font;
    Notify([](TableObserver& o) { o.FontChanged(); });
}

void TableModel::SetCurrentCell(int col, int row) {
    SetCurrentCol(col);
    SetCurrentRow(row);
}

void TableModel::SetCurrentCol(int col) {
    if (col < 1 || col >= ColCount()) {
        throw messages::GridIndexOutOfRange();
    }
    if (col == currentCol_) {
        return;
    }
    RaiseSelection(col, currentRow_);
    currentCol_ = col;
    Notify([](TableObserver& o) { o.CurrentCellMoved(); });
}

void TableModel::SetCurrentRow(int row) {
    if (row < 1 || row >= rowCount_) {
        throw messages::GridIndexOutOfRange();
    }
    if (row == currentRow_) {
        return;
    }
    RaiseSelection(currentCol_, row);
    currentRow_ = row;
    Notify([](TableObserver& o) { o.CurrentCellMoved(); });
}

void TableModel::MoveMarker(int row) {
    if (markerRow_ >= 0 && markerRow_ < rowCount_) {
        Assign(0, markerRow_, {});
        const int old = markerRow_;
        Notify([&](TableObserver& o) { o.CellsChanged(0, old, 0, old); });
    }
    markerRow_ = row;
    if (row >= 0 && row < rowCount_) {
        Assign(0, row, kMarkerText);
        Notify([&](TableObserver& o) { o.CellsChanged(0, row, 0, row); });
    }
}

void TableModel::MoveRowTexts(int from, int to, bool markerColumnToo) {
    if (from == to) {
        return;
    }
    const int first = markerColumnToo ? 0 : 1;
    for (int c = first; c < ColCount(); ++c) {
        RotateOne(columns_[static_cast<size_t>(c)], from, to);
    }
    Notify([&](TableObserver& o) { o.RowMoved(from, to); });
    Notify([&](TableObserver& o) {
        o.CellsChanged(first, std::min(from, to), ColCount() - 1, std::max(from, to));
    });
}

void TableModel::MoveColTexts(int from, int to) {
    if (from == to) {
        return;
    }
    RotateOne(columns_, from, to);
    Notify([&](TableObserver& o) {
        o.CellsChanged(std::min(from, to), 0, std::max(from, to), rowCount_ - 1);
    });
}

void TableModel::PermuteRows(int firstRow, const std::vector<int>& order, int firstCol) {
    if (order.empty()) {
        return;
    }
    // Texts are owned once; anything but a permutation would free one twice.
    std::vector<bool> seen(order.size());
    for (int from : order) {
        if (from < 0 || static_cast<size_t>(from) >= order.size() ||
            seen[static_cast<size_t>(from)] ||
            firstRow + static_cast<int>(order.size()) > rowCount_) {
            throw std::invalid_argument("PermuteRows needs a permutation inside the table");
        }
        seen[static_cast<size_t>(from)] = true;
    }
    std::vector<Text> moved(order.size());
    for (int c = firstCol; c < ColCount(); ++c) {
        const auto rows = columns_[static_cast<size_t>(c)].begin() + firstRow;
        for (size_t i = 0; i < order.size(); ++i) {
            moved[i] = rows[order[i]];
        }
        std::copy(moved.begin(), moved.end(), rows);
    }
    const int lastRow = firstRow + static_cast<int>(order.size()) - 1;
    Notify([&](TableObserver& o) { o.RowsPermuted(firstRow, order); });
    Notify([&](TableObserver& o) { o.CellsChanged(firstCol, firstRow, ColCount() - 1, lastRow); });
}

void TableModel::MoveRow(int from, int to) {
    MoveRowTexts(from, to, true);
    const int row = FollowMove(currentRow_, from, to);
    if (row != currentRow_) {
        currentRow_ = row;
        Notify([](TableObserver& o) { o.CurrentCellMoved(); });
    }
}

void TableModel::MoveCol(int from, int to) {
    MoveColTexts(from, to);
    if (from == to) {
        return;
    }
    RotateOne(widths_, from, to);
    Notify([](TableObserver& o) { o.ColumnWidthsChanged(); });
    const int col = FollowMove(currentCol_, from, to);
    if (col != currentCol_) {
        currentCol_ = col;
        Notify([](TableObserver& o) { o.CurrentCellMoved(); });
    }
}

void TableModel::ResetToEmpty() {
    BulkLoad reset(*this);
    for (int c = 0; c < ColCount(); ++c) {
        ClearCol(c);
    }
    // No cell points into a block any more; blocks adopted but never used go too.
    blocks_.clear();
    openBlock_ = nullptr;
    loadingBlock_ = nullptr;
    loadedCells_ = 0;
    SetColCount(2);
    SetRowCount(3);
    SetDefaultColWidth(64);
    SetColWidth(0, 15);
    SetRowHeight(18);
    SetCurrentRow(1);
    SetCurrentCol(1);
    SetCell(0, 1, kMarker);
    encoding_ = {};
}

TableModel::CellBatch::CellBatch(TableModel& model) : model_(model) {
    ++model_.batchDepth_;
}

void TableModel::CellBatch::ReserveTexts(size_t bytes, size_t count) {
    if (model_.openBlock_ != nullptr || bytes == 0) {
        return;
    }
    const size_t capacity = bytes + count;  // a NUL each
    model_.openBlock_ = model_.AddBlock(AllocateBytes(capacity), 0, capacity);
}

TableModel::CellBatch::~CellBatch() {
    TableModel& m = model_;
    if (m.batchDepth_ == 1 && m.openBlock_ != nullptr) {
        // Texts set from now on are allocated alone; an unused block goes.
        TextBlock* block = m.BlockOf(m.openBlock_);
        m.openBlock_ = nullptr;
        if (block && block->cells == 0) m.EraseBlock(block);
    }
    if (--m.batchDepth_ > 0 || m.batchCol1_ < 0) {
        return;
    }
    const int col0 = m.batchCol0_;
    const int row0 = m.batchRow0_;
    const int col1 = std::min(m.batchCol1_, m.ColCount() - 1);
    const int row1 = std::min(m.batchRow1_, m.rowCount_ - 1);
    m.batchCol1_ = m.batchRow1_ = -1;
    if (col0 <= col1 && row0 <= row1) {
        m.Notify([&](TableObserver& o) { o.CellsChanged(col0, row0, col1, row1); });
    }
}

TableModel::BulkLoad::BulkLoad(TableModel& model) : model_(model) {
    if (model_.bulkDepth_ == 0) {
        const TableChange change{TableChange::Kind::Reset};
        model_.Notify([&](TableObserver& o) { o.TableChanging(change); });
    }
    ++model_.bulkDepth_;
}

TableModel::BulkLoad::~BulkLoad() {
    if (--model_.bulkDepth_ == 0) {
        model_.CreditLoadedCells();
        // A file of empty cells only keeps no buffer.
        TextBlock* loaded = model_.loadingBlock_ ? model_.BlockOf(model_.loadingBlock_) : nullptr;
        if (loaded && loaded->cells == 0) model_.EraseBlock(loaded);
        model_.loadingBlock_ = nullptr;
        const TableChange change{TableChange::Kind::Reset};
        model_.Notify([&](TableObserver& o) { o.TableChanged(change); });
        model_.Notify([](TableObserver& o) { o.ColumnWidthsChanged(); });
        model_.Notify([](TableObserver& o) { o.RowHeightChanged(); });
        model_.Notify([](TableObserver& o) { o.CurrentCellMoved(); });
    }
}

void TableModel::BulkLoad::AdoptBuffer(ByteBuffer buffer, size_t size) {
    model_.CreditLoadedCells();
    model_.loadingBlock_ = model_.AddBlock(std::move(buffer), size + 1, size + 1);
}

void TableModel::BulkLoad::SetCellInBuffer(int col, int row, std::string_view text) {
    if (text.empty()) {
        model_.Assign(col, row, {});
        return;
    }
    Text& slot = model_.columns_[static_cast<size_t>(col)][static_cast<size_t>(row)];
    const Text adopted(text.data(), text.size());
    if (slot != adopted) {
        // Counted first (the old text may be its block's last), and credited
        // to the block at once only when a text goes: a load sets millions.
        ++model_.loadedCells_;
        model_.Release(slot);
        slot = adopted;
    }
}

}  // namespace tabulon
