#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "plotter/canvas/pixel_canvas.h"
#include "plotter/canvas/scale_map.h"
#include "tests/support/image_probe.h"

namespace ondrix::canvas {
namespace {

using testing::Picture;
using testing::PictureView;

using testing::CountColor;
using testing::Opaque;
using testing::ShareInDoubledBlocks;

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
    for (const auto& [x, y] : {std::pair{kNaN, 0.0}, std::pair{0.0, kInf}, std::pair{-kInf, 1.0}}) {
        EXPECT_FALSE(map.ToPixel(x, y)) << x << "," << y;
    }
    // A finite point whose pixel position overflows stays far out on its side.
    const auto far = map.ToPixel(1e308, -1e308);
    ASSERT_TRUE(far);
    EXPECT_GT(far->x, 1e100);
    EXPECT_LT(far->y, -1e100);
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

    // The edge point is interpolated from the near end, also when the far end
    // lies so far out that its own rounding exceeds the canvas. The segment
    // (250, 250)-(1E+20, 5E+19 + 250) crosses the right edge x = 499.5 at
    // y = 374.75; on a 500 x 375 canvas that lies below the bottom edge, which
    // it meets at (499, 374.5).
    struct FarCase {
        int width, height;
        PixelPoint end;
    };
    for (const FarCase& c : {FarCase{500, 400, {499.5, 374.75}}, FarCase{500, 375, {499, 374.5}}}) {
        SCOPED_TRACE(c.height);
        PixelPoint a{250, 250};
        PixelPoint b{1E+20, 5E+19 + 250};
        ASSERT_TRUE(ClipSegment(a, b, -0.5, -0.5, c.width - 0.5, c.height - 0.5));
        EXPECT_EQ(a.x, 250);
        EXPECT_EQ(a.y, 250);
        EXPECT_NEAR(b.x, c.end.x, 1e-9);
        EXPECT_NEAR(b.y, c.end.y, 1e-9);
    }
}

TEST(PixelCanvas, CentreLineRunsEdgeToEdge) {
    PixelCanvas canvas(500, 500);
    SetStartScale(canvas);
    canvas.Cls();
    canvas.Line(0, -10, 0, 10, kRed);
    for (int y = 0; y < 500; ++y) ASSERT_EQ(Picture(canvas).pixel(250, y), Opaque(kRed)) << y;
    EXPECT_EQ(CountColor(Picture(canvas), Opaque(kRed)), 500);
}

// Segments reaching far beyond the area return at once and draw only what is
// visible, also where the pixel position itself is beyond the double range; a
// coordinate that is not finite draws nothing at all.
TEST(PixelCanvas, HugeCoordinatesDrawOnlyTheVisiblePart) {
    struct Case {
        const char* name;
        double x2;
        int expectedPixels;
    };
    const Case cases[] = {
        {"1e30", 1e30, 250},
        {"float max", std::numeric_limits<float>::max(), 250},
        {"1e300", 1e300, 250},
        {"pixel position beyond the double range", 1e307, 250},
        {"double max", std::numeric_limits<double>::max(), 250},
        {"-double max", -std::numeric_limits<double>::max(), 251},
        {"infinity", kInf, 0},
        {"NaN", kNaN, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PixelCanvas canvas(500, 500);
        SetStartScale(canvas);
        canvas.Cls();
        const auto start = std::chrono::steady_clock::now();
        canvas.Line(0, 0, c.x2, 0, kRed);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(CountColor(Picture(canvas), Opaque(kRed)), c.expectedPixels);
    }
}

TEST(PixelCanvas, KeepsItsPictureUntilCls) {
    PixelCanvas canvas(100, 100);
    SetStartScale(canvas);
    canvas.Cls();
    canvas.Line(-16.68f, 0, 16.68f, 0, kRed);
    canvas.PSet(0, 5, MakeRgb(0, 0, 160));
    const std::vector<std::uint32_t> first = Picture(canvas).Copy();
    canvas.Line(0, -10, 0, 10, MakeRgb(0, 160, 0));
    // The earlier picture is still there under the new line.
    EXPECT_EQ(Picture(canvas).pixel(10, 50), Opaque(kRed));
    EXPECT_NE(Picture(canvas).Copy(), first);
    canvas.Cls();
    EXPECT_EQ(CountColor(Picture(canvas), Opaque(canvas.BackColor())), 100 * 100);
}

// A painter that fills the whole box a text may ink, so that any pixel the
// canvas fails to count as written shows.
struct InkBoxText : TextPainter {
    TextExtent Measure(std::string_view text) const override {
        return {7.0 * static_cast<double>(text.size()), 16};
    }
    void Draw(const PixelBuffer& picture, double left, double top, std::string_view text,
              Rgb color) const override {
        const DeviceRect ink = TextInk(left, top, Measure(text), picture.ratio);
        for (int y = std::max(0, int(ink.top)); y < std::min(picture.height, int(ink.bottom)); ++y)
            for (int x = std::max(0, int(ink.left)); x < std::min(picture.width, int(ink.right));
                 ++x)
                picture.bits[y * picture.stride + x] = 0xFF000000u | color;
    }
};

// Whatever is drawn over a marked picture, recalling the mark brings that
// picture back pixel for pixel, and a Cls leaves only the background: at any
// ratio, size and background, after a few strokes or after so many that the
// canvas gives the mark up.
TEST(PixelCanvas, RecallAndClsLeaveNoStalePixel) {
    struct Case {
        double ratio;
        int width, height;
        Rgb back;
        int strokes;
        bool recalled;
    };
    const Case cases[] = {
        {1, 500, 400, MakeRgb(255, 255, 255), 12, true},
        {1.5, 333, 257, MakeRgb(255, 255, 255), 12, true},
        {2, 161, 97, MakeRgb(16, 32, 48), 12, true},
        {1.25, 37, 23, MakeRgb(255, 255, 255), 3, false},
        {1, 500, 400, MakeRgb(255, 255, 255), 3000, false},
        {2, 161, 97, MakeRgb(16, 32, 48), 3000, false},
    };
    const Surface::PictureKey key{1, 2, 3, 4, 5, 6};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.ratio << " " << c.width << "x" << c.height << " " << c.strokes);
        PixelCanvas canvas(c.width, c.height, c.ratio);
        InkBoxText text;
        canvas.SetTextPainter(&text);
        canvas.SetBackColor(c.back);
        SetStartScale(canvas);
        canvas.Cls();
        // The marked picture: a grid of level and upright lines with labels.
        for (double v = -10; v <= 10; v += 2.5) {
            canvas.Line(v, -10, v, 10, MakeRgb(0, 160, 0));
            canvas.Line(-16.68, v, 16.68, v, MakeRgb(0, 0, 160));
            canvas.PSet(v, 0);
            canvas.Print("12");
        }
        canvas.Mark(key);
        const std::vector<std::uint32_t> marked = Picture(canvas).Copy();
        // Then strokes of every kind: slopes, walls, far ends, points, text.
        unsigned seed = 12345;
        const auto next = [&seed](double low, double high) {
            seed = seed * 1103515245u + 12345u;
            return low + (high - low) * ((seed >> 8) & 0xFFFF) / 65535.0;
        };
        for (int k = 0; k < c.strokes; ++k) {
            const double x = next(-18, 18), y = next(-12, 12);
            switch (k % 4) {
                case 0:
                    canvas.Line(x, y, next(-18, 18), next(-12, 12), kRed);
                    break;
                case 1:
                    canvas.Line(x, -1e300, x + 0.07, 1e300, MakeRgb(1, 2, 3));
                    break;
                case 2:
                    canvas.PSet(x, y, MakeRgb(9, 9, 9));
                    break;
                default:
                    canvas.PSet(x, y);
                    canvas.Print("-1.5 ");
                    break;
            }
        }
        EXPECT_EQ(canvas.Recall(key), c.recalled);
        if (c.recalled) {
            EXPECT_EQ(Picture(canvas).Copy(), marked);
            EXPECT_TRUE(canvas.Recall(key)) << "kept for the next time";
            canvas.Line(-20, -12, 20, 12, kRed);
            EXPECT_TRUE(canvas.Recall(key));
            EXPECT_EQ(Picture(canvas).Copy(), marked);
        }
        canvas.Cls();
        EXPECT_EQ(CountColor(Picture(canvas), Opaque(c.back)),
                  canvas.DeviceWidth() * canvas.DeviceHeight());
        EXPECT_FALSE(canvas.Recall(key)) << "a Cls forgets the mark";
    }
}

