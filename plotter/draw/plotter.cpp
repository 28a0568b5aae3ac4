#include "plotter/draw/plotter.h"

#include "plotter/draw/curves.h"
#include "plotter/draw/grid.h"

namespace ondrix::draw {

Plotter::Plotter(canvas::Surface& surface, Controls& controls)
    : surface_(surface), controls_(controls) {}

void Plotter::ClearScreen() {
    draw::ClearScreen(view_, surface_);
}

void Plotter::Draw() {
    draw::Draw(view_, surface_, engine_, controls_);
}

void Plotter::Redraw() {
    ClearScreen();
    Draw();
}

void Plotter::ResetScale() {
    view::SetStartRange(view_);
    view::ApplySamplingRule(view_, surface_.Width());
    Redraw();
}

void Plotter::NewGraph() {
    controls_.ClearFormulas();
    ResetScale();
}

void Plotter::ZoomInX() {
    if (view::ZoomX(view_, view::Zoom::In, surface_.Width())) Redraw();
}

void Plotter::ZoomOutX() {
    if (view::ZoomX(view_, view::Zoom::Out, surface_.Width())) Redraw();
}

void Plotter::ZoomInY() {
    if (view::ZoomY(view_, view::Zoom::In, surface_.Height())) Redraw();
}

void Plotter::ZoomOutY() {
    if (view::ZoomY(view_, view::Zoom::Out, surface_.Height())) Redraw();
}

void Plotter::HorizontalScroll(int value, view::ScrollLimits& limits) {
    view::PanRange(view_.XMin, view_.XMax, value, limits, surface_.Width());
    Redraw();
}

void Plotter::VerticalScroll(int value, view::ScrollLimits& limits) {
    view::PanRange(view_.YMin, view_.YMax, value, limits, surface_.Height());
    Redraw();
}

void Plotter::CanvasResized() {
    if (view::ApplySamplingRule(view_, surface_.Width())) Draw();
}

}  // namespace ondrix::draw
