#include "plotter/view/view.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

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
    ASSERT_TRUE(ZoomX(v, Zoom::In));
    ASSERT_TRUE(ZoomX(v, Zoom::In));
    EXPECT_DOUBLE_EQ(v.XMin, -4.17);
    EXPECT_DOUBLE_EQ(v.XMax, 4.17);
    EXPECT_DOUBLE_EQ(v.XStep, 0.5);
    EXPECT_DOUBLE_EQ(v.XScale, 33.36 / 500 / 4);

    View y = StartView();
    ASSERT_TRUE(ZoomY(y, Zoom::Out));
    EXPECT_EQ(y.YMin, -20);
    EXPECT_EQ(y.YMax, 20);
    EXPECT_EQ(y.YStep, 4);
    EXPECT_EQ(y.XMin, -16.68);  // the other axis is untouched

    View off = StartView();
    off.XMin = -6.68;
    off.XMax = 26.68;
    ASSERT_TRUE(ZoomX(off, Zoom::In));
    EXPECT_DOUBLE_EQ(off.XMin, -3.34);
    EXPECT_DOUBLE_EQ(off.XMax, 13.34);
}

TEST(Zoom, InThenOutRestoresExactly) {
    const View start = StartView();
    View v = start;
    ASSERT_TRUE(ZoomX(v, Zoom::In));
    ASSERT_TRUE(ZoomX(v, Zoom::Out));
    EXPECT_EQ(v.XMin, start.XMin);
    EXPECT_EQ(v.XMax, start.XMax);
    EXPECT_EQ(v.XStep, start.XStep);
    EXPECT_EQ(v.XScale, start.XScale);
}

// Hundreds of zooms in one direction stop at the last range a 32-bit canvas
// can still show: finite, non-zero width, unchanged from then on.
TEST(Zoom, StopsAtTheSingleRangeLimits) {
    struct Case {
        const char* name;
        bool xAxis;
        Zoom zoom;
    };
    for (const Case& c : {Case{"out x", true, Zoom::Out}, Case{"in x", true, Zoom::In},
                          Case{"out y", false, Zoom::Out}, Case{"in y", false, Zoom::In}}) {
        SCOPED_TRACE(c.name);
        View v = StartView();
        int applied = 0;
        for (int i = 0; i < 200; ++i) applied += c.xAxis ? ZoomX(v, c.zoom) : ZoomY(v, c.zoom);
        EXPECT_LT(applied, 200);
        EXPECT_GT(applied, 100);
        const double width = c.xAxis ? v.XMax - v.XMin : v.YMax - v.YMin;
        const auto single = static_cast<float>(width);
        EXPECT_TRUE(std::isfinite(single));
        EXPECT_GT(single, 0.0f);
        const View before = v;
        EXPECT_FALSE(c.xAxis ? ZoomX(v, c.zoom) : ZoomY(v, c.zoom));
        EXPECT_EQ(v.XMin, before.XMin);
        EXPECT_EQ(v.YMax, before.YMax);
        EXPECT_EQ(v.XScale, before.XScale);
    }
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double low = c.low;
        double high = c.high;
        ScrollLimits limits = c.before;
        PanRange(low, high, c.value, limits);
        EXPECT_NEAR(low, c.newLow, 1e-9 * std::max(1.0, std::fabs(c.newLow)));
        EXPECT_NEAR(high, c.newHigh, 1e-9 * std::max(1.0, std::fabs(c.newHigh)));
        EXPECT_EQ(limits.Min, c.after.Min);
        EXPECT_EQ(limits.Max, c.after.Max);
    }
}

TEST(Pan, NeverCollapsesANarrowRange) {
    View v = StartView();
    for (int i = 0; i < 60; ++i) ASSERT_TRUE(ZoomX(v, Zoom::In));
    const double width = v.XMax - v.XMin;
    ScrollLimits limits{kScrollLimitLow, kScrollLimitHigh};
    for (int value : {32767, -32768, 0}) {
        SCOPED_TRACE(value);
        PanRange(v.XMin, v.XMax, value, limits);
        EXPECT_GT(static_cast<float>(v.XMax - v.XMin), 0.0f);
    }
    EXPECT_TRUE(PanRange(v.XMin, v.XMax, 0, limits));  // at the origin it pans again
    EXPECT_NEAR(v.XMax - v.XMin, width, width * 1e-6);
    EXPECT_TRUE(ZoomX(v, Zoom::Out));
}

TEST(Pan, LimitRoundsHalfToEven) {
    // A width of 0.5 puts the new limit 2.5 units beyond the value.
    for (const auto& [value, expected] : {std::pair{0, 2}, std::pair{1, 4}, std::pair{2, 4}}) {
        double low = -0.25;
        double high = 0.25;
        ScrollLimits limits{-100, 0};
        PanRange(low, high, value, limits);
        EXPECT_EQ(limits.Max, expected) << value;
    }
}

}  // namespace
}  // namespace ondrix::view