TEST(PixelCanvas, PointsUseTheirColourOrTheForeground) {
    PixelCanvas canvas(500, 500);
    SetStartScale(canvas);
    canvas.Cls();
    canvas.PSet(1, -2, kRed);  // plane point (1, 2) lies above the x axis
    EXPECT_EQ(Picture(canvas).pixel(265, 200), Opaque(kRed));
    canvas.PSet(-1, 2);
    EXPECT_EQ(Picture(canvas).pixel(235, 300), Opaque(canvas.ForeColor()));
    EXPECT_FLOAT_EQ(canvas.CurrentX(), -1);
    EXPECT_FLOAT_EQ(canvas.CurrentY(), 2);
    canvas.PSet(1e30f, 0, kRed);  // far outside: accepted, nothing drawn
    EXPECT_EQ(CountColor(Picture(canvas), Opaque(kRed)), 1);
}

// Text measured 7 logical pixels a character and 16 high; every Draw is kept.
struct FakeText : TextPainter {
    struct Drawn {
        double left, top;
        std::string text;
        Rgb color;
    };
    mutable std::vector<Drawn> drawn;
    TextExtent Measure(std::string_view text) const override {
        return {7.0 * static_cast<double>(text.size()), 16};
    }
    void Draw(const PixelBuffer&, double left, double top, std::string_view text,
              Rgb color) const override {
        drawn.push_back({left, top, std::string(text), color});
    }
};

