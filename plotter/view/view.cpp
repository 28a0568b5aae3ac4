#include "plotter/view/view.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ondrix::view {

namespace {

// The significant digits of the x statement and of a point's value text.
constexpr int kTextDigits = 15;

// The finest step numbers of this magnitude carry on their way through the
// formula: a unit in their last significant digit of text, or the spacing of
// doubles where that is coarser (near the smallest doubles).
double Resolution(double magnitude) {
    const double spacing =
        std::nextafter(magnitude, std::numeric_limits<double>::infinity()) - magnitude;
    if (magnitude == 0) return spacing;
    const double digitUnit = std::pow(10.0, std::floor(std::log10(magnitude)) - (kTextDigits - 1));
    return std::max(spacing, digitUnit);
}

double Scaled(double value, Zoom zoom) {
    return zoom == Zoom::In ? value / 2 : value * 2;
}

}  // namespace

bool PixelsApart(double low, double high, int pixels) {
    const double width = high - low;
    if (!std::isfinite(low) || !std::isfinite(high) || !std::isfinite(width) || !(width > 0))
        return false;
    const double pixel = width / std::max(1, pixels);
    return pixel >= Resolution(std::max(std::fabs(low), std::fabs(high)));
}

void SetStartRange(View& view) {
    view.XMin = kStartXMin;
    view.XMax = kStartXMax;
    view.YMin = kStartYMin;
    view.YMax = kStartYMax;
    view.XStep = kStartStep;
    view.YStep = kStartStep;
}

bool ApplySamplingRule(View& view, int canvasWidth) {
    if (canvasWidth <= 0) return false;
    view.XScale = (view.XMax - view.XMin) / static_cast<float>(canvasWidth);
    return true;
}

namespace {

// Scales one range and its grid step, or leaves all three as they are.
bool ZoomRange(double& low, double& high, double& step, Zoom zoom, int pixels) {
    const double newLow = Scaled(low, zoom);
    const double newHigh = Scaled(high, zoom);
    if (!PixelsApart(newLow, newHigh, pixels)) return false;
    low = newLow;
    high = newHigh;
    step = Scaled(step, zoom);
    return true;
}

}  // namespace

bool ZoomX(View& view, Zoom zoom, int pixels) {
    if (!ZoomRange(view.XMin, view.XMax, view.XStep, zoom, pixels)) return false;
    view.XScale = Scaled(view.XScale, zoom);  // scaled with the range, not recomputed
    return true;
}

bool ZoomY(View& view, Zoom zoom, int pixels) {
    return ZoomRange(view.YMin, view.YMax, view.YStep, zoom, pixels);
}

}  // namespace ondrix::view
