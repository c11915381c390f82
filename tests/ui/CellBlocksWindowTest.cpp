// Ranges of cells made with keys, the mouse and the headers, and the block
// commands on them: copy and cut to the clipboard, paste and clear, each one
// step of undo.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QMimeData>

#include "MainWindowFixture.h"
#include "RandomTable.h"
#include "text/Cp932.h"

namespace {

using BlocksTest = MainWindowFixture;

// Records "a1 b1 c1 d1" .. "a5 b5 c5 d5" under items A to D; row 6 stays blank.
std::vector<QStringList> FiveRecords() {
    std::vector<QStringList> rows{{"A", "B", "C", "D"}};
    for (int r = 1; r <= 5; ++r) {
        rows.push_back({});
        for (const char* item : {"a", "b", "c", "d"}) {
            rows.back().append(QString::fromLatin1(item) + QString::number(r));
        }
    }
    return rows;
}

// "col,row-col,row" of the grid's range, which the view must show as its selection.
QString Range(TableGrid* grid) {
    const CellRange range = grid->SelectedRange();
    const QAbstractItemModel* model = grid->model();
    const QItemSelection shown(model->index(range.first.row - 1, range.first.col - 1),
                               model->index(range.last.row - 1, range.last.col - 1));
    EXPECT_EQ(grid->selectionModel()->selection(), shown);
    return QStringLiteral("%1,%2-%3,%4")
        .arg(range.first.col)
        .arg(range.first.row)
        .arg(range.last.col)
        .arg(range.last.row);
}

QPoint CellCentre(TableGrid* grid, int col, int row) {
    return grid->visualRect(grid->model()->index(row - 1, col - 1)).center();
}

int SectionMiddle(const QHeaderView* header, int section) {
    return header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
}

void SendMove(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Every text but the marker's, which follows the current row.
QString AllTexts(const MainWindowFixture& test) {
    QStringList texts;
    for (int r = 0; r < test.model().RowCount(); ++r) {
        for (int c = 1; c < test.model().ColCount(); ++c) {
            texts.append(test.Cell(c, r));
        }
        texts.append(QStringLiteral("\n"));
    }
    return texts.join(QLatin1Char('|'));
}

QString Utf8File(const char* path) {
    QFile file(QString::fromUtf8(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return QString::fromUtf8(file.readAll());
}

TEST_F(BlocksTest, KeysSpreadTheRangeFromTheCurrentCell) {
    Start();
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers edge = Qt::ShiftModifier | Qt::ControlModifier;
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    const struct {
        std::vector<Press> keys;
        QString range;
        QString position;  // the status panel's "row,col" of the current cell
    } cases[] = {
        {{{Qt::Key_Down, shift}, {Qt::Key_Down, shift}}, "2,2-2,4", "2,2"},
        {{{Qt::Key_Down, shift}, {Qt::Key_Right, shift}}, "2,2-3,3", "2,2"},
        {{{Qt::Key_Up, shift}, {Qt::Key_Up, shift}, {Qt::Key_Up, shift}}, "2,1-2,2", "2,2"},
        {{{Qt::Key_Down, edge}}, "2,2-2,6", "2,2"},
        {{{Qt::Key_PageDown, shift}}, "2,2-2,6", "2,2"},
        {{{Qt::Key_Right, edge}, {Qt::Key_Left, shift}}, "2,2-3,2", "2,2"},
        {{{Qt::Key_Left, edge}, {Qt::Key_Up, edge}}, "1,1-2,2", "2,2"},
        {{{Qt::Key_Down, shift}, {Qt::Key_Up, shift}}, "2,2-2,2", "2,2"},
        // Within one cell Shift+Right selects the editor's characters.
        {{{Qt::Key_Right, shift}}, "2,2-2,2", "2,2"},
        // A plain move or Esc ends the range.
        {{{Qt::Key_Down, shift}, {Qt::Key_Down, {}}}, "2,3-2,3", "3,2"},
        {{{Qt::Key_Down, shift}, {Qt::Key_Right, edge}, {Qt::Key_Escape, {}}}, "2,2-2,2", "2,2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.range.toStdString());
        Fill(FiveRecords());
        Select(2, 2);
        for (const Press& press : c.keys) {
            Key(press.key, press.modifiers);
        }
        EXPECT_EQ(Range(grid()), c.range);
        EXPECT_EQ(Panel(1), c.position);
        EXPECT_EQ(MarkerRows(), std::vector<int>{model().CurrentRow()});
    }
}

TEST_F(BlocksTest, CtrlASelectsTheEditorsTextThenTheWholeTable) {
    Start();
    Fill(FiveRecords());
    // Whether or not the editor's text is selected when the cell is entered.
    for (const bool selected : {true, false}) {
        Select(2, 2);
        if (!selected) {
            editor()->deselect();
        }
        Key(Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(editor()->selectedText(), QStringLiteral("b2"));
        EXPECT_EQ(Range(grid()), "2,2-2,2");
        Key(Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(Range(grid()), "1,1-4,6");
        EXPECT_EQ(Panel(1), "2,2");
        Key(Qt::Key_Escape);
    }
}

TEST_F(BlocksTest, DragsShiftClicksAndHeaderClicksMakeRanges) {
    Start();
    Fill(FiveRecords());
    QWidget* cells = grid()->viewport();
    QTest::mousePress(cells, Qt::LeftButton, {}, CellCentre(grid(), 1, 2));
    SendMove(cells, CellCentre(grid(), 3, 4));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, CellCentre(grid(), 3, 4));
    EXPECT_EQ(Range(grid()), "1,2-3,4");
    EXPECT_EQ(Panel(1), "2,1");

    QTest::mouseClick(cells, Qt::LeftButton, Qt::ShiftModifier, CellCentre(grid(), 4, 5));
    EXPECT_EQ(Range(grid()), "1,2-4,5");

    // A drag that starts in the editor leaves it to make a range.
    Select(3, 3);
    QTest::mousePress(editor(), Qt::LeftButton, {}, editor()->rect().center());
    SendMove(editor(), editor()->mapFrom(cells, CellCentre(grid(), 2, 1)));
    QTest::mouseRelease(editor(), Qt::LeftButton);
    EXPECT_EQ(Range(grid()), "2,1-3,3");
    EXPECT_EQ(Panel(1), "3,3");

    QHeaderView* records = grid()->verticalHeader();
    QTest::mouseClick(records->viewport(), Qt::LeftButton, {},
                      QPoint(records->width() / 2, SectionMiddle(records, 2)));
    EXPECT_EQ(Range(grid()), "1,3-4,3");
    EXPECT_EQ(MarkerRows(), std::vector<int>{3});
    QHeaderView* items = grid()->horizontalHeader();
    QTest::mouseClick(items->viewport(), Qt::LeftButton, {},
                      QPoint(SectionMiddle(items, 1), items->height() / 2));
    EXPECT_EQ(Range(grid()), "2,1-2,6");
    EXPECT_EQ(Panel(1), "1,2");
}

TEST_F(BlocksTest, CopyCutPasteAndDeleteAreOneStepEach) {
    Start();
    Fill({{"A", "B"}, {"say \"hi\"", "1,2"}, {"x", ""}});
    const QString original = AllTexts(*this);
    Select(1, 1);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    EXPECT_EQ(copied->text(), "\"say \"\"hi\"\"\"\t1,2\nx\t\n");
    EXPECT_TRUE(copied->html().contains("'\\@'\">say &quot;hi&quot;</td><td"));
    EXPECT_FALSE(model().Modified());

    // Pasted at the last item of the blank row: one item and one row more.
    Select(2, 3);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Row(3), "→||say \"hi\"|1,2");
    EXPECT_EQ(Row(4), "||x|");
    EXPECT_EQ(Row(5), "|||");
    EXPECT_EQ(Range(grid()), "2,3-3,4");
    EXPECT_EQ(editor()->text(), "say \"hi\"");
    EXPECT_EQ(Panel(2), "say \"hi\"");
    EXPECT_TRUE(model().Modified());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(AllTexts(*this), original);

    Select(1, 1);
    Key(Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "\"say \"\"hi\"\"\"\t1,2\n");
    EXPECT_EQ(Row(1), "→||");
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Row(2), "||");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Row(2), "|x|");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(AllTexts(*this), original);

    // What cp932 cannot hold refuses the block whole.
    QApplication::clipboard()->setText("a\t😀\nb\t🍣\n");
    prompts_.Notice();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(AllTexts(*this), original);
    EXPECT_TRUE(prompts_.AskedTexts().last().contains("😀🍣"));
    // Text without a tab or a line break goes into the editor.
    QApplication::clipboard()->setText("z");
    Select(2, 2);
    editor()->selectAll();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Row(2), "→|x|z");
}

// Calc puts its tab-separated text, an HTML table and its own form on the
// clipboard (all taken from Calc 7.4 under X). The HTML table goes before the
// text: the line break inside a cell is dropped, not turned into a space.
// Calc's own form goes first of all: "引用" keeps its quotes.
TEST_F(BlocksTest, CalcsClipboardPastesCellForCell) {
    Start();
    Fill({{"A"}, {""}});
    auto* mime = new QMimeData;
    mime->setText(Utf8File(TABULON_TEST_DATA "/calc_clipboard.txt"));
    mime->setHtml(Utf8File(TABULON_TEST_DATA "/calc_clipboard.html"));
    QApplication::clipboard()->setMimeData(mime);
    Select(1, 1);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Row(0), "|A||||");
    EXPECT_EQ(Row(1), "→|氏名|ふりがな|電話|住所|メモ");
    EXPECT_EQ(Row(3), "|佐藤 花子|さとう はなこ||大阪府大阪市北区|2行のメモ");
    EXPECT_EQ(Row(6), "|1,234|－5|=A1|<b>太字</b>|最後");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Row(1), "→|");
    // The same page in UTF-16, as some browsers put it.
    mime = new QMimeData;
    mime->setText(Utf8File(TABULON_TEST_DATA "/calc_clipboard.txt"));
    const QString page = u'\xFEFF' + Utf8File(TABULON_TEST_DATA "/calc_clipboard.html");
    mime->setData(QStringLiteral("text/html"),
                  QByteArray(reinterpret_cast<const char*>(page.utf16()),
                             static_cast<qsizetype>(page.size() * 2)));
    QApplication::clipboard()->setMimeData(mime);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Row(3), "|佐藤 花子|さとう はなこ||大阪府大阪市北区|2行のメモ");
    Key(Qt::Key_Z, Qt::ControlModifier);

    mime = new QMimeData;
    mime->setText(Utf8File(TABULON_TEST_DATA "/calc74_block.txt"));
    mime->setData(QStringLiteral("application/x-libreoffice-tsvc"),
                  Utf8File(TABULON_TEST_DATA "/calc74_block.tsvc").toUtf8());
    QApplication::clipboard()->setMimeData(mime);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Row(5), "|佐藤一郎|ｻﾄｳ ｲﾁﾛｳ|789|一行目二行目|～");
    EXPECT_EQ(Row(6), "|\"高橋\"次郎|ﾀｶﾊｼ|0001|札幌市,中央区|\"引用\"");
}