// Print hands the text to the painter with its top-left corner at the device
// pixel where the current point's logical pixel begins, in the foreground
// colour, and leaves the current point where it was.
TEST(PixelCanvas, PrintPlacesTheTextAtTheCurrentPoint) {
    struct Case {
        double ratio;
        double x, y;  // the current point
        bool drawn;
        double left, top;
    };
    const Case cases[] = {
        {1, 0, 0, true, 250, 250},    {2, 0, 0, true, 500, 500},      {1.5, 0, 0, true, 375, 375},
        {1, -16.68, -10, true, 0, 0}, {1, -17.5, 0, true, -12, 250},  // partly left of the area
        {1, 1e30, 1e30, false, 0, 0}, {1, -1e30, -1e30, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ratio) + " " + std::to_string(c.x));
        FakeText text;
        PixelCanvas canvas(500, 500, c.ratio);
        canvas.SetTextPainter(&text);
        canvas.SetForeColor(kRed);
        SetStartScale(canvas);
        canvas.PSet(c.x, c.y);
        canvas.Print(" 88 ");
        ASSERT_EQ(text.drawn.size(), c.drawn ? 1u : 0u);
        if (c.drawn) {
            EXPECT_NEAR(text.drawn[0].left, c.left, 0.6);
            EXPECT_NEAR(text.drawn[0].top, c.top, 0.6);
            EXPECT_EQ(text.drawn[0].text, " 88 ");
            EXPECT_EQ(text.drawn[0].color, kRed);
        }
        EXPECT_EQ(canvas.CurrentX(), c.x);
        EXPECT_EQ(canvas.CurrentY(), c.y);
        EXPECT_NEAR(canvas.TextWidth(" 88 "), 28 * 33.36 / 500, 1e-4);
    }
    // Without a painter text takes no room and draws nothing.
    PixelCanvas bare(500, 500);
    SetStartScale(bare);
    bare.Print("1");
    EXPECT_EQ(bare.TextWidth("1"), 0);
    EXPECT_EQ(CountColor(Picture(bare), Opaque(bare.BackColor())), 500 * 500);
}

