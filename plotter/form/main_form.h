#pragma once

#include <memory>

#include "plotter/canvas/surface.h"
#include "plotter/draw/controls.h"
#include "plotter/draw/plotter.h"
#include "plotter/form/commands.h"
#include "plotter/form/forms.h"
#include "plotter/form/menu.h"
#include "plotter/view/scroll.h"

namespace ondrix::window {

// The main window frmMain without a toolkit: its handlers and commands. It
// holds the plotter (the view and the script engine), the scroll bars' limits
// and Loaded; the controls belong to the front end, which it reaches through
// `forms`, and the canvas Picture1 is `picture`. A front end forwards each of
// its events to the handler of the same name.
class MainForm : private draw::Controls {
  public:
    MainForm(Forms& forms, canvas::Surface& picture);
    ~MainForm() override;

    // Load steps: sizes the window to three quarters of the screen and centres
    // it, selects "Don't draw sum", runs ResetScale, sets Loaded.
    void Form_Load();
    // The client area changed size (also on the first display, a restore from
    // the minimised state, or a new device pixel ratio of the canvas): docks
    // the toolbar and the status bar, then, unless minimised or not yet
    // loaded, fits the canvas and the scroll bars, recomputes XScale and draws.
    void Form_Resize();

    // A menu item was chosen, by mouse or by its shortcut.
    void RunCommand(Command command);
    // A shortcut key anywhere in the window: runs the command of the menu item
    // that carries it. Returns false when no enabled item does.
    bool KeyDown(Key key, unsigned modifiers);
    // A toolbar button was clicked: runs its command by its 1-based index.
    void Toolbar1_ButtonClick(int index);
    // A character key in formula box `index`: Enter (13) draws. The key goes
    // on to the box unchanged either way.
    void Text1_KeyPress(int index, int keyCode);
    // A scroll bar's Value changed (a finished move).
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);
    // The pointer moved over the canvas, at user coordinates (x, y): the
    // status bar shows x and the plane y, -y.
    void Picture1_MouseMove(double x, double y);

    bool Loaded() const { return plotter_->View().Loaded; }
    draw::Plotter& Plotter() { return *plotter_; }
    const view::ScrollLimits& HLimits() const { return hLimits_; }
    const view::ScrollLimits& VLimits() const { return vLimits_; }

  private:
    // What drawing reads from the controls, answered from the forms.
    std::string FormulaText(int k) const override;
    bool DontClearScreen() const override;
    bool DotsNotLines() const override;
    int Mode() const override;
    void ClearFormulas() override;

    void DockBars(const Size& client);

    Forms& forms_;
    std::unique_ptr<draw::Plotter> plotter_;
    view::ScrollLimits hLimits_;
    view::ScrollLimits vLimits_;
};

}  // namespace ondrix::window
