#include "plotter/draw/curves.h"

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
    std::vector<double> combined;  // the combined curve, one entry per sweep point
    std::string resultText;        // empty: the current point has no value
    double prevY = 0;
};

// A leap from above the band to below it, or from below to above. The band
// is YMin..YMax exactly as the view holds them.
bool Leaps(double prevY, double y, const view::View& view) {
    return (prevY > view.YMax && y < view.YMin) || (prevY < view.YMin && y > view.YMax);
}

void Combine(Sweep& sweep, int curve, long j, double y) {
    if (sweep.combined.size() <= static_cast<size_t>(j)) sweep.combined.resize(j + 1, 0.0);
    double& entry = sweep.combined[j];
    if (sweep.controls.Mode() <= kDrawSumOnly) {
        entry += y;
    } else if (curve == 0) {
        entry = y;  // formula 0 seeds the product
    } else {
        entry *= y;
    }
}

void DrawCurve(Sweep& sweep, int curve, bool hide) {
    const view::View& v = sweep.view;
    const canvas::Rgb color = kCurveColors[curve];
    // The formula cannot change while a drawing runs, so it is read once a curve.
    const std::string formula = curve < kCombinedCurve ? sweep.controls.FormulaText(curve) : "";
    const double bound = v.XMax + v.XScale;
    long j = 0;
    for (double x = v.XMin; x <= bound && j < kMaxSweepPoints; ++j) {
        double y = 0;
        if (curve < kCombinedCurve) {
            y = eval::EvaluateFormula(sweep.engine, formula, x, sweep.resultText);
        } else {
            sweep.resultText.assign(1, ' ');  // the combined curve always has a value
            y = static_cast<size_t>(j) < sweep.combined.size() ? sweep.combined[j] : 0.0;
        }
        if (x == v.XMin) sweep.prevY = y;

        if (!sweep.resultText.empty() && !hide && !Leaps(sweep.prevY, y, v)) {
            if (!sweep.controls.DotsNotLines()) {
                sweep.surface.Line(x - v.XScale, -sweep.prevY, x, -y, color);
            } else {
                sweep.surface.PSet(x, -y, color);
            }
        }
        sweep.prevY = y;
        if (curve < kCombinedCurve && !sweep.resultText.empty()) Combine(sweep, curve, j, y);

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
