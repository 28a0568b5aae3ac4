#pragma once

#include <QToolBar>

namespace ondrix::qt {

// Toolbar buttons are wide enough for an eight-letter caption under a
// 16-pixel image. A caption that needs more room in the platform's font widens
// its own button; no button is ever narrower.
inline constexpr int kToolButtonWidth = 57;
inline constexpr int kToolButtonHeight = 36;
inline constexpr int kToolIconSize = 16;

// A toolbar of text-under-icon buttons of the size above. Its one-pixel margin
// keeps a button whole, frame included when hovered or pressed, inside a bar
// two pixels taller than the buttons. Sizes follow changes of style and font.
class Toolbar : public QToolBar {
  public:
    explicit Toolbar(QWidget* parent);

    QAction* AddButton(const QIcon& icon, const QString& caption);

  protected:
    bool event(QEvent* event) override;

  private:
    void FitButtons();
};

}  // namespace ondrix::qt