TEST(PixelCanvas, ResizeKeepsTheTopLeftOfThePicture) {
    PixelCanvas canvas(100, 100);
    SetStartScale(canvas);
    canvas.Cls();
    canvas.PSet(-16.68f, -10, kRed);
    for (const auto& [w, h] : {std::pair{200, 50}, std::pair{0, 0}, std::pair{1, 1}}) {
        canvas.Resize(w, h);
        EXPECT_EQ(canvas.Width(), w);  // the logical width
        EXPECT_EQ(Picture(canvas).pixel(0, 0), Opaque(kRed));
    }
    canvas.Resize(0, 0);
    canvas.Line(0, -10, 0, 10, kRed);  // nothing to draw into, and no failure
    canvas.Print("1");
    EXPECT_EQ(canvas.TextWidth("1"), 0);  // no pixels: text takes no room
    EXPECT_EQ(canvas.TextHeight("1"), 0);
}

// Device resolution: the picture holds `ratio` device pixels to a logical
// pixel, while geometry stays logical.

TEST(ScaleMap, MapsToDevicePixelsAndBackFromLogicalOnes) {
    struct Case {
        double ratio;
        double corner;  // device position of the top-left user corner
        double centre;  // device position of user (0, 0), logical pixel 250
        int lineWidth;
    };
    const Case cases[] = {
        {1, 0, 250, 1}, {1.25, 0.125, 312.625, 1}, {1.5, 0.25, 375.25, 2}, {2, 0.5, 500.5, 2},
        {3, 1, 751, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratio);
        ScaleMap map = StartMap();
        map.SetPixelSize(500, 500, c.ratio);
        EXPECT_EQ(map.PixelWidth(), 500);  // the area stays logical
        EXPECT_EQ(map.LineWidth(), c.lineWidth);
        const auto corner = map.ToPixel(-16.68f, -10.0f);
        const auto centre = map.ToPixel(0, 0);
        ASSERT_TRUE(corner && centre);
        EXPECT_NEAR(corner->x, c.corner, 1e-9);
        EXPECT_NEAR(corner->y, c.corner, 1e-9);
        EXPECT_NEAR(centre->x, c.centre, 0.02 * c.ratio);
        // The mouse comes in logical pixels.
        const auto user = map.ToUser(250, 250);
        ASSERT_TRUE(user);
        EXPECT_NEAR(user->x, 0, 1e-3);
        EXPECT_NEAR(user->y, 0, 1e-3);
    }
    for (double bad : {0.0, -2.0, kNaN, kInf}) {
        ScaleMap map = StartMap();
        map.SetPixelSize(500, 500, bad);
        EXPECT_EQ(map.Ratio(), 1) << bad;
    }
}

TEST(PixelCanvas, ImageIsTheLogicalSizeTimesTheRatio) {
    struct Case {
        double ratio;
        int width, height;
        int imageWidth, imageHeight;
    };
    const Case cases[] = {
        {1, 639, 556, 639, 556},
        {1.5, 640, 556, 960, 834},
        {1.5, 639, 555, 959, 833},  // a partly covered device pixel counts whole
        {2, 639, 556, 1278, 1112},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratio);
        PixelCanvas canvas(c.width, c.height, c.ratio);
        EXPECT_EQ(Picture(canvas).width(), c.imageWidth);
        EXPECT_EQ(Picture(canvas).height(), c.imageHeight);
        EXPECT_EQ(Picture(canvas).devicePixelRatio(), c.ratio);
        EXPECT_EQ(canvas.Width(), c.width);
    }
}

// One user unit per logical pixel, so logical pixel k is at user coordinate k.
void SetPixelScale(Surface& s, int size) {
    s.SetScaleLeft(0);
    s.SetScaleTop(0);
    s.SetScaleWidth(size);
    s.SetScaleHeight(size);
}

// The device pixels of `color` along one row (horizontal) or one column.
std::vector<int> ColoredAlong(const PictureView& image, bool horizontal, int at,
                              std::uint32_t color) {
    std::vector<int> found;
    const int length = horizontal ? image.width() : image.height();
    for (int i = 0; i < length; ++i)
        if ((horizontal ? image.pixel(i, at) : image.pixel(at, i)) == color) found.push_back(i);
    return found;
}

