// Opening a table from the command line up to the main window's first paint,
// moving the card from record to record, inserting and deleting an item at the first column, typing
// into the last row, then copying, pasting and undoing a block of cells, on whatever Qt platform is
// running (offscreen by default). Writes its own table when asked:
//   ui_open_bench --make FILE ROWS COLS   write a tbn table of Japanese and ASCII text
//   ui_open_bench FILE [--grab PNG]       open, paint (saving the window as painted), ...

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "CardWindow.h"
#include "CellEditor.h"
#include "MainWindow.h"
#include "NoPrompts.h"
#include "TableGrid.h"
#include "files/TextFile.h"
#include "text/Cp932.h"

using namespace Qt::StringLiterals;

namespace {

void MakeTable(const std::string& path, int rows, int cols) {
    const std::string words[] = {tabulon::Utf8ToCp932OrThrow("東京都千代田区"), "alpha",
                                 tabulon::Utf8ToCp932OrThrow("山田太郎"),       "12345",
                                 tabulon::Utf8ToCp932OrThrow("ｶﾀｶﾅ"),           "mail@example.com"};
    tabulon::FileWriter file(path);
    file.WriteLine(std::to_string(cols));
    file.WriteLine(std::to_string(rows));
    // Widths as a user leaves them, no one width for most columns, so the
    // grid cannot get by with resizing only a few.
    for (int c = 0; c < cols; ++c) {
        file.WriteLine(c == 0 ? "15" : std::to_string(40 + c * 7 % 11 * 10));
    }
    for (int c = 1; c < cols; ++c) {
        file.WriteLine(tabulon::Utf8ToCp932OrThrow("項目") + std::to_string(c));
        for (int r = 1; r < rows - 1; ++r) {
            file.WriteLine(words[(r + c) % 6] + std::to_string(r));
        }
        file.WriteLine("");
    }
    file.Commit();
}

// Marks the first paint of a widget.
class PaintWatch : public QObject {
  public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

// Milliseconds from a key in a text box (the cell editor, a field of the
// card) up to the grid's next paint.
double TimeKey(QWidget* box, PaintWatch& watch, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QElapsedTimer clock;
    clock.start();
    watch.painted = false;
    QTest::keyClick(box, key, modifiers);
    while (!watch.painted) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 5 && std::string(argv[1]) == "--make") {
        MakeTable(argv[2], std::stoi(argv[3]), std::stoi(argv[4]));
        return 0;
    }
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--grab")) {
        std::fprintf(stderr, "usage: %s --make FILE ROWS COLS | %s FILE [--grab PNG]\n", argv[0],
                     argv[0]);
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    NoPrompts prompts;
    const std::string file = argv[1];

    QElapsedTimer clock;
    clock.start();
    auto window = std::make_unique<MainWindow>(
        prompts, StartOptions{QDir::tempPath() + u"/tabulon-bench-no-settings"_s, {file}, {}});
    const qint64 created = clock.elapsed();
    auto* grid = window->findChild<TableGrid*>(u"grid"_s);
    PaintWatch watch;
    grid->viewport()->installEventFilter(&watch);
    window->show();
    while (!watch.painted) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    const qint64 painted = clock.elapsed();
    std::printf("rows %d, cols %d\n", window->model().RowCount(), window->model().ColCount());
    std::printf("open (main window with the file)  %6lld ms\n", static_cast<long long>(created));
    std::printf("open + first paint               %6lld ms\n", static_cast<long long>(painted));
    if (argc == 4) {
        window->grab().save(QString::fromLocal8Bit(argv[3]));
    }

