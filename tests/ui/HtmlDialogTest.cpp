// The HTML export window driven by keys and clicks: its controls and place,
// what each opening refills, the page it writes (the same bytes as the core
// writer for the same table, title and header option), its refusals and
// failures, the save dialog behind 参照, and opening the written page.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

#include "HtmlExportDialog.h"
#include "MainWindowFixture.h"
#include "WindowInput.h"
#include "files/HtmlExport.h"
#include "text/Cp932.h"

namespace {

using namespace Qt::StringLiterals;

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class HtmlDialogTest : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        previousDir_ = QDir::currentPath();
    }
    void TearDown() override {
        QDir::setCurrent(previousDir_);
        MainWindowFixture::TearDown();
    }

    void StartWithOpener() {
        Start();
        window<HtmlExportDialog>()->setFileOpener([this](const QUrl& url) {
            opened_.push_back(url);
            hiddenWhenOpened_ = !window<HtmlExportDialog>()->isVisible();
        });
    }
    QLineEdit* titleEdit() const {
        return Child<QLineEdit>(window<HtmlExportDialog>(), "titleEdit");
    }
    QLineEdit* fileNameEdit() const {
        return Child<QLineEdit>(window<HtmlExportDialog>(), "fileNameEdit");
    }
    QCheckBox* headerRowBox() const {
        return Child<QCheckBox>(window<HtmlExportDialog>(), "headerRowBox");
    }
    QCheckBox* openAfterSavingBox() const {
        return Child<QCheckBox>(window<HtmlExportDialog>(), "openAfterSavingBox");
    }
    QPushButton* saveButton() const {
        return Child<QPushButton>(window<HtmlExportDialog>(), "saveButton");
    }
    QPushButton* browseButton() const {
        return Child<QPushButton>(window<HtmlExportDialog>(), "browseButton");
    }
    QPushButton* closeButton() const {
        return Child<QPushButton>(window<HtmlExportDialog>(), "closeButton");
    }

    void Open() {
        action("exportHtmlAction")->trigger();
        ASSERT_TRUE(window<HtmlExportDialog>()->isVisible());
    }
    // Alt + the key; a button pressed so clicks itself after a short show.
    void PressAccessKey(Qt::Key key) {
        PressIn(window<HtmlExportDialog>(), key, Qt::AltModifier);
        EXPECT_TRUE(WaitUntil([] {
            const auto buttons = window<HtmlExportDialog>()->findChildren<QAbstractButton*>();
            return std::none_of(buttons.begin(), buttons.end(),
                                [](const QAbstractButton* b) { return b->isDown(); });
        }));
    }
    // Replaces the text of a field as the user does: its access key, select all, type.
    void Retype(Qt::Key accessKey, const QString& text) {
        PressAccessKey(accessKey);
        PressIn(window<HtmlExportDialog>(), Qt::Key_A, Qt::ControlModifier);
        PressIn(window<HtmlExportDialog>(), Qt::Key_Delete);
        TypeIn(window<HtmlExportDialog>(), text);
    }
    // A small table with markup characters, Japanese text, empty and blank cells.
    void FillSample() {
        Fill({{u"名前"_s, u""_s, u"memo"_s},
              {u"山田"_s, u"<script>alert(1)</script>"_s, u" "_s},
              {u""_s, u"a & \"b\""_s, u"ｶﾀｶﾅ"_s}});
        model().SetCell(1, model().RowCount() - 1, "not written");
    }

    std::vector<QUrl> opened_;
    bool hiddenWhenOpened_ = false;

  private:
    QString previousDir_;
};

