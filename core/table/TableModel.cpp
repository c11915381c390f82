#include "table/TableModel.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <numeric>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "table/RowMoves.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

// The marker text is shared by every marker cell; it is never freed.
constexpr char kMarkerStorage[] = "\x81\xA8";

}  // namespace

CellText::CellText(const char* bytes, size_t size) {
    static_assert(sizeof(bytes) == sizeof(bits_));
    const auto address = reinterpret_cast<uintptr_t>(bytes);
    if (address > kAddressMask) {
        throw std::bad_alloc();  // no such address on the systems Tabulon runs on
    }
    bits_ = address | std::min<uint64_t>(size, kLongSize) << kSizeShift;
}

const TableModel::Text TableModel::kMarkerText(kMarkerStorage, kMarker.size());

TableModel::TableModel(int pixelsPerInch) : font_(pixelsPerInch) {
    markers_.Resize(3);
    records_.resize(3);
    rowCount_ = 3;
    widths_ = {font_.Size() + 6, defaultColWidth_};
    PlacesInOrder();
    markers_.Set(1, kMarkerText);
}

void TableModel::ReadyForRecords() {
    if (!placesInOrder_) RewriteRows([](int, std::span<std::string_view>) {});
}

void TableModel::PlacesInOrder() {
    places_.resize(widths_.size() - 1);
    std::iota(places_.begin(), places_.end(), size_t{0});
    placeCount_ = places_.size();
    placesInOrder_ = true;
}

TableModel::~TableModel() {
    if (alone_ != 0) ReleaseAll();
}

void TableModel::ReleaseAll() {
    markers_.ForEachText([&](Text text) { Release(text); });
    for (const PackedRecord record : records_) {
        Release(record);
    }
    markers_.Clear();
    records_.assign(records_.size(), PackedRecord{});
}

