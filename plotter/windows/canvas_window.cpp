#include "canvas_window.h"

#include <windowsx.h>

#include "routed_proc.h"

namespace ondrix::win32 {

namespace {

constexpr const wchar_t* kClassName = L"OndrixPicture";
// Posted to itself: the drawing of one command has ended, show it.
constexpr UINT kRepaintMessage = WM_APP + 1;

canvas::Rgb SystemColor(int index) {
    const COLORREF color = GetSysColor(index);
    return canvas::MakeRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

}  // namespace

CanvasWindow::CanvasWindow(HINSTANCE instance, HWND parent, int id) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = RoutedProc<CanvasWindow>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly when the class exists
    // The canvas's colours are the system's window background and window text colours.
    canvas_.SetBackColor(SystemColor(COLOR_WINDOW));
    canvas_.SetForeColor(SystemColor(COLOR_WINDOWTEXT));
    canvas_.SetTextPainter(&text_);
    window_ = CreateWindowExW(
        0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
}

CanvasWindow::~CanvasWindow() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void CanvasWindow::Place(const RECT& device, int width, int height, double ratio) {
    MoveWindow(window_, device.left, device.top, device.right - device.left,
               device.bottom - device.top, TRUE);
    canvas_.Resize(width, height, ratio);
    ScheduleRepaint();
}

void CanvasWindow::SetDpi(UINT dpi) {
    text_.SetDpi(dpi);
    canvas_.SetTextPainter(&text_);  // the labels' font changed: a kept grid is out of date
}

bool CanvasWindow::Recall(const PictureKey& key) {
    // Bringing the picture back changes pixels.
    const bool recalled = canvas_.Recall(key);
    if (recalled) ScheduleRepaint();
    return recalled;
}

void CanvasWindow::Cls() {
    canvas_.Cls();
    ScheduleRepaint();
}

void CanvasWindow::Line(double x1, double y1, double x2, double y2, canvas::Rgb color) {
    canvas_.Line(x1, y1, x2, y2, color);
    ScheduleRepaint();
}

void CanvasWindow::PSet(double x, double y, canvas::Rgb color) {
    canvas_.PSet(x, y, color);
    ScheduleRepaint();
}

void CanvasWindow::PSet(double x, double y) {
    canvas_.PSet(x, y);
    ScheduleRepaint();
}

void CanvasWindow::Print(std::string_view text) {
    canvas_.Print(text);
    ScheduleRepaint();
}

void CanvasWindow::ScheduleRepaint() {
    if (repaintPending_ || !window_) return;
    repaintPending_ = PostMessageW(window_, kRepaintMessage, 0, 0) != FALSE;
    if (!repaintPending_) InvalidateRect(window_, nullptr, FALSE);
}

LRESULT CanvasWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kRepaintMessage:
            repaintPending_ = false;
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting covers every pixel
        case WM_PAINT:
            Paint();
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(window_);
            return 0;
        case WM_MOUSEMOVE: {
            // Device pixels to the logical pixels the scale maps.
            const double ratio = canvas_.Scale().Ratio();
            const auto user =
                canvas_.Scale().ToUser(GET_X_LPARAM(lParam) / ratio, GET_Y_LPARAM(lParam) / ratio);
            if (user && mouseMoved) mouseMoved(user->x, user->y);
            return 0;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void CanvasWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    const int width = canvas_.DeviceWidth();
    const int height = canvas_.DeviceHeight();
    RECT client;
    GetClientRect(window_, &client);
    // Where the picture does not reach (the window can be a device pixel larger), the
    // canvas's background shows.
    if (width < client.right || height < client.bottom) {
        const canvas::Rgb back = canvas_.BackColor();
        HBRUSH brush = CreateSolidBrush(RGB((back >> 16) & 0xFF, (back >> 8) & 0xFF, back & 0xFF));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }
    // The whole picture in one copy; its pixel format is that of a 32-bit top-down DIB.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), canvas_.Bits(), &info, DIB_RGB_COLORS);
    EndPaint(window_, &paint);
}

}  // namespace ondrix::win32
