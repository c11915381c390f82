#pragma once
// The file menu's 最近使ったファイル: the files last opened or saved, newest
// first, captioned "&1 name" with the full path as their hint, and 一覧を消去
// at the end. Each change is written to the list's file at once, so that a
// crash or a second copy of the program loses none.

#include <QMenu>
#include <string>

#include "files/RecentFiles.h"

class RecentFilesMenu : public QMenu {
    Q_OBJECT

  public:
    // Reads the list from `listFile`, recent.ini in the settings folder.
    RecentFilesMenu(std::string listFile, QWidget* parent);

    void add(const std::string& path);
    void remove(const std::string& path);

  signals:
    void fileChosen(const std::string& path);

  private:
    // Writes the list and shows it.
    void keep();
    void refill();

    const std::string listFile_;
    tabulon::RecentFiles files_;
};
