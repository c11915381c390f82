#pragma once
// A field of the card: the cell editor itself, so that it takes and refuses
// text as the grid's does, but as tall as its text needs at the card's width.
// Until it is entered it shows a long text wrapped; entered, it edits on one
// line, as a cell holds no line break.

#include "CellEditor.h"

class CardField : public CellEditor {
  public:
    explicit CardField(QWidget* parent);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Where the text goes inside a field of `size`.
    QRect TextRect(QSize size) const;
};
