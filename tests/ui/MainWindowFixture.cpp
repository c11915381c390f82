#include "MainWindowFixture.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>

#include "StatusPanels.h"
#include "text/Cp932.h"

void MainWindowFixture::SetUp() {
    ASSERT_TRUE(runDir_.isValid());
    ASSERT_TRUE(files_.isValid());
    QDir(runDir_.path()).mkdir(QStringLiteral("data"));
    WriteFile(HelpGuide(), "<html></html>");
}

void MainWindowFixture::TearDown() {
    if (window_ != nullptr) {
        MarkSaved();
        window_.reset();
    }
    EXPECT_TRUE(prompts_.AllAnswered()) << "answers left unused";
}

void MainWindowFixture::Start(const QStringList& parameters) {
    std::vector<std::string> bytes;
    for (const QString& parameter : parameters)
        bytes.push_back(parameter.toStdString());
    StartOptions options{runDir_.path(), bytes, HelpGuide(), undoBudget};
    options.recoveryDir = recoveryDir;
    options.recoveryQuietMs = 10;
    window_ = std::make_unique<MainWindow>(prompts_, options);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    editor()->setFocus();
}

bool MainWindowFixture::Close() {
    const bool closed = window_->close();
    if (closed) {
        window_.reset();
    }
    return closed;
}

MainWindow* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<MainWindow*>(widget)) {
            return window;
        }
    }
    return nullptr;
}

TableGrid* MainWindowFixture::grid() const {
    return window_->findChild<TableGrid*>(QStringLiteral("grid"));
}

void MainWindowFixture::Type(const QString& text, QWidget* into) {
    QWidget* target = into != nullptr ? into : editor();
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(target, ch.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key(ch.unicode()), QString(ch),
                                Qt::NoModifier);
        }
    }
}

QAction* MainWindowFixture::action(const char* name) const {
    auto* found = window_->findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString MainWindowFixture::Panel(int index) const {
    return window_->findChild<StatusPanels*>(QStringLiteral("statusPanels"))->Text(index);
}

void MainWindowFixture::MarkChanged() {
    model().SetColWidth(1, model().GetColWidth(1) + 1);
}

void MainWindowFixture::Fill(const std::vector<QStringList>& rows, const std::vector<int>& widths) {
    const int cols = static_cast<int>(rows.front().size()) + 1;
    model().ResetToEmpty();
    // As a file load does: the filled table is where the history starts.
    const tabulon::TableModel::BulkLoad load(model());
    model().SetColCount(cols);
    model().SetRowCount(static_cast<int>(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (int c = 1; c < cols; ++c) {
            model().SetCell(c, static_cast<int>(r),
                            tabulon::Utf8ToCp932OrThrow(rows[r][c - 1].toStdString()));
        }
    }
    for (size_t i = 0; i < widths.size(); ++i) {
        if (widths[i] != 0) {
            model().SetColWidth(static_cast<int>(i) + 1, widths[i]);
        }
    }
}

QString MainWindowFixture::Cell(int col, int row) const {
    return QString::fromStdString(tabulon::Cp932ToUtf8(model().GetCell(col, row)));
}

QString MainWindowFixture::Row(int row) const {
    QStringList texts;
    for (int c = 0; c < model().ColCount(); ++c) {
        texts.append(Cell(c, row));
    }
    return texts.join(QLatin1Char('|'));
}

std::vector<int> MainWindowFixture::MarkerRows() const {
    std::vector<int> rows;
    for (int r = 0; r < model().RowCount(); ++r) {
        if (!model().GetCell(0, r).empty()) {
            rows.push_back(r);
        }
    }
    return rows;
}

void MainWindowFixture::Select(int col, int row) {
    model().SetCurrentCell(col, row);
}

QString ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("<missing>");
    }
    return QString::fromStdString(tabulon::Cp932ToUtf8(file.readAll().toStdString()));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Cp932(const QString& text) {
    return QByteArray::fromStdString(tabulon::Utf8ToCp932OrThrow(text.toStdString()));
}
