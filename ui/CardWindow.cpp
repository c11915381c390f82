#include "CardWindow.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "CardField.h"
#include "Cp932Text.h"
#include "MenuKeyGuard.h"
#include "TableItemModel.h"
#include "WindowFont.h"
#include "table/ItemLabels.h"
#include "text/IntegerText.h"

using namespace Qt::StringLiterals;
using tabulon::RecordStep;

namespace {

// Fields are made for this many items at most: the block holding the current
// item. A card of a million fields would take minutes to make.
constexpr int kFieldsAtOnce = 1000;

QString RecordText(const tabulon::RecordPlace& place) {
    return u"レコード %1 / %2"_s.arg(QString::fromStdString(tabulon::GroupedDigits(place.number)),
                                     QString::fromStdString(tabulon::GroupedDigits(place.count)));
}

}  // namespace

CardWindow::CardWindow(QWidget* mainWindow, TableItemModel* model, MenuKeyGuard* menuKeys)
    : QWidget(mainWindow, Qt::Window), model_(model), menuKeys_(menuKeys) {
    setObjectName(u"cardWindow"_s);
    setWindowTitle(u"カード"_s);
    setFont(WindowFont());

    recordLabel_ = new QLabel(this);
    recordLabel_->setObjectName(u"recordLabel"_s);
    fieldsPanel_ = new QWidget;
    fieldsPanel_->setObjectName(u"fields"_s);
    fieldsLayout_ = new QGridLayout;
    fieldsLayout_->setColumnStretch(1, 1);
    auto* panelLayout = new QVBoxLayout(fieldsPanel_);
    panelLayout->addLayout(fieldsLayout_);
    panelLayout->addStretch(1);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidget(fieldsPanel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(recordLabel_);
    layout->addWidget(scroll_, 1);

    // What the grid hears, the card hears too; hidden, it leaves it to showing.
    const auto refresh = [this] {
        if (!isVisible()) {
            return;
        }
        // Typing into the last record appends one, which changes no text shown.
        if (typing_) {
            recordLabel_->setText(RecordText(tabulon::PlaceOfRecord(model_->Filter(), row_)));
        } else {
            ShowItemsOf(model_->Table().CurrentCol());
        }
    };
    for (auto signal :
         {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
          &QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved}) {
        connect(model_, signal, this, refresh);
    }
    connect(model_, &QAbstractItemModel::modelReset, this, refresh);
    connect(model_, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation side) {
        if (isVisible() && side == Qt::Horizontal) {
            ShowNames();
        }
    });
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (isVisible() && !typing_ && row_ >= topLeft.row() + 1 &&
                    row_ <= bottomRight.row() + 1) {
                    ShowTexts(topLeft.column() + 1, bottomRight.column() + 1);
                }
            });
    connect(model_, &TableItemModel::currentCellMoved, this, &CardWindow::FollowCurrentCell);
}

CellEditor* CardWindow::FocusedField() const {
    auto* focus = QApplication::focusWidget();
    return ColumnOf(focus) > 0 ? static_cast<CellEditor*>(focus) : nullptr;
}

int CardWindow::ColumnOf(const QObject* field) const {
    const auto found = std::find(fields_.begin(), fields_.end(), field);
    return found == fields_.end() ? 0 : firstCol_ + static_cast<int>(found - fields_.begin());
}

CellEditor* CardWindow::FieldOf(int col) const {
    const int index = col - firstCol_;
    return index >= 0 && index < static_cast<int>(fields_.size())
               ? fields_[static_cast<size_t>(index)]
               : nullptr;
}

void CardWindow::ShowItemsOf(int col) {
    firstCol_ = (std::max(col, 1) - 1) / kFieldsAtOnce * kFieldsAtOnce + 1;
    MakeFields();
    ShowNames();
    ShowRecord();
}

void CardWindow::MakeFields() {
    const auto count =
        static_cast<size_t>(std::clamp(model_->columnCount() - firstCol_ + 1, 0, kFieldsAtOnce));
    while (fields_.size() > count) {
        delete names_.back();
        delete fields_.back();
        names_.pop_back();
        fields_.pop_back();
    }
    if (fields_.size() >= count) {
        return;
    }
    // New fields show with the panel, at once and laid out once: shown one by
    // one, each would lay out all before it again.
    const bool panelHidden = fieldsPanel_->isHidden();
    fieldsPanel_->hide();
    while (fields_.size() < count) {
        const int line = static_cast<int>(fields_.size());
        auto* field = new CardField(nullptr);
        auto* name = new QLabel;
        name->setTextFormat(Qt::PlainText);
        // Level with the field's first line, however many lines the field takes.
        name->setFixedHeight(field->sizeHint().height());
        field->installEventFilter(menuKeys_);
        field->installEventFilter(this);  // after the guard, so it sees the keys first
        connect(field, &CellEditor::editTextChanged, this, [this, field](const QString& text) {
            const int col = ColumnOf(field);
            const auto& table = model_->Table();
            if (table.CurrentCol() != col || table.CurrentRow() != row_) {
                emit cellChosen(col, row_);
            }
            const QScopedValueRollback typing(typing_, true);
            emit fieldEdited(col, row_, text);
        });
        connect(field, &CellEditor::charactersRefused, this, &CardWindow::charactersRefused);
        fieldsLayout_->addWidget(name, line, 0, Qt::AlignTop);
        fieldsLayout_->addWidget(field, line, 1);
        names_.push_back(name);
        fields_.push_back(field);
    }
    fieldsPanel_->setHidden(panelHidden);
}