TEST(PixelCanvas, EveryLineIsOneLogicalPixelWideInWholeDevicePixels) {
    constexpr int kSize = 40;
    for (const auto& [ratio, lineWidth] :
         {std::pair{1.0, 1}, std::pair{1.5, 2}, std::pair{2.0, 2}}) {
        SCOPED_TRACE(ratio);
        PixelCanvas canvas(kSize, kSize, ratio);
        SetPixelScale(canvas, kSize);
        const PictureView image = Picture(canvas);
        // Every row and every column of the area, the borders included.
        for (int k = 0; k < kSize; ++k) {
            SCOPED_TRACE(k);
            for (bool horizontal : {true, false}) {
                canvas.Cls();
                if (horizontal)
                    canvas.Line(0, k, kSize, k, kRed);
                else
                    canvas.Line(k, 0, k, kSize, kRed);
                // Across the line, in the middle of the area.
                const std::vector<int> across =
                    ColoredAlong(image, !horizontal, image.width() / 2, Opaque(kRed));
                ASSERT_EQ(static_cast<int>(across.size()), lineWidth);
                EXPECT_EQ(across.back() - across.front() + 1, lineWidth);
                // Each of them lies on the line's own logical pixel.
                for (int j : across) {
                    EXPECT_GT(j + 1, k * ratio);
                    EXPECT_LT(j, (k + 1) * ratio);
                }
            }
        }
    }
}

TEST(PixelCanvas, SlopeStepsBySingleDevicePixels) {
    // A shallow line across a 500 x 300 area, once at each ratio.
    for (const auto& [ratio, lineWidth] : {std::pair{1.0, 1}, std::pair{2.0, 2}}) {
        SCOPED_TRACE(ratio);
        PixelCanvas canvas(500, 300, ratio);
        SetStartScale(canvas);
        canvas.Cls();
        canvas.Line(-16.68, 10, 16.68, -10, kRed);
        const PictureView image = Picture(canvas);
        int previousTop = -1;
        for (int x = 2; x < image.width() - 2; ++x) {
            SCOPED_TRACE(x);
            const std::vector<int> column = ColoredAlong(image, false, x, Opaque(kRed));
            // One logical pixel thick in every device column ...
            ASSERT_EQ(static_cast<int>(column.size()), lineWidth);
            EXPECT_EQ(column.back() - column.front() + 1, lineWidth);
            // ... and moving by at most one device pixel from column to column.
            if (previousTop >= 0) {
                EXPECT_LE(std::abs(column.front() - previousTop), 1);
            }
            previousTop = column.front();
        }
        if (ratio == 2) {
            EXPECT_LT(ShareInDoubledBlocks(image, Opaque(kRed)), 0.3);
        }
    }
}

TEST(PixelCanvas, PointIsOneLogicalPixel) {
    for (const auto& [ratio, side] : {std::pair{1.0, 1}, std::pair{1.5, 2}, std::pair{2.0, 2}}) {
        SCOPED_TRACE(ratio);
        PixelCanvas canvas(40, 40, ratio);
        SetPixelScale(canvas, 40);
        canvas.Cls();
        canvas.PSet(7, 30, kRed);
        const PictureView image = Picture(canvas);
        EXPECT_EQ(CountColor(image, Opaque(kRed)), side * side);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != Opaque(kRed)) continue;
                EXPECT_TRUE(x + 1 > 7 * ratio && x < 8 * ratio) << x;
                EXPECT_TRUE(y + 1 > 30 * ratio && y < 31 * ratio) << y;
            }
        }
    }
}

TEST(PixelCanvas, NewRatioKeepsThePictureInItsLogicalPlace) {
    PixelCanvas canvas(40, 40, 1);
    SetPixelScale(canvas, 40);
    canvas.Cls();
    canvas.PSet(5, 9, kRed);
    canvas.Resize(40, 40, 2);
    EXPECT_EQ(Picture(canvas).width(), 80);
    EXPECT_EQ(CountColor(Picture(canvas), Opaque(kRed)), 4);
    for (const auto& [x, y] :
         {std::pair{10, 18}, std::pair{11, 18}, std::pair{10, 19}, std::pair{11, 19}})
        EXPECT_EQ(Picture(canvas).pixel(x, y), Opaque(kRed));
    // Drawing goes on at the new ratio.
    canvas.PSet(0, 0, kRed);
    EXPECT_EQ(CountColor(Picture(canvas), Opaque(kRed)), 8);
}

}  // namespace
}  // namespace ondrix::canvas
