#include "plotter/view/view.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "plotter/view/scroll.h"

namespace ondrix::view {
namespace {

View StartView(int canvasWidth = 500) {
    View v;
    SetStartRange(v);
    ApplySamplingRule(v, canvasWidth);
    return v;
}

TEST(SamplingRule, FollowsTheCanvasWidth) {
    struct Case {
        int width;
        double expected;
    };
    for (const Case& c : {Case{500, 33.36 / 500}, Case{639, 33.36 / 639}, Case{1, 33.36}}) {
        SCOPED_TRACE(c.width);
        EXPECT_DOUBLE_EQ(StartView(c.width).XScale, c.expected);
    }
}

TEST(SamplingRule, NoWidthKeepsTheStep) {
    View v = StartView(500);
    for (int width : {0, -5}) {
        EXPECT_FALSE(ApplySamplingRule(v, width));
        EXPECT_DOUBLE_EQ(v.XScale, 33.36 / 500);
    }
}

TEST(Zoom, ScalesAboutTheOrigin) {
    View v = StartView();
    ASSERT_TRUE(ZoomX(v, Zoom::In, 500));
    ASSERT_TRUE(ZoomX(v, Zoom::In, 500));
    EXPECT_DOUBLE_EQ(v.XMin, -4.17);
    EXPECT_DOUBLE_EQ(v.XMax, 4.17);
    EXPECT_DOUBLE_EQ(v.XStep, 0.5);
    EXPECT_DOUBLE_EQ(v.XScale, 33.36 / 500 / 4);

    View y = StartView();
    ASSERT_TRUE(ZoomY(y, Zoom::Out, 500));
    EXPECT_EQ(y.YMin, -20);
    EXPECT_EQ(y.YMax, 20);
    EXPECT_EQ(y.YStep, 4);
    EXPECT_EQ(y.XMin, -16.68);  // the other axis is untouched

    View off = StartView();
    off.XMin = -6.68;
    off.XMax = 26.68;
    ASSERT_TRUE(ZoomX(off, Zoom::In, 500));
    EXPECT_DOUBLE_EQ(off.XMin, -3.34);
    EXPECT_DOUBLE_EQ(off.XMax, 13.34);
}

TEST(Zoom, InThenOutRestoresExactly) {
    const View start = StartView();
    View v = start;
    ASSERT_TRUE(ZoomX(v, Zoom::In, 500));
    ASSERT_TRUE(ZoomX(v, Zoom::Out, 500));
    EXPECT_EQ(v.XMin, start.XMin);
    EXPECT_EQ(v.XMax, start.XMax);
    EXPECT_EQ(v.XStep, start.XStep);
    EXPECT_EQ(v.XScale, start.XScale);
}

// A range is drawable while one pixel spans at least a unit in the 15th
// significant digit at its ends, and at least the spacing of doubles there.
TEST(PixelsApart, NeedsAPixelThatTheNumbersCanResolve) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        double low, high;
        int pixels;
        bool apart;
    };
    const Case cases[] = {
        {"start view", -16.68, 16.68, 500, true},
        {"0.1: pixels of 2E-15", 0.1 - 5e-13, 0.1 + 5e-13, 500, true},
        // Doubles are 1.4E-17 apart at 0.1, but the 15 digits of the x statement
        // and of the value text are 1E-15 apart: a line would turn into stairs.
        {"0.1: pixels of 4E-16", 0.1 - 1e-13, 0.1 + 1e-13, 500, false},
        {"3276.7: pixels of 2E-11", 3276.7 - 5e-9, 3276.7 + 5e-9, 500, true},
        {"3276.7: pixels of 2E-12", 3276.7 - 5e-10, 3276.7 + 5e-10, 500, false},
        {"about the origin", -1e-300, 1e-300, 500, true},
        {"pixels of 4E-23 near the smallest doubles", -1e-320, 1e-320, 500, true},
        {"pixels below the smallest double", -1e-322, 1e-322, 500, false},
        {"no pixels count as one", 0, 1, 0, true},
        {"width beyond the double range", -1e308, 1e308, 500, false},
        {"an infinite end", -kInf, 0, 500, false},
        {"NaN", std::nan(""), 1, 500, false},
        {"no width", 1, 1, 500, false},
        {"reversed", 1, 0, 500, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PixelsApart(c.low, c.high, c.pixels), c.apart) << c.name;
    }
}

// Zooming about the origin keeps the ends' digits in step with the width, so
// it goes on until the smallest doubles (in) or the largest (out); from then
// on the view stays as it is. On a 500 x 500 canvas: in x 33.36 x 2^-1071 is
// the last width of at least 500 x 4.9E-324; out x 33.36 x 2^1019 overflows.
TEST(Zoom, StopsOnlyWherePixelsCanNoLongerBeToldApart) {
    struct Case {
        const char* name;
        bool xAxis;
        Zoom zoom;
        int zooms;
    };
    for (const Case& c :
         {Case{"in x", true, Zoom::In, 1071}, Case{"out x", true, Zoom::Out, 1018},
          Case{"in y", false, Zoom::In, 1070}, Case{"out y", false, Zoom::Out, 1019}}) {
        SCOPED_TRACE(c.name);
        View v = StartView();
        int applied = 0;
        for (int i = 0; i < 1200; ++i)
            applied += c.xAxis ? ZoomX(v, c.zoom, 500) : ZoomY(v, c.zoom, 500);
        EXPECT_EQ(applied, c.zooms);
        const View before = v;
        EXPECT_FALSE(c.xAxis ? ZoomX(v, c.zoom, 500) : ZoomY(v, c.zoom, 500));
        EXPECT_EQ(v.XMin, before.XMin);
        EXPECT_EQ(v.YMax, before.YMax);
        EXPECT_EQ(v.XScale, before.XScale);
        EXPECT_EQ(v.XStep, before.XStep);
    }
}

