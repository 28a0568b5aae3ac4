#include "plotter/view/view.h"

#include <cmath>

namespace ondrix::view {

namespace {

// The canvas receives every coordinate as a 32-bit float, so a range is only
// usable while its ends and its width stay finite and the width non-zero there.
bool UsableInSingle(double low, double high) {
    const float width = static_cast<float>(high - low);
    return std::isfinite(static_cast<float>(low)) && std::isfinite(static_cast<float>(high)) &&
           std::isfinite(width) && width != 0.0f;
}

double Scaled(double value, Zoom zoom) {
    return zoom == Zoom::In ? value / 2 : value * 2;
}

}  // namespace

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
bool ZoomRange(double& low, double& high, double& step, Zoom zoom) {
    const double newLow = Scaled(low, zoom);
    const double newHigh = Scaled(high, zoom);
    if (!UsableInSingle(newLow, newHigh)) return false;
    low = newLow;
    high = newHigh;
    step = Scaled(step, zoom);
    return true;
}

}  // namespace

bool ZoomX(View& view, Zoom zoom) {
    if (!ZoomRange(view.XMin, view.XMax, view.XStep, zoom)) return false;
    view.XScale = Scaled(view.XScale, zoom);  // scaled with the range, not recomputed
    return true;
}

bool ZoomY(View& view, Zoom zoom) {
    return ZoomRange(view.YMin, view.YMax, view.YStep, zoom);
}

}  // namespace ondrix::view
