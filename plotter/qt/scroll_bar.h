#pragma once

#include <QScrollBar>

namespace ondrix::window {

// A scroll bar that moves the view. Only a finished change counts: dragging
// the thumb changes the value once, when it is released. Tab reaches it, and
// keys move it as on the platform's native bars, whichever way the bar lies:
// Left and Up one small step back, Right and Down one forward, Page Up and
// Page Down one large step, Home and End to the ends. Every key press is one
// change.
class ScrollBar : public QScrollBar {
  public:
    ScrollBar(Qt::Orientation orientation, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ondrix::window
