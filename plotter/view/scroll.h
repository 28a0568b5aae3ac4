#pragma once

namespace ondrix::view {

// Design values of both scroll bars. One scroll unit is a tenth of a plane
// unit: Value / 10 is the centre of the view range along the bar.
inline constexpr int kScrollMin = -100;
inline constexpr int kScrollMax = 100;
inline constexpr int kScrollLargeChange = 10;
inline constexpr int kScrollSmallChange = 1;
inline constexpr int kScrollUnitsPerPlaneUnit = 10;

// The limits a scroll bar can hold (16-bit).
inline constexpr int kScrollLimitLow = -32768;
inline constexpr int kScrollLimitHigh = 32767;

struct ScrollLimits {
    int Min = kScrollMin;
    int Max = kScrollMax;
};

// A scroll bar changed to `value`: centres the range [low, high] on
// value / 10 keeping its width. A limit that the thumb has come within 100
// units of moves out to 5 x width units from the thumb (rounded half to even),
// but never inwards and always at least one unit beyond the thumb, so the bar
// keeps room to move; both stay inside the 16-bit range. A pan after which the
// range, shown over `pixels` pixels, could no longer be drawn (see
// PixelsApart) leaves the range unchanged and returns false.
bool PanRange(double& low, double& high, int value, ScrollLimits& limits, int pixels);

}  // namespace ondrix::view