TEST_F(HtmlDialogTest, ShowsItsControlsWhereDesignedAndThenWhereLeft) {
    StartWithOpener();
    Open();
    EXPECT_EQ(window<HtmlExportDialog>()->windowTitle(), u"HTML形式で保存"_s);
    EXPECT_EQ(window<HtmlExportDialog>()->pos(), QPoint(261, 199));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the table stays usable";

    const struct {
        const char* name;
        QString caption;
    } captions[] = {
        {"closeButton", u"閉じる(&C)"_s},
        {"browseButton", u"参照(&B)"_s},
        {"saveButton", u"保存(&S)"_s},
        {"headerRowBox", u"テーブルヘッダー[thタグ]を出力する(&H)"_s},
        {"openAfterSavingBox", u"保存したファイルを関連付けから開く(&O)"_s},
    };
    for (const auto& c : captions) {
        EXPECT_EQ(Child<QAbstractButton>(window<HtmlExportDialog>(), c.name)->text(), c.caption)
            << c.name;
    }
    EXPECT_EQ(Child<QLabel>(window<HtmlExportDialog>(), "titleLabel")->text(), u"タイトル(&T):"_s);
    EXPECT_EQ(Child<QLabel>(window<HtmlExportDialog>(), "fileNameLabel")->text(),
              u"ファイル名(&N):"_s);
    EXPECT_TRUE(fileNameEdit()->text().isEmpty());
    EXPECT_TRUE(headerRowBox()->isChecked());
    EXPECT_FALSE(openAfterSavingBox()->isChecked());
    EXPECT_TRUE(saveButton()->isDefault());
    // Buttons stand right of their fields; Save is below them.
    EXPECT_GT(closeButton()->x(), titleEdit()->geometry().right());
    EXPECT_GT(browseButton()->x(), fileNameEdit()->geometry().right());
    EXPECT_GT(saveButton()->y(), browseButton()->geometry().bottom());

    // The labels' access keys reach their fields; Tab runs the designed order.
    PressAccessKey(Qt::Key_N);
    EXPECT_EQ(window<HtmlExportDialog>()->focusWidget(), fileNameEdit());
    PressAccessKey(Qt::Key_T);
    EXPECT_EQ(window<HtmlExportDialog>()->focusWidget(), titleEdit());
    EXPECT_EQ(TabChain(window<HtmlExportDialog>(), 7),
              (QStringList{u"fileNameEdit"_s, u"browseButton"_s, u"openAfterSavingBox"_s,
                           u"saveButton"_s, u"headerRowBox"_s, u"closeButton"_s, u"titleEdit"_s}));

    // Closed by 閉じる, the close box or Esc, it comes back where the user left it.
    window<HtmlExportDialog>()->move(40, 50);
    ClickOn(closeButton());
    EXPECT_FALSE(window<HtmlExportDialog>()->isVisible());
    Open();
    EXPECT_EQ(window<HtmlExportDialog>()->pos(), QPoint(40, 50));
    PressCloseBox(window<HtmlExportDialog>());
    EXPECT_FALSE(window<HtmlExportDialog>()->isVisible());
    Open();
    PressIn(window<HtmlExportDialog>(), Qt::Key_Escape);
    EXPECT_FALSE(window<HtmlExportDialog>()->isVisible());
    Open();
    EXPECT_EQ(window<HtmlExportDialog>()->pos(), QPoint(40, 50));
    EXPECT_TRUE(prompts_.asked().empty());
    EXPECT_TRUE(opened_.empty());
}

TEST_F(HtmlDialogTest, EachOpeningSetsTheTitleFromTheFileNameAndKeepsTheRest) {
    StartWithOpener();
    model().SetCurrentFileName("/home/user/帳簿/名簿.v2.tbn");
    Open();
    EXPECT_EQ(titleEdit()->text(), u"名簿.v2"_s);

    Retype(Qt::Key_T, u"abc"_s);
    Retype(Qt::Key_N, u"out.htm"_s);
    PressAccessKey(Qt::Key_H);
    PressAccessKey(Qt::Key_O);
    ASSERT_FALSE(headerRowBox()->isChecked());
    ASSERT_TRUE(openAfterSavingBox()->isChecked());

    // The command while the window is shown touches nothing.
    Open();
    EXPECT_EQ(titleEdit()->text(), u"abc"_s);

    // A new document has no file name, so no title.
    PressCloseBox(window<HtmlExportDialog>());
    model().SetCurrentFileName("");
    Open();
    EXPECT_EQ(titleEdit()->text(), u""_s);
    EXPECT_EQ(fileNameEdit()->text(), u"out.htm"_s);
    EXPECT_FALSE(headerRowBox()->isChecked());
    EXPECT_TRUE(openAfterSavingBox()->isChecked());
    EXPECT_TRUE(prompts_.asked().empty());
}

