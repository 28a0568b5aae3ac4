#include "plotter/qt/scroll_bar.h"

#include <QKeyEvent>

namespace ondrix::window {

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    setTracking(false);
    setFocusPolicy(Qt::TabFocus);
}

void ScrollBar::keyPressEvent(QKeyEvent* event) {
    SliderAction action = SliderNoAction;
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                action = SliderSingleStepSub;
                break;
            case Qt::Key_Right:
            case Qt::Key_Down:
                action = SliderSingleStepAdd;
                break;
            case Qt::Key_PageUp:
                action = SliderPageStepSub;
                break;
            case Qt::Key_PageDown:
                action = SliderPageStepAdd;
                break;
            case Qt::Key_Home:
                action = SliderToMinimum;
                break;
            case Qt::Key_End:
                action = SliderToMaximum;
                break;
            default:
                break;
        }
    }
    if (action == SliderNoAction) {
        QScrollBar::keyPressEvent(event);
        return;
    }
    // One action is one finished change: valueChanged fires once, and not at
    // all when the bar already stands at that end.
    triggerAction(action);
    event->accept();
}

}  // namespace ondrix::window
