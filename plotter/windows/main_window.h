#pragma once

// frmMain on Windows: the Win32 controls of the main window, placed at the monitor's DPI, with
// every event handed to the toolkit-free form logic (MainForm), which holds every rule. This
// class builds controls, answers the form logic's questions from them and forwards events.

// clang-format off
#include <windows.h>  // before commctrl.h, which needs its types
#include <commctrl.h>
// clang-format on

#include <array>
#include <memory>
#include <string>

#include "about_box.h"
#include "canvas_window.h"
#include "plotter/form/forms.h"
#include "plotter/form/main_form.h"

namespace ondrix::win32 {

class MainWindow : public window::Forms {
  public:
    // Loads the window: creates it hidden and runs the form's load steps.
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Shows the window; the first layout pass follows.
    void Show(int showCommand);
    // A message from the queue: runs a shortcut, or moves the focus as a dialog would. True
    // when the message was used up.
    bool PreTranslate(MSG& message);

    // The forms runtime, as the form logic uses it.
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
    int FrameContentWidth() const override;
    int MenuBarHeight() const override;
    void SetMinimumSize(const window::Size& least) override;
    bool Minimized() const override;
    char DecimalSeparator() const override;
    void ShowAbout() override;
    void End() override;

  private:
    template <typename T>
    friend LRESULT CALLBACK RoutedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FormulaBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR index, DWORD_PTR self);
    static LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);

    void CreateControls();
    void CreateControl(window::Control control);
    void BuildMenus();
    void BuildToolbar();
    // Fonts, toolbar images and sizes for the window's DPI; then the controls go to their
    // places again.
    void ApplyDpi();
    // Widens a toolbar button whose caption needs more room than the design gives.
    void FitToolbarButtons();
    void OnScroll(HWND bar, int request);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    HWND ControlHandle(window::Control control) const;
    // The device rectangle of a box in design pixels of the client area.
    RECT DeviceRect(const window::Box& box) const;
    // Quits the program once no window of it is left.
    void QuitWhenLastWindowCloses();
#ifdef ONDRIX_TEST_BUILD
    void DumpState() const;
    void ResizeClientForTest();
#endif

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND frame_ = nullptr;
    std::array<HWND, 3> text1_{};
    std::array<HWND, 3> shape1_{};
    std::array<HBRUSH, 3> shapeBrushes_{};
    HWND combo1_ = nullptr;
    HWND check1_ = nullptr;
    HWND check3_ = nullptr;
    HWND vscroll1_ = nullptr;
    HWND hscroll1_ = nullptr;
    std::unique_ptr<CanvasWindow> picture1_;
    // Where the form logic put each control, in design pixels of its container.
    std::array<window::Box, window::kControlCount> boxes_{};
    // The smallest inner area (menu bar and client area) in design pixels.
    window::Size minimumSize_{};
    HACCEL accelerators_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HFONT formulaFont_ = nullptr;
    HFONT controlFont_ = nullptr;
    UINT dpi_ = 96;
    // The control that had the focus when the window was last deactivated.
    HWND lastFocus_ = nullptr;
    bool shown_ = false;
    AboutBox about_;
    std::unique_ptr<window::MainForm> form_;
};

}  // namespace ondrix::win32
