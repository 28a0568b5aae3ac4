#include "plotter/draw/grid.h"

#include <cmath>

#include "script/number_text.h"

namespace ondrix::draw {

namespace {

// More grid lines than any screen can show; reached only when a pass cannot
// advance normally (a step that is tiny next to the position), so the pass
// always ends.
constexpr long kMaxGridLines = 100000;

bool IsWholeMultiple(double position, double step) {
    const double ratio = position / step;
    return std::floor(ratio) == ratio;
}

// Runs `line` for every whole multiple of `step` from `start` while it is not
// beyond `bound`. The bound and the step are taken once; the position grows by
// repeated addition, as the grid has always been laid out.
template <typename DrawLine>
void GridPass(double start, double bound, double step, DrawLine line) {
    double position = start;
    for (long count = 0; position <= bound && count < kMaxGridLines; ++count) {
        if (IsWholeMultiple(position, step)) line(position);
        const double next = position + step;
        if (!(next > position)) break;  // no progress: a step lost in rounding, or NaN
        position = next;
    }
}

}  // namespace

std::string LabelText(double value) {
    return script::StrText(value) + ' ';
}

void ClearScreen(const view::View& view, canvas::Surface& surface) {
    surface.Cls();
    surface.SetScaleLeft(static_cast<float>(view.XMin));
    surface.SetScaleTop(static_cast<float>(view.YMin));
    surface.SetScaleWidth(static_cast<float>(view.XMax - view.XMin));
    surface.SetScaleHeight(static_cast<float>(view.YMax - view.YMin));

    const double x0 = std::floor(view.XMin / view.XStep) * view.XStep;
    const double y0 = std::floor(view.YMin / view.YStep) * view.YStep;

    const auto top = static_cast<float>(view.YMin);
    const auto bottom = static_cast<float>(view.YMax);
    GridPass(x0, view.XMax, view.XStep, [&](double x) {
        const auto fx = static_cast<float>(x);
        surface.Line(fx, top, fx, bottom, x == 0 ? kAxisColor : kGridColor);
        surface.PSet(fx, 0.0f);
        surface.Print(LabelText(x));
    });

    const auto left = static_cast<float>(view.XMin);
    const auto right = static_cast<float>(view.XMax);
    GridPass(y0, view.YMax, view.YStep, [&](double y) {
        const auto fy = static_cast<float>(y);
        surface.Line(left, fy, right, fy, y == 0 ? kAxisColor : kGridColor);
        surface.PSet(0.0f, fy);
        surface.Print(LabelText(-y));
    });
}

}  // namespace ondrix::draw
