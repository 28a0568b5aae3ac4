#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>

#include "plotter/draw/controls.h"
#include "plotter/draw/plotter.h"
#include "plotter/view/scroll.h"
#include "plotter/form/commands.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;
class QStatusBar;

namespace ondrix {
class frmAbout;
namespace canvas {
class CanvasWidget;
}
}  // namespace ondrix

namespace ondrix::window {

class ClientArea;
class Toolbar;

// The plotter's main window. A thin shell: it builds the controls, lays them
// out, routes menus, shortcuts, toolbar buttons and keys to the plotter's
// commands, and answers the drawing code's questions from its controls.
class frmMain : public QMainWindow, public draw::Controls {
    Q_OBJECT

  public:
    // Loads the window: builds it hidden, sizes and centres it on the screen,
    // selects "Don't draw sum" and plots the start view.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // What drawing reads from the controls.
    std::string FormulaText(int k) const override;
    bool DontClearScreen() const override;
    bool DotsNotLines() const override;
    int Mode() const override;
    void ClearFormulas() override;

    void RunCommand(Command command);
    // A toolbar button was clicked: runs its command by its 1-based index.
    void Toolbar1_ButtonClick(int index);

    // Access for tests and for the program's start.
    draw::Plotter& Plotter() { return *plotter_; }
    QLineEdit* Text1(int k) const { return Text1_[k]; }
    QComboBox* Combo1() const { return Combo1_; }
    QCheckBox* Check1() const { return Check1_; }
    QCheckBox* Check3() const { return Check3_; }
    canvas::CanvasWidget* Picture1() const { return Picture1_; }
    QScrollBar* HScroll1() const { return HScroll1_; }
    QScrollBar* VScroll1() const { return VScroll1_; }
    QFrame* Frame1() const { return Frame1_; }
    Toolbar* Toolbar1() const { return Toolbar1_; }
    QStatusBar* StatusBar1() const { return StatusBar1_; }
    QString SimpleText() const;
    QWidget* Client() const;
    QAction* MenuAction(Command command) const;
    frmAbout* About() const;
    bool Loaded() const { return plotter_->View().Loaded; }

    // The layout pass: fits the canvas and the scroll bars to the client
    // area, then recomputes the sampling step and draws.
    void Form_Resize();

  protected:
    // Restoring from the minimised state runs the layout pass, as a size
    // change would: the client area may keep its size, so no resize comes.
    void changeEvent(QEvent* event) override;
    // The frame a window manager adds is known only once the window is shown;
    // the first move or resize that reveals it places the window again, so that
    // the start size and position hold for the window with its frame.
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolbar();
    void BuildControls();
    void Form_Load();
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);
    void Picture1_MouseMove(float x, float y);
    void PlaceDockedBars();
    // Sizes the window to three quarters of its screen, frame included, and
    // centres it; `frame` is the frame around the client area, if known.
    void PlaceAtStart(const QMargins& frame);
    void FitStartFrame();

    ClientArea* client_;
    Toolbar* Toolbar1_;
    QFrame* Frame1_;
    std::array<QLineEdit*, draw::kFormulaCount> Text1_{};
    std::array<QFrame*, draw::kFormulaCount> Shape1_{};
    QComboBox* Combo1_;
    QCheckBox* Check1_;
    QCheckBox* Check3_;
    canvas::CanvasWidget* Picture1_;
    QScrollBar* VScroll1_;
    QScrollBar* HScroll1_;
    QStatusBar* StatusBar1_;
    QLabel* statusText_;
    std::vector<std::pair<Command, QAction*>> menuActions_;

    view::ScrollLimits hLimits_;
    view::ScrollLimits vLimits_;
    std::unique_ptr<draw::Plotter> plotter_;
    QPointer<frmAbout> about_;
    bool startFramePending_ = true;
};

}  // namespace ondrix::window
