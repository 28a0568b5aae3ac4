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

// One grid line as ClearScreen draws it: the line, its label's anchor, and
// the label unless it was left out.
struct GridLine {
    Call line, anchor;
    const Call* label;
};

std::vector<GridLine> GridLines(const RecordingSurface& s) {
    std::vector<GridLine> out;
    const auto& calls = s.calls;
    for (size_t i = 5; i < calls.size();) {
        EXPECT_EQ(calls[i].kind, Call::kLine);
        EXPECT_EQ(calls[i + 1].kind, Call::kPSetFore);
        const bool printed = i + 2 < calls.size() && calls[i + 2].kind == Call::kPrint;
        out.push_back({calls[i], calls[i + 1], printed ? &calls[i + 2] : nullptr});
        i += printed ? 3 : 2;
    }
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
    // Every line is followed by the anchor point and its label; all vertical
    // lines come before the first horizontal one. The y label " 0 " alone is
    // left out: it would lie on the x label " 0 " at the origin.
    const auto lines = GridLines(s);
    ASSERT_EQ(lines.size(), 18u + 11u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool vertical = i < 18;
        EXPECT_EQ(lines[i].line.x1 == lines[i].line.x2, vertical) << i;
        EXPECT_EQ(lines[i].label == nullptr, !vertical && lines[i].line.y1 == 0) << i;
    }
}

