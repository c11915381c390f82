#include "CellEditor.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QValidator>
#include <algorithm>

#include "text/Cp932.h"

namespace {

std::vector<char32_t> Unmappable(const QString& text) {
    auto unmappable = tabulon::Utf8ToCp932(text.toStdString()).unmappable;
    std::sort(unmappable.begin(), unmappable.end());
    return unmappable;
}

// Refuses a change that adds characters cp932 lacks. Characters the cell held
// already (bytes that showed as U+FFFD) do not block editing the rest.
class Cp932Validator : public QValidator {
  public:
    explicit Cp932Validator(CellEditor* editor) : QValidator(editor), editor_(editor) {}

    State validate(QString& input, int&) const override {
        // The line edit has taken the new text already when it asks.
        const auto before = Unmappable(editor_->AcceptedText());
        const auto after = Unmappable(input);
        std::vector<char32_t> added;
        std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                            std::back_inserter(added));
        if (added.empty()) {
            return Acceptable;
        }
        QString characters;
        for (char32_t c : added) {
            characters += QString::fromUcs4(&c, 1);
        }
        // Tell after the editor has finished refusing, not from inside it.
        QMetaObject::invokeMethod(
            editor_, [editor = editor_, characters] { emit editor->charactersRefused(characters); },
            Qt::QueuedConnection);
        return Invalid;
    }

  private:
    CellEditor* editor_;
};

}  // namespace

CellEditor::CellEditor(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setValidator(new Cp932Validator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        accepted_ = text;
        if (!quiet_) {
            emit editTextChanged(text);
        }
    });
}

void CellEditor::SetTextQuietly(const QString& text) {
    quiet_ = true;
    setText(text);
    quiet_ = false;
}

void CellEditor::keyPressEvent(QKeyEvent* event) {
    // Alt with a key that opens no menu is a slip of the hand, not text: the
    // line edit would type the bare letter into the cell.
    if (event->modifiers().testFlag(Qt::AltModifier) && !event->text().isEmpty()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CellEditor::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QLineEdit::dragEnterEvent(event);
}
