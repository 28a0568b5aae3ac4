// The test build's hooks of the main window (compiled only into Ondrix-test.exe): the tests
// of `make test-windows` press Ctrl+Shift+F9 for a state and canvas dump and Ctrl+Shift+F2 to
// give the client area a known size.

#include <cstdio>

#include "dpi.h"
#include "main_window.h"
#include "plotter/form/design.h"
#include "wide_text.h"

namespace ondrix::win32 {

// The test build sizes the window so that its client area is the size in design pixels that
// ondrix-resize.txt in the current folder gives ("width height"): the tests compare pictures
// of a known size.
void MainWindow::ResizeClientForTest() {
    int width = 0;
    int height = 0;
    FILE* in = std::fopen("ondrix-resize.txt", "rb");
    if (!in) return;
    const bool read = std::fscanf(in, "%d %d", &width, &height) == 2;
    std::fclose(in);
    if (!read) return;
    RECT outer{0, 0, ToDevice(width, dpi_), ToDevice(height, dpi_)};
    AdjustWindowRectExForDpi(&outer, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
                             TRUE, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)),
                             dpi_);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

// The test build writes what the tests check into the current folder: ondrix-state.txt (one
// "name value" line each) and ondrix-canvas.ppm (the canvas's pixels).
void MainWindow::DumpState() const {
    if (FILE* out = std::fopen("ondrix-state.txt", "wb")) {
        const view::View& v = form_->Plotter().View();
        const window::Size client = ClientSize();
        std::fprintf(out, "client %d %d\ndpi %u\n", client.width, client.height, dpi_);
        RECT outer{};
        GetWindowRect(window_, &outer);
        std::fprintf(out, "window %ld %ld %ld %ld\n", outer.left, outer.top,
                     outer.right - outer.left, outer.bottom - outer.top);
        std::fprintf(out, "view %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n", v.XMin, v.XMax,
                     v.YMin, v.YMax, v.XStep, v.YStep, v.XScale);
        for (HWND bar : {hscroll1_, vscroll1_}) {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_ALL;
            GetScrollInfo(bar, SB_CTL, &info);
            std::fprintf(out, "%s %d %d %d\n", bar == hscroll1_ ? "hscroll" : "vscroll", info.nPos,
                         info.nMin, info.nMax);
        }
        wchar_t status[256] = {};
        SendMessageW(statusBar_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(status));
        std::fprintf(out, "status %s\n", Narrow(status).c_str());
        std::fprintf(out, "mode %d\n", ListIndex());
        for (int k = 0; k < draw::kFormulaCount; ++k) {
            std::fprintf(out, "text%d %s\n", k, Text(k).c_str());
        }
        RECT picture{};
        GetWindowRect(picture1_->Handle(), &picture);
        std::fprintf(out, "picture %ld %ld %ld %ld\n", picture.left, picture.top,
                     picture.right - picture.left, picture.bottom - picture.top);
        const canvas::PixelCanvas& pixels = picture1_->Picture();
        std::fprintf(out, "canvas %d %d\n", pixels.DeviceWidth(), pixels.DeviceHeight());
        // The control with the focus, by its place in the form's control list.
        int focus = -1;
        for (const window::ControlDesign& design : window::kControls) {
            if (ControlHandle(design.control) == GetFocus())
                focus = static_cast<int>(design.control);
        }
        std::fprintf(out, "focus %d\n", focus);
        std::fprintf(out, "about %d\n", about_.Handle() != nullptr);
        std::fclose(out);
    }
    if (FILE* out = std::fopen("ondrix-canvas.ppm", "wb")) {
        const canvas::PixelCanvas& pixels = picture1_->Picture();
        std::fprintf(out, "P6\n%d %d\n255\n", pixels.DeviceWidth(), pixels.DeviceHeight());
        for (int y = 0; y < pixels.DeviceHeight(); ++y) {
            for (int x = 0; x < pixels.DeviceWidth(); ++x) {
                const std::uint32_t p = pixels.Pixel(x, y);
                const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16),
                                              static_cast<unsigned char>(p >> 8),
                                              static_cast<unsigned char>(p)};
                std::fwrite(rgb, 1, 3, out);
            }
        }
        std::fclose(out);
    }
}

}  // namespace ondrix::win32
