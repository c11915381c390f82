// The print commands end to end: the PDF, the preview and the printer share
// one layout; the pages are read back with poppler's tools.

#include <QDate>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QRegularExpression>
#include <functional>

#include "MainWindowFixture.h"

namespace {

using namespace Qt::StringLiterals;

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PageCount(const QString& pdf) {
    const auto match = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(Run(u"pdfinfo"_s, {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// Without spaces, which the tool guesses from the glyphs' places (so the
// texts expected are compared without theirs).
QString PageText(const QString& pdf, int page) {
    const QString number = QString::number(page);
    return Run(u"pdftotext"_s, {u"-f"_s, number, u"-l"_s, number, pdf, u"-"_s}).remove(u' ');
}

class PrintTest : public MainWindowFixture {
  public:
    // Names and `records` records of two items: 氏名n and 東京都n.
    void FillPeople(int records, std::vector<int> widths = {}) {
        std::vector<QStringList> rows{{u"氏名"_s, u"住所"_s, u"電話"_s}};
        for (int i = 1; i <= records; ++i) {
            rows.push_back({u"山田%1"_s.arg(i), u"東京都%1"_s.arg(i), u"03-%1"_s.arg(i)});
        }
        Fill(rows, widths);
    }
    QString SavePdf(const std::function<void(PrintOptions&)>& choose = {}) {
        const QString pdf = PathOf(u"表.pdf"_s);
        QFile::remove(pdf);
        prompts_.PrintOptions(choose).SaveFile(pdf);
        action("exportPdfAction")->trigger();
        return pdf;
    }
};

struct PrintCase {
    const char* what;
    std::function<void(PrintTest&)> setUp;
    std::function<void(PrintOptions&)> choose;
    int pages;
    std::vector<std::pair<int, QStringList>> shows;  // page, texts on it
    std::vector<std::pair<int, QStringList>> lacks;
};

TEST_F(PrintTest, WritesThePagesOfEachChoiceAsPdf) {
    const QString date = QDate::currentDate().toString(u"yyyy/MM/dd"_s);
    const auto people = [](int records, std::vector<int> widths = {}) {
        return [=](PrintTest& test) { test.FillPeople(records, widths); };
    };
    const PrintCase cases[] = {
        {"names repeated on each page",
         people(120, {100, 100, 100}),
         {},
         3,
         {{1, {u"NoName"_s, date, u"氏名"_s, u"山田1\n"_s, u"1 / 3"_s}},
          {3, {u"氏名"_s, u"住所"_s, u"東京都120"_s, u"3 / 3"_s}}},
         {{1, {u"山田120"_s}}}},
        {"too wide: one column a page, left first",
         people(3, {2000, 2000, 2000}),
         {},
         3,
         {{1, {u"氏名"_s, u"山田3"_s}}, {2, {u"住所"_s, u"東京都3"_s}}, {3, {u"電話"_s}}},
         {{1, {u"住所"_s}}, {2, {u"氏名"_s}}}},
        {"cards",
         people(3),
         [](PrintOptions& o) { o.cards = true; },
         1,
         {{1, {u"レコード 3 / 3"_s, u"電話"_s, u"東京都2"_s}}},
         {}},
        {"selected cells",
         [](PrintTest& test) {
             test.FillPeople(5);
             test.grid()->SelectRange({{2, 2}, {3, 3}});
         },
         {},
         1,
         {{1, {u"住所"_s, u"東京都2"_s, u"03-3"_s}}},
         {{1, {u"氏名"_s, u"東京都4"_s}}}},
        {"shown records",
         [](PrintTest& test) {
             test.FillPeople(12);
             test.Select(1, 10);
             test.action("filterByValueAction")->trigger();
         },
         {},
         1,
         {{1, {u"山田10"_s}}},
         {{1, {u"山田1\n"_s, u"山田12"_s}}}},
    };
    Start();
    for (const PrintCase& c : cases) {
        SCOPED_TRACE(c.what);
        c.setUp(*this);
        const QString pdf = SavePdf(c.choose);
        EXPECT_EQ(PageCount(pdf), c.pages);
        for (const auto& [page, texts] : c.shows) {
            const QString text = PageText(pdf, page);
            for (const QString& expected : texts) {
                EXPECT_TRUE(text.contains(QString(expected).remove(u' ')))
                    << expected.toStdString() << " on " << page;
            }
        }
        for (const auto& [page, texts] : c.lacks) {
            for (const QString& unexpected : texts) {
                EXPECT_FALSE(PageText(pdf, page).contains(unexpected)) << unexpected.toStdString();
            }
        }
    }
}

TEST_F(PrintTest, PreviewsAndPrintsTheSamePagesAndStopsAtEsc) {
    Start();
    FillPeople(120);
    const QString printed = PathOf(u"printer.pdf"_s);
    prompts_.PrintOptions().Preview(true).Printer(printed);
    action("printPreviewAction")->trigger();
    EXPECT_EQ(prompts_.AskedTexts().at(1), u"3"_s);
    EXPECT_EQ(PageCount(printed), 3);
    EXPECT_TRUE(PageText(printed, 2).contains(u"氏名"_s));

    // Esc during a large export leaves no file.
    mainWindow()->setFileFeedback({0, std::chrono::milliseconds(0)});
    QCoreApplication::postEvent(mainWindow(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(QFile::exists(SavePdf()));
}

}  // namespace
