#include "menu_bar.h"

#include <string>
#include <string_view>
#include <vector>

#include "plotter/form/menu.h"
#include "wide_text.h"

namespace ondrix::win32 {

namespace {

// The text a menu shows for a shortcut: "Ctrl+N", "F5", "Ctrl+F11".
std::wstring ShortcutText(const window::Shortcut& shortcut) {
    if (shortcut.key == window::Key::None) return {};
    std::wstring text;
    if (shortcut.modifiers & window::kCtrl) text += L"Ctrl+";
    if (shortcut.modifiers & window::kShift) text += L"Shift+";
    if (shortcut.modifiers & window::kAlt) text += L"Alt+";
    const int key = static_cast<int>(shortcut.key);
    if (key >= VK_F1 && key <= VK_F24) {
        text += L"F" + std::to_wstring(key - VK_F1 + 1);
    } else {
        text += static_cast<wchar_t>(key);
    }
    return text;
}

// The accelerator of a shortcut: the portable key codes are Windows' virtual-key codes.
ACCEL Accelerator(const window::Shortcut& shortcut, int id) {
    ACCEL accel{};
    accel.fVirt = FVIRTKEY;
    if (shortcut.modifiers & window::kCtrl) accel.fVirt |= FCONTROL;
    if (shortcut.modifiers & window::kShift) accel.fVirt |= FSHIFT;
    if (shortcut.modifiers & window::kAlt) accel.fVirt |= FALT;
    accel.key = static_cast<WORD>(shortcut.key);
    accel.cmd = static_cast<WORD>(id);
    return accel;
}

}  // namespace

MenuBar BuildMenuBar(int firstId) {
    MenuBar bar;
    bar.menu = CreateMenu();
    HMENU menu = nullptr;
    const char* current = nullptr;
    std::vector<ACCEL> accelerators;
    for (int row = 0; row < window::kMenuRows; ++row) {
        const window::MenuRow& item = window::kMenu[row];
        if (!current || std::string_view(current) != item.menu) {
            current = item.menu;
            menu = CreatePopupMenu();
            AppendMenuW(bar.menu, MF_POPUP, reinterpret_cast<UINT_PTR>(menu),
                        Wide(current).c_str());
        }
        if (!item.caption) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring caption = Wide(item.caption);
        const std::wstring shortcut = ShortcutText(item.shortcut);
        if (!shortcut.empty()) caption += L"\t" + shortcut;
        AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(firstId + row), caption.c_str());
        if (item.shortcut.key != window::Key::None) {
            accelerators.push_back(Accelerator(item.shortcut, firstId + row));
        }
    }
    bar.accelerators =
        CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
    return bar;
}

}  // namespace ondrix::win32
