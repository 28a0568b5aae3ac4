#include "plotter/draw/grid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/recording_surface.h"

namespace ondrix::draw {
namespace {

using testing::Call;
using testing::RecordingSurface;

view::View StartView() {
    view::View v;
    view::SetStartRange(v);
    view::ApplySamplingRule(v, 500);
    return v;
}

// The grid lines of one pass: vertical lines (constant x) or horizontal ones.
std::vector<double> LinePositions(const RecordingSurface& s, bool vertical) {
    std::vector<double> out;
    for (const Call& c : s.Of(Call::kLine)) {
        if (vertical && c.x1 == c.x2) out.push_back(c.x1);
        if (!vertical && c.y1 == c.y2) out.push_back(c.y1);
    }
    return out;
}

// The start view with another X range and grid step.
view::View WithXRange(double xMin, double xMax, double xStep) {
    view::View v = StartView();
    v.XMin = xMin;
    v.XMax = xMax;
    v.XStep = xStep;
    return v;
}

std::vector<double> Range(double first, double last, double step) {
    std::vector<double> out;
    for (double v = first; v <= last + step / 2; v += step) out.push_back(v);
    return out;
}

TEST(ClearScreen, StartViewOrderAndLines) {
    RecordingSurface s;
    ClearScreen(StartView(), s);
    ASSERT_GE(s.calls.size(), 5u);
    EXPECT_EQ(s.calls[0].kind, Call::kCls);
    EXPECT_EQ(s.calls[1].kind, Call::kScaleLeft);
    EXPECT_FLOAT_EQ(s.calls[1].x1, -16.68f);
    EXPECT_EQ(s.calls[2].kind, Call::kScaleTop);
    EXPECT_FLOAT_EQ(s.calls[2].x1, -10.0f);
    EXPECT_FLOAT_EQ(s.calls[3].x1, 33.36f);
    EXPECT_FLOAT_EQ(s.calls[4].x1, 20.0f);

    EXPECT_EQ(LinePositions(s, true), Range(-18, 16, 2));
    EXPECT_EQ(LinePositions(s, false), Range(-10, 10, 2));
    // Every line is followed by the anchor point and the label; all vertical
    // lines come before the first horizontal one.
    const auto& calls = s.calls;
    for (size_t i = 5; i < calls.size(); i += 3) {
        ASSERT_EQ(calls[i].kind, Call::kLine);
        ASSERT_EQ(calls[i + 1].kind, Call::kPSetFore);
        ASSERT_EQ(calls[i + 2].kind, Call::kPrint);
        const bool vertical = i < 5 + 18 * 3;
        EXPECT_EQ(calls[i].x1 == calls[i].x2, vertical) << i;
    }
    EXPECT_EQ(calls.size(), 5u + (18 + 11) * 3);
}

TEST(ClearScreen, AxesAreRedAndLabelsSitOnThem) {
    RecordingSurface s;
    ClearScreen(StartView(), s);
    const auto& calls = s.calls;
    for (size_t i = 5; i < calls.size(); i += 3) {
        const Call& line = calls[i];
        const Call& anchor = calls[i + 1];
        const Call& label = calls[i + 2];
        const bool vertical = line.x1 == line.x2;
        const double at = vertical ? line.x1 : line.y1;
        EXPECT_EQ(line.color, at == 0 ? kAxisColor : kGridColor) << at;
        if (vertical) {
            EXPECT_EQ(line.y1, -10.0f);
            EXPECT_EQ(line.y2, 10.0f);
            EXPECT_EQ(anchor.x1, line.x1);
            EXPECT_EQ(anchor.y1, 0.0f);
            EXPECT_EQ(label.text, LabelText(at));
        } else {
            EXPECT_EQ(line.x1, -16.68f);
            EXPECT_EQ(line.x2, 16.68f);
            EXPECT_EQ(anchor.x1, 0.0f);
            EXPECT_EQ(anchor.y1, line.y1);
            EXPECT_EQ(label.text, LabelText(-at));  // the plane y of the line
        }
    }
    EXPECT_EQ(calls[5 + 2].text, "-18 ");
    EXPECT_EQ(calls.back().text, "-10 ");
}

TEST(ClearScreen, FollowsTheView) {
    struct Case {
        const char* name;
        double xMin, xMax, xStep;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {"zoomed in once", -8.34, 8.34, 1, Range(-9, 8, 1)},
        {"left edge on a multiple", -16, 16, 2, Range(-16, 16, 2)},
        {"no axis in view", 3.5, 9.5, 2, Range(2, 8, 2)},
        {"fine step", -0.3, 0.3, 0.125, Range(-0.375, 0.25, 0.125)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSurface s;
        ClearScreen(WithXRange(c.xMin, c.xMax, c.xStep), s);
        EXPECT_EQ(LinePositions(s, true), c.expected);
        bool redVertical = false;
        for (const Call& line : s.Of(Call::kLine))
            redVertical |= line.x1 == line.x2 && line.color == kAxisColor;
        EXPECT_EQ(redVertical, c.xMin <= 0 && 0 <= c.xMax);
    }
}

// A step lost next to a large position, a step of zero or a range that is
// not a number draws the lines it reaches and ends: no pass can advance, so
// each draws at most its first line.
TEST(ClearScreen, EndsOnDegenerateSteps) {
    struct Case {
        const char* name;
        double xMin, xMax, xStep;
        std::size_t verticalLines;
    };
    const Case cases[] = {
        {"step lost in rounding", 1e6, 1e6 + 1e-6, 1e-12, 1},
        {"zero step", -1, 1, 0, 0},  // no first line: -1 / 0 has no whole multiple
        {"NaN range", std::nan(""), 1, 2, 0},
        {"huge range", -1e300, 1e300, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSurface s;
        ClearScreen(WithXRange(c.xMin, c.xMax, c.xStep), s);
        std::size_t vertical = 0;
        for (const Call& line : s.Of(Call::kLine))
            vertical += line.x1 == line.x2 && line.y1 != line.y2;  // not a flat horizontal one
        EXPECT_EQ(vertical, c.verticalLines);
    }
}

TEST(LabelText, PrintForm) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {2, " 2 "},        {-2, "-2 "},        {0, " 0 "},         {-0.0, " 0 "},
        {0.5, " 0.5 "},    {-0.25, "-0.25 "},  {16, " 16 "},       {-18, "-18 "},
        {1e20, " 1E+20 "}, {0.001, " 0.001 "}, {1e-20, " 1E-20 "}, {1.0 / 3, " 0.333333333333333 "},
    };
    for (const Case& c : cases) EXPECT_EQ(LabelText(c.value), c.text) << c.value;
}

}  // namespace
}  // namespace ondrix::draw
