#pragma once

#include <windows.h>

namespace ondrix::win32 {

// The window procedure of a window that belongs to an object of T: CreateWindowEx passes the
// object as its creation parameter. The object's window_ holds the window from its first
// message on, and T::Handle gets every message; a window whose object has let go of it
// (its user data cleared) gets the default handling.
template <typename T>
LRESULT CALLBACK RoutedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* owner = static_cast<T*>(create->lpCreateParams);
        owner->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

}  // namespace ondrix::win32
