#include "dbHtml.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QUrl>

#include "Cp932.h"
#include "DialogButton.h"
#include "HtmlExport.h"
#include "PathNames.h"
#include "Prompts.h"
#include "dbMain.h"

using namespace Qt::StringLiterals;

TfoHtml* foHtml = nullptr;

namespace {

// The designed frame is 394 x 152 at (261, 199) on the screen; the client area
// is that less a common frame.
constexpr QPoint kDesignedPosition(261, 199);
constexpr QSize kDesignedClientSize(386, 121);

// An edit with its label on the left; the label's access key focuses the edit.
QLineEdit* MakeLabelledEdit(const QString& caption, const QString& name, QLabel** label,
                            QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(u"laed"_s + name);
    *label = new QLabel(caption, parent);
    (*label)->setObjectName(u"la"_s + name);
    (*label)->setBuddy(edit);
    return edit;
}

// Each character cp932 lacks, once, in the order of the text.
QString Unmappable(const tabulon::Cp932Encoding& encoded) {
    QString characters;
    for (const char32_t c : encoded.unmappable) {
        const QString one = QString::fromUcs4(&c, 1);
        if (!characters.contains(one)) {
            characters += one;
        }
    }
    return characters;
}

}  // namespace

TfoHtml::TfoHtml(TfoMain* mainWindow)
    : QWidget(mainWindow, Qt::Window),
      main_(*mainWindow),
      openFile_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setObjectName(u"foHtml"_s);
    setWindowTitle(u"HTML形式で保存"_s);

    laedTitle = MakeLabelledEdit(u"タイトル(&T):"_s, u"Title"_s, &laTitle, this);
    Button1 = MakeDialogButton(u"閉じる(&C)"_s, u"Button1"_s, this);
    laedName = MakeLabelledEdit(u"ファイル名(&N):"_s, u"Name"_s, &laName, this);
    btRefer = MakeDialogButton(u"参照(&B)"_s, u"btRefer"_s, this);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(u"Bevel1"_s);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    cbHead = new QCheckBox(u"テーブルヘッダー[thタグ]を出力する(&H)"_s, this);
    cbHead->setObjectName(u"cbHead"_s);
    cbHead->setChecked(true);
    cbAutoOpen = new QCheckBox(u"保存したファイルを関連付けから開く(&O)"_s, this);
    cbAutoOpen->setObjectName(u"cbAutoOpen"_s);
    btSave = MakeDialogButton(u"保存(&S)"_s, u"btSave"_s, this);
    btSave->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(4);
    grid->addWidget(laTitle, 0, 0);
    grid->addWidget(laedTitle, 0, 1);
    grid->addWidget(Button1, 0, 2);
    grid->addWidget(laName, 1, 0);
    grid->addWidget(laedName, 1, 1);
    grid->addWidget(btRefer, 1, 2);
    grid->addWidget(Bevel1, 2, 0, 1, 3);
    grid->addWidget(cbHead, 3, 0, 1, 2);
    grid->addWidget(cbAutoOpen, 4, 0, 1, 2);
    grid->addWidget(btSave, 3, 2, 2, 1, Qt::AlignBottom);
    grid->setRowStretch(5, 1);

    setTabOrder(laedTitle, laedName);
    setTabOrder(laedName, btRefer);
    setTabOrder(btRefer, cbAutoOpen);
    setTabOrder(cbAutoOpen, btSave);
    setTabOrder(btSave, cbHead);
    setTabOrder(cbHead, Button1);

    resize(kDesignedClientSize.expandedTo(minimumSizeHint()));
    move(kDesignedPosition);

    connect(Button1, &QPushButton::clicked, this, &QWidget::close);
    connect(btRefer, &QPushButton::clicked, this, [this] { btReferClick(); });
    connect(btSave, &QPushButton::clicked, this, [this] { btSaveClick(); });
}

void TfoHtml::showEvent(QShowEvent* event) {
    // A spontaneous show is the window coming back from minimised, not opening.
    if (!event->spontaneous()) {
        FormShow();
    }
    QWidget::showEvent(event);
}

void TfoHtml::keyPressEvent(QKeyEvent* event) {
    // Save is the window's default button: Enter presses it from any control
    // that does not take Enter itself.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btSave->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfoHtml::FormShow() {
    laedTitle->setText(QString::fromStdString(tabulon::FileStem(main_.Model().CurrentFileName())));
}

void TfoHtml::btSaveClick() {
    Prompts& prompts = main_.GetPrompts();
    const QString name = laedName->text();
    if (name.isEmpty()) {
        prompts.Inform(this, u"ファイル名が入力されていません"_s);
        return;
    }
    // The page holds cp932; a title it cannot hold is refused, never substituted.
    const tabulon::Cp932Encoding title = tabulon::Utf8ToCp932(laedTitle->text().toStdString());
    if (!title.ok()) {
        prompts.Inform(this, u"タイトルの「%1」は Shift-JIS で表せないため保存できません"_s.arg(
                                 Unmappable(title)));
        return;
    }
    bool saved = false;
    main_.RunCommand([&] {
        tabulon::SaveHtml(main_.Model(), name.toStdString(), title.bytes, cbHead->isChecked());
        saved = true;
    });
    if (!saved) {
        return;
    }
    close();
    if (cbAutoOpen->isChecked() && QFileInfo::exists(name)) {
        openFile_(QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath()));
    }
}

void TfoHtml::btReferClick() {
    // The dialog starts from its own last choice, not from the name field.
    const auto chosen = main_.GetPrompts().AskSaveFileName(
        this, {u"HTMLファイル(*.htm *.html)"_s, u"htm"_s, u"HTML形式で保存"_s, lastChosen_});
    if (chosen) {
        lastChosen_ = *chosen;
        laedName->setText(*chosen);
    }
}
