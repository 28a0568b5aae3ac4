#include "plotter/qt/toolbar.h"

#include <QAction>
#include <QEvent>
#include <QLayout>
#include <QToolButton>
#include <algorithm>

namespace ondrix::qt {

namespace {

// Room kept on each side of a caption: the button's frame and a pixel of air,
// so the text is not cut at the frame.
constexpr int kCaptionPadding = 3;
// Between the bar's edge and its buttons.
constexpr int kBarMargin = 1;

// The width of a button whose caption is `captionAdvance` pixels wide.
int ToolButtonWidth(int captionAdvance) {
    return std::max(kToolButtonWidth, captionAdvance + 2 * kCaptionPadding);
}

}  // namespace

Toolbar::Toolbar(QWidget* parent) : QToolBar(parent) {
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(kToolIconSize, kToolIconSize));
    FitButtons();
}

QAction* Toolbar::AddButton(const QIcon& icon, const QString& caption) {
    QAction* action = addAction(icon, caption);
    FitButtons();
    return action;
}

bool Toolbar::event(QEvent* event) {
    const bool handled = QToolBar::event(event);
    // The style sets the bar's margins anew whenever it changes; a new font
    // changes what the captions need.
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange ||
        event->type() == QEvent::Polish)
        FitButtons();
    return handled;
}

void Toolbar::FitButtons() {
    if (layout()) layout()->setContentsMargins(kBarMargin, kBarMargin, kBarMargin, kBarMargin);
    for (QAction* action : actions()) {
        if (action->isSeparator()) continue;
        auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
        if (!button) continue;
        const int advance = button->fontMetrics().horizontalAdvance(action->text());
        button->setFixedSize(ToolButtonWidth(advance), kToolButtonHeight);
    }
}

}  // namespace ondrix::qt
