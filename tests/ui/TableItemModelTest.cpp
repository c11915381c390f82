// The Qt adapter over the table: what the view sees, and which notices each
// change of the model becomes (never a reset for a cell edit), with Qt's
// model tester watching every change.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <functional>
#include <random>

#include "Cp932Text.h"
#include "TableItemModel.h"
#include "edit/TableOperations.h"
#include "files/NativeFile.h"
#include "text/Cp932.h"

namespace {

std::string Sjis(const char* utf8) {
    return tabulon::Utf8ToCp932OrThrow(utf8);
}

// 3 item columns, 4 records and the trailing row.
void Fill(tabulon::TableModel& table) {
    table.SetColCount(4);
    table.SetRowCount(6);
    const char* names[] = {"名前", "住所", "電話"};
    for (int c = 1; c < 4; ++c) {
        table.SetCell(c, 0, Sjis(names[c - 1]));
        for (int r = 1; r < 5; ++r) {
            table.SetCell(c, r, Sjis("値") + std::to_string(c) + "," + std::to_string(r));
        }
    }
}

// Names the notices a change produced, in the order Qt must see them.
class NoticeLog {
  public:
    explicit NoticeLog(QAbstractItemModel& model) {
        const auto log = [this](const char* name) {
            return [this, name] { names.push_back(name); };
        };
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, &context, log("rowsInserted"));
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, &context, log("rowsRemoved"));
        QObject::connect(&model, &QAbstractItemModel::columnsInserted, &context,
                         log("columnsInserted"));
        QObject::connect(&model, &QAbstractItemModel::columnsRemoved, &context,
                         log("columnsRemoved"));
        QObject::connect(&model, &QAbstractItemModel::modelReset, &context, log("reset"));
        QObject::connect(&model, &QAbstractItemModel::dataChanged, &context,
                         [this](const QModelIndex& a, const QModelIndex& b) {
                             names.push_back("data(" + std::to_string(a.row()) + "," +
                                             std::to_string(a.column()) + "-" +
                                             std::to_string(b.row()) + "," +
                                             std::to_string(b.column()) + ")");
                         });
        QObject::connect(
            &model, &QAbstractItemModel::headerDataChanged, &context,
            [this](Qt::Orientation o, int first, int last) {
                names.push_back(std::string(o == Qt::Horizontal ? "names(" : "marks(") +
                                std::to_string(first) + "-" + std::to_string(last) + ")");
            });
    }
    std::vector<std::string> names;

  private:
    QObject context;
};

// The cells' UTF-16, straight from cp932, is the codec's UTF-8 for any bytes.
TEST(TableItemModel, ShowsAnyBytesAsTheCodecDecodesThem) {
    std::mt19937 rng(7);
    for (int round = 0; round < 5000; ++round) {
        std::string bytes(rng() % 8, '\0');
        for (char& b : bytes)
            b = static_cast<char>(rng() % 3 ? 0x80 + rng() % 0x80 : rng() % 0x80);
        ASSERT_EQ(FromCp932(bytes), QString::fromStdString(tabulon::Cp932ToUtf8(bytes)));
    }
}

TEST(TableItemModel, ShowsCellsBelowTheHeadersAndTheHeadersFromRowAndColumnZero) {
    tabulon::TableModel table;
    Fill(table);
    const tabulon::RecordFilter filter(table);
    TableItemModel model(table, filter);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.index(1, 2).data().toString(), QStringLiteral("値3,2"));
    EXPECT_EQ(model.index(4, 0).data().toString(), QString());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("住所"));
    EXPECT_EQ(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("→"));
    EXPECT_EQ(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), QString());
    // Bytes that are no cp932 character show as U+FFFD and stay in the model.
    table.SetCell(1, 1, "\x81\x20ok");
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("\uFFFD ok"));
    EXPECT_EQ(table.GetCell(1, 1), "\x81\x20ok");
}

