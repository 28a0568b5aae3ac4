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

bool ZoomX(View& view, Zoom zoom) {
    const double xMin = Scaled(view.XMin, zoom);
    const double xMax = Scaled(view.XMax, zoom);
    if (!UsableInSingle(xMin, xMax)) return false;
    view.XMin = xMin;
    view.XMax = xMax;
    view.XStep = Scaled(view.XStep, zoom);
    view.XScale = Scaled(view.XScale, zoom);
    return true;
}

bool ZoomY(View& view, Zoom zoom) {
    const double yMin = Scaled(view.YMin, zoom);
    const double yMax = Scaled(view.YMax, zoom);
    if (!UsableInSingle(yMin, yMax)) return false;
    view.YMin = yMin;
    view.YMax = yMax;
    view.YStep = Scaled(view.YStep, zoom);
    return true;
}

}  // namespace ondrix::view
