#pragma once

#include "plotter/canvas/surface.h"
#include "plotter/draw/controls.h"
#include "plotter/view/scroll.h"
#include "plotter/view/view.h"
#include "script/engine.h"

namespace ondrix::draw {

// The plotter's commands: each changes the view as its name says and redraws.
// It owns the view and the script engine; the canvas and the controls belong
// to the window.
class Plotter {
  public:
    Plotter(canvas::Surface& surface, Controls& controls);

    const view::View& View() const { return view_; }
    view::View& View() { return view_; }
    script::Engine& Engine() { return engine_; }

    void ClearScreen();
    void Draw();

    // Start view, sampling step from the canvas width, redraw.
    void ResetScale();
    // Empties the formula boxes, then ResetScale.
    void NewGraph();
    // Halve or double a range about the origin; a zoom past what the canvas can
    // represent does nothing, not even a redraw.
    void ZoomInX();
    void ZoomOutX();
    void ZoomInY();
    void ZoomOutY();

    // A scroll bar changed: re-centre the range on its value, widen its limits,
    // redraw.
    void HorizontalScroll(int value, view::ScrollLimits& limits);
    void VerticalScroll(int value, view::ScrollLimits& limits);

    // The canvas has its new width: recompute the sampling step and draw. A
    // canvas without width has nothing to sample, so nothing happens.
    void CanvasResized();

  private:
    void Redraw();

    view::View view_;
    script::Engine engine_;
    canvas::Surface& surface_;
    Controls& controls_;
};

}  // namespace ondrix::draw
