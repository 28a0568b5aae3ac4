#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "plotter/form/forms.h"
#include "plotter/form/main_form.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;
class QStatusBar;

namespace ondrix::qt {

class CanvasWidget;
class ClientArea;
class Toolbar;
class frmAbout;

// The plotter's main window on Qt: it builds the controls from the design
// tables, answers the forms interface from its widgets and forwards every
// event to the window's rules (window::MainForm).
class frmMain : public QMainWindow, public window::Forms {
    Q_OBJECT

  public:
    // Loads the window: builds it hidden, then runs the load steps.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    window::MainForm& Form() { return *form_; }

    // The forms interface.
    std::string Text(int k) const override;
    void SetText(int k, const std::string& text) override;
    bool Checked(window::Control checkBox) const override;
    int ListIndex() const override;
    void SetListIndex(int index) override;
    void SetGeometry(window::Control control, const window::Box& box) override;
    void SetScrollLimits(window::Control scrollBar, int min, int max) override;
    void SetStatusText(const std::string& text) override;
    window::Size ClientSize() const override;
    window::Size ScreenSize() const override;
    void SetWindowBox(const window::Box& outer) override;
    bool Minimized() const override;
    char DecimalSeparator() const override;
    void ShowAbout() override;
    void End() override;

    // Access for tests.
    QLineEdit* Text1(int k) const { return Text1_[k]; }
    QComboBox* Combo1() const { return Combo1_; }
    QCheckBox* Check1() const { return Check1_; }
    QCheckBox* Check3() const { return Check3_; }
    CanvasWidget* Picture1() const { return Picture1_; }
    QScrollBar* HScroll1() const { return HScroll1_; }
    QScrollBar* VScroll1() const { return VScroll1_; }
    QFrame* Frame1() const { return Frame1_; }
    Toolbar* Toolbar1() const { return Toolbar1_; }
    QStatusBar* StatusBar1() const { return StatusBar1_; }
    QString SimpleText() const;
    QWidget* Client() const;
    QAction* MenuAction(window::Command command) const;
    frmAbout* About() const;

  protected:
    // Restoring from the minimised state runs the layout pass, as a size
    // change would: the client area may keep its size, so no resize comes.
    void changeEvent(QEvent* event) override;
    // The frame a window manager adds is known only once the window is shown;
    // the first move or resize that reveals it places the window again, so that
    // the start box holds for the window with its frame.
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void BuildToolbar();
    QWidget* Widget(window::Control control) const;
    // Puts the window at the start box, its client area inside `frame`.
    void PlaceWindow(const QMargins& frame);
    void FitStartFrame();

    ClientArea* client_;
    Toolbar* Toolbar1_;
    QFrame* Frame1_;
    std::array<QLineEdit*, draw::kFormulaCount> Text1_{};
    std::array<QFrame*, draw::kFormulaCount> Shape1_{};
    QComboBox* Combo1_;
    QCheckBox* Check1_;
    QCheckBox* Check3_;
    CanvasWidget* Picture1_;
    QScrollBar* VScroll1_;
    QScrollBar* HScroll1_;
    QStatusBar* StatusBar1_;
    QLabel* statusText_;
    std::vector<std::pair<window::Command, QAction*>> menuActions_;

    std::unique_ptr<window::MainForm> form_;
    QPointer<frmAbout> about_;
    std::optional<window::Box> startBox_;
    bool startFramePending_ = true;
};

}  // namespace ondrix::qt
