#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "plotter/canvas/pixel_canvas.h"
#include "plotter/draw/curves.h"
#include "plotter/draw/grid.h"
#include "plotter/draw/plotter.h"
#include "script/engine.h"
#include "tests/support/fake_controls.h"
#include "tests/support/image_probe.h"

namespace ondrix::draw {
namespace {

using testing::CountColor;
using testing::Opaque;
using testing::Picture;

using testing::FakeControls;

view::View StartView(int width) {
    view::View v;
    view::SetStartRange(v);
    view::ApplySamplingRule(v, width);
    return v;
}

struct Rendered : ::testing::Test {
    canvas::PixelCanvas canvas{500, 500};
    script::Engine engine;
    FakeControls controls;
    view::View view = StartView(500);

    void Plot() { Draw(view, canvas, engine, controls); }
};

TEST_F(Rendered, AxesStandAtTheCentreColumnAndRow) {
    ClearScreen(view, canvas);
    const testing::PictureView image = Picture(canvas);
    const std::uint32_t red = Opaque(kAxisColor);
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
    EXPECT_GT(CountColor(Picture(canvas), Opaque(kCurveColors[0])), 400);
    for (int x = 5; x < 495; x += 50)
        EXPECT_EQ(Picture(canvas).pixel(x, 200), Opaque(kCurveColors[0]));
}

TEST_F(Rendered, ClearScreenTwiceEqualsOnce) {
    ClearScreen(view, canvas);
    const std::vector<std::uint32_t> once = Picture(canvas).Copy();
    controls.formulas = {"Sin(x)*5", "x", ""};
    Plot();
    ClearScreen(view, canvas);
    ClearScreen(view, canvas);
    EXPECT_EQ(Picture(canvas).Copy(), once);
}

// A text painter that notes its calls and marks each text's corner.
struct NotingPainter : canvas::TextPainter {
    canvas::TextExtent Measure(std::string_view text) const override {
        return {7.0 * static_cast<double>(text.size()), 16};
    }
    void Draw(const canvas::PixelBuffer& picture, double left, double top, std::string_view,
              canvas::Rgb color) const override {
        calls += open ? 'd' : 'D';  // a text drawn inside Begin..End, or alone
        const auto x = static_cast<int>(left), y = static_cast<int>(top);
        if (x >= 0 && y >= 0 && x < picture.width && y < picture.height)
            picture.bits[y * picture.stride + x] = 0xFF000000u | color;
    }
    void Begin(const canvas::PixelBuffer&) const override { calls += '(', open = true; }
    void End() const override { calls += ')', open = false; }
    mutable std::string calls;
    mutable bool open = false;
};

// A ClearScreen that would repeat the previous one draws nothing: the picture
// already is what it would draw, or becomes it again when what was drawn over
// it is undone. A change of scale, size, colour or view, or a Cls, makes it
// draw again. Either way the picture is the one a fresh canvas gets.
TEST_F(Rendered, ClearScreenDrawsAgainOnlyWhatChanged) {
    struct Case {
        const char* touch;
        bool drawsAgain;
        std::function<void(canvas::PixelCanvas&, view::View&)> act;
    };
    const Case cases[] = {
        {"nothing", false, [](canvas::PixelCanvas&, view::View&) {}},
        {"line", false, [](canvas::PixelCanvas& c, view::View&) { c.Line(0, 0, 1, 1, 0x123456); }},
        {"lines", false,
         [](canvas::PixelCanvas& c, view::View&) {
             c.Line(-30, -20, 40, 25, 0x123456);
             c.Line(0, -1e300, 0.01, 1e300, 0x654321);
             c.Line(-20, 0.5, 20, 0.5, 0x00FF00);
         }},
        {"point", false, [](canvas::PixelCanvas& c, view::View&) { c.PSet(0, 0); }},
        {"text", false, [](canvas::PixelCanvas& c, view::View&) { c.Print("x"); }},
        {"cls", true, [](canvas::PixelCanvas& c, view::View&) { c.Cls(); }},
        {"pixels", true,
         [](canvas::PixelCanvas& c, view::View&) { c.Pixels().bits[0] = 0xFF00FF00u; }},
        {"scale", true, [](canvas::PixelCanvas& c, view::View&) { c.SetScaleTop(-3); }},
        {"size", true, [](canvas::PixelCanvas& c, view::View&) { c.Resize(400, 500); }},
        {"colour", true, [](canvas::PixelCanvas& c, view::View&) { c.SetForeColor(0x00FF00); }},
        {"view", true, [](canvas::PixelCanvas&, view::View& v) { v.YStep = 4; }},
    };
    for (const Case& c : cases) {
        canvas::PixelCanvas fresh{500, 500}, reused{500, 500};
        NotingPainter freshText, text;
        fresh.SetTextPainter(&freshText);
        reused.SetTextPainter(&text);
        view::View v = view;
        ClearScreen(v, reused);
        EXPECT_EQ(text.calls.find('D'), std::string::npos) << "labels outside one painter";
        text.calls.clear();
        c.act(reused, v);
        c.act(fresh, v);
        ClearScreen(v, reused);
        ClearScreen(v, fresh);
        EXPECT_EQ(text.calls.empty(), !c.drawsAgain) << c.touch;
        EXPECT_EQ(Picture(reused).Copy(), Picture(fresh).Copy()) << c.touch;
    }
}

TEST_F(Rendered, DontClearKeepsTheOldCurvesAndScale) {
    controls.formulas = {"x", "", ""};
    Plot();
    const int blueBefore = CountColor(Picture(canvas), Opaque(kCurveColors[0]));
    controls.dontClear = true;
    controls.formulas = {"", "-x", ""};
    view::View zoomed = view;
    view::ZoomX(zoomed, view::Zoom::In, 500);
    Draw(zoomed, canvas, engine, controls);
    EXPECT_GE(CountColor(Picture(canvas), Opaque(kCurveColors[0])), blueBefore - 2);
    EXPECT_GT(CountColor(Picture(canvas), Opaque(kCurveColors[1])), 100);
    EXPECT_FLOAT_EQ(static_cast<float>(canvas.Scale().Left()), -16.68f);
}

TEST_F(Rendered, SumsBeyondTheSingleRangeDrawNothing) {
    // Label text may hold a few pixels of the grey by chance: compare with
    // the grid alone.
    ClearScreen(view, canvas);
    const int gridOnly = CountColor(Picture(canvas), Opaque(kCurveColors[3]));
    controls.formulas = {"3E38", "3E38", ""};
    controls.mode = kDrawSumOnly;
    Plot();
    EXPECT_EQ(CountColor(Picture(canvas), Opaque(kCurveColors[3])), gridOnly);
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
        EXPECT_EQ(Picture(canvas).pixel(x, row), Opaque(kCurveColors[3])) << x;
}

// The rows of the image that hold at least one pixel of this colour.
int RowsWith(const testing::PictureView& image, std::uint32_t color) {
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        bool found = false;
        for (int x = 0; x < image.width() && !found; ++x) found = image.pixel(x, y) == color;
        rows += found;
    }
    return rows;
}

// A line steep enough to cross the whole band between two samples is drawn
// from the bottom row to the top one.
TEST(SteepLines, ReachEveryRow) {
    struct Case {
        const char* formula;
        int width;
        int zoomsInY;
    };
    const Case cases[] = {
        {"x*1000", 500, 0}, {"x*1000", 749, 0}, {"-x*400", 500, 0},
        {"-x*400", 749, 0}, {"x", 500, 9},      {"x", 749, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.formula) + " " + std::to_string(c.width) + " after " +
                     std::to_string(c.zoomsInY) + " x Zoom In Y");
        canvas::PixelCanvas canvas(c.width, 400);
        FakeControls controls;
        controls.formulas = {c.formula, "", ""};
        Plotter plotter(canvas, controls);
        plotter.ResetScale();
        for (int i = 0; i < c.zoomsInY; ++i) plotter.ZoomInY();
        EXPECT_EQ(RowsWith(Picture(canvas), Opaque(canvas::MakeRgb(0, 0, 160))), 400);
    }
}