TEST(TableItemModel, TurnsEachChangeIntoTheMatchingNotices) {
    struct Case {
        const char* what;
        std::function<void(tabulon::TableModel&)> change;
        std::vector<std::string> notices;
    };
    const Case cases[] = {
        {"one cell", [](auto& t) { t.SetCell(2, 3, "x"); }, {"data(2,1-2,1)"}},
        {"an item name", [](auto& t) { t.SetCell(3, 0, "x"); }, {"names(2-2)"}},
        {"the marker", [](auto& t) { t.MoveMarker(4); }, {"marks(0-0)", "marks(3-3)"}},
        {"a row at the bottom", [](auto& t) { t.SetRowCount(7); }, {"rowsInserted"}},
        {"rows cut off", [](auto& t) { t.SetRowCount(3); }, {"rowsRemoved"}},
        {"a column at the right", [](auto& t) { t.SetColCount(5); }, {"columnsInserted"}},
        {"a row inserted",
         [](auto& t) { tabulon::InsertRow(t, 2); },
         {"rowsInserted", "marks(1-5)", "data(1,0-5,2)"}},
        {"a column deleted",
         [](auto& t) { tabulon::DeleteColumn(t, 1); },
         {"names(0-2)", "data(0,0-4,2)", "columnsRemoved"}},
        {"a row moved", [](auto& t) { t.MoveRow(1, 3); }, {"marks(0-2)", "data(0,0-2,2)"}},
        {"the empty document", [](auto& t) { t.ResetToEmpty(); }, {"reset"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tabulon::TableModel table;
        Fill(table);
        const tabulon::RecordFilter filter(table);
        TableItemModel model(table, filter);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        NoticeLog log(model);
        c.change(table);
        EXPECT_EQ(log.names, c.notices);
        EXPECT_EQ(model.rowCount(), table.RowCount() - 1);
        EXPECT_EQ(model.columnCount(), table.ColCount() - 1);
    }
}

// Records 2 and 4 shown: after each change the view shows just the records
// the filter shows, under their numbers, Qt's tester checking every notice.
TEST(TableItemModel, FilteredShowsTheFiltersRecordsThroughEveryChange) {
    const std::function<void(tabulon::TableModel&)> changes[] = {
        [](auto& t) { tabulon::InsertRow(t, 4); },
        [](auto& t) { tabulon::DeleteRow(t, 2); },
        [](auto& t) { tabulon::DeleteRow(t, 3); },
        [](auto& t) { t.MoveRow(4, 1); },
        [](auto& t) {
            t.PermuteRows(1, {3, 2, 1, 0}, 1);
        },
        [](auto& t) { t.SetRowCount(8); },
        [](auto& t) { t.SetRowCount(4); },
        [](auto& t) { t.SetCell(2, 4, "y"); },
        [](auto& t) { t.ResetToEmpty(); },
    };
    for (const auto& change : changes) {
        tabulon::TableModel table;
        Fill(table);
        table.SetCell(3, 2, "x");
        table.SetCell(3, 4, "x");
        tabulon::RecordFilter filter(table);
        TableItemModel model(table, filter);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.ChangeFilter([&] { filter.Apply({{tabulon::ItemIndex{2}, "x"}}, {}); });
        ASSERT_EQ(model.rowCount(), 2);
        EXPECT_EQ(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), u"4"_qs);
        change(table);
        ASSERT_EQ(model.rowCount(), filter.Count());
        for (int row = 0; row < model.rowCount(); ++row) {
            const int record = filter.RecordAt(row);
            EXPECT_EQ(model.index(row, 1).data().toString(), FromCp932(table.GetCell(2, record)));
        }
    }
}

TEST(TableItemModel, ALoadedFileIsOneReset) {
    tabulon::TableModel source;
    Fill(source);
    const std::string path = ::testing::TempDir() + "/adapter.tbn";
    tabulon::SaveNative(source, path);

    tabulon::TableModel table;
    const tabulon::RecordFilter filter(table);
    TableItemModel model(table, filter);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    NoticeLog log(model);
    table.ResetToEmpty();
    tabulon::LoadNative(table, path);
    EXPECT_EQ(log.names, (std::vector<std::string>{"reset", "reset"}));
    EXPECT_EQ(model.index(3, 2).data().toString(), QStringLiteral("値3,4"));
}

}  // namespace
