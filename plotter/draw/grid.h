#pragma once

#include <string>

#include "plotter/canvas/surface.h"
#include "plotter/view/view.h"

namespace ondrix::draw {

inline constexpr canvas::Rgb kAxisColor = canvas::MakeRgb(240, 0, 0);
inline constexpr canvas::Rgb kGridColor = canvas::MakeRgb(200, 200, 200);

// Wipes the canvas, maps it onto the view and draws the grid: first every
// vertical line with its x label, then every horizontal line with its y label.
// The lines at x = 0 and canvas y = 0 are the red axes. A label that would
// overlap any label printed before it, on either axis, is left out; its line
// is not.
void ClearScreen(const view::View& view, canvas::Surface& surface);

// A grid label as a print statement writes a number: a blank for the sign of
// a value that is not negative, the number, then one blank (" 2 ", "-2 ",
// " 0.5 ").
std::string LabelText(double value);

}  // namespace ondrix::draw
