#include "plotter/view/scroll.h"

#include <algorithm>
#include <cmath>

#include "plotter/view/view.h"

namespace ondrix::view {

namespace {

// How close (in scroll units) the thumb may come to a limit before it moves.
constexpr int kLimitMargin = 100;
// A moved limit lies this many scroll units per plane unit of width away.
constexpr double kLimitReach = 5;

int LimitAt(double position) {
    const double clamped = std::clamp(position, static_cast<double>(kScrollLimitLow),
                                      static_cast<double>(kScrollLimitHigh));
    return static_cast<int>(std::nearbyint(clamped));  // the default mode rounds half to even
}

// A limit the thumb has come near: out to the reach, but never inwards (the
// limits only widen) and at least one unit past the thumb, so a narrow range
// cannot shrink the bar to nothing.
int WidenedMax(int max, int value, double width) {
    return std::max({max, LimitAt(value + kLimitReach * width), LimitAt(value + 1.0)});
}

int WidenedMin(int min, int value, double width) {
    return std::min({min, LimitAt(value - kLimitReach * width), LimitAt(value - 1.0)});
}

}  // namespace

bool PanRange(double& low, double& high, int value, ScrollLimits& limits, int pixels) {
    const double width = high - low;
    const double centre = static_cast<double>(value) / kScrollUnitsPerPlaneUnit;
    const double newLow = centre - width / 2;
    const double newHigh = centre + width / 2;
    if (value + kLimitMargin > limits.Max) limits.Max = WidenedMax(limits.Max, value, width);
    if (value - kLimitMargin < limits.Min) limits.Min = WidenedMin(limits.Min, value, width);
    // Far from the origin a narrow range would lose its pixels to rounding
    // (and could collapse to nothing); such a pan keeps the range where it
    // is, as a zoom past the limits does.
    if (!PixelsApart(newLow, newHigh, pixels)) return false;
    low = newLow;
    high = newHigh;
    return true;
}

}  // namespace ondrix::view
