#include "plotter/draw/grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

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
    EXPECT_DOUBLE_EQ(s.calls[1].x1, -16.68);
    EXPECT_EQ(s.calls[2].kind, Call::kScaleTop);
    EXPECT_DOUBLE_EQ(s.calls[2].x1, -10.0);
    EXPECT_DOUBLE_EQ(s.calls[3].x1, 33.36);
    EXPECT_DOUBLE_EQ(s.calls[4].x1, 20.0);

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
        EXPECT_EQ(line.color, at == 0 ? canvas::MakeRgb(240, 0, 0) : canvas::MakeRgb(200, 200, 200))
            << at;
        if (vertical) {
            EXPECT_EQ(line.y1, -10.0);
            EXPECT_EQ(line.y2, 10.0);
            EXPECT_EQ(anchor.x1, line.x1);
            EXPECT_EQ(anchor.y1, 0.0);
            EXPECT_EQ(label.text, LabelText(at));
        } else {
            EXPECT_EQ(line.x1, -16.68);
            EXPECT_EQ(line.x2, 16.68);
            EXPECT_EQ(anchor.x1, 0.0);
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

// A label drawn, or left out, at its anchor in pixels of the recording
// surface (7 pixels a character, 16 a line).
struct Label {
    bool vertical;  // a label of the vertical pass, along the x axis
    double at;      // its anchor's pixel along its axis
    std::string text;
    bool printed;
};

std::vector<Label> Labels(const RecordingSurface& s, const view::View& v, int width, int height) {
    std::vector<Label> out;
    bool vertical = true;
    for (size_t i = 0; i < s.calls.size(); ++i) {
        const Call& c = s.calls[i];
        if (c.kind == Call::kLine) vertical = c.x1 == c.x2;
        if (c.kind != Call::kPSetFore) continue;
        const double at = vertical ? (c.x1 - v.XMin) * width / (v.XMax - v.XMin)
                                   : (c.y1 - v.YMin) * height / (v.YMax - v.YMin);
        const bool printed = i + 1 < s.calls.size() && s.calls[i + 1].kind == Call::kPrint;
        out.push_back({vertical, at, printed ? s.calls[i + 1].text : "", printed});
    }
    return out;
}

// Each label is printed unless it would overlap the last one printed on its
// axis; every grid line is drawn all the same.
TEST(ClearScreen, LabelsNeverOverlap) {
    struct Case {
        const char* name;
        int zoomsInX, zoomsOutX;
        int height;
        int xLines, yLines;
        bool xSkips, ySkips;
    };
    const Case cases[] = {
        {"start view", 0, 0, 500, 18, 11, false, false},
        {"4 x Zoom In X: \" 0.125 \" every 30 px", 4, 0, 500, 18, 11, true, false},
        {"8 x Zoom Out X: \"-4096 \" every 30 px", 0, 8, 500, 18, 11, true, false},
        {"60 x Zoom Out X", 0, 60, 500, 18, 11, true, false},
        {"a canvas 100 px high: y labels every 10 px", 0, 0, 100, 18, 11, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view::View v = StartView();
        for (int i = 0; i < c.zoomsInX; ++i) ASSERT_TRUE(view::ZoomX(v, view::Zoom::In, 500));
        for (int i = 0; i < c.zoomsOutX; ++i) ASSERT_TRUE(view::ZoomX(v, view::Zoom::Out, 500));
        RecordingSurface s(500, c.height);
        ClearScreen(v, s);
        EXPECT_EQ(LinePositions(s, true).size(), static_cast<size_t>(c.xLines));
        EXPECT_EQ(LinePositions(s, false).size(), static_cast<size_t>(c.yLines));
        bool skipped[2] = {false, false};
        const Label* last[2] = {nullptr, nullptr};
        for (const Label& label : Labels(s, v, 500, c.height)) {
            const Label*& previous = last[label.vertical];
            const double end =
                previous == nullptr
                    ? -1e300
                    : previous->at + (label.vertical ? 7.0 * previous->text.size() : 16.0);
            EXPECT_EQ(label.printed, label.at >= end) << label.at << " " << end;
            if (label.printed) previous = &label;
            skipped[label.vertical] |= !label.printed;
        }
        EXPECT_EQ(skipped[true], c.xSkips);
        EXPECT_EQ(skipped[false], c.ySkips);
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
