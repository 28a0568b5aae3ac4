#include "dpi.h"

namespace ondrix::win32 {

int ToDevice(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

int ToDesign(int devicePixels, UINT dpi) {
    return static_cast<int>(static_cast<long long>(devicePixels) * kDesignDpi / dpi);
}

double DeviceRatio(UINT dpi) {
    return static_cast<double>(dpi) / kDesignDpi;
}

UINT WindowDpi(HWND window) {
    const UINT dpi = window ? GetDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : kDesignDpi;
}

HFONT CreateMessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace ondrix::win32
