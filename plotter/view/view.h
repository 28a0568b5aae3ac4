#pragma once

namespace ondrix::view {

// The part of the plane the canvas shows. Canvas x is plane x; canvas y is
// the negated plane y, so YMin is the canvas y of the top edge.
struct View {
    double XScale = 0;  // plane x units per canvas pixel: the sampling step
    double XMin = 0;
    double XMax = 0;
    double YMin = 0;
    double YMax = 0;
    double XStep = 0;  // spacing of the vertical grid lines
    double YStep = 0;  // spacing of the horizontal grid lines
    bool Loaded = false;
};

inline constexpr double kStartXMin = -16.68;
inline constexpr double kStartXMax = 16.68;
inline constexpr double kStartYMin = -10;
inline constexpr double kStartYMax = 10;
inline constexpr double kStartStep = 2;

// Puts the range and both grid steps at their start values.
void SetStartRange(View& view);

// The sampling-step rule: XScale := (XMax - XMin) / w, with the canvas's outer
// width w read as a 32-bit float. A width of 0 or less leaves XScale as it is
// and returns false: there is no step to take.
bool ApplySamplingRule(View& view, int canvasWidth);

// Whether a range shown over `pixels` pixels can still be drawn: its ends and
// width are finite, the width positive, and one pixel spans at least the
// finest step the numbers carry at the range's ends. That step is a unit in
// the 15th significant digit (the precision of the x statement and of a
// point's value text), and never finer than the spacing of doubles there.
bool PixelsApart(double low, double high, int pixels);

enum class Zoom { In, Out };

// Zooming scales a range about the origin together with its grid step (and,
// in x, the sampling step). A zoom after which the range, shown over `pixels`
// pixels, could no longer be drawn (see PixelsApart) leaves the view
// unchanged and returns false.
bool ZoomX(View& view, Zoom zoom, int pixels);
bool ZoomY(View& view, Zoom zoom, int pixels);

}  // namespace ondrix::view
