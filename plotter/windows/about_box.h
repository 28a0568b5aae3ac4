#pragma once

// frmAbout on Windows: a modeless window with a fixed dialog frame, laid out from the About
// box's model at the DPI of its monitor. OK, Enter, Esc and the close box unload it; "System
// Info..." runs the shared launcher with the registry look-up of advapi32.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "plotter/about/about_model.h"
#include "plotter/about/key_lookup.h"

namespace ondrix::win32 {

class AboutBox {
  public:
    explicit AboutBox(HINSTANCE instance);
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // Loads the dialog centred over `owner` if it is not open, otherwise brings it to the
    // front. The dialog is a window of its own: it outlives `owner`.
    void Show(HWND owner);
    // Unloads the dialog if it is open.
    void Close();
    // A message from the queue for the dialog: Esc presses OK (the dialog's cancel button),
    // other keys move the focus and press buttons as in a dialog. True when it was used up.
    bool PreTranslate(MSG& message);
    // The open dialog, or nullptr.
    HWND Handle() const { return window_; }
    // Runs when the dialog has been unloaded.
    std::function<void()> closed;

  private:
    template <typename T>
    friend LRESULT CALLBACK RoutedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Form_Load();
    void CreateControls();
    // Places the controls and sets the fonts for `dpi`.
    void Layout(UINT dpi);
    void StartSysInfo();
    HWND& ControlHandle(about::Control control);

    HINSTANCE instance_;
    HWND window_ = nullptr;
    std::array<HWND, about::kControlCount> controls_{};
    std::array<HWND, about::kSeparator.size()> lines_{};
    std::array<HBRUSH, about::kSeparator.size()> lineBrushes_{};
    HFONT textFont_ = nullptr;
    HFONT titleFont_ = nullptr;
    HICON icon_ = nullptr;
    std::unique_ptr<KeyLookup> lookup_;
};

}  // namespace ondrix::win32
