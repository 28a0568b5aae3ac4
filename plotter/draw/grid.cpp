#include "plotter/draw/grid.h"

#include <cmath>
#include <optional>
#include <vector>

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

// The labels one ClearScreen has printed, as boxes in user coordinates. A
// label that would overlap any of them, of either axis, would overprint it, so
// it is left out and the earlier label stays readable; its grid line is drawn
// all the same. A screen holds a few dozen labels, so each new one is simply
// checked against all of them.
class PrintedLabels {
  public:
    // Prints `text` with its top-left corner at the current point (x, y)
    // unless it would overlap a label printed before.
    void PrintIfFree(canvas::Surface& surface, double x, double y, const std::string& text) {
        const Box box = BoxAt(x, y, surface.TextWidth(text), surface.TextHeight(text));
        for (const Box& printed : boxes_)
            if (Overlap(box, printed)) return;
        surface.Print(text);
        boxes_.push_back(box);
    }

  private:
    struct Box {
        double left, top, right, bottom;
    };
    static Box BoxAt(double x, double y, double width, double height) {
        return {std::fmin(x, x + width), std::fmin(y, y + height), std::fmax(x, x + width),
                std::fmax(y, y + height)};
    }
    // Boxes that only touch do not overlap.
    static bool Overlap(const Box& a, const Box& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }

    std::vector<Box> boxes_;
};

}  // namespace

std::string LabelText(double value) {
    return script::StrText(value) + ' ';
}

void ClearScreen(const view::View& view, canvas::Surface& surface) {
    // A ClearScreen leaves the same picture as the one before it on the same
    // view: a canvas that holds this view's grid, or can bring it back by
    // undoing what was drawn over it, stays as it is.
    const canvas::Surface::PictureKey grid{view.XMin, view.XMax,  view.YMin,
                                           view.YMax, view.XStep, view.YStep};
    if (surface.Recall(grid)) return;
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

    PrintedLabels labels;
    GridPass(x0, view.XMax, view.XStep, [&](double x) {
        surface.Line(x, view.YMin, x, view.YMax, x == 0 ? kAxisColor : kGridColor);
        surface.PSet(x, 0.0);
        labels.PrintIfFree(surface, x, 0.0, LabelText(x));
    });
    GridPass(y0, view.YMax, view.YStep, [&](double y) {
        surface.Line(view.XMin, y, view.XMax, y, y == 0 ? kAxisColor : kGridColor);
        surface.PSet(0.0, y);
        labels.PrintIfFree(surface, 0.0, y, LabelText(-y));
    });
    prints.reset();
    surface.Mark(grid);
}

}  // namespace ondrix::draw
