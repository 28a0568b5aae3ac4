#pragma once

// The main window's controls as designed: names, boxes, tab order, captions,
// fonts and colours, and the entries of the mode list. Front ends build their
// controls from these tables; the layout pass (layout.h) moves some of them
// later.

#include <array>

#include "plotter/canvas/surface.h"
#include "plotter/draw/controls.h"
#include "plotter/form/layout.h"
#include "plotter/view/scroll.h"

namespace ondrix::window {

// The window's controls. Text1 and Shape1 are control arrays, one entry per
// element.
enum class Control : int {
    Toolbar1,
    Frame1,
    Text1_0,
    Text1_1,
    Text1_2,
    Shape1_0,
    Shape1_1,
    Shape1_2,
    Combo1,
    Check1,
    Check3,
    Picture1,
    VScroll1,
    HScroll1,
    StatusBar1,
};
inline constexpr int kControlCount = 15;

// The formula box and the colour swatch of formula k (0 to 2).
constexpr Control Text1(int k) {
    return static_cast<Control>(static_cast<int>(Control::Text1_0) + k);
}
constexpr Control Shape1(int k) {
    return static_cast<Control>(static_cast<int>(Control::Shape1_0) + k);
}

// A rectangle in pixels of the client area, or of Frame1 for the controls it
// holds.
using Box = Geometry;

inline constexpr int kNoTabStop = -1;

struct ControlDesign {
    Control control;
    const char* name;
    bool inFrame;  // its box is relative to Frame1
    Box box;       // design geometry (the design's twips / 15)
    int tabIndex;  // kNoTabStop when it takes no focus
};

// Design width of Frame1, before the first layout pass.
inline constexpr int kDesignFrameWidth = 513;

inline constexpr std::array<ControlDesign, kControlCount> kControls{{
    {Control::Toolbar1, "Toolbar1", false, {0, 0, kDesignFrameWidth, kToolbarHeight}, 7},
    {Control::Frame1, "Frame1", false, {0, kFrameTop, kDesignFrameWidth, kFrameHeight}, 9},
    {Control::Text1_0, "Text1(0)", true, {11, 16, 249, 28}, 0},
    {Control::Text1_1, "Text1(1)", true, {11, 48, 249, 28}, 1},
    {Control::Text1_2, "Text1(2)", true, {11, 80, 249, 25}, 2},
    {Control::Shape1_0, "Shape1(0)", true, {8, 16, 3, 25}, kNoTabStop},
    {Control::Shape1_1, "Shape1(1)", true, {8, 48, 3, 25}, kNoTabStop},
    {Control::Shape1_2, "Shape1(2)", true, {8, 80, 3, 25}, kNoTabStop},
    {Control::Combo1, "Combo1", true, {280, 16, 137, 21}, 11},
    {Control::Check1, "Check1", true, {280, 48, 129, 17}, 3},
    {Control::Check3, "Check3", true, {280, 80, 153, 17}, 10},
    {Control::Picture1,
     "Picture1",
     false,
     {0, kPictureTop, kDesignPictureSize, kDesignPictureSize},
     4},
    {Control::VScroll1,
     "VScroll1",
     false,
     {kDesignPictureSize - 1, kPictureTop, kScrollBarThickness, kDesignPictureSize},
     5},
    {Control::HScroll1,
     "HScroll1",
     false,
     {0, kPictureTop + kDesignPictureSize - 1, kDesignPictureSize, kScrollBarThickness},
     6},
    {Control::StatusBar1, "StatusBar1", false, {0, 0, kDesignFrameWidth, kStatusBarHeight}, 8},
}};

constexpr const ControlDesign& DesignOf(Control control) {
    return kControls[static_cast<int>(control)];
}

// The controls in the order of their tab indexes (those without one left
// out); Text1(0), tab index 0, has the focus when the window opens. Which of
// them can take the focus at all is the platform's matter.
constexpr std::array<Control, kControlCount - draw::kFormulaCount> TabOrder() {
    std::array<Control, kControlCount - draw::kFormulaCount> order{};
    std::size_t n = 0;
    for (int index = 0; index < kControlCount; ++index)
        for (const ControlDesign& design : kControls)
            if (design.tabIndex == index) order[n++] = design.control;
    return order;
}

// Captions and contents.
inline constexpr const char* kStartFormula = "x";  // Text1(0); the other boxes start empty
inline constexpr const char* kCheck1Caption = "Don't clear the screen";
inline constexpr const char* kCheck3Caption = "Dots, not lines";

// The formula boxes' font.
inline constexpr const char* kFormulaFontName = "Arial";
inline constexpr int kFormulaFontPoints = 12;
inline constexpr bool kFormulaFontBold = true;

// The swatches beside the formula boxes, a fixed legend.
inline constexpr std::array<canvas::Rgb, draw::kFormulaCount> kShapeColors{
    {canvas::MakeRgb(0, 0, 128), canvas::MakeRgb(0, 128, 0), canvas::MakeRgb(128, 0, 0)}};

// The entries of the mode list Combo1, in the order of draw::CombineMode; the
// window opens with draw::kDontDrawSum selected.
inline constexpr int kModeCount = 5;
inline constexpr std::array<const char*, kModeCount> kModes{
    {"Draw sum", "Don't draw sum", "Draw sum only", "Draw mult", "Draw mult only"}};
inline constexpr int kStartMode = draw::kDontDrawSum;

// Both scroll bars as designed (see view/scroll.h for their units).
struct ScrollDesign {
    int value = 0;
    int min = view::kScrollMin;
    int max = view::kScrollMax;
    int smallChange = view::kScrollSmallChange;
    int largeChange = view::kScrollLargeChange;
};
inline constexpr ScrollDesign kScrollDesign{};

}  // namespace ondrix::window
