#pragma once

#include <array>

namespace ondrix::window {

// Every command the main window offers from its menus and toolbar.
enum class Command {
    None,  // separators, and the file commands that have nothing to do
    NewGraph,
    Exit,
    Draw,
    ClearScreen,
    ResetScale,
    ZoomInX,
    ZoomOutX,
    ZoomInY,
    ZoomOutY,
    About,
};

// One entry of the toolbar, by its 1-based index.
struct ToolbarEntry {
    const char* caption;  // nullptr for a separator
    const char* icon;     // name of its image in plotter/icons, without ".svg"
    int image;            // its position in the image list (1-based), 0 for a separator
    Command command;
    bool enabled;
};

inline constexpr int kToolbarEntries = 13;
// Images in the toolbar's image list, 16 x 16 pixels each.
inline constexpr int kToolbarImages = 9;
inline constexpr int kToolIconSize = 16;

// Toolbar buttons show the caption under the image and are wide enough for an
// eight-letter caption under a 16-pixel image.
inline constexpr int kToolButtonWidth = 57;
inline constexpr int kToolButtonHeight = 36;
// Room kept on each side of a caption: the button's frame and a pixel of air,
// so the text is not cut at the frame.
inline constexpr int kToolCaptionPadding = 3;
// Between the toolbar's edge and its buttons: a button stays whole, frame
// included, inside a bar two pixels taller.
inline constexpr int kToolBarMargin = 1;

// The width of a button whose caption is `captionAdvance` pixels wide in the
// platform's font: a caption that needs more room widens its own button; no
// button is ever narrower than the design.
constexpr int ToolButtonWidth(int captionAdvance) {
    const int needed = captionAdvance + 2 * kToolCaptionPadding;
    return needed > kToolButtonWidth ? needed : kToolButtonWidth;
}

inline constexpr std::array<ToolbarEntry, kToolbarEntries> kToolbar{{
    {"New", "new", 1, Command::NewGraph, true},
    {"Open", "open", 2, Command::None, false},
    {"Save", "save", 9, Command::None, false},
    {nullptr, nullptr, 0, Command::None, true},
    {"Draw", "draw", 6, Command::Draw, true},
    {"Cls", "cls", 5, Command::ClearScreen, true},
    {"Reset", "reset", 7, Command::ResetScale, true},
    {nullptr, nullptr, 0, Command::None, true},
    {"ZoomInX", "zoom_in", 3, Command::ZoomInX, true},
    {"ZoomOutX", "zoom_out", 4, Command::ZoomOutX, true},
    {nullptr, nullptr, 0, Command::None, true},
    {"ZoomInY", "zoom_in", 3, Command::ZoomInY, true},
    {"ZoomOutY", "zoom_out", 4, Command::ZoomOutY, true},
}};

// The icon of each image-list position (1-based; image 8 is in the list but
// no button shows it).
inline constexpr std::array<const char*, kToolbarImages> kToolbarImageIcons{
    {"new", "open", "zoom_in", "zoom_out", "cls", "draw", "reset", "unused", "save"}};

// The command of toolbar button `index` (1-based); None for separators,
// disabled buttons and indexes off the bar.
constexpr Command ToolbarCommand(int index) {
    if (index < 1 || index > kToolbarEntries) return Command::None;
    return kToolbar[index - 1].command;
}

}  // namespace ondrix::window