// A random block copied through the clipboard and pasted below the table
// reads as it did.
TEST_F(BlocksTest, CopiedBlocksPasteBackAsTheyWere) {
    Start();
    tabulon::testing::RandomTable random(7);
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        model().ResetToEmpty();
        random.Fill(model(), {random.Int(1, 5), random.Int(1, 6),
                              tabulon::testing::TextKind::Japanese, 10, false, 15});
        // Down first: within one cell Shift+Right would select characters.
        const int col = random.Int(1, model().ColCount() - 1);
        const int row = random.Int(1, model().RowCount() - 2);
        Select(col, row);
        const int down = random.Int(1, model().RowCount() - 1 - row);
        const int right = random.Int(0, model().ColCount() - 1 - col);
        for (int i = 0; i < down; ++i) {
            Key(Qt::Key_Down, Qt::ShiftModifier);
        }
        for (int i = 0; i < right; ++i) {
            Key(Qt::Key_Right, Qt::ShiftModifier);
        }
        Key(Qt::Key_C, Qt::ControlModifier);
        const auto block = [&](int firstCol, int firstRow) {
            std::vector<std::string> texts;
            for (int r = 0; r <= down; ++r) {
                for (int c = 0; c <= right; ++c) {
                    texts.emplace_back(model().GetCell(firstCol + c, firstRow + r));
                }
            }
            return texts;
        };
        const auto copied = block(col, row);
        // The trailing row may be part of the block, and is where it lands.
        const int below = model().RowCount() - 1;
        Select(1, below);
        Key(Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(block(1, below), copied);
    }
}

}  // namespace
