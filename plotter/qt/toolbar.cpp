#include "plotter/qt/toolbar.h"

#include <QAction>
#include <QEvent>
#include <QLayout>
#include <QToolButton>

#include "plotter/form/commands.h"

namespace ondrix::qt {

Toolbar::Toolbar(QWidget* parent) : QToolBar(parent) {
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(window::kToolIconSize, window::kToolIconSize));
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
    if (layout())
        layout()->setContentsMargins(window::kToolBarMargin, window::kToolBarMargin,
                                     window::kToolBarMargin, window::kToolBarMargin);
    for (QAction* action : actions()) {
        if (action->isSeparator()) continue;
        auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
        if (!button) continue;
        const int advance = button->fontMetrics().horizontalAdvance(action->text());
        button->setFixedSize(window::ToolButtonWidth(advance), window::kToolButtonHeight);
    }
}

}  // namespace ondrix::qt
