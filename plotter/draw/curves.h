#pragma once

#include "plotter/canvas/surface.h"
#include "plotter/draw/controls.h"
#include "plotter/view/view.h"

namespace ondrix::script {
class Engine;
}

namespace ondrix::draw {

inline constexpr canvas::Rgb kCurveColors[] = {
    canvas::MakeRgb(0, 0, 160),      // formula 0, dark blue
    canvas::MakeRgb(0, 160, 0),      // formula 1, dark green
    canvas::MakeRgb(160, 0, 0),      // formula 2, dark red
    canvas::MakeRgb(100, 100, 100),  // the combined curve, grey
};

// Plots the three formulas over the view, then (by the mode) their sum or
// product as the grey combined curve. Clears first unless "Don't clear the
// screen" is checked. Each curve is sampled from XMin in steps of XScale to one
// step past XMax; points without a value are left out (the next point with a
// value starts the curve anew, as the first one does), and so is a stroke that
// leaps from above the visible plane band (-YMax..-YMin) to below it or back,
// unless the curve's value halfway along the step lies strictly between the
// stroke's ends (a steep curve rather than a pole).
void Draw(const view::View& view, canvas::Surface& surface, script::Engine& engine,
          const Controls& controls);

}  // namespace ondrix::draw