    // The card: a record forward at a time, then to either end.
    auto* cardAction = window->findChild<QAction*>(u"cardAction"_s);
    cardAction->trigger();
    auto* card = window->findChild<CardWindow*>();
    // The card's window counts as active with the main window's; wait for its field.
    if (!QTest::qWaitFor([&] { return card->FocusedField() != nullptr; })) {
        std::fprintf(stderr, "the card did not open\n");
        return 2;
    }
    double slowest = 0;
    clock.restart();
    // Each step moves, since a key that moves nothing paints nothing to wait for.
    const int steps = std::clamp(window->model().RowCount() - 2, 1, 200);
    for (int i = 0; i < steps; ++i) {
        slowest = std::max(slowest, TimeKey(card->FocusedField(), watch, Qt::Key_PageDown, {}));
    }
    const double stepped = static_cast<double>(clock.nsecsElapsed()) / 1e6 / steps;
    const double first = TimeKey(card->FocusedField(), watch, Qt::Key_Home, Qt::ControlModifier);
    const double last = TimeKey(card->FocusedField(), watch, Qt::Key_End, Qt::ControlModifier);
    std::printf("card: next record (PgDn)         %8.2f ms per key, slowest %.2f ms\n", stepped,
                slowest);
    std::printf("card: first record, last record  %8.1f ms, %.1f ms\n", first, last);
    cardAction->trigger();
    window->activateWindow();
    grid->setFocus();
    if (!QTest::qWaitFor([&] { return QApplication::focusWidget() == grid->Editor(); })) {
        std::fprintf(stderr, "the grid did not get the keyboard back\n");
        return 2;
    }

    // An item inserted before the first and deleted again: every column moves.
    const int cols = window->model().ColCount();
    const double inserted = TimeKey(grid->Editor(), watch, Qt::Key_Insert, Qt::ShiftModifier);
    const double deleted = TimeKey(grid->Editor(), watch, Qt::Key_Delete, Qt::ShiftModifier);
    if (window->model().ColCount() != cols) {
        std::fprintf(stderr, "the item was not deleted again\n");
        return 2;
    }
    std::printf("insert an item before the first  %8.1f ms\n", inserted);
    std::printf("delete the first item            %8.1f ms\n", deleted);

    // To the last row, then type there: each first character adds a row.
    QTest::keyClick(grid->Editor(), Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    const int keys = 200;
    clock.restart();
    for (int i = 0; i < keys; ++i) {
        QTest::keyClick(grid->Editor(), Qt::Key_A);
        QCoreApplication::processEvents();
        if (i % 20 == 19) {
            QTest::keyClick(grid->Editor(), Qt::Key_Down);
        }
    }
    std::printf("typing in the last row           %6.3f ms per key (%d keys, %d rows now)\n",
                static_cast<double>(clock.nsecsElapsed()) / 1e6 / keys, keys,
                window->model().RowCount());

    // A block of up to 100,000 records by all items copied, pasted below the
    // table and undone; then the whole table selected.
    const int blockRows = std::min(100000, window->model().RowCount() - 2);
    grid->SelectRange({{1, 1}, {window->model().ColCount() - 1, blockRows}});
    // Copying changes nothing on the screen: timed up to the key's return.
    clock.restart();
    QTest::keyClick(grid->Editor(), Qt::Key_C, Qt::ControlModifier);
    const double copied = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    // At the first item of the blank last row: the table grows by records only.
    window->model().SetCurrentCell(1, window->model().RowCount() - 1);
    QCoreApplication::processEvents();
    const double pasted = TimeKey(grid->Editor(), watch, Qt::Key_V, Qt::ControlModifier);
    const double undone = TimeKey(grid->Editor(), watch, Qt::Key_Z, Qt::ControlModifier);
    // The first Ctrl+A selects the editor's text, the second the table.
    QTest::keyClick(grid->Editor(), Qt::Key_A, Qt::ControlModifier);
    const double all = TimeKey(grid->Editor(), watch, Qt::Key_A, Qt::ControlModifier);
    std::printf("copy a block of %6d records   %8.1f ms\n", blockRows, copied);
    std::printf("paste it below the table         %8.1f ms\n", pasted);
    std::printf("undo the paste                   %8.1f ms\n", undone);
    std::printf("select the whole table           %8.1f ms\n", all);

    window->history().MarkClean();
    return 0;
}
