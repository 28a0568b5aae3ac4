// The main window's handlers and commands against a fake form: plain values
// for the controls and a recording canvas.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

#include "plotter/draw/curves.h"
#include "plotter/form/main_form.h"
#include "tests/support/fake_forms.h"
#include "tests/support/recording_surface.h"

namespace ondrix::window {
namespace {

using testing::Call;
using testing::RecordingSurface;

constexpr canvas::Rgb kBlue = draw::kCurveColors[0];

// A form whose canvas takes the size the layout pass gives Picture1, as a
// real canvas widget does.
struct Forms : testing::FakeForms {
    RecordingSurface picture{kDesignPictureSize, kDesignPictureSize};
    void SetGeometry(Control control, const Box& box) override {
        FakeForms::SetGeometry(control, box);
        if (control != Control::Picture1) return;
        picture.SetWidth(box.width);
        picture.SetHeight(box.height);
    }
};

struct Form : ::testing::Test {
    Forms forms;
    MainForm form{forms, forms.picture};

    const view::View& View() { return form.Plotter().View(); }
    // Whether anything was drawn in this colour since the last Forget().
    bool Drew(canvas::Rgb color) const { return !forms.picture.InColor(color).empty(); }
    void Forget() { forms.picture.calls.clear(); }
    // Loaded, laid out for the design client area of 657 x 761.
    void Load() {
        form.Form_Load();
        form.Form_Resize();
        Forget();
    }
};

TEST_F(Form, LoadStepsPlaceSelectAndDrawBeforeTheFirstLayout) {
    // Size changes before the load steps are done run no layout pass.
    form.Form_Resize();
    EXPECT_EQ(forms.boxes.count(Control::Picture1), 0u);
    EXPECT_TRUE(forms.picture.calls.empty());

    form.Form_Load();
    // Three quarters of a 1024 x 768 screen, centred.
    ASSERT_EQ(forms.windowBoxes.size(), 1u);
    const Box outer = forms.windowBoxes[0];
    EXPECT_EQ(outer.left, 128);
    EXPECT_EQ(outer.top, 96);
    EXPECT_EQ(outer.width, 768);
    EXPECT_EQ(outer.height, 576);
    // Frame content 435 wide, menu bar 22 high: 445 x (22 + 120 + 113 + 25 + 67).
    EXPECT_EQ(forms.minimumSize.width, 445);
    EXPECT_EQ(forms.minimumSize.height, 347);
    EXPECT_EQ(forms.listIndex, 1);  // "Don't draw sum"
    EXPECT_TRUE(form.Loaded());
    // ResetScale with the design width of the canvas: y = x is plotted.
    EXPECT_DOUBLE_EQ(View().XScale, 33.36 / 500);
    EXPECT_DOUBLE_EQ(View().XMin, -16.68);
    EXPECT_TRUE(Drew(kBlue));
}

TEST_F(Form, LayoutPassFitsTheDesignClientArea) {
    form.Form_Load();
    Forget();
    form.Form_Resize();
    struct Case {
        Control control;
        Box box;
    };
    const Case cases[] = {
        {Control::Toolbar1, {0, 0, 657, 38}},     {Control::StatusBar1, {0, 736, 657, 25}},
        {Control::Frame1, {0, 40, 647, 113}},     {Control::Picture1, {0, 158, 639, 556}},
        {Control::VScroll1, {638, 158, 17, 556}}, {Control::HScroll1, {0, 713, 639, 17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(DesignOf(c.control).name);
        const Box& box = forms.boxes.at(c.control);
        EXPECT_EQ(box.left, c.box.left);
        EXPECT_EQ(box.top, c.box.top);
        EXPECT_EQ(box.width, c.box.width);
        EXPECT_EQ(box.height, c.box.height);
    }
    EXPECT_DOUBLE_EQ(View().XScale, 33.36 / 639);
    // The pass draws without clearing first itself: Draw clears.
    EXPECT_TRUE(Drew(kBlue));
}

TEST_F(Form, MinimisedRunsNoLayoutNorDraw) {
    Load();
    forms.minimized = true;
    forms.client = {300, 250};
    form.Form_Resize();
    EXPECT_EQ(forms.boxes.at(Control::Picture1).width, 639);
    EXPECT_TRUE(forms.picture.calls.empty());
    forms.minimized = false;
    form.Form_Resize();
    EXPECT_EQ(forms.boxes.at(Control::Picture1).width, 282);
    EXPECT_TRUE(Drew(kBlue));
}

TEST_F(Form, TinyClientAreaSetsNoNegativeSizeAndSkipsTheDraw) {
    Load();
    forms.client = {10, 10};
    form.Form_Resize();
    for (const auto& [control, box] : forms.boxes) {
        EXPECT_GE(box.width, 0) << DesignOf(control).name;
        EXPECT_GE(box.height, 0) << DesignOf(control).name;
    }
    EXPECT_FALSE(Drew(kBlue));
    EXPECT_DOUBLE_EQ(View().XScale, 33.36 / 639);  // no width to sample
}

TEST_F(Form, ShortcutsRunTheirMenuCommands) {
    Load();
    struct Case {
        Key key;
        unsigned modifiers;
        bool handled;
        double (*probe)(const view::View&);
        double expected;
    };
    const auto xMax = [](const view::View& v) { return v.XMax; };
    const auto yMax = [](const view::View& v) { return v.YMax; };
    const Case cases[] = {
        {Key::F11, kNoModifier, true, xMax, 8.34}, {Key::F12, kNoModifier, true, xMax, 16.68},
        {Key::F11, kCtrl, true, yMax, 5},          {Key::F12, kCtrl, true, yMax, 10},
        {Key::F11, kNoModifier, true, xMax, 8.34}, {Key::F8, kNoModifier, true, xMax, 16.68},
        {Key::F11, kShift, false, xMax, 16.68},    {Key::O, kCtrl, false, xMax, 16.68},
        {Key::S, kCtrl, false, xMax, 16.68},       {Key::N, kNoModifier, false, xMax, 16.68},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.key) * 10 + static_cast<int>(c.modifiers));
        EXPECT_EQ(form.KeyDown(c.key, c.modifiers), c.handled);
        EXPECT_DOUBLE_EQ(c.probe(View()), c.expected);
    }
    // F7 clears the curves, F5 draws them again.
    Forget();
    EXPECT_TRUE(form.KeyDown(Key::F7, kNoModifier));
    EXPECT_EQ(forms.picture.Of(Call::kCls).size(), 1u);
    EXPECT_FALSE(Drew(kBlue));
    EXPECT_TRUE(form.KeyDown(Key::F5, kNoModifier));
    EXPECT_TRUE(Drew(kBlue));
    // Ctrl+N empties the boxes and keeps the mode.
    forms.listIndex = draw::kDrawMult;
    EXPECT_TRUE(form.KeyDown(Key::N, kCtrl));
    EXPECT_EQ(forms.texts[0], "");
    EXPECT_EQ(forms.listIndex, draw::kDrawMult);
}

TEST_F(Form, MenuRowsCarryTheirCaptionsAndShortcuts) {
    struct Case {
        const char* caption;
        Shortcut shortcut;
        Command command;
        bool enabled;
    };
    const Case cases[] = {
        {"New", {Key::N, kCtrl}, Command::NewGraph, true},
        {"Open", {Key::O, kCtrl}, Command::None, false},
        {"Save", {Key::S, kCtrl}, Command::None, false},
        {"Save As...", {}, Command::None, false},
        {"Exit", {}, Command::Exit, true},
        {"Draw", {Key::F5}, Command::Draw, true},
        {"Clear Screen", {Key::F7}, Command::ClearScreen, true},
        {"Reset Scale", {Key::F8}, Command::ResetScale, true},
        {"Zoom In X", {Key::F11}, Command::ZoomInX, true},
        {"Zoom Out X", {Key::F12}, Command::ZoomOutX, true},
        {"Zoom In Y", {Key::F11, kCtrl}, Command::ZoomInY, true},
        {"Zoom Out Y", {Key::F12, kCtrl}, Command::ZoomOutY, true},
        {"About", {}, Command::About, true},
    };
    std::size_t items = 0;
    for (const MenuRow& row : kMenu) {
        if (row.caption == nullptr) continue;
        ASSERT_LT(items, std::size(cases));
        const Case& c = cases[items++];
        SCOPED_TRACE(c.caption);
        EXPECT_STREQ(row.caption, c.caption);
        EXPECT_EQ(row.shortcut.key, c.shortcut.key);
        EXPECT_EQ(row.shortcut.modifiers, c.shortcut.modifiers);
        EXPECT_EQ(row.command, c.command);
        EXPECT_EQ(row.enabled, c.enabled);
    }
    EXPECT_EQ(items, std::size(cases));
}

TEST_F(Form, AboutAndExitGoToTheForms) {
    Load();
    form.RunCommand(Command::About);
    form.RunCommand(Command::About);
    EXPECT_EQ(forms.aboutShown, 2);
    EXPECT_EQ(forms.ended, 0);
    form.RunCommand(Command::Exit);
    EXPECT_EQ(forms.ended, 1);
}

TEST_F(Form, EnterInAnyBoxDrawsAllThreeOtherKeysNothing) {
    Load();
    forms.texts = {"x", "1", "-1"};
    form.Text1_KeyPress(1, 'a');
    EXPECT_TRUE(forms.picture.calls.empty());
    form.Text1_KeyPress(1, 13);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(Drew(draw::kCurveColors[k])) << k;
}

TEST_F(Form, ChangingOptionsRedrawsNothingTheNextDrawReadsThem) {
    Load();
    forms.listIndex = draw::kDrawSumOnly;
    forms.check1 = true;
    forms.check3 = true;
    EXPECT_TRUE(forms.picture.calls.empty());
    form.RunCommand(Command::Draw);
    // Dots, no clearing, only the grey sum.
    EXPECT_TRUE(forms.picture.Of(Call::kCls).empty());
    EXPECT_TRUE(forms.picture.Of(Call::kLine).empty());
    EXPECT_FALSE(forms.picture.InColor(draw::kCurveColors[3]).empty());
    EXPECT_FALSE(Drew(kBlue));
}

TEST_F(Form, ToolbarButtonsRunTheirCommands) {
    Load();
    const double xMin = View().XMin;
    for (int index : {2, 3, 4, 8, 11, 0, 14}) form.Toolbar1_ButtonClick(index);
    EXPECT_EQ(View().XMin, xMin);
    EXPECT_TRUE(forms.picture.calls.empty());
    form.Toolbar1_ButtonClick(9);  // ZoomInX
    EXPECT_DOUBLE_EQ(View().XMin, -8.34);
    form.Toolbar1_ButtonClick(7);  // Reset
    EXPECT_DOUBLE_EQ(View().XMin, -16.68);
    form.Toolbar1_ButtonClick(13);  // ZoomOutY
    EXPECT_DOUBLE_EQ(View().YMin, -20);
    form.Toolbar1_ButtonClick(1);  // New
    EXPECT_EQ(forms.texts[0], "");
}

TEST_F(Form, ScrollBarsPanTheViewAndWidenTheirLimits) {
    Load();
    struct Case {
        bool horizontal;
        int value;
        double low, high;
        int min, max;
    };
    const Case cases[] = {
        {true, 1, -16.58, 16.78, -100, 168},
        {true, 10, -15.68, 17.68, -100, 168},  // the limit moved by the first step is far enough
        {false, 20, -8, 12, -100, 120},
        {true, 32767, 3276.7 - 16.68, 3276.7 + 16.68, -100, 32767},
        {true, -32768, -3276.8 - 16.68, -3276.8 + 16.68, -32768, 32767},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Forget();
        if (c.horizontal)
            form.HScroll1_Change(c.value);
        else
            form.VScroll1_Change(c.value);
        const view::View& v = View();
        EXPECT_NEAR(c.horizontal ? v.XMin : v.YMin, c.low, 1e-9);
        EXPECT_NEAR(c.horizontal ? v.XMax : v.YMax, c.high, 1e-9);
        const auto& limits = forms.limits.at(c.horizontal ? Control::HScroll1 : Control::VScroll1);
        EXPECT_EQ(limits.min, c.min);
        EXPECT_EQ(limits.max, c.max);
        // ClearScreen, then Draw, which clears again.
        EXPECT_EQ(forms.picture.Of(Call::kCls).size(), 2u);
        EXPECT_TRUE(Drew(kBlue));
    }
}

// Nine Zoom In X leave a range 33.36 / 512 wide; one step right and two left
// once left Min = Max = Value = -1 and a dead bar. The limits never narrow, so
// the bar still scrolls both ways.
TEST_F(Form, ANarrowRangeNeverKillsTheScrollBar) {
    Load();
    for (int i = 0; i < 9; ++i) form.RunCommand(Command::ZoomInX);
    for (int value : {1, 0, -1}) form.HScroll1_Change(value);
    const auto& limits = forms.limits.at(Control::HScroll1);
    EXPECT_EQ(limits.min, -100);
    EXPECT_EQ(limits.max, 100);
    EXPECT_NEAR(View().XMin + View().XMax, -0.2, 1e-9);
    form.HScroll1_Change(-2);
    EXPECT_NEAR(View().XMin + View().XMax, -0.4, 1e-9);
    form.HScroll1_Change(0);
    EXPECT_NEAR(View().XMin + View().XMax, 0.0, 1e-9);
}

TEST_F(Form, ReadoutShowsThePlanePointWithTheUsersSeparator) {
    struct Case {
        char separator;
        float x, y;  // canvas user coordinates
        const char* text;
    };
    const Case cases[] = {
        {'.', -16.68f, -10, "-16.68 10"},
        {'.', 2.5f, -1.25f, "2.5 1.25"},
        {',', 2.5f, 1.25f, "2,5 -1,25"},
    };
    for (const Case& c : cases) {
        forms.separator = c.separator;
        MainForm fresh(forms, forms.picture);
        fresh.Picture1_MouseMove(c.x, c.y);
        EXPECT_EQ(forms.statusText, c.text);
        // A point that is not a finite number leaves the text as it was.
        fresh.Picture1_MouseMove(std::numeric_limits<double>::infinity(), c.y);
        EXPECT_EQ(forms.statusText, c.text);
    }
}

TEST(FormTables, TabOrderFollowsTheTabIndexes) {
    const Control expected[] = {Control::Text1_0,  Control::Text1_1,  Control::Text1_2,
                                Control::Check1,   Control::Picture1, Control::VScroll1,
                                Control::HScroll1, Control::Toolbar1, Control::StatusBar1,
                                Control::Frame1,   Control::Check3,   Control::Combo1};
    const auto order = TabOrder();
    ASSERT_EQ(order.size(), std::size(expected));
    for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], expected[i]) << i;
}

TEST(FormTables, ToolButtonsWidenOnlyForLongCaptions) {
    // 57 pixels hold a caption of 51 and three pixels of room on each side.
    for (const auto& [advance, width] :
         {std::pair{0, 57}, std::pair{51, 57}, std::pair{52, 58}, std::pair{100, 106}})
        EXPECT_EQ(ToolButtonWidth(advance), width) << advance;
}

}  // namespace
}  // namespace ondrix::window
