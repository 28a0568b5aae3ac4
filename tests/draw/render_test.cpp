#include <gtest/gtest.h>

#include "plotter/canvas/image_canvas.h"
#include "plotter/draw/curves.h"
#include "plotter/draw/grid.h"
#include "script/engine.h"
#include "tests/support/fake_controls.h"
#include "tests/support/image_probe.h"

namespace ondrix::draw {
namespace {

using testing::CountColor;
using testing::Opaque;

using testing::FakeControls;

view::View StartView(int width) {
    view::View v;
    view::SetStartRange(v);
    view::ApplySamplingRule(v, width);
    return v;
}

struct Rendered : ::testing::Test {
    canvas::ImageCanvas canvas{500, 500};
    script::Engine engine;
    FakeControls controls;
    view::View view = StartView(500);

    void Plot() { Draw(view, canvas, engine, controls); }
};

TEST_F(Rendered, AxesStandAtTheCentreColumnAndRow) {
    ClearScreen(view, canvas);
    const QImage& image = canvas.Image();
    const QRgb red = Opaque(kAxisColor);
    // The vertical axis is drawn first; the horizontal grid lines (every 50
    // rows) cross it, so it shows red between them.
    for (int y : {10, 110, 390, 490}) EXPECT_EQ(image.pixel(250, y), red) << y;
    for (int x : {0, 100, 400, 499}) EXPECT_EQ(image.pixel(x, 250), red) << x;
    // Grid lines every 2 units: 25 pixels per unit vertically, ~15 across.
    EXPECT_EQ(image.pixel(100, 200), Opaque(kGridColor));  // y = 2 line at row 200
}

TEST_F(Rendered, PlanePointAboveTheAxisIsDrawnAboveIt) {
    controls.formulas = {"2", "", ""};
    controls.dots = true;
    Plot();
    // Plane y = 2 is row 200, above the x axis at row 250.
    EXPECT_GT(CountColor(canvas.Image(), Opaque(kCurveColors[0])), 400);
    for (int x = 5; x < 495; x += 50)
        EXPECT_EQ(canvas.Image().pixel(x, 200), Opaque(kCurveColors[0]));
}

TEST_F(Rendered, ClearScreenTwiceEqualsOnce) {
    ClearScreen(view, canvas);
    const QImage once = canvas.Image().copy();
    controls.formulas = {"Sin(x)*5", "x", ""};
    Plot();
    ClearScreen(view, canvas);
    ClearScreen(view, canvas);
    EXPECT_EQ(canvas.Image(), once);
}

TEST_F(Rendered, DontClearKeepsTheOldCurvesAndScale) {
    controls.formulas = {"x", "", ""};
    Plot();
    const int blueBefore = CountColor(canvas.Image(), Opaque(kCurveColors[0]));
    controls.dontClear = true;
    controls.formulas = {"", "-x", ""};
    view::View zoomed = view;
    view::ZoomX(zoomed, view::Zoom::In);
    Draw(zoomed, canvas, engine, controls);
    EXPECT_GE(CountColor(canvas.Image(), Opaque(kCurveColors[0])), blueBefore - 2);
    EXPECT_GT(CountColor(canvas.Image(), Opaque(kCurveColors[1])), 100);
    EXPECT_FLOAT_EQ(static_cast<float>(canvas.Scale().Left()), -16.68f);
}

TEST_F(Rendered, SumsBeyondTheSingleRangeDrawNothing) {
    // Label text may hold a few pixels of the grey by chance: compare with
    // the grid alone.
    ClearScreen(view, canvas);
    const int gridOnly = CountColor(canvas.Image(), Opaque(kCurveColors[3]));
    controls.formulas = {"3E38", "3E38", ""};
    controls.mode = kDrawSumOnly;
    Plot();
    EXPECT_EQ(CountColor(canvas.Image(), Opaque(kCurveColors[3])), gridOnly);
}

TEST_F(Rendered, WideCanvasGetsTheWholeCombinedCurve) {
    canvas.Resize(3840, 200);
    view = StartView(3840);
    controls.formulas = {"", "", ""};
    controls.mode = kDrawSum;
    Plot();
    // All boxes empty: the grey line runs along y = 0 over the whole width.
    const int row = 100;
    for (int x : {0, 1000, 2600, 3839})
        EXPECT_EQ(canvas.Image().pixel(x, row), Opaque(kCurveColors[3])) << x;
}

}  // namespace
}  // namespace ondrix::draw
