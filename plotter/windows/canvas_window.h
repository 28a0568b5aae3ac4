#pragma once

// Picture1 on Windows: a child window over the shared pixel canvas. The canvas keeps the
// picture at device resolution; the window paints by copying it to the screen and reports
// pointer moves in the canvas's user coordinates. Labels go through GDI.

#include <windows.h>

#include <functional>

#include "gdi_text.h"
#include "plotter/canvas/pixel_canvas.h"

namespace ondrix::win32 {

class CanvasWindow : public canvas::Surface {
  public:
    // Creates the window as a child of `parent` with the given control id.
    CanvasWindow(HINSTANCE instance, HWND parent, int id);
    ~CanvasWindow() override;
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;

    HWND Handle() const { return window_; }
    // Moves the window to `device` (device pixels of the parent) and gives the canvas
    // `width` x `height` logical pixels at `ratio` device pixels each.
    void Place(const RECT& device, int width, int height, double ratio);
    // The labels' font follows the DPI.
    void SetDpi(UINT dpi);
    // The pointer moved to user coordinates (x, y).
    std::function<void(double x, double y)> mouseMoved;
    // The kept picture, to read.
    const canvas::PixelCanvas& Picture() const { return canvas_; }

    // The canvas's drawing; each schedules a repaint of the window.
    void Cls() override;
    void SetScaleLeft(double left) override { canvas_.SetScaleLeft(left); }
    void SetScaleTop(double top) override { canvas_.SetScaleTop(top); }
    void SetScaleWidth(double width) override { canvas_.SetScaleWidth(width); }
    void SetScaleHeight(double height) override { canvas_.SetScaleHeight(height); }
    void Line(double x1, double y1, double x2, double y2, canvas::Rgb color) override;
    void PSet(double x, double y, canvas::Rgb color) override;
    void PSet(double x, double y) override;
    void Print(std::string_view text) override;
    double TextWidth(std::string_view text) const override { return canvas_.TextWidth(text); }
    double TextHeight(std::string_view text) const override { return canvas_.TextHeight(text); }
    int Width() const override { return canvas_.Width(); }
    int Height() const override { return canvas_.Height(); }
    void BeginPrints() override { canvas_.BeginPrints(); }
    void EndPrints() override { canvas_.EndPrints(); }
    bool Recall(const PictureKey& key) override;
    void Mark(const PictureKey& key) override { canvas_.Mark(key); }

  private:
    template <typename T>
    friend LRESULT CALLBACK RoutedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    // One repaint for a whole run of drawing: the window is invalidated once the queue is
    // reached again.
    void ScheduleRepaint();

    HWND window_ = nullptr;
    GdiText text_;
    canvas::PixelCanvas canvas_;
    bool repaintPending_ = false;
};

}  // namespace ondrix::win32
