#pragma once

#include <array>

#include "plotter/form/commands.h"

namespace ondrix::window {

// Keys the window's rules name, numbered as Windows numbers its virtual keys
// (letters by their capital, F1 = 0x70): one numbering for every front end.
enum class Key : int {
    None = 0,
    Enter = 0x0D,
    N = 'N',
    O = 'O',
    S = 'S',
    F5 = 0x74,
    F7 = 0x76,
    F8 = 0x77,
    F11 = 0x7A,
    F12 = 0x7B,
};

// Modifier keys held with a key, as bits.
enum Modifiers : unsigned {
    kNoModifier = 0,
    kCtrl = 1,
    kShift = 2,
    kAlt = 4,
};

struct Shortcut {
    Key key = Key::None;
    unsigned modifiers = kNoModifier;
};

// The character code of the Enter key in a formula box's key press.
inline constexpr int kEnterKeyCode = 13;

// One row of the menu bar: an item, or a separator (no caption), under the
// menu whose caption it names. Rows of one menu are neighbours.
struct MenuRow {
    const char* menu;     // caption of the menu it belongs to
    const char* name;     // the item's name
    const char* caption;  // nullptr for a separator
    Shortcut shortcut;
    Command command;
    bool enabled;
};

inline constexpr int kMenuRows = 15;

inline constexpr std::array<MenuRow, kMenuRows> kMenu{{
    {"File", "mniNew", "New", {Key::N, kCtrl}, Command::NewGraph, true},
    {"File", "mniOpen", "Open", {Key::O, kCtrl}, Command::None, false},
    {"File", "mniSave", "Save", {Key::S, kCtrl}, Command::None, false},
    {"File", "mniSaveAs", "Save As...", {}, Command::None, false},
    {"File", "n1", nullptr, {}, Command::None, true},
    {"File", "mniExit", "Exit", {}, Command::Exit, true},
    {"Edit", "mniDraw", "Draw", {Key::F5}, Command::Draw, true},
    {"Edit", "mniCls", "Clear Screen", {Key::F7}, Command::ClearScreen, true},
    {"Edit", "mniReset", "Reset Scale", {Key::F8}, Command::ResetScale, true},
    {"View", "mniZoomInX", "Zoom In X", {Key::F11}, Command::ZoomInX, true},
    {"View", "mniZoomOutX", "Zoom Out X", {Key::F12}, Command::ZoomOutX, true},
    {"View", "n3", nullptr, {}, Command::None, true},
    {"View", "mniZoomInY", "Zoom In Y", {Key::F11, kCtrl}, Command::ZoomInY, true},
    {"View", "mniZoomOutY", "Zoom Out Y", {Key::F12, kCtrl}, Command::ZoomOutY, true},
    {"Help", "mniAbout", "About", {}, Command::About, true},
}};

// The command that a shortcut runs: the command of the enabled menu item that
// carries it, None when no enabled item does (a disabled item's shortcut does
// nothing).
constexpr Command ShortcutCommand(Key key, unsigned modifiers) {
    if (key == Key::None) return Command::None;
    for (const MenuRow& row : kMenu) {
        if (row.enabled && row.shortcut.key == key && row.shortcut.modifiers == modifiers)
            return row.command;
    }
    return Command::None;
}

}  // namespace ondrix::window
