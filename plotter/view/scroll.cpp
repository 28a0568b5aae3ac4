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

void PanRange(double& low, double& high, int value, ScrollLimits& limits) {
    const double width = high - low;
    const double centre = static_cast<double>(value) / kScrollUnitsPerPlaneUnit;
    low = centre - width / 2;
    high = centre + width / 2;
    if (value + kLimitMargin > limits.Max) limits.Max = LimitAt(value + kLimitReach * width);
    if (value - kLimitMargin < limits.Min) limits.Min = LimitAt(value - kLimitReach * width);
}

}  // namespace ondrix::view
