#include "RecentFilesMenu.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

RecentFilesMenu::RecentFilesMenu(std::string listFile, QWidget* parent)
    : QMenu(u"最近使ったファイル(&R)"_s, parent), listFile_(std::move(listFile)) {
    setObjectName(u"recentFilesMenu"_s);
    files_.Read(listFile_);
    refill();
}

void RecentFilesMenu::add(const std::string& path) {
    files_.Add(path);
    keep();
}

void RecentFilesMenu::remove(const std::string& path) {
    files_.Remove(path);
    keep();
}

void RecentFilesMenu::keep() {
    files_.Write(listFile_);
    refill();
}

void RecentFilesMenu::refill() {
    // The item chosen may be one that goes: it is deleted once its signal is done.
    for (QAction* old : actions()) {
        removeAction(old);
        old->setParent(nullptr);
        old->deleteLater();
    }
    int number = 0;
    for (const std::string& path : files_.Paths()) {
        const QString fullPath = QString::fromStdString(path);
        QString name = QFileInfo(fullPath).fileName();
        QAction* action = addAction(u"&%1 %2"_s.arg(++number).arg(name.replace(u'&', u"&&"_s)));
        action->setObjectName(u"recentFileAction%1"_s.arg(number));
        action->setStatusTip(fullPath);
        connect(action, &QAction::triggered, this, [this, path] { emit fileChosen(path); });
    }
    addSeparator();
    QAction* clearList = addAction(u"一覧を消去"_s);
    clearList->setObjectName(u"clearRecentFilesAction"_s);
    connect(clearList, &QAction::triggered, this, [this] {
        files_.Clear();
        keep();
    });
    menuAction()->setEnabled(!files_.Paths().empty());
}
