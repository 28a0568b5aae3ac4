#pragma once

// Canvas labels through GDI: measured with the system's message font and drawn with TextOut
// straight into the canvas's pixels, at device resolution.

#include <windows.h>

#include "plotter/canvas/text_painter.h"

namespace ondrix::win32 {

class GdiText : public canvas::TextPainter {
  public:
    GdiText();
    ~GdiText() override;
    GdiText(const GdiText&) = delete;
    GdiText& operator=(const GdiText&) = delete;

    // Labels are drawn in the system's message font at `dpi`, `dpi` / 96 device pixels to a
    // logical one.
    void SetDpi(UINT dpi);

    canvas::TextExtent Measure(std::string_view text) const override;
    void Draw(const canvas::PixelBuffer& picture, double left, double top, std::string_view text,
              canvas::Rgb color) const override;

  private:
    // The extent at device resolution.
    SIZE DeviceExtent(const std::wstring& text) const;

    HDC dc_;
    HFONT font_ = nullptr;
    double ratio_ = 1;
};

}  // namespace ondrix::win32
