#pragma once

// The About box without a toolkit: its caption and texts, and the geometry of
// its controls in twips (1/1440 inch; 15 twips are one pixel at 96 dots per
// inch). Each front end lays its dialog out from these tables.

#include <array>
#include <string>

#include "plotter/canvas/surface.h"

namespace ondrix::about {

inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels at 96 dots per inch, as the dialog was designed.
constexpr int Pixels(int twips) {
    return twips / kTwipsPerPixel;
}

// A rectangle in twips from the client area's top-left corner.
struct TwipBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The client area; the frame is a fixed dialog frame.
inline constexpr int kClientWidth = 5730;
inline constexpr int kClientHeight = 3555;
// Where the design put the dialog on the screen.
inline constexpr int kDesignLeft = 2340;
inline constexpr int kDesignTop = 1935;

enum class Control : int {
    picIcon,
    lblTitle,
    Label1,
    lblVersion,
    lblDescription,
    lblDisclaimer,
    cmdOK,
    cmdSysInfo,
};
inline constexpr int kControlCount = 8;

struct ControlDesign {
    Control control;
    const char* name;
    TwipBox box;
    int tabIndex;
    bool blackText;    // black text rather than the system's text colour
    const char* text;  // fixed content; nullptr when set at load (title, version) or none
};

// The hint on formulas, the credit line and the disclaimer.
inline constexpr const char* kDescription =
    "use abs(x), sin(x), log(x), mod(x), fix(x), int(x), tan(x) functions, other examples: "
    "x^2, x/4, pi, 1/sin(x) e t.c.";
inline constexpr const char* kCredit = "By the Ondrix team";
inline constexpr const char* kDisclaimer = "Warning: use on own risk";
inline constexpr const char* kOkCaption = "OK";
inline constexpr const char* kSysInfoCaption = "&System Info...";  // S is the access key

inline constexpr std::array<ControlDesign, kControlCount> kControls{{
    {Control::picIcon, "picIcon", {240, 240, 270, 270}, 1, false, nullptr},
    {Control::lblTitle, "lblTitle", {1050, 240, 1725, 480}, 5, true, nullptr},
    {Control::Label1, "Label1", {1080, 600, 1935, 255}, 7, false, kCredit},
    {Control::lblVersion, "lblVersion", {1050, 960, 3885, 225}, 6, false, nullptr},
    {Control::lblDescription, "lblDescription", {1080, 1410, 3885, 885}, 3, true, kDescription},
    {Control::lblDisclaimer, "lblDisclaimer", {255, 2625, 3870, 825}, 4, true, kDisclaimer},
    {Control::cmdOK, "cmdOK", {4245, 2625, 1260, 345}, 0, false, kOkCaption},
    {Control::cmdSysInfo, "cmdSysInfo", {4260, 3075, 1245, 345}, 2, false, kSysInfoCaption},
}};

constexpr const ControlDesign& DesignOf(Control control) {
    return kControls[static_cast<int>(control)];
}

// The two halves of the etched separator, Line1(1) grey above Line1(0)
// white: from (x1, y) to (x2, y), `thickness` pixels thick.
struct LineDesign {
    const char* name;
    int x1, x2, y;
    int thickness;
    canvas::Rgb color;
};
inline constexpr std::array<LineDesign, 2> kSeparator{{
    {"Line1(1)", 90, 5654, 2445, 1, canvas::MakeRgb(128, 128, 128)},
    {"Line1(0)", 105, 5654, 2460, 2, canvas::MakeRgb(255, 255, 255)},
}};

// Texts set when the dialog loads: "About " and the title; "Version " and
// major.minor.revision in decimal without leading zeros; the title.
std::string Caption();
std::string VersionText();
std::string TitleText();

}  // namespace ondrix::about
