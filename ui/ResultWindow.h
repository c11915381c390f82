#pragma once
// What the two result lists share: a read-only grid of the results over a
// footer with the close button and the labels that describe the search. It
// exists from start-up to the end and is only shown and hidden (Esc and 閉じる
// hide it); a double-click or Enter on a line asks the main window to go to
// that line's cell.

#include <QDialog>
#include <QStringList>
#include <vector>

#include "table/TableModel.h"

class QAbstractItemModel;
class QLabel;
class QPushButton;
class ResultGrid;

class ResultWindow : public QDialog {
  protected:
    struct Footer {
        int height;
        int buttonTop;
        // Each label's objectName and caption, top to bottom.
        std::vector<std::pair<QString, QString>> labels;
    };

    ResultWindow(QWidget* mainWindow, const tabulon::TableModel& model, Qt::WindowFlags flags);

    // Lays out the view over `list` above the footer; the view is named `viewName`.
    void createLayout(QAbstractItemModel* list, const QString& viewName, const Footer& footer);
    QLabel* footerLabel(size_t index) const { return labels_[index]; }
    // Shows the window centred over the main window, the list focused.
    void showResults();

    const tabulon::TableModel& model_;
    ResultGrid* view_ = nullptr;

  private:
    QPushButton* closeButton_ = nullptr;
    std::vector<QLabel*> labels_;
};
