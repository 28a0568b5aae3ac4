#include "plotter/draw/curves.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "plotter/draw/grid.h"
#include "plotter/eval/formula.h"

namespace ondrix::draw {

namespace {

constexpr int kCombinedCurve = 3;

// A bound on the points of one sweep, far above any screen's width; it only
// matters when the step is lost in rounding next to a large x.
constexpr long kMaxSweepPoints = 1L << 20;

// The per-call state of a drawing.
struct Sweep {
    const view::View& view;
    canvas::Surface& surface;
    script::Engine& engine;
    const Controls& controls;
    std::array<std::string, kFormulaCount> formulas;  // read once: they cannot change meanwhile
    std::vector<double> combined;  // the combined curve, one entry per sweep point
    double prevY = 0;
};

// A leap from above the visible plane band to below it, or from below to
// above. The canvas shows plane y from -YMax (bottom) to -YMin (top).
bool Leaps(double prevY, double y, const view::View& view) {
    const double bottom = -view.YMax;
    const double top = -view.YMin;
    return (prevY > top && y < bottom) || (prevY < bottom && y > top);
}

// The combined curve's rule for one formula value: add it, or, in the product
// modes, let formula 0 seed the product and the others multiply it.
void CombineInto(double& entry, int mode, int curve, double y) {
    if (mode <= kDrawSumOnly) {
        entry += y;
    } else if (curve == 0) {
        entry = y;
    } else {
        entry *= y;
    }
}

void Combine(Sweep& sweep, int curve, long j, double y) {
    if (sweep.combined.size() <= static_cast<size_t>(j)) sweep.combined.resize(j + 1, 0.0);
    CombineInto(sweep.combined[j], sweep.controls.Mode(), curve, y);
}

// The curve's value at an abscissa off the sweep; false when it has none.
// The combined curve always has one: its formulas combined as in the sweep.
bool ValueAt(Sweep& sweep, int curve, double x, double& y) {
    if (curve < kCombinedCurve) {
        const eval::PointValue point =
            eval::EvaluateFormula(sweep.engine, sweep.formulas[curve], x);
        y = point.value;
        return point.hasValue;
    }
    const int mode = sweep.controls.Mode();
    y = 0;
    for (int k = 0; k < kCombinedCurve; ++k) {
        const eval::PointValue point = eval::EvaluateFormula(sweep.engine, sweep.formulas[k], x);
        if (point.hasValue) CombineInto(y, mode, k, point.value);
    }
    return true;
}

// A stroke the jump test rejects still belongs to the curve when the value
// halfway along the step lies strictly between its ends: the curve is steep
// there, not broken by a pole. Costs one more evaluation, and only for the
// rare rejected stroke.
bool ContinuousAcross(Sweep& sweep, int curve, double x, double prevY, double y) {
    double mid = 0;
    if (!ValueAt(sweep, curve, x - sweep.view.XScale / 2, mid)) return false;
    return std::fmin(prevY, y) < mid && mid < std::fmax(prevY, y);
}

void DrawCurve(Sweep& sweep, int curve, bool hide) {
    const view::View& v = sweep.view;
    const canvas::Rgb color = kCurveColors[curve];
    const double bound = v.XMax + v.XScale;
    long j = 0;
    // The curve starts anew at the first point and at every point that follows
    // one without a value: its segment is the level stroke at its own height,
    // not a wall from where the gap left off.
    bool startsAnew = true;
    for (double x = v.XMin; x <= bound && j < kMaxSweepPoints; ++j) {
        eval::PointValue point{true, 0.0};  // the combined curve always has a value
        if (curve < kCombinedCurve) {
            point = eval::EvaluateFormula(sweep.engine, sweep.formulas[curve], x);
        } else if (static_cast<size_t>(j) < sweep.combined.size()) {
            point.value = sweep.combined[j];
        }
        const double y = point.value;
        if (startsAnew) sweep.prevY = y;

        const bool drawn =
            point.hasValue && !hide &&
            (!Leaps(sweep.prevY, y, v) || ContinuousAcross(sweep, curve, x, sweep.prevY, y));
        if (drawn) {
            if (!sweep.controls.DotsNotLines()) {
                sweep.surface.Line(x - v.XScale, -sweep.prevY, x, -y, color);
            } else {
                sweep.surface.PSet(x, -y, color);
            }
        }
        sweep.prevY = y;
        startsAnew = !point.hasValue;
        if (curve < kCombinedCurve && point.hasValue) Combine(sweep, curve, j, y);

        const double next = x + v.XScale;
        if (!(next > x)) break;  // no progress: a step lost in rounding, or NaN
        x = next;
    }
}

}  // namespace

void Draw(const view::View& view, canvas::Surface& surface, script::Engine& engine,
          const Controls& controls) {
    if (!controls.DontClearScreen()) ClearScreen(view, surface);
    eval::PrepareScriptEngine(engine);

    Sweep sweep{view, surface, engine, controls, {}, {}, 0.0};
    for (int k = 0; k < kFormulaCount; ++k) sweep.formulas[k] = controls.FormulaText(k);
    if (view.XScale > 0 && std::isfinite(view.XScale)) {
        sweep.combined.reserve(static_cast<size_t>(
            std::fmin((view.XMax - view.XMin) / view.XScale + 3, kMaxSweepPoints)));
    }
    for (int curve = 0; curve <= kCombinedCurve; ++curve) {
        const int mode = controls.Mode();
        const bool hide = curve < kCombinedCurve && (mode == kDrawSumOnly || mode == kDrawMultOnly);
        if (curve == kCombinedCurve && mode == kDontDrawSum) return;
        DrawCurve(sweep, curve, hide);
    }
}

}  // namespace ondrix::draw
