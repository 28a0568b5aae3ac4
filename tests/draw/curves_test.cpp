#include "plotter/draw/curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "plotter/draw/grid.h"
#include "plotter/draw/plotter.h"
#include "script/engine.h"
#include "tests/support/fake_controls.h"
#include "tests/support/recording_surface.h"

namespace ondrix::draw {
namespace {

using testing::Call;
using testing::FakeControls;
using testing::RecordingSurface;

constexpr canvas::Rgb kBlue = kCurveColors[0];
constexpr canvas::Rgb kGreen = kCurveColors[1];
constexpr canvas::Rgb kGrey = kCurveColors[3];

view::View StartView(int width = 500) {
    view::View v;
    view::SetStartRange(v);
    view::ApplySamplingRule(v, width);
    return v;
}

// Draws over the view with a recording surface; the grid is left out by
// checking "Don't clear the screen".
RecordingSurface Curves(FakeControls c, const view::View& v = StartView()) {
    c.dontClear = true;
    RecordingSurface s(500);
    script::Engine engine;
    Draw(v, s, engine, c);
    return s;
}

FakeControls Formulas(std::string f0, std::string f1, std::string f2, int mode) {
    FakeControls c;
    c.formulas = {std::move(f0), std::move(f1), std::move(f2)};
    c.mode = mode;
    return c;
}

TEST(Draw, ModesDecideWhatIsDrawn) {
    struct Case {
        const char* name;
        FakeControls controls;
        size_t formulaCalls;  // lines in the three formula colours
        bool grey;
    };
    const Case cases[] = {
        {"all empty, don't draw sum", Formulas("", "", "", kDontDrawSum), 0, false},
        {"all empty, draw sum", Formulas("", "", "", kDrawSum), 0, true},
        {"x, don't draw sum", Formulas("x", "", "", kDontDrawSum), 502, false},
        {"x and 1, sum only", Formulas("x", "1", "", kDrawSumOnly), 0, true},
        {"x, mult only", Formulas("x", "2", "", kDrawMultOnly), 0, true},
        {"nothing selected draws the sum", Formulas("x", "", "", -1), 502, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RecordingSurface s = Curves(c.controls);
        const size_t formulaCalls = s.InColor(kCurveColors[0]).size() +
                                    s.InColor(kCurveColors[1]).size() +
                                    s.InColor(kCurveColors[2]).size();
        EXPECT_NEAR(static_cast<double>(formulaCalls), static_cast<double>(c.formulaCalls), 1);
        EXPECT_EQ(!s.InColor(kGrey).empty(), c.grey);
        EXPECT_TRUE(s.Of(Call::kCls).empty());
    }
}

TEST(Draw, CombinedCurveValues) {
    struct Case {
        const char* name;
        FakeControls controls;
        double (*expected)(double x);
    };
    const Case cases[] = {
        {"empty boxes sum to 0", Formulas("", "", "", kDrawSum), [](double) { return 0.0; }},
        {"mult with box 0 empty is 0", Formulas("", "x", "5", kDrawMult),
         [](double) { return 0.0; }},
        {"sum only of x and 1", Formulas("x", "1", "", kDrawSumOnly),
         [](double x) { return x + 1; }},
        {"product of three", Formulas("x", "2", "3", kDrawMult), [](double x) { return 6 * x; }},
        {"product skips empty boxes", Formulas("x", "", "3", kDrawMultOnly),
         [](double x) { return 3 * x; }},
        {"sum skips failed points", Formulas("Sqr(x)", "1", "", kDrawSum),
         [](double x) { return (x >= 0 ? std::sqrt(x) : 0) + 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RecordingSurface s = Curves(c.controls);
        const auto grey = s.InColor(kGrey);
        ASSERT_GT(grey.size(), 500u);
        for (const Call& line : grey) {
            const double x = line.x2;
            EXPECT_NEAR(-line.y2, c.expected(x), 1e-4 * (1 + std::fabs(x))) << x;
        }
    }
}

TEST(Draw, WideCanvasCombinesEveryPoint) {
    const view::View v = StartView(3840);
    const RecordingSurface s = Curves(Formulas("x", "1", "", kDrawSumOnly), v);
    const auto grey = s.InColor(kGrey);
    ASSERT_GE(grey.size(), 3841u);
    for (const Call& line : grey) EXPECT_NEAR(-line.y2, line.x2 + 1, 1e-4) << line.x2;
}

TEST(Draw, SweepStartsAtXMinAndVisitsWidthPlusTwoPoints) {
    const view::View v = StartView(500);
    const RecordingSurface s = Curves(Formulas("x", "", "", kDontDrawSum), v);
    const auto lines = s.InColor(kBlue);
    ASSERT_FALSE(lines.empty());
    EXPECT_FLOAT_EQ(lines.front().x2, -16.68f);
    EXPECT_FLOAT_EQ(lines.front().x1, static_cast<float>(-16.68 - v.XScale));
    EXPECT_FLOAT_EQ(lines.front().y1, lines.front().y2);  // the first stroke is level
    EXPECT_GE(lines.size(), 501u);
    EXPECT_LE(lines.size(), 502u);
}

TEST(Draw, JumpTestLeavesOutLeapsAcrossTheBand) {
    const RecordingSurface s = Curves(Formulas("Tan(x)", "", "", kDontDrawSum));
    bool entersBeyondEdge = false;
    for (const Call& line : s.InColor(kBlue)) {
        const double from = -line.y1;
        const double to = -line.y2;
        EXPECT_FALSE(from > 10 && to < -10) << line.x2;
        EXPECT_FALSE(from < -10 && to > 10) << line.x2;
        entersBeyondEdge |= std::fabs(from) <= 10 && std::fabs(to) > 10;
    }
    EXPECT_TRUE(entersBeyondEdge);
}

// With YMin -8 and YMax 12 (VScroll1 at 20) the canvas shows plane y from 8
// at the top to -12 at the bottom, and the jump test uses that band. A stroke
// that leaps across it is still drawn when the value halfway along lies
// strictly between its ends.
TEST(Draw, JumpTestComparesWithThePlaneBand) {
    view::View v = StartView();
    v.YMin = -8;
    v.YMax = 12;
    v.XMin = 0;
    v.XMax = 1;
    v.XScale = 1;  // points at x = 0, 1, 2; the midpoint of the first step is 0.5
    struct Case {
        const char* name;
        const char* formula;
        bool drawn;
    };
    const Case cases[] = {
        {"13 to -9 ends on screen", "13 - 22 * x", true},
        {"-9 to 13 starts on screen", "-9 + 22 * x", true},
        {"9 to -13 through -2", "9 - 22 * x", true},
        {"-13 to 9 through -2", "-13 + 22 * x", true},
        {"9 to -13 across a pole", "-5.5 / (x - 0.5) - 2", false},
        {"9 to -13 through 20", "9 + 66 * x - 88 * x * x", false},
        {"9 to -13 through -13", "9 - 66 * x + 44 * x * x", false},
        {"9 to -13 without a value halfway", "9 - 22 * x + Sqr(Abs(x - 0.5) - 0.1)", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool dots : {false, true}) {
            FakeControls controls = Formulas(c.formula, "", "", kDontDrawSum);
            controls.dots = dots;
            const RecordingSurface s = Curves(controls, v);
            bool found = false;
            for (const Call& call : s.InColor(kBlue))
                found |= call.kind == Call::kLine ? call.x2 == 1 : call.x1 == 1;
            EXPECT_EQ(found, c.drawn) << (dots ? "dots" : "lines");
        }
    }
}

// A stroke that leaps across the band at a pole has a midpoint beyond both of
// its ends, so it stays undrawn at every zoom; here the band is -10..10.
TEST(Draw, PolesStayUndrawn) {
    for (const char* formula : {"Tan(x)", "1/x", "Sec(x)", "Cotan(x)"}) {
        for (int zoomsOut : {0, 1, 5}) {
            SCOPED_TRACE(std::string(formula) + " after " + std::to_string(zoomsOut));
            view::View v = StartView();
            for (int i = 0; i < zoomsOut; ++i) ASSERT_TRUE(view::ZoomX(v, view::Zoom::Out, 500));
            for (int mode : {kDontDrawSum, kDrawSumOnly}) {
                const RecordingSurface s = Curves(Formulas(formula, "", "", mode), v);
                const auto strokes = s.InColor(mode == kDrawSumOnly ? kGrey : kBlue);
                ASSERT_GT(strokes.size(), 400u);
                for (const Call& line : strokes) {
                    const double from = -line.y1;
                    const double to = -line.y2;
                    EXPECT_FALSE(from > 10 && to < -10) << line.x2 << " " << from << " " << to;
                    EXPECT_FALSE(from < -10 && to > 10) << line.x2 << " " << from << " " << to;
                }
            }
        }
    }
}

// A steep line crosses the whole band within a step or two; its strokes are
// drawn and cover the band from bottom to top, for a formula curve and for
// the combined curve in either mode, also where no sample falls on x = 0.
TEST(Draw, SteepLinesCrossTheBand) {
    struct Case {
        const char* name;
        FakeControls controls;
        canvas::Rgb color;
    };
    const Case cases[] = {
        {"x*1000", Formulas("x*1000", "", "", kDontDrawSum), kBlue},
        {"-x*400", Formulas("-x*400", "", "", kDontDrawSum), kBlue},
        {"sum of x*1000 and 1", Formulas("x*1000", "1", "", kDrawSumOnly), kGrey},
        {"product of 2 and x*500", Formulas("2", "x*500", "", kDrawMultOnly), kGrey},
        {"product of x*500 and -2", Formulas("x*500", "", "-2", kDrawMult), kGrey},
    };
    for (const Case& c : cases) {
        for (int width : {500, 749}) {
            SCOPED_TRACE(std::string(c.name) + " on " + std::to_string(width));
            const RecordingSurface s = Curves(c.controls, StartView(width));
            for (double y : {-9.9, -5.0, 0.0, 5.0, 9.9}) {
                bool covered = false;
                for (const Call& line : s.InColor(c.color))
                    covered |=
                        std::fmin(-line.y1, -line.y2) <= y && y <= std::fmax(-line.y1, -line.y2);
                EXPECT_TRUE(covered) << y;
            }
        }
    }
}

// A point without a value is left out, and the next point with a value
// starts the curve anew, as the first point of the sweep does: the first
// stroke of every run is level at its own height, never a wall from 0.
TEST(Draw, PointsWithoutValueLeaveGapsAndCurvesStartAnew) {
    struct Case {
        const char* name;
        FakeControls controls;
        canvas::Rgb color;
        int zoomsInX;
        std::size_t runs;  // unbroken runs of strokes
        double lowest;     // no stroke reaches below this plane height
    };
    const Case cases[] = {
        {"Sqr(x) in box 0", Formulas("Sqr(x)", "", "", kDontDrawSum), kBlue, 0, 1, 0},
        {"Sqr(x) in box 1 after x in box 0", Formulas("x", "Sqr(x)", "", kDontDrawSum), kGreen, 0,
         1, 0},
        {"Sqr(x-3)+5: no wall at 3 from 0 up to 5", Formulas("Sqr(x-3)+5", "", "", kDontDrawSum),
         kBlue, 0, 1, 5},
        {"Sqr(x*x-4)+3: no wall at -2 or 2", Formulas("Sqr(x*x-4)+3", "", "", kDontDrawSum), kBlue,
         0, 2, 3},
        {"Log(x): no stroke down from the origin", Formulas("Log(x)", "", "", kDontDrawSum), kBlue,
         0, 1, -1e300},
        {"Arcsin(x) after 3 x Zoom In X: no hook at -1",
         Formulas("Arcsin(x)", "", "", kDontDrawSum), kBlue, 3, 1, -1.5708},
        {"x^40: no wall at -9.19 where it re-enters the Single range",
         Formulas("x^40", "", "", kDontDrawSum), kBlue, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view::View v = StartView();
        for (int i = 0; i < c.zoomsInX; ++i) ASSERT_TRUE(view::ZoomX(v, view::Zoom::In, 500));
        const auto lines = Curves(c.controls, v).InColor(c.color);
        ASSERT_FALSE(lines.empty());
        std::size_t runs = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const bool startsRun =
                i == 0 || std::fabs(lines[i].x1 - lines[i - 1].x2) > v.XScale / 2;
            if (startsRun) {
                ++runs;
                EXPECT_EQ(lines[i].y1, lines[i].y2) << "at x = " << lines[i].x2;
            }
            EXPECT_GE(-lines[i].y1, c.lowest) << lines[i].x2;
            EXPECT_GE(-lines[i].y2, c.lowest) << lines[i].x2;
        }
        EXPECT_EQ(runs, c.runs);
    }
}

TEST(Draw, FailedStepsAreSkippedAndTheSweepGoesOn) {
    view::View v = StartView();
    v.XMin = -2;
    v.XMax = 2;
    v.XScale = 1;  // x = -2 .. 3, one of them exactly 0
    const auto lines = Curves(Formulas("1/x", "", "", kDontDrawSum), v).InColor(kBlue);
    std::vector<float> ends;
    for (const Call& line : lines) ends.push_back(line.x2);
    EXPECT_EQ(ends, (std::vector<float>{-2, -1, 1, 2, 3}));
    EXPECT_EQ(lines[2].y1, -1.0f);  // after the point without value, level at 1/1

    // Points that fail draw nothing; the others of the same sweep still do.
    struct Case {
        const char* formula;
        std::vector<float> ends;  // x of each stroke's end
    };
    const Case cases[] = {
        {"1/x + Foo(x)", {}},    // an unknown function: error 13 at every point
        {"CInt(40000*x)", {0}},  // overflow (error 6) everywhere but at 0
        {"((", {}},              // a syntax error
        {"\"a\" * x", {}},       // a type mismatch
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        std::vector<float> got;
        for (const Call& line : Curves(Formulas(c.formula, "", "", kDrawSum), v).InColor(kBlue))
            got.push_back(line.x2);
        EXPECT_EQ(got, c.ends);
    }
}

TEST(Draw, DotsSetOnePointPerValueExceptAfterALeap) {
    FakeControls c = Formulas("x", "", "", kDontDrawSum);
    c.dots = true;
    const RecordingSurface dots = Curves(c);
    EXPECT_TRUE(dots.Of(Call::kLine).empty());
    EXPECT_GE(dots.InColor(kBlue).size(), 501u);

    FakeControls t = Formulas("Tan(x)", "", "", kDontDrawSum);
    const size_t lines = Curves(t).InColor(kBlue).size();
    t.dots = true;
    EXPECT_EQ(Curves(t).InColor(kBlue).size(), lines);  // the same points are left out
}

TEST(Draw, BooleansAndTextCountAsZero) {
    for (const char* formula : {"x > 0", "\"abc\"", "\"1E39\""}) {
        SCOPED_TRACE(formula);
        const auto lines = Curves(Formulas(formula, "", "", kDontDrawSum)).InColor(kBlue);
        ASSERT_GE(lines.size(), 501u);
        for (const Call& line : lines) EXPECT_EQ(line.y2, 0.0f);
    }
}

// Beyond the Single range (about 3.4E+38) a point has no value: nothing runs
// along the axis there. x^40 passes it at |x| = 9.19, Exp(x) at x = 88.72
// (after three Zoom Out X the view reaches 133.44).
TEST(Draw, ValuesBeyondTheSingleRangeAreNotDrawn) {
    struct Case {
        const char* formula;
        int zoomsOut;
        double lowest, highest;  // the abscissae with a value in the view
    };
    for (const Case& c : {Case{"x^40", 0, -9.19, 9.19}, Case{"Exp(x)", 3, -134, 88.73}}) {
        SCOPED_TRACE(c.formula);
        view::View v = StartView();
        for (int i = 0; i < c.zoomsOut; ++i) ASSERT_TRUE(view::ZoomX(v, view::Zoom::Out, 500));
        for (int mode : {kDontDrawSum, kDrawSumOnly}) {
            const RecordingSurface s = Curves(Formulas(c.formula, "", "", mode), v);
            const auto strokes = s.InColor(mode == kDrawSumOnly ? kGrey : kBlue);
            ASSERT_GT(strokes.size(), 100u);
            for (const Call& line : strokes) {
                if (mode == kDontDrawSum) {
                    EXPECT_GE(line.x2, c.lowest);
                    EXPECT_LE(line.x2, c.highest);
                }
                // Only the sum, where no formula has a value, runs along 0.
                if (line.x2 < c.lowest || line.x2 > c.highest) {
                    EXPECT_EQ(line.y2, 0) << line.x2;
                } else if (std::fabs(line.x2) > 0.5) {
                    EXPECT_GT(-line.y2, 0) << line.x2;
                }
            }
        }
    }
}

TEST(Draw, HugeSumsReachTheCanvasWhole) {
    // Summed and handed over in double precision: 3E38 + 3E38 is not lost to
    // the Single range on the way; the canvas clips it.
    const RecordingSurface s = Curves(Formulas("3E38", "3E38", "", kDrawSumOnly));
    const auto grey = s.InColor(kGrey);
    ASSERT_FALSE(grey.empty());
    for (const Call& line : grey) EXPECT_DOUBLE_EQ(line.y2, -6E38);
}

TEST(Draw, ClearsFirstUnlessAskedNotTo) {
    RecordingSurface s(500);
    script::Engine engine;
    FakeControls c = Formulas("x", "", "", kDontDrawSum);
    Draw(StartView(), s, engine, c);
    ASSERT_FALSE(s.calls.empty());
    EXPECT_EQ(s.calls.front().kind, Call::kCls);
    EXPECT_EQ(s.Of(Call::kScaleLeft).size(), 1u);
    s.calls.clear();
    c.dontClear = true;
    Draw(StartView(), s, engine, c);
    EXPECT_TRUE(s.Of(Call::kCls).empty());
    EXPECT_TRUE(s.Of(Call::kScaleLeft).empty());
}

// A sweep whose step makes no progress evaluates its first point and ends;
// one whose bound is not a number evaluates none.
TEST(Draw, EndsOnDegenerateViews) {
    struct Case {
        const char* name;
        double xMin, xMax, xScale;
        std::size_t strokes;  // of formula 0
    };
    const Case cases[] = {
        {"zero step", -1, 1, 0, 1},
        {"step lost in rounding", 1e6, 1e6 + 1, 1e-12, 1},
        {"NaN step", -1, 1, std::nan(""), 0},
        // -1E+30 to 1E+30: 2002 points, each a stroke; the one across the band is kept
        // because its midpoint lies between its ends.
        {"huge range", -1e30, 1e30, 1e27, 2002},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view::View v = StartView();
        v.XMin = c.xMin;
        v.XMax = c.xMax;
        v.XScale = c.xScale;
        const RecordingSurface s = Curves(Formulas("x", "", "", kDrawSum), v);
        EXPECT_EQ(s.InColor(kBlue).size(), c.strokes);
    }
}

// The commands: each changes the view and redraws from a cleared canvas.
struct PlotterFixture : ::testing::Test {
    RecordingSurface surface{500};
    FakeControls controls;
    Plotter plotter{surface, controls};
};

TEST_F(PlotterFixture, ResetScaleFollowsTheCanvasWidth) {
    surface.SetWidth(639);
    plotter.ResetScale();
    EXPECT_DOUBLE_EQ(plotter.View().XScale, 33.36 / 639);
    EXPECT_EQ(plotter.View().XMin, -16.68);
    EXPECT_EQ(surface.Of(Call::kCls).size(), 2u);  // ClearScreen, then Draw clears again
}

TEST_F(PlotterFixture, NewGraphEmptiesTheBoxesAndKeepsTheMode) {
    controls.mode = kDrawMult;
    controls.formulas = {"x", "1", "2"};
    plotter.NewGraph();
    EXPECT_EQ(controls.formulas, (std::array<std::string, 3>{"", "", ""}));
    EXPECT_EQ(controls.mode, kDrawMult);
}

TEST_F(PlotterFixture, ZoomsAtTheLimitDoNothing) {
    plotter.ResetScale();
    for (int i = 0; i < 1100; ++i) plotter.ZoomOutX();
    surface.calls.clear();
    plotter.ZoomOutX();
    EXPECT_TRUE(surface.calls.empty());  // no redraw
    for (int i = 0; i < 2200; ++i) plotter.ZoomInX();
    for (int i = 0; i < 1100; ++i) plotter.ZoomInY();
    surface.calls.clear();
    plotter.ZoomInY();
    EXPECT_TRUE(surface.calls.empty());
    const view::View& v = plotter.View();
    EXPECT_TRUE(view::PixelsApart(v.XMin, v.XMax, 500));
    EXPECT_TRUE(view::PixelsApart(v.YMin, v.YMax, 500));
    EXPECT_LT(v.XMax - v.XMin, 1e-300);
    EXPECT_LT(v.YMax - v.YMin, 1e-300);
}

TEST_F(PlotterFixture, ScrollRecentresAndRedraws) {
    plotter.ResetScale();
    view::ScrollLimits limits;
    surface.calls.clear();
    plotter.HorizontalScroll(1, limits);
    EXPECT_NEAR(plotter.View().XMin, -16.58, 1e-12);
    EXPECT_NEAR(plotter.View().XMax, 16.78, 1e-12);
    EXPECT_EQ(limits.Max, 168);
    EXPECT_FALSE(surface.Of(Call::kCls).empty());

    plotter.ZoomInX();
    plotter.HorizontalScroll(41, limits);
    EXPECT_NEAR(plotter.View().XMin, 4.1 - 16.68 / 2, 1e-12);
}

TEST_F(PlotterFixture, NoCanvasWidthSkipsSamplingAndDrawing) {
    plotter.ResetScale();
    const double step = plotter.View().XScale;
    surface.SetWidth(0);
    surface.calls.clear();
    plotter.CanvasResized();
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_EQ(plotter.View().XScale, step);
}

}  // namespace
}  // namespace ondrix::draw
