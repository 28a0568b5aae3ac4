#include "canvas_window.h"

#include <windowsx.h>

#include <vector>

#include "plotter/canvas/scale_map.h"

namespace ondrix::win32 {

namespace {

constexpr const wchar_t* kClassName = L"OndrixPicture";

}  // namespace

// The picture the form logic draws on: its pixels at device resolution, and the labels
// through GDI.
class CanvasWindow::Picture : public canvas::Surface {
  public:
    explicit Picture(GdiText& text) : text_(text) {}

    void Resize(int width, int height, double ratio) {
        scale_.SetPixelSize(width, height, ratio);
        pixels_.assign(static_cast<std::size_t>(scale_.DeviceWidth()) * scale_.DeviceHeight(),
                       0xFFFFFFFFu);
    }
    const canvas::ScaleMap& Scale() const { return scale_; }
    PixelBuffer Buffer() const {
        return {const_cast<std::uint32_t*>(pixels_.data()), scale_.DeviceWidth(),
                scale_.DeviceHeight(), scale_.DeviceWidth()};
    }

    void Cls() override {}
    void SetScaleLeft(double left) override { scale_.SetLeft(left); }
    void SetScaleTop(double top) override { scale_.SetTop(top); }
    void SetScaleWidth(double width) override { scale_.SetWidth(width); }
    void SetScaleHeight(double height) override { scale_.SetHeight(height); }
    void Line(double, double, double, double, canvas::Rgb) override {}
    void PSet(double, double, canvas::Rgb) override {}
    void PSet(double, double) override {}
    void Print(std::string_view) override {}
    double TextWidth(std::string_view) const override { return 0; }
    double TextHeight(std::string_view) const override { return 0; }
    int Width() const override { return scale_.PixelWidth(); }
    int Height() const override { return scale_.PixelHeight(); }

  private:
    GdiText& text_;
    canvas::ScaleMap scale_;
    std::vector<std::uint32_t> pixels_;
};

CanvasWindow::CanvasWindow(HINSTANCE instance, HWND parent, int id) : picture_(new Picture(text_)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly when the class exists
    window_ = CreateWindowExW(
        0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
}

CanvasWindow::~CanvasWindow() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    delete picture_;
}

canvas::Surface& CanvasWindow::Surface() {
    return *picture_;
}

PixelBuffer CanvasWindow::Pixels() const {
    return picture_->Buffer();
}

void CanvasWindow::Place(const RECT& device, int width, int height, double ratio) {
    MoveWindow(window_, device.left, device.top, device.right - device.left,
               device.bottom - device.top, TRUE);
    picture_->Resize(width, height, ratio);
    InvalidateRect(window_, nullptr, FALSE);
}

void CanvasWindow::SetDpi(UINT dpi) {
    text_.SetDpi(dpi);
}

LRESULT CALLBACK CanvasWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CanvasWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT CanvasWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the picture covers every pixel it has
        case WM_PAINT:
            Paint();
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(window_);
            return 0;
        case WM_MOUSEMOVE: {
            // Device pixels to the logical pixels the scale maps.
            const double ratio = picture_->Scale().Ratio();
            const auto user = picture_->Scale().ToUser(GET_X_LPARAM(lParam) / ratio,
                                                       GET_Y_LPARAM(lParam) / ratio);
            if (user && mouseMoved) mouseMoved(user->x, user->y);
            return 0;
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void CanvasWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    const PixelBuffer pixels = picture_->Buffer();
    RECT client;
    GetClientRect(window_, &client);
    // Whatever the picture does not cover (it can be a pixel short of the window) shows the
    // window background.
    if (pixels.width < client.right || pixels.height < client.bottom) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    }
    if (pixels.width > 0 && pixels.height > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = pixels.stride;
        info.bmiHeader.biHeight = -pixels.height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(pixels.width),
                          static_cast<DWORD>(pixels.height), 0, 0, 0,
                          static_cast<UINT>(pixels.height), pixels.bits, &info, DIB_RGB_COLORS);
    }
    EndPaint(window_, &paint);
}

}  // namespace ondrix::win32
