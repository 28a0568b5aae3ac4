#pragma once

#include <QToolBar>

namespace ondrix::qt {

// A toolbar of text-under-icon buttons sized by window::ToolButtonWidth. Its one-pixel margin
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
