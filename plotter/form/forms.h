#pragma once

// The forms runtime as the main window's rules use it: what a front end (Qt,
// Win32, a test's fake) provides so that MainForm can run every handler and
// command. Control state is read straight from the controls whenever it is
// needed; nothing is copied.

#include <string>

#include "plotter/form/design.h"

namespace ondrix::window {

struct Size {
    int width = 0;
    int height = 0;
};

class Forms {
  public:
    virtual ~Forms() = default;

    // Text1(k).Text for k = 0 to 2, unchanged, and setting it.
    virtual std::string Text(int k) const = 0;
    virtual void SetText(int k, const std::string& text) = 0;
    // Check1.Value / Check3.Value is 1.
    virtual bool Checked(Control checkBox) const = 0;
    // Combo1.ListIndex: the selected entry of kModes, -1 when none; and
    // selecting one.
    virtual int ListIndex() const = 0;
    virtual void SetListIndex(int index) = 0;

    // Moves and sizes a control, in pixels of its container (the client area,
    // or Frame1 for the controls it holds).
    virtual void SetGeometry(Control control, const Box& box) = 0;
    // A scroll bar's Min and Max; its Value stays where the user put it.
    virtual void SetScrollLimits(Control scrollBar, int min, int max) = 0;
    // StatusBar1.SimpleText.
    virtual void SetStatusText(const std::string& text) = 0;

    // The client area's inner size (ScaleWidth, ScaleHeight) in pixels.
    virtual Size ClientSize() const = 0;
    // The screen's working area in pixels.
    virtual Size ScreenSize() const = 0;
    // Moves and sizes the window, frame included, within the screen's working
    // area (in pixels from its top-left corner).
    virtual void SetWindowBox(const Box& outer) = 0;
    // WindowState is minimised.
    virtual bool Minimized() const = 0;
    // The user's decimal separator.
    virtual char DecimalSeparator() const = 0;

    // Shows the About box modeless: loads it when it is not open, otherwise
    // brings it to the front.
    virtual void ShowAbout() = 0;
    // Ends the program at once: every window closes, nothing is asked.
    virtual void End() = 0;
};

}  // namespace ondrix::window
