#pragma once

// Design geometry is given in pixels at 96 dots per inch; the window places its controls at
// the DPI of the monitor it is on.

#include <windows.h>

namespace ondrix::win32 {

inline constexpr UINT kDesignDpi = 96;

// A length of `pixels` design pixels at `dpi`, rounded to the nearest device pixel.
int ToDevice(int pixels, UINT dpi);
// A device length at `dpi` in design pixels, rounded down: the layout never gets more room
// than the window has.
int ToDesign(int devicePixels, UINT dpi);
// Device pixels per design pixel.
double DeviceRatio(UINT dpi);

// The DPI of the window's monitor (96 when the system cannot tell).
UINT WindowDpi(HWND window);

// The system's message font (the font of dialog texts) at `dpi`; the caller deletes it.
HFONT CreateMessageFont(UINT dpi);

}  // namespace ondrix::win32
