// Ondrix on Windows: loads the main window and runs the message loop until the last window of
// the program has closed. It reads no command line and no settings.

// clang-format off
#include <windows.h>  // before commctrl.h, which needs its types
#include <commctrl.h>
// clang-format on

#include "main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    ondrix::win32::MainWindow window(instance);
    window.Show(showCommand);
    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (window.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got < 0 ? 1 : static_cast<int>(message.wParam);
}
