#include "HtmlExportDialog.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

#include "Cp932Text.h"
#include "DialogButton.h"
#include "Prompts.h"
#include "files/HtmlExport.h"
#include "text/Cp932.h"

using namespace Qt::StringLiterals;

namespace {

// The designed frame is 394 x 152 at (261, 199) on the screen; the client area
// is that less a common frame.
constexpr QPoint kDesignedPosition(261, 199);
constexpr QSize kDesignedClientSize(386, 121);

// An edit with its label on the left; the label's access key focuses the edit.
QLineEdit* MakeLabelledEdit(const QString& caption, const QString& name, QLabel** label,
                            QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name + u"Edit"_s);
    *label = new QLabel(caption, parent);
    (*label)->setObjectName(name + u"Label"_s);
    (*label)->setBuddy(edit);
    return edit;
}

}  // namespace

HtmlExportDialog::HtmlExportDialog(QWidget* mainWindow, const tabulon::TableModel& model,
                                   const tabulon::RecordFilter& filter, Prompts& prompts)
    : RefillOnShow(mainWindow, Qt::Dialog),
      model_(model),
      filter_(filter),
      prompts_(prompts),
      openFile_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setObjectName(u"htmlExportDialog"_s);
    setWindowTitle(u"HTML形式で保存"_s);

    titleEdit_ = MakeLabelledEdit(u"タイトル(&T):"_s, u"title"_s, &titleLabel_, this);
    closeButton_ = MakeDialogButton(u"閉じる(&C)"_s, u"closeButton"_s, this);
    fileNameEdit_ = MakeLabelledEdit(u"ファイル名(&N):"_s, u"fileName"_s, &fileNameLabel_, this);
    browseButton_ = MakeDialogButton(u"参照(&B)"_s, u"browseButton"_s, this);
    separator_ = new QFrame(this);
    separator_->setObjectName(u"separator"_s);
    separator_->setFrameShape(QFrame::HLine);
    separator_->setFrameShadow(QFrame::Sunken);
    headerRowBox_ = new QCheckBox(u"テーブルヘッダー[thタグ]を出力する(&H)"_s, this);
    headerRowBox_->setObjectName(u"headerRowBox"_s);
    headerRowBox_->setChecked(true);
    openAfterSavingBox_ = new QCheckBox(u"保存したファイルを関連付けから開く(&O)"_s, this);
    openAfterSavingBox_->setObjectName(u"openAfterSavingBox"_s);
    shownOnlyBox_ = new QCheckBox(u"表示中のレコードのみ(&R)"_s, this);
    shownOnlyBox_->setObjectName(u"shownOnlyBox"_s);
    shownOnlyBox_->setChecked(true);
    saveButton_ = MakeDialogButton(u"保存(&S)"_s, u"saveButton"_s, this);
    saveButton_->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(4);
    grid->addWidget(titleLabel_, 0, 0);
    grid->addWidget(titleEdit_, 0, 1);
    grid->addWidget(closeButton_, 0, 2);
    grid->addWidget(fileNameLabel_, 1, 0);
    grid->addWidget(fileNameEdit_, 1, 1);
    grid->addWidget(browseButton_, 1, 2);
    grid->addWidget(separator_, 2, 0, 1, 3);
    grid->addWidget(headerRowBox_, 3, 0, 1, 2);
    grid->addWidget(openAfterSavingBox_, 4, 0, 1, 2);
    grid->addWidget(shownOnlyBox_, 5, 0, 1, 2);
    grid->addWidget(saveButton_, 3, 2, 2, 1, Qt::AlignBottom);
    grid->setRowStretch(6, 1);

    setTabOrder(titleEdit_, fileNameEdit_);
    setTabOrder(fileNameEdit_, browseButton_);
    setTabOrder(browseButton_, openAfterSavingBox_);
    setTabOrder(openAfterSavingBox_, saveButton_);
    setTabOrder(saveButton_, headerRowBox_);
    setTabOrder(headerRowBox_, shownOnlyBox_);
    setTabOrder(shownOnlyBox_, closeButton_);

    resize(kDesignedClientSize.expandedTo(minimumSizeHint()));
    move(kDesignedPosition);

    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(browseButton_, &QPushButton::clicked, this, &HtmlExportDialog::browse);
    connect(saveButton_, &QPushButton::clicked, this, &HtmlExportDialog::requestExport);
}

void HtmlExportDialog::keyPressEvent(QKeyEvent* event) {
    // Save is the window's default button: Enter presses it from any control
    // that does not take Enter itself.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        saveButton_->click();
        return;
    }
    // Esc closes it, as the close button does.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HtmlExportDialog::refill() {
    shownOnlyBox_->setVisible(filter_.IsOn());
    titleEdit_->setText(
        QString::fromStdString(tabulon::DefaultHtmlTitle(model_.CurrentFileName())));
}

void HtmlExportDialog::requestExport() {
    const QString name = fileNameEdit_->text();
    if (name.isEmpty()) {
        prompts_.Inform(this, u"ファイル名が入力されていません"_s);
        return;
    }
    // The page holds cp932; a title it cannot hold is refused, never substituted.
    const tabulon::Cp932Encoding title = tabulon::Utf8ToCp932(titleEdit_->text().toStdString());
    if (!title.ok()) {
        prompts_.Inform(this, u"タイトルの「%1」は Shift-JIS で表せないため保存できません"_s.arg(
                                  EachCharacterOnce(title.unmappable)));
        return;
    }
    emit exportRequested({name, title.bytes, headerRowBox_->isChecked(),
                          openAfterSavingBox_->isChecked(),
                          filter_.IsOn() && shownOnlyBox_->isChecked()});
}

void HtmlExportDialog::finishExport(const HtmlExportRequest& request) {
    close();
    if (request.openAfterSaving && QFileInfo::exists(request.path)) {
        // Completed from the working folder, not normalised: ".." stays the kernel's to resolve.
        openFile_(QUrl::fromLocalFile(QDir::current().absoluteFilePath(request.path)));
    }
}

void HtmlExportDialog::browse() {
    // The dialog starts from its own last choice, not from the name field.
    const auto chosen = prompts_.AskSaveFileName(
        this, {u"HTMLファイル(*.htm *.html)"_s, u"htm"_s, u"HTML形式で保存"_s, lastChosen_});
    if (chosen) {
        lastChosen_ = chosen->path;
        fileNameEdit_->setText(chosen->path);
    }
}