uint64_t TableModel::StorageBytes(int64_t cols, int64_t rows) {
    if (cols <= 0 || rows <= 0) {
        return 0;
    }
    // As if each column were a vector of handles made at the reset's 3 rows
    // and then resized: one that grows gets room for at least 6 and leaves its
    // first block behind.
    constexpr int64_t kResetRows = 3;
    const bool grows = rows > kResetRows;
    const uint64_t slots = static_cast<uint64_t>(grows ? std::max<int64_t>(rows, 6) : kResetRows);
    uint64_t column =
        sizeof(std::vector<Text>) + sizeof(int) + LargeBlockFootprint(slots * sizeof(Text));
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

char* TableModel::RoomIn(const char* begin, size_t bytes) {
    TextBlock* block = begin ? BlockOf(begin) : nullptr;
    if (block == nullptr || block->capacity - block->size < bytes) {
        return nullptr;
    }
    char* room = block->bytes.get() + block->size;
    block->size += bytes;
    ++block->cells;
    return room;
}

void TableModel::CreditLoadedCells() {
    if (loadedCells_ != 0) {
        BlockOf(loadingBlock_)->cells += loadedCells_;
        loadedCells_ = 0;
    }
}

void TableModel::ReleaseBytes(const char* bytes) {
    CreditLoadedCells();  // before the count can reach zero
    TextBlock* block = BlockOf(bytes);
    if (block == nullptr) {
        delete[] bytes;
        --alone_;
    } else if (--block->cells == 0 && block->begin() != openBlock_ &&
               block->begin() != loadingBlock_) {
        EraseBlock(block);
    }
}

void TableModel::Release(Text text) {
    if (text && text != kMarkerText) ReleaseBytes(text.Bytes());
}

void TableModel::Release(PackedRecord record) {
    if (record) ReleaseBytes(record.Begin());
}

namespace {

// `text` without its NUL bytes, kept in `holder` when there were any.
std::string_view WithoutNul(std::string_view text, std::string& holder) {
    if (text.find('\0') == std::string_view::npos) return text;
    holder.assign(text);
    std::erase(holder, '\0');
    return holder;
}

}  // namespace

TableModel::Text TableModel::Own(std::string_view text) {
    if (text == kMarker) {
        return kMarkerText;
    }
    std::string holder;
    text = WithoutNul(text, holder);
    if (text.empty()) {
        return {};
    }
    char* copy = RoomIn(openBlock_, text.size() + 1);
    if (copy == nullptr) {
        copy = new char[text.size() + 1];
        ++alone_;
    }
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return {copy, text.size()};
}

void TableModel::Assign(int row, Text text) {
    const auto r = static_cast<size_t>(row);
    if (markers_.At(r) != text) Release(markers_.Set(r, text));
}

std::span<std::string_view> TableModel::RowCells(int row) {
    const PackedRecord record = records_[static_cast<size_t>(row)];
    rowCells_.assign(placeCount_, std::string_view{});
    for (const size_t place : places_) {
        rowCells_[place] = record.Cell(place);
    }
    return rowCells_;
}

void TableModel::StoreRecord(int row, std::span<const std::string_view> cells) {
    PackedRecord& slot = records_[static_cast<size_t>(row)];
    const PackedRecord old = slot;
    const PackedRecord::Layout layout = PackedRecord::Plan(cells);
    const size_t size = layout.size;
    if (size == 0) {
        slot = {};
        Release(old);
        return;
    }
    packing_.resize(size);
    const PackedRecord packed = PackedRecord::Pack(packing_.data(), layout);
    // A record set again while it is the last one in the open block (a row of
    // a paste or its undo, cell by cell) takes its own place again, and the
    // block's count stays: one record takes the other's place.
    TextBlock* open = openBlock_ && old ? BlockOf(openBlock_) : nullptr;
    const char* oldBegin = old.Begin();
    const bool takesOldPlace = open && oldBegin >= open->begin() &&
                               oldBegin + old.Size() == open->begin() + open->size &&
                               oldBegin + size <= open->begin() + open->capacity;
    char* at = nullptr;
    if (takesOldPlace) {
        at = open->bytes.get() + (oldBegin - open->begin());
        open->size = static_cast<size_t>(at - open->begin()) + size;
    } else {
        at = RoomIn(openBlock_, size);
        if (at == nullptr) {
            at = new char[size];
            ++alone_;
        }
    }
    std::memcpy(at, packing_.data(), size);
    slot = packed.Moved(at - packing_.data());
    if (!takesOldPlace) Release(old);
}

template <typename Edit>
void TableModel::RewriteRows(Edit&& edit) {
    std::vector<std::string_view> texts(static_cast<size_t>(ColCount()));
    const auto read = [&](int row) {
        texts[0] = markers_.At(static_cast<size_t>(row)).View();
        const PackedRecord record = records_[static_cast<size_t>(row)];
        for (size_t i = 1; i < texts.size(); ++i) {
            texts[i] = record.Cell(places_[i - 1]);
        }
        edit(row, texts);
        return PackedRecord::Plan(std::span(texts).subspan(1));
    };
    size_t total = 0;
    for (int r = 0; r < rowCount_; ++r) {
        total += read(r).size;
    }
    const char* block = total == 0 ? nullptr : AddBlock(AllocateBytes(total), 0, total);
    for (int r = 0; r < rowCount_; ++r) {
        const PackedRecord::Layout layout = read(r);
        if (texts[0] != markers_.At(static_cast<size_t>(r)).View()) Assign(r, Own(texts[0]));
        PackedRecord& slot = records_[static_cast<size_t>(r)];
        const PackedRecord old = slot;
        slot = layout.size == 0 ? PackedRecord{}
                                : PackedRecord::Pack(RoomIn(block, layout.size), layout);
        Release(old);
    }
    PlacesInOrder();
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
    const auto r = static_cast<size_t>(row);
    return col == 0 ? markers_.At(r).View() : records_[r].Cell(PlaceOf(col));
}

void TableModel::NoteChanged(int col0, int row, int col1) {
    if (batchDepth_ > 0) {
        if (batchCol1_ < 0) {
            batchCol0_ = col0;
            batchCol1_ = col1;
            batchRow0_ = batchRow1_ = row;
        } else {
            batchCol0_ = std::min(batchCol0_, col0);
            batchCol1_ = std::max(batchCol1_, col1);
            batchRow0_ = std::min(batchRow0_, row);
            batchRow1_ = std::max(batchRow1_, row);
        }
        return;
    }
    Notify([&](TableObserver& o) { o.CellsChanged(col0, row, col1, row); });
}

void TableModel::SetCell(int col, int row, std::string_view text) {
    SetRowCells(row, col, std::span(&text, 1));
}

void TableModel::SetRowCells(int row, int firstCol, std::span<const std::string_view> texts) {
    const auto count = static_cast<int64_t>(texts.size());
    if (firstCol < 0 || row < 0 || firstCol + count > ColCount() || row >= rowCount_) {
        throw messages::GridIndexOutOfRange();
    }
    if (texts.empty()) return;
    if (firstCol == 0) {
        Assign(row, Own(texts[0]));
        texts = texts.subspan(1);
    }
    if (!texts.empty()) {
        const std::span<std::string_view> cells = RowCells(row);
        const int first = std::max(firstCol, 1);
        const auto nul = [](std::string_view text) { return text.find('\0') != text.npos; };
        std::vector<std::string> holders(
            std::none_of(texts.begin(), texts.end(), nul) ? 0 : texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            cells[PlaceOf(first + static_cast<int>(i))] =
                holders.empty() ? texts[i] : WithoutNul(texts[i], holders[i]);
        }
        StoreRecord(row, cells);
    }
    NoteChanged(firstCol, row, firstCol + static_cast<int>(count) - 1);
}

std::vector<std::string> TableModel::GetRowTexts(int row) const {
    std::vector<std::string> texts;
    texts.reserve(widths_.size());
    for (int c = 0; c < ColCount(); ++c) {
        texts.emplace_back(GetCell(c, row));
    }
    return texts;
}

void TableModel::SetRowTexts(int row, const std::vector<std::string>& texts) {
    const size_t n = std::min(widths_.size(), texts.size());
    const std::vector<std::string_view> views(texts.begin(),
                                              texts.begin() + static_cast<ptrdiff_t>(n));
    SetRowCells(row, 0, views);
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
    std::string holder;
    RewriteRows([&](int row, std::span<std::string_view> rowTexts) {
        if (row < n)
            rowTexts[static_cast<size_t>(col)] =
                WithoutNul(texts[static_cast<size_t>(row)], holder);
    });
    if (n > 0) Notify([&](TableObserver& o) { o.CellsChanged(col, 0, col, n - 1); });
}

void TableModel::ClearCol(int col) {
    if (col == 0) {
        markers_.ForEachText([&](Text text) { Release(text); });
        markers_.Clear();
    } else {
        RewriteRows(
            [&](int, std::span<std::string_view> texts) { texts[static_cast<size_t>(col)] = {}; });
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
        // The removed columns' places are no column's any more: they read
        // empty and go when their record is packed again.
        if (count == 1) {
            for (PackedRecord& record : records_) {
                Release(std::exchange(record, {}));
            }
            placeCount_ = 0;
        }
        places_.resize(static_cast<size_t>(count - 1));
        placesInOrder_ = placeCount_ == places_.size();
        widths_.resize(static_cast<size_t>(count));
        if (moveCurrent) currentCol_ = count - 1;
        Notify([&](TableObserver& o) { o.TableChanged(change); });
    } else {
        // New columns take new places, which every record reads empty.
        const TableChange change{TableChange::Kind::ColumnsInserted, old, count - old};
        Notify([&](TableObserver& o) { o.TableChanging(change); });
        widths_.resize(static_cast<size_t>(count), defaultColWidth_);
        while (places_.size() < widths_.size() - 1) {
            places_.push_back(placeCount_++);
        }
        // Places left behind by removed columns are dropped once they
        // outnumber those in use: every record is packed anew.
        constexpr size_t kLeftBehind = 16;
        if (placeCount_ > 2 * places_.size() + kLeftBehind) {
            RewriteRows([](int, std::span<std::string_view>) {});
        }
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
    if (shrink) {
        for (auto r = static_cast<size_t>(count); r < records_.size(); ++r) {
            Release(markers_.Set(r, {}));
            Release(records_[r]);
        }
    }
    markers_.Resize(static_cast<size_t>(count));
    records_.resize(static_cast<size_t>(count));
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
        Assign(markerRow_, {});
        const int old = markerRow_;
        Notify([&](TableObserver& o) { o.CellsChanged(0, old, 0, old); });
    }
    markerRow_ = row;
    if (row >= 0 && row < rowCount_) {
        Assign(row, kMarkerText);
        Notify([&](TableObserver& o) { o.CellsChanged(0, row, 0, row); });
    }
}

void TableModel::MoveRowTexts(int from, int to, bool markerColumnToo) {
    if (from == to) {
        return;
    }
    const int first = markerColumnToo ? 0 : 1;
    if (markerColumnToo) markers_.Rotate(static_cast<size_t>(from), static_cast<size_t>(to));
    RotateOne(records_, from, to);
    Notify([&](TableObserver& o) { o.RowMoved(from, to); });
    Notify([&](TableObserver& o) {
        o.CellsChanged(first, std::min(from, to), ColCount() - 1, std::max(from, to));
    });
}

void TableModel::MoveColTexts(int from, int to) {
    if (from == to) {
        return;
    }
    if (from > 0 && to > 0) {
        RotateOne(places_, from - 1, to - 1);  // the texts stay where they are
        placesInOrder_ = false;
    } else {
        RewriteRows([&](int, std::span<std::string_view> texts) { RotateOne(texts, from, to); });
    }
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
            firstRow + static_cast<int>(order.size()) > rowCount_ || firstCol < 0 || firstCol > 1) {
            throw std::invalid_argument("PermuteRows needs a permutation inside the table");
        }
        seen[static_cast<size_t>(from)] = true;
    }
    if (firstCol == 0) markers_.Permute(static_cast<size_t>(firstRow), order);
    PermuteRun(records_, static_cast<size_t>(firstRow), order);
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
    ReleaseAll();
    PlacesInOrder();  // no record holds anything
    // No handle points into a block any more; blocks adopted but never used go too.
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
    // Each text's end, or a marker's NUL, and the widest a row's ends need.
    const size_t capacity = bytes + count * sizeof(uint32_t);
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
        // A file of empty cells only, or one whose records were all copied, keeps no buffer.
        TextBlock* block = model_.loadingBlock_ ? model_.BlockOf(model_.loadingBlock_) : nullptr;
        if (block && block->cells == 0) model_.EraseBlock(block);
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
    char* begin = buffer.get();
    model_.loadingBlock_ = model_.AddBlock(std::move(buffer), size + 1, size + 1);
    model_.loadingEnd_ = begin + size + 1;
}