// Off the origin, a range whose pixels the digits can no longer resolve is
// never reached by zooming in: the zoom moves the ends towards the origin too.
TEST(Zoom, InOffTheOriginKeepsGoing) {
    View v = StartView();
    v.XMin = 0.1 - 16.68 / 512;
    v.XMax = 0.1 + 16.68 / 512;
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(ZoomX(v, Zoom::In, 500)) << i;
}

TEST(Pan, RecentresAndWidensLimits) {
    struct Case {
        const char* name;
        double low, high;
        int value;
        ScrollLimits before;
        double newLow, newHigh;
        ScrollLimits after;
    };
    const Case cases[] = {
        {"one arrow click", -16.68, 16.68, 1, {}, -16.58, 16.78, {-100, 168}},
        {"one track click", -16.68, 16.68, 10, {}, -15.68, 17.68, {-100, 177}},
        {"vertical bar at 20", -10, 10, 20, {}, -8, 12, {-100, 120}},
        {"exactly 100 below Max keeps it", -10, 10, 0, {-100, 100}, -10, 10, {-100, 100}},
        {"towards Min", -10, 10, -1, {}, -10.1, 9.9, {-101, 100}},
        {"zoomed then scrolled", -6.34, 10.34, 41, {-100, 240}, -4.24, 12.44, {-100, 240}},
        {"Max clamped to 16 bits", -10, 10, 32700, {-100, 32750}, 3260, 3280, {-100, 32767}},
        {"Min clamped to 16 bits", -10, 10, -32700, {-32750, 100}, -3280, -3260, {-32768, 100}},
        {"a huge width clamps both", -1e30, 1e30, 0, {-99, 99}, -1e30, 1e30, {-32768, 32767}},
        // A narrow range never pulls a limit in (1 + 5 x 0.065 would be 1)...
        {"narrow range keeps Max", -0.0325, 0.0325, 1, {}, 0.0675, 0.1325, {-100, 100}},
        {"narrow range keeps Min", -0.0325, 0.0325, -1, {}, -0.1325, -0.0675, {-100, 100}},
        // ...and always leaves the thumb one unit of room.
        {"room beyond Max", -0.0001, 0.0001, 150, {-100, 150}, 14.9999, 15.0001, {-100, 151}},
        {"room beyond Min", -0.0001, 0.0001, -150, {-150, 100}, -15.0001, -14.9999, {-151, 100}},
        {"no room past the 16 bits", -10, 10, 32767, {-100, 32767}, 3266.7, 3286.7, {-100, 32767}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double low = c.low;
        double high = c.high;
        ScrollLimits limits = c.before;
        PanRange(low, high, c.value, limits, 500);
        EXPECT_NEAR(low, c.newLow, 1e-9 * std::max(1.0, std::fabs(c.newLow)));
        EXPECT_NEAR(high, c.newHigh, 1e-9 * std::max(1.0, std::fabs(c.newHigh)));
        EXPECT_EQ(limits.Min, c.after.Min);
        EXPECT_EQ(limits.Max, c.after.Max);
    }
}

// After F11 nine times (width 33.36 / 512) the bar goes right once and left
// twice: the limits stay where they were and the thumb can still move both ways.
TEST(Pan, ANarrowRangeNeverKillsTheBar) {
    View v = StartView();
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(ZoomX(v, Zoom::In, 500));
    ScrollLimits limits;
    for (int value : {1, 0, -1}) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(PanRange(v.XMin, v.XMax, value, limits, 500));
        EXPECT_EQ(limits.Min, -100);
        EXPECT_EQ(limits.Max, 100);
    }
    EXPECT_NEAR(v.XMin, -0.1 - 16.68 / 512, 1e-12);
}

// Where the digits at the new ends cannot resolve a pixel, a pan keeps the
// range where it is; nearer the origin it pans again. 40 zooms give pixels
// of 33.36 x 2^-40 / 500 = 6.1E-14: too fine at 3276.7 (digits 1E-11 apart),
// fine at 0.1 (1E-15).
TEST(Pan, KeepsTheRangeWherePixelsWouldMerge) {
    View v = StartView();
    for (int i = 0; i < 40; ++i) ASSERT_TRUE(ZoomX(v, Zoom::In, 500));
    const double width = v.XMax - v.XMin;
    ScrollLimits limits{kScrollLimitLow, kScrollLimitHigh};
    for (int value : {32767, -32768}) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(PanRange(v.XMin, v.XMax, value, limits, 500));
        EXPECT_EQ(v.XMin, std::ldexp(-16.68, -40));
    }
    EXPECT_TRUE(PanRange(v.XMin, v.XMax, 1, limits, 500));
    EXPECT_NEAR(v.XMin + v.XMax, 0.2, 1e-12);
    EXPECT_NEAR(v.XMax - v.XMin, width, width * 1e-6);
}

TEST(Pan, LimitRoundsHalfToEven) {
    // A width of 0.5 puts the new limit 2.5 units beyond the value.
    for (const auto& [value, expected] : {std::pair{0, 2}, std::pair{1, 4}, std::pair{2, 4}}) {
        double low = -0.25;
        double high = 0.25;
        ScrollLimits limits{-100, 0};
        PanRange(low, high, value, limits, 500);
        EXPECT_EQ(limits.Max, expected) << value;
    }
}

}  // namespace
}  // namespace ondrix::view
