#pragma once

// Canvas labels through GDI: measured with the window's font and drawn with TextOut straight
// into the canvas's pixels, at device resolution.

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace ondrix::win32 {

// A 32-bit pixel buffer owned by someone else: 0x00RRGGBB in the low bytes, rows `stride`
// pixels apart, top row first.
struct PixelBuffer {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

class GdiText {
  public:
    GdiText();
    ~GdiText();
    GdiText(const GdiText&) = delete;
    GdiText& operator=(const GdiText&) = delete;

    // The font labels are drawn in: the system's message font at `dpi`.
    void SetDpi(UINT dpi);

    // The extent of a text in device pixels: its advance and the font's line height.
    SIZE Measure(std::string_view text) const;
    // Draws `text` with its top-left corner at device pixel (left, top), in `rgb` (0xRRGGBB) on
    // a transparent background; what falls outside the buffer is cut off.
    void Draw(std::string_view text, int left, int top, std::uint32_t rgb,
              const PixelBuffer& target) const;

  private:
    HDC dc_;
    HFONT font_ = nullptr;
};

}  // namespace ondrix::win32
