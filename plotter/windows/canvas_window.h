#pragma once

// Picture1 on Windows: a child window that shows the canvas's pixels and reports pointer moves
// in the canvas's user coordinates. It paints only by copying the kept picture to the screen;
// it draws nothing of its own.

#include <windows.h>

#include <functional>

#include "gdi_text.h"
#include "plotter/canvas/surface.h"

namespace ondrix::win32 {

class CanvasWindow {
  public:
    // Creates the window as a child of `parent` with the given control id.
    CanvasWindow(HINSTANCE instance, HWND parent, int id);
    ~CanvasWindow();
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;

    HWND Handle() const { return window_; }
    // The canvas the form logic draws on.
    canvas::Surface& Surface();

    // Moves the window to `device` (device pixels of the parent) and gives the canvas
    // `width` x `height` logical pixels at `ratio` device pixels each.
    void Place(const RECT& device, int width, int height, double ratio);
    // The text look of the labels follows the DPI.
    void SetDpi(UINT dpi);
    // The pointer moved to user coordinates (x, y).
    std::function<void(double x, double y)> mouseMoved;
    // The kept picture (test builds dump it).
    PixelBuffer Pixels() const;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    class Picture;
    HWND window_ = nullptr;
    GdiText text_;
    Picture* picture_;
};

}  // namespace ondrix::win32