bool TableModel::PackInPlace(char*& packedTo, int row, const PackedRecord::Layout& layout,
                             const char* readTo) {
    if (layout.size == 0 || loadingBlock_ == nullptr) return false;
    // The last record may also take the NUL after the buffer's text.
    const char* limit = readTo >= loadingEnd_ - 1 ? loadingEnd_ : readTo;
    // A kept record's first non-empty text is where its bytes begin.
    const auto first = std::find_if(layout.kept.begin(), layout.kept.end(),
                                    [](std::string_view text) { return !text.empty(); });
    if (first->data() < packedTo || layout.size > static_cast<size_t>(limit - packedTo)) {
        return false;
    }
    // Once records have packed short of their lines, their texts are far
    // enough ahead to move in whole chunks, read within this record's line.
    const bool farAhead = static_cast<size_t>(first->data() - packedTo) >= PackedRecord::kChunkLag;
    records_[static_cast<size_t>(row)] =
        PackedRecord::Pack(packedTo, layout, farAhead ? readTo : nullptr);
    packedTo += layout.size;
    return true;
}

TableModel::BulkLoad::Part::Part(BulkLoad& load, char* from) : load_(load), packedTo_(from) {
    load_.model_.ReadyForRecords();
}

void TableModel::BulkLoad::Part::SetRecord(int row, std::span<const std::string_view> cells,
                                           const char* readTo) {
    const PackedRecord::Layout layout = PackedRecord::Plan(cells);
    if (packedTo_ != nullptr && load_.model_.PackInPlace(packedTo_, row, layout, readTo)) {
        ++packed_;
    } else {
        Copy(row, layout);
    }
}

