#pragma once
// A secondary window that fills itself from the table each time it opens
// (not when it comes back from being minimised), since the table may have
// changed while it was hidden.

#include <QShowEvent>

template <typename Window>
class RefillOnShow : public Window {
  public:
    using Window::Window;

  protected:
    virtual void refill() = 0;

    void showEvent(QShowEvent* event) override {
        Window::showEvent(event);
        if (!event->spontaneous()) {
            refill();
        }
    }
};