void CardWindow::ShowNames() {
    for (size_t i = 0; i < names_.size(); ++i) {
        names_[i]->setText(
            FromCp932(tabulon::ItemLabel(model_->Table(), firstCol_ + static_cast<int>(i))));
    }
}

void CardWindow::ShowTexts(int first, int last) {
    last = std::min(last, firstCol_ + static_cast<int>(fields_.size()) - 1);
    for (int col = std::max(first, firstCol_); col <= last; ++col) {
        const QString text = FromCp932(model_->Table().GetCell(col, row_));
        if (CellEditor* field = FieldOf(col); field->text() != text) {
            field->SetTextQuietly(text);
        }
    }
}

void CardWindow::ShowRecord() {
    row_ = model_->Table().CurrentRow();
    recordLabel_->setText(RecordText(tabulon::PlaceOfRecord(model_->Filter(), row_)));
    // Every field anew, so that no field's undo reaches back into another record.
    for (size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->SetTextQuietly(
            FromCp932(model_->Table().GetCell(firstCol_ + static_cast<int>(i), row_)));
    }
    if (CellEditor* field = FocusedField()) {
        field->selectAll();
    }
}

void CardWindow::FollowCurrentCell() {
    if (!isVisible()) {
        return;
    }
    const auto& table = model_->Table();
    if (FieldOf(table.CurrentCol()) == nullptr) {
        ShowItemsOf(table.CurrentCol());
    } else if (table.CurrentRow() != row_) {
        ShowRecord();
    }
    // While the user works elsewhere, the card keeps the current item's field
    // ready for when it is entered.
    if (!isActiveWindow()) {
        FocusField(table.CurrentCol());
    }
}

void CardWindow::FocusField(int col) {
    if (FieldOf(col) == nullptr) {
        ShowItemsOf(col);
    }
    CellEditor* field = FieldOf(col);
    if (field == nullptr) {
        return;
    }
    field->setFocus();
    field->selectAll();
    scroll_->ensureWidgetVisible(field);
}

void CardWindow::Step(RecordStep step) {
    const auto& table = model_->Table();
    emit cellChosen(table.CurrentCol(), tabulon::StepRecord(model_->Filter(), row_, step));
}

bool CardWindow::HandleKey(int col, const QKeyEvent& event) {
    const int count = model_->columnCount();
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    const bool control = event.modifiers().testFlag(Qt::ControlModifier);
    switch (event.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            FocusField(shift ? (col + count - 2) % count + 1 : col % count + 1);
            return true;
        case Qt::Key_Backtab:
            FocusField((col + count - 2) % count + 1);
            return true;
        case Qt::Key_PageDown:
            Step(RecordStep::Next);
            return true;
        case Qt::Key_PageUp:
            Step(RecordStep::Previous);
            return true;
        case Qt::Key_Home:
        case Qt::Key_End:
            // Alone they move the caret.
            if (control) {
                Step(event.key() == Qt::Key_Home ? RecordStep::First : RecordStep::Last);
                return true;
            }
            return false;
        case Qt::Key_Escape:
            emit gridRequested();
            return true;
        default:
            return false;
    }
}

bool CardWindow::eventFilter(QObject* object, QEvent* event) {
    // Only the fields are watched; the type first, as every paint passes here.
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::KeyPress) {
        return false;
    }
    const int col = ColumnOf(object);
    if (event->type() == QEvent::KeyPress) {
        return HandleKey(col, *static_cast<QKeyEvent*>(event));
    }
    const auto& table = model_->Table();
    if (table.CurrentCol() != col || table.CurrentRow() != row_) {
        emit cellChosen(col, row_);
    }
    return false;
}

void CardWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    ShowItemsOf(model_->Table().CurrentCol());
    FocusField(model_->Table().CurrentCol());
    emit shownChanged(true);
}

void CardWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        emit shownChanged(false);
    }
}
