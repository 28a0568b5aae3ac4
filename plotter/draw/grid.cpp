#include "plotter/draw/grid.h"

#include <cmath>
#include <limits>
#include <optional>

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

// The labels along one axis, printed in the order of their positions: a label
// that would start before the previous printed one ends would overprint it,
// so it is left out; its grid line is drawn all the same.
class LabelRow {
  public:
    bool Fits(double start) const { return !(start < end_); }
    void Printed(double start, double extent) { end_ = start + extent; }

  private:
    double end_ = -std::numeric_limits<double>::infinity();
};

}  // namespace

std::string LabelText(double value) {
    return script::StrText(value) + ' ';
}

void ClearScreen(const view::View& view, canvas::Surface& surface) {
    // Two ClearScreens in a row leave the same picture as one: a canvas that
    // still holds this view's grid, untouched since, stays as it is.
    const canvas::Surface::PictureKey grid{view.XMin, view.XMax,  view.YMin,
                                           view.YMax, view.XStep, view.YStep};
    if (surface.Holds(grid)) return;
    surface.Cls();
    surface.SetScaleLeft(view.XMin);
    surface.SetScaleTop(view.YMin);
    surface.SetScaleWidth(view.XMax - view.XMin);
    surface.SetScaleHeight(view.YMax - view.YMin);

    const double x0 = std::floor(view.XMin / view.XStep) * view.XStep;
    const double y0 = std::floor(view.YMin / view.YStep) * view.YStep;

    // The labels share one text renderer, handed back also on an error.
    struct Prints {
        canvas::Surface& surface;
        explicit Prints(canvas::Surface& s) : surface(s) { surface.BeginPrints(); }
        ~Prints() { surface.EndPrints(); }
    };
    std::optional<Prints> prints(std::in_place, surface);

    LabelRow xLabels;
    GridPass(x0, view.XMax, view.XStep, [&](double x) {
        surface.Line(x, view.YMin, x, view.YMax, x == 0 ? kAxisColor : kGridColor);
        surface.PSet(x, 0.0);
        if (!xLabels.Fits(x)) return;
        const std::string label = LabelText(x);
        surface.Print(label);
        xLabels.Printed(x, surface.TextWidth(label));
    });

    LabelRow yLabels;
    GridPass(y0, view.YMax, view.YStep, [&](double y) {
        surface.Line(view.XMin, y, view.XMax, y, y == 0 ? kAxisColor : kGridColor);
        surface.PSet(0.0, y);
        if (!yLabels.Fits(y)) return;
        const std::string label = LabelText(-y);
        surface.Print(label);
        yLabels.Printed(y, surface.TextHeight(label));
    });
    prints.reset();
    surface.Mark(grid);
}

}  // namespace ondrix::draw
