#pragma once

// The main window's menu bar and its shortcut keys, built from the shared menu table.

#include <windows.h>

namespace ondrix::win32 {

struct MenuBar {
    HMENU menu = nullptr;
    // The shortcuts of the menu's items: each sends the command id of its item.
    HACCEL accelerators = nullptr;
};

// The menus of the menu table, in its order: row r of the table has the command id
// firstId + r, its caption followed by its shortcut's text ("Ctrl+N", "F5"), and is greyed
// when the table marks it disabled; separators for rows without a caption.
MenuBar BuildMenuBar(int firstId);

}  // namespace ondrix::win32