// 28 x Zoom In X and Y, then one step right on HScroll1 and one up on
// VScroll1: the view is centred on (0.1, 0.1), 33.36 / 2^28 wide and 20 / 2^28
// high. Lines through that point stay straight to within a pixel and cross
// the canvas; the vertical grid lines stand evenly spaced.
TEST(DeepZoom, KeepsLinesStraightAndTheGridEven) {
    constexpr int kWidth = 600;
    constexpr int kHeight = 500;
    const double halfWidth = std::ldexp(16.68, -28);
    const double halfHeight = std::ldexp(10.0, -28);
    struct Case {
        const char* formula;
        double slope, offset;
    };
    for (const Case& c : {Case{"x", 1, 0}, Case{"0.04+0.6*x", 0.6, 0.04}}) {
        SCOPED_TRACE(c.formula);
        canvas::PixelCanvas canvas(kWidth, kHeight);
        FakeControls controls;
        controls.formulas = {c.formula, "", ""};
        Plotter plotter(canvas, controls);
        plotter.ResetScale();
        for (int i = 0; i < 28; ++i) {
            plotter.ZoomInX();
            plotter.ZoomInY();
        }
        view::ScrollLimits horizontal;
        view::ScrollLimits vertical;
        plotter.HorizontalScroll(1, horizontal);
        plotter.VerticalScroll(-1, vertical);

        // Pixel (i, j) stands for plane x = left + i * dx and y = top - j * dy.
        const double left = 0.1 - halfWidth;
        const double top = 0.1 + halfHeight;
        const double dx = 2 * halfWidth / kWidth;
        const double dy = 2 * halfHeight / kHeight;
        // The line in pixels: j = a * i + b.
        const double a = -c.slope * dx / dy;
        const double b = (top - c.offset - c.slope * left) / dy;
        const testing::PictureView image = Picture(canvas);
        int onLine = 0;
        int offLine = 0;
        for (int j = 0; j < kHeight; ++j) {
            for (int i = 0; i < kWidth; ++i) {
                if (image.pixel(i, j) != Opaque(canvas::MakeRgb(0, 0, 160))) continue;
                const double distance = std::fabs(a * i + b - j) / std::sqrt(a * a + 1);
                (distance <= 1.5 ? onLine : offLine) += 1;
            }
        }
        EXPECT_EQ(offLine, 0);
        EXPECT_GT(onLine, 400);
        EXPECT_GE(RowsWith(image, Opaque(canvas::MakeRgb(0, 0, 160))), kHeight - 20);

        // A row between horizontal grid lines meets every vertical one.
        std::vector<int> columns;
        for (int j = 0; j < kHeight && columns.empty(); ++j) {
            std::vector<int> row;
            for (int i = 0; i < kWidth; ++i)
                if (image.pixel(i, j) == Opaque(canvas::MakeRgb(200, 200, 200))) row.push_back(i);
            if (row.size() < 40) columns = row;
        }
        // 16 or 17 lines every 2 / 2^28, that is 36 pixels.
        ASSERT_GE(columns.size(), 15u);
        for (size_t k = 1; k < columns.size(); ++k)
            EXPECT_NEAR(columns[k] - columns[k - 1], 600 * 2 / 33.36, 1.0) << k;
    }
}

}  // namespace
}  // namespace ondrix::draw
