#pragma once
// Two menus of the menu bar share an access key (ファイル(&F), 検索(&F)). Qt
// would alternate between them on each press, so Alt+F, O could land in the
// wrong menu. This filter makes a press with no menu open always open the
// first of them; a press while a menu is open moves on, as Qt does.

#include <QObject>

class QMenuBar;

class SharedAccessKey : public QObject {
  public:
    explicit SharedAccessKey(QMenuBar* bar);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QMenuBar* bar_;
};
