#include "plotter/view/scroll.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

bool PanRange(double& low, double& high, int value, ScrollLimits& limits) {
    const double width = high - low;
    const double centre = static_cast<double>(value) / kScrollUnitsPerPlaneUnit;
    const double newLow = centre - width / 2;
    const double newHigh = centre + width / 2;
    if (value + kLimitMargin > limits.Max) limits.Max = LimitAt(value + kLimitReach * width);
    if (value - kLimitMargin < limits.Min) limits.Min = LimitAt(value - kLimitReach * width);
    // A range far narrower than the spacing of numbers near its new centre
    // would collapse to nothing there and could never be widened again; such
    // a pan keeps the range where it is, as a zoom past the limits does.
    if (!(newHigh > newLow) || static_cast<float>(newHigh - newLow) == 0.0f) return false;
    low = newLow;
    high = newHigh;
    return true;
}

}  // namespace ondrix::view
