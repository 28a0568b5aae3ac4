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
    const char* icon;     // resource path of its image
    Command command;
    bool enabled;
};

inline constexpr int kToolbarEntries = 13;

inline constexpr std::array<ToolbarEntry, kToolbarEntries> kToolbar{{
    {"New", ":/icons/new.svg", Command::NewGraph, true},
    {"Open", ":/icons/open.svg", Command::None, false},
    {"Save", ":/icons/save.svg", Command::None, false},
    {nullptr, nullptr, Command::None, true},
    {"Draw", ":/icons/draw.svg", Command::Draw, true},
    {"Cls", ":/icons/cls.svg", Command::ClearScreen, true},
    {"Reset", ":/icons/reset.svg", Command::ResetScale, true},
    {nullptr, nullptr, Command::None, true},
    {"ZoomInX", ":/icons/zoom_in.svg", Command::ZoomInX, true},
    {"ZoomOutX", ":/icons/zoom_out.svg", Command::ZoomOutX, true},
    {nullptr, nullptr, Command::None, true},
    {"ZoomInY", ":/icons/zoom_in.svg", Command::ZoomInY, true},
    {"ZoomOutY", ":/icons/zoom_out.svg", Command::ZoomOutY, true},
}};

// The command of toolbar button `index` (1-based); None for separators,
// disabled buttons and indexes off the bar.
constexpr Command ToolbarCommand(int index) {
    if (index < 1 || index > kToolbarEntries) return Command::None;
    return kToolbar[index - 1].command;
}

}  // namespace ondrix::window