void TableModel::BulkLoad::Part::PlaceRecord(int row, std::span<const std::string_view> cells,
                                             std::span<Room> rooms, size_t& room) {
    const PackedRecord::Layout layout = PackedRecord::Plan(cells);
    if (layout.size == 0) return;  // the row is empty already
    for (size_t tried = 0; tried < rooms.size(); ++tried, room = (room + 1) % rooms.size()) {
        Room& free = rooms[room];
        const auto space = static_cast<size_t>(free.end - free.begin);
        if (layout.size <= space) {
            // Texts move in whole chunks where what a last chunk writes past
            // the record stays in the room.
            const bool chunks = layout.size + PackedRecord::kChunk <= space;
            load_.model_.records_[static_cast<size_t>(row)] =
                PackedRecord::Pack(free.begin, layout, chunks ? load_.model_.loadingEnd_ : nullptr);
            free.begin += layout.size;
            ++packed_;
            return;
        }
    }
    Copy(row, layout);
}

void TableModel::BulkLoad::Part::Copy(int row, const PackedRecord::Layout& layout) {
    if (layout.size == 0) return;  // the row is empty already
    if (static_cast<size_t>(copyEnd_ - copyTo_) < layout.size) {
        // Records read from anywhere go to blocks of at least a megabyte.
        constexpr size_t kLeast = size_t{1} << 20;
        const size_t capacity = std::max(layout.size, kLeast);
        ByteBuffer bytes = AllocateBytes(capacity);
        char* begin = bytes.get();
        {
            const std::lock_guard lock(load_.parts_);
            load_.model_.AddBlock(std::move(bytes), 0, capacity);
        }
        if (!copies_.empty())
            copies_.back().used = static_cast<size_t>(copyTo_ - copies_.back().begin);
        copies_.push_back({begin, 0, 0});
        copyTo_ = begin;
        copyEnd_ = begin + capacity;
    }
    load_.model_.records_[static_cast<size_t>(row)] = PackedRecord::Pack(copyTo_, layout);
    copyTo_ += layout.size;
    ++copies_.back().records;
}

TableModel::BulkLoad::Part::~Part() {
    TableModel& m = load_.model_;
    const std::lock_guard lock(load_.parts_);
    m.loadedCells_ += packed_;
    if (!copies_.empty()) copies_.back().used = static_cast<size_t>(copyTo_ - copies_.back().begin);
    for (const Copies& copies : copies_) {
        TextBlock* block = m.BlockOf(copies.begin);
        block->size = copies.used;
        block->cells += copies.records;
    }
}

}  // namespace tabulon