TEST(ClearScreen, AxesAreRedAndLabelsSitOnThem) {
    RecordingSurface s;
    ClearScreen(StartView(), s);
    for (const GridLine& g : GridLines(s)) {
        const Call& line = g.line;
        const Call& anchor = g.anchor;
        const bool vertical = line.x1 == line.x2;
        const double at = vertical ? line.x1 : line.y1;
        EXPECT_EQ(line.color, at == 0 ? canvas::MakeRgb(240, 0, 0) : canvas::MakeRgb(200, 200, 200))
            << at;
        if (vertical) {
            EXPECT_EQ(line.y1, -10.0);
            EXPECT_EQ(line.y2, 10.0);
            EXPECT_EQ(anchor.x1, line.x1);
            EXPECT_EQ(anchor.y1, 0.0);
            if (g.label) {
                EXPECT_EQ(g.label->text, LabelText(at));
            }
        } else {
            EXPECT_EQ(line.x1, -16.68);
            EXPECT_EQ(line.x2, 16.68);
            EXPECT_EQ(anchor.x1, 0.0);
            EXPECT_EQ(anchor.y1, line.y1);
            if (g.label) {
                EXPECT_EQ(g.label->text, LabelText(-at));  // the plane y of the line
            }
        }
    }
    EXPECT_EQ(s.Of(Call::kPrint).front().text, "-18 ");
    EXPECT_EQ(s.Of(Call::kPrint).back().text, "-10 ");
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

// A label drawn, or left out, as its box in pixels of the recording surface
// (7 pixels a character, 16 a line), its top-left corner at its anchor.
struct Label {
    bool vertical;  // a label of the vertical pass, along the x axis
    double left, top, right, bottom;
    std::string text;  // of a printed label
    bool printed;
};

std::vector<Label> Labels(const RecordingSurface& s, const view::View& v, int width, int height) {
    std::vector<Label> out;
    bool vertical = true;
    for (size_t i = 0; i < s.calls.size(); ++i) {
        const Call& c = s.calls[i];
        if (c.kind == Call::kLine) vertical = c.x1 == c.x2;
        if (c.kind != Call::kPSetFore) continue;
        const double left = (c.x1 - v.XMin) * width / (v.XMax - v.XMin);
        const double top = (c.y1 - v.YMin) * height / (v.YMax - v.YMin);
        const bool printed = i + 1 < s.calls.size() && s.calls[i + 1].kind == Call::kPrint;
        const std::string text =
            vertical ? LabelText(c.x1) : LabelText(-c.y1);  // what it reads, printed or not
        out.push_back({vertical, left, top, left + 7.0 * text.size(), top + 16, printed ? text : "",
                       printed});
    }
    return out;
}

bool Overlap(const Label& a, const Label& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Each label is printed unless it would overlap a label printed before it,
// of either axis; every grid line is drawn all the same.
TEST(ClearScreen, LabelsNeverOverlap) {
    struct Case {
        const char* name;
        int zoomsInX, zoomsOutX;
        int width, height;
        int xLines, yLines;
        bool xSkips, ySkips;
    };
    const Case cases[] = {
        {"start view", 0, 0, 500, 500, 18, 11, false, true},  // y " 0 " under x " 0 "
        {"4 x Zoom In X: \" 0.125 \" every 30 px", 4, 0, 500, 500, 18, 11, true, true},
        {"8 x Zoom Out X: \"-4096 \" every 30 px", 0, 8, 500, 500, 18, 11, true, true},
        {"60 x Zoom Out X", 0, 60, 500, 500, 18, 11, true, true},
        {"a canvas 100 px high: y labels every 10 px", 0, 0, 500, 100, 18, 11, false, true},
        {"20 x Zoom In X", 20, 0, 500, 500, 18, 11, true, true},
        {"a 400 x 300 window: canvas 382 x 95", 0, 0, 382, 95, 18, 11, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view::View v = StartView();
        for (int i = 0; i < c.zoomsInX; ++i) ASSERT_TRUE(view::ZoomX(v, view::Zoom::In, 500));
        for (int i = 0; i < c.zoomsOutX; ++i) ASSERT_TRUE(view::ZoomX(v, view::Zoom::Out, 500));
        RecordingSurface s(c.width, c.height);
        ClearScreen(v, s);
        EXPECT_EQ(LinePositions(s, true).size(), static_cast<size_t>(c.xLines));
        EXPECT_EQ(LinePositions(s, false).size(), static_cast<size_t>(c.yLines));
        bool skipped[2] = {false, false};
        std::vector<Label> printed;
        for (const Label& label : Labels(s, v, c.width, c.height)) {
            bool free = true;
            for (const Label& earlier : printed) free = free && !Overlap(label, earlier);
            EXPECT_EQ(label.printed, free) << label.left << " " << label.top;
            if (label.printed) printed.push_back(label);
            skipped[label.vertical] |= !label.printed;
        }
        EXPECT_EQ(skipped[true], c.xSkips);
        EXPECT_EQ(skipped[false], c.ySkips);
    }
}

// The earlier label wins across the axes: after 20 x Zoom In X the x label
// "-5.7220458984375E-06 " runs across the y axis and the y label " 0 " stays
// out from under it; in a 400 x 300 window the y labels " 2 ", " 0 " and "-2 "
// would stack on the x label " 0 " at the origin.
TEST(ClearScreen, EarlierLabelWinsAcrossTheAxes) {
    struct Case {
        const char* name;
        int zoomsInX;
        int width, height;
        std::vector<std::string> yLabels;  // the y labels printed, top to bottom
        const char* xLabelAcrossTheYAxis;  // printed, or empty
    };
    const Case cases[] = {
        {"20 x Zoom In X on 500 x 500",
         20,
         500,
         500,
         {" 10 ", " 8 ", " 6 ", " 4 ", " 2 ", "-2 ", "-4 ", "-6 ", "-8 ", "-10 "},
         "-5.7220458984375E-06 "},
        {"a 400 x 300 window: canvas 382 x 95", 0, 382, 95, {" 10 ", " 6 ", "-4 ", "-8 "}, " 0 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view::View v = StartView();
        for (int i = 0; i < c.zoomsInX; ++i) ASSERT_TRUE(view::ZoomX(v, view::Zoom::In, 500));
        RecordingSurface s(c.width, c.height);
        ClearScreen(v, s);
        std::vector<std::string> yLabels;
        bool across = false;
        for (const Label& label : Labels(s, v, c.width, c.height)) {
            if (!label.printed) continue;
            if (!label.vertical) yLabels.push_back(label.text);
            const double yAxis = c.width / 2.0;
            across |= label.vertical && label.left <= yAxis && yAxis < label.right &&
                      label.text == c.xLabelAcrossTheYAxis;
        }
        EXPECT_EQ(yLabels, c.yLabels);
        EXPECT_TRUE(across);
        EXPECT_EQ(LinePositions(s, false).size(), 11u);  // every horizontal line, " 0 "'s too
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