TEST_F(HtmlDialogTest, SaveWritesWhatTheCoreWriterWrites) {
    StartWithOpener();
    FillSample();
    model().SetCurrentFileName("/tmp/名簿.tbn");
    const struct {
        const char* name;
        QString title;  // typed over the one the opening sets; null keeps it
        bool header;
        bool byEnter;  // Enter in the name field, else a click on 保存
    } cases[] = {
        {"a.htm", {}, true, false},
        {"b.html", u"R&D <一覧> \"x\""_s, false, true},
        {"c.htm", u""_s, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MarkChanged();
        const QString path = PathOf(QString::fromLatin1(c.name));
        Open();
        if (!c.title.isNull()) {
            Retype(Qt::Key_T, c.title);
        }
        Retype(Qt::Key_N, path);
        if (headerRowBox()->isChecked() != c.header) {
            ClickOn(headerRowBox());
        }
        const QString title = titleEdit()->text();
        if (c.byEnter) {
            PressAccessKey(Qt::Key_N);
            PressIn(window<HtmlExportDialog>(), Qt::Key_Return);
        } else {
            ClickOn(saveButton());
        }

        EXPECT_FALSE(window<HtmlExportDialog>()->isVisible());
        const QString expected = PathOf(u"expected.htm"_s);
        tabulon::SaveHtml(model(), expected.toStdString(),
                          tabulon::Utf8ToCp932OrThrow(title.toStdString()), c.header);
        EXPECT_EQ(Bytes(path), Bytes(expected));
        EXPECT_EQ(Bytes(path).contains("<th>"), c.header);
        EXPECT_TRUE(model().Modified()) << "an export changes nothing in the document";
        EXPECT_EQ(model().CurrentFileName(), "/tmp/名簿.tbn");
    }
    EXPECT_TRUE(Bytes(PathOf(u"a.htm"_s)).contains(Cp932(u"<title>名簿</title>"_s)));
    EXPECT_TRUE(Bytes(PathOf(u"b.html"_s)).contains("&lt;script&gt;"));
    EXPECT_FALSE(Bytes(PathOf(u"c.htm"_s)).contains("<title>"));
    EXPECT_TRUE(prompts_.asked().empty());
    EXPECT_TRUE(opened_.empty()) << "not ticked, not opened";
}

TEST_F(HtmlDialogTest, RefusalsAndFailuresKeepTheWindowOpenAndWriteNothing) {
    StartWithOpener();
    FillSample();
    const QString missingFolder = PathOf(u"missing/out.htm"_s);
    const struct {
        const char* what;
        QString name;
        QString title;
        ScriptedPrompts::Kind kind;
        QString message;
    } cases[] = {
        {"no file name", u""_s, u"t"_s, ScriptedPrompts::Kind::Inform,
         u"ファイル名が入力されていません"_s},
        {"title cp932 cannot hold", PathOf(u"t.htm"_s), u"表😀x😀€"_s, ScriptedPrompts::Kind::Inform,
         u"タイトルの「😀€」は Shift-JIS で表せないため保存できません"_s},
        {"folder missing", missingFolder, u"t"_s, ScriptedPrompts::Kind::Error,
         u"ファイル %1 を作成できません."_s.arg(missingFolder)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open();
        fileNameEdit()->setText(c.name);
        titleEdit()->setText(c.title);
        if (!openAfterSavingBox()->isChecked()) {
            ClickOn(openAfterSavingBox());
        }
        if (c.kind == ScriptedPrompts::Kind::Error) {
            prompts_.ErrorBox();
        } else {
            prompts_.Notice();
        }
        ClickOn(saveButton());

        ASSERT_FALSE(prompts_.asked().empty());
        EXPECT_EQ(prompts_.asked().back().kind, c.kind);
        EXPECT_EQ(prompts_.asked().back().text, c.message);
        if (c.kind == ScriptedPrompts::Kind::Error) {
            EXPECT_EQ(prompts_.asked().back().title, mainWindow()->windowTitle());
        }
        EXPECT_TRUE(window<HtmlExportDialog>()->isVisible());
        EXPECT_EQ(fileNameEdit()->text(), c.name);
        EXPECT_EQ(titleEdit()->text(), c.title);
        EXPECT_TRUE(QDir(PathOf({})).isEmpty());
        EXPECT_TRUE(opened_.empty());
    }
}

TEST_F(HtmlDialogTest, TickedOpenOpensTheSavedFileAfterTheWindowCloses) {
    StartWithOpener();
    FillSample();
    // A bare name is taken from the current folder, and gets no extension.
    QDir::setCurrent(PathOf({}));
    Open();
    Retype(Qt::Key_N, u"out"_s);
    PressAccessKey(Qt::Key_O);
    ClickOn(saveButton());

    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_.front(), QUrl::fromLocalFile(PathOf(u"out"_s)));
    EXPECT_TRUE(hiddenWhenOpened_);
    EXPECT_TRUE(QFile::exists(PathOf(u"out"_s)));
    EXPECT_FALSE(QFile::exists(PathOf(u"out.htm"_s)));
}

TEST_F(HtmlDialogTest, ReferPutsTheChosenNameInTheNameField) {
    StartWithOpener();
    Open();
    fileNameEdit()->setText(u"typed.htm"_s);
    prompts_.SaveFile(u"/chosen/page.html"_s).CancelSave();
    ClickOn(browseButton());
    EXPECT_EQ(fileNameEdit()->text(), u"/chosen/page.html"_s);
    PressAccessKey(Qt::Key_B);
    EXPECT_EQ(fileNameEdit()->text(), u"/chosen/page.html"_s) << "cancel keeps the text";
    EXPECT_TRUE(window<HtmlExportDialog>()->isVisible());
    ASSERT_EQ(prompts_.asked().size(), 2u);
    // Titled, and starting from its own last choice rather than the name field.
    EXPECT_EQ(prompts_.asked()[0].title, u"HTML形式で保存"_s);
    EXPECT_EQ(prompts_.asked()[0].text, QString());
    EXPECT_EQ(prompts_.asked()[1].text, u"/chosen/page.html"_s);
}

}  // namespace
