#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSignalSpy>
#include <cmath>
#include <limits>

#include "plotter/canvas/canvas_widget.h"
#include "plotter/canvas/image_canvas.h"
#include "plotter/canvas/scale_map.h"
#include "tests/support/image_probe.h"

namespace ondrix::canvas {
namespace {

using testing::CountColor;
using testing::Opaque;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Rgb kRed = MakeRgb(240, 0, 0);

// The start view on a 500 x 500 canvas.
void SetStartScale(Surface& s) {
    s.SetScaleLeft(-16.68f);
    s.SetScaleTop(-10.0f);
    s.SetScaleWidth(33.36f);
    s.SetScaleHeight(20.0f);
}

ScaleMap StartMap() {
    ScaleMap map;
    map.SetLeft(-16.68f);
    map.SetTop(-10.0f);
    map.SetWidth(33.36f);
    map.SetHeight(20.0f);
    map.SetPixelSize(500, 500);
    return map;
}

TEST(ScaleMap, MapsUserToPixelAndBack) {
    const ScaleMap map = StartMap();
    struct Case {
        double x, y, px, py;
    };
    for (const Case& c : {Case{0, 0, 250, 250}, Case{-16.68f, -10, 0, 0},
                          Case{16.68f, 10, 500, 500}, Case{1, -2, 265, 200}}) {
        const auto p = map.ToPixel(c.x, c.y);
        ASSERT_TRUE(p);
        EXPECT_NEAR(p->x, c.px, 0.02);
        EXPECT_NEAR(p->y, c.py, 0.02);
        const auto u = map.ToUser(c.px, c.py);
        ASSERT_TRUE(u);
        EXPECT_NEAR(u->x, c.x, 1e-3);
        EXPECT_NEAR(u->y, c.y, 1e-3);
    }
}

TEST(ScaleMap, RefusesWhatCannotBeMapped) {
    const ScaleMap map = StartMap();
    for (const auto& [x, y] : {std::pair{kNaN, 0.0}, std::pair{0.0, kInf}, std::pair{-kInf, 1.0},
                               std::pair{1e308, 0.0}}) {
        EXPECT_FALSE(map.ToPixel(x, y)) << x << "," << y;
    }
    ScaleMap flat = StartMap();
    flat.SetWidth(0);
    EXPECT_FALSE(flat.ToPixel(0, 0));
    ScaleMap empty = StartMap();
    empty.SetPixelSize(0, 10);
    EXPECT_FALSE(empty.ToUser(0, 0));
}

TEST(ClipSegment, KeepsOnlyTheVisiblePart) {
    struct Case {
        const char* name;
        PixelPoint a, b;
        bool visible;
        PixelPoint ca, cb;
    };
    const Case cases[] = {
        {"inside", {1, 1}, {5, 5}, true, {1, 1}, {5, 5}},
        {"outside", {-5, -5}, {-1, -9}, false, {}, {}},
        {"crossing", {-10, 5}, {20, 5}, true, {0, 5}, {10, 5}},
        {"huge", {5, 5}, {1e30, 5}, true, {5, 5}, {10, 5}},
        {"enormous both ways", {-1e300, 5}, {1e300, 5}, true, {0, 5}, {10, 5}},
        {"diagonal corner", {-10, -10}, {20, 20}, true, {0, 0}, {10, 10}},
        {"infinite end", {5, 5}, {kInf, 5}, false, {}, {}},
        {"NaN end", {kNaN, 5}, {1, 1}, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PixelPoint a = c.a;
        PixelPoint b = c.b;
        ASSERT_EQ(ClipSegment(a, b, 0, 0, 10, 10), c.visible);
        if (!c.visible) continue;
        EXPECT_NEAR(a.x, c.ca.x, 1e-9);
        EXPECT_NEAR(a.y, c.ca.y, 1e-9);
        EXPECT_NEAR(b.x, c.cb.x, 1e-9);
        EXPECT_NEAR(b.y, c.cb.y, 1e-9);
    }
}

TEST(ImageCanvas, CentreLineRunsEdgeToEdge) {
    ImageCanvas canvas(500, 500);
    SetStartScale(canvas);
    canvas.Cls();
    canvas.Line(0, -10, 0, 10, kRed);
    for (int y = 0; y < 500; ++y) ASSERT_EQ(canvas.Image().pixel(250, y), Opaque(kRed)) << y;
    EXPECT_EQ(CountColor(canvas.Image(), Opaque(kRed)), 500);
}

// Segments reaching far beyond the area return at once and draw only what is
// visible; a coordinate beyond the single range draws nothing at all.
TEST(ImageCanvas, HugeCoordinatesDrawOnlyTheVisiblePart) {
    struct Case {
        const char* name;
        float x2;
        int expectedPixels;
    };
    const Case cases[] = {
        {"1e30", 1e30f, 250},
        {"float max", std::numeric_limits<float>::max(), 250},
        {"infinity", std::numeric_limits<float>::infinity(), 0},
        {"NaN", std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageCanvas canvas(500, 500);
        SetStartScale(canvas);
        canvas.Cls();
        QElapsedTimer timer;
        timer.start();
        canvas.Line(0, 0, c.x2, 0, kRed);
        EXPECT_LT(timer.elapsed(), 1000);
        EXPECT_EQ(CountColor(canvas.Image(), Opaque(kRed)), c.expectedPixels);
    }
}

TEST(ImageCanvas, KeepsItsPictureUntilCls) {
    ImageCanvas canvas(100, 100);
    SetStartScale(canvas);
    canvas.Cls();
    canvas.Line(-16.68f, 0, 16.68f, 0, kRed);
    canvas.PSet(0, 5, MakeRgb(0, 0, 160));
    const QImage first = canvas.Image();
    canvas.Line(0, -10, 0, 10, MakeRgb(0, 160, 0));
    // The earlier picture is still there under the new line.
    EXPECT_EQ(canvas.Image().pixel(10, 50), Opaque(kRed));
    EXPECT_NE(canvas.Image(), first);
    canvas.Cls();
    EXPECT_EQ(CountColor(canvas.Image(), canvas.BackColor().rgb()), 100 * 100);
}

TEST(ImageCanvas, PointsUseTheirColourOrTheForeground) {
    ImageCanvas canvas(500, 500);
    SetStartScale(canvas);
    canvas.Cls();
    canvas.PSet(1, -2, kRed);  // plane point (1, 2) lies above the x axis
    EXPECT_EQ(canvas.Image().pixel(265, 200), Opaque(kRed));
    canvas.PSet(-1, 2);
    EXPECT_EQ(canvas.Image().pixel(235, 300), canvas.ForeColor().rgb());
    EXPECT_FLOAT_EQ(canvas.CurrentX(), -1);
    EXPECT_FLOAT_EQ(canvas.CurrentY(), 2);
    canvas.PSet(1e30f, 0, kRed);  // far outside: accepted, nothing drawn
    EXPECT_EQ(CountColor(canvas.Image(), Opaque(kRed)), 1);
}

TEST(ImageCanvas, PrintDrawsTextBelowAndRightOfTheCurrentPoint) {
    ImageCanvas canvas(500, 500);
    SetStartScale(canvas);
    canvas.Cls();
    canvas.PSet(0, 0);
    canvas.Print(" 88 ");
    const QImage& image = canvas.Image();
    int inked = 0;
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 500; ++x) {
            if (image.pixel(x, y) == canvas.BackColor().rgb()) continue;
            ++inked;
            EXPECT_GE(x, 250);
            EXPECT_GE(y, 250);
        }
    }
    EXPECT_GT(inked, 10);
    // Text far outside the area is not drawn and does not fail.
    canvas.PSet(1e30f, 1e30f);
    canvas.Print("x");
    canvas.PSet(-1e30f, -1e30f);
    canvas.Print("x");
}

TEST(ImageCanvas, ResizeKeepsTheTopLeftOfThePicture) {
    ImageCanvas canvas(100, 100);
    SetStartScale(canvas);
    canvas.Cls();
    canvas.PSet(-16.68f, -10, kRed);
    for (const auto& [w, h] : {std::pair{200, 50}, std::pair{0, 0}, std::pair{1, 1}}) {
        canvas.Resize(w, h);
        EXPECT_EQ(canvas.Width(), w);  // the logical width
        EXPECT_EQ(canvas.Image().pixel(0, 0), Opaque(kRed));
    }
    canvas.Resize(0, 0);
    canvas.Line(0, -10, 0, 10, kRed);  // nothing to draw into, and no failure
    canvas.Print("1");
}

TEST(CanvasWidget, ReportsThePointerInUserCoordinates) {
    CanvasWidget widget;
    widget.resize(500, 500);
    SetStartScale(widget);
    QSignalSpy spy(&widget, &CanvasWidget::mouseMoved);
    for (const auto& [px, py, x, y] :
         {std::tuple{0, 0, -16.68f, -10.0f}, std::tuple{250, 250, 0.0f, 0.0f}}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(px, py), QPointF(px, py), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &move);
        ASSERT_FALSE(spy.isEmpty());
        const QList<QVariant> args = spy.takeLast();
        EXPECT_NEAR(args[0].toFloat(), x, 1e-4);
        EXPECT_NEAR(args[1].toFloat(), y, 1e-4);
    }
}

}  // namespace
}  // namespace ondrix::canvas
