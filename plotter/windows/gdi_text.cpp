#include "gdi_text.h"

#include <algorithm>

#include "dpi.h"
#include "wide_text.h"

namespace ondrix::win32 {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

}  // namespace

GdiText::GdiText() : dc_(CreateCompatibleDC(nullptr)) {
    SetDpi(kDesignDpi);
}

GdiText::~GdiText() {
    if (font_) DeleteObject(font_);
    DeleteDC(dc_);
}

void GdiText::SetDpi(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW font{};
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        font = metrics.lfMessageFont;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    }
    // Grey smoothing, as the labels of the Linux build have; coloured sub-pixel smoothing
    // would tint the canvas.
    font.lfQuality = ANTIALIASED_QUALITY;
    HFONT next = CreateFontIndirectW(&font);
    if (!next) return;
    SelectObject(dc_, next);
    if (font_) DeleteObject(font_);
    font_ = next;
}

SIZE GdiText::Measure(std::string_view text) const {
    const std::wstring wide = Wide(text);
    SIZE size{};
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    if (!wide.empty())
        GetTextExtentPoint32W(dc_, wide.data(), static_cast<int>(wide.size()), &size);
    size.cy = metrics.tmHeight;
    return size;
}

void GdiText::Draw(std::string_view text, int left, int top, std::uint32_t rgb,
                   const PixelBuffer& target) const {
    const std::wstring wide = Wide(text);
    if (wide.empty() || !target.bits) return;
    const SIZE size = Measure(text);
    // The part of the text's box inside the buffer.
    const int x0 = std::max(0, left);
    const int y0 = std::max(0, top);
    const int x1 = std::min(target.width, left + static_cast<int>(size.cx));
    const int y1 = std::min(target.height, top + static_cast<int>(size.cy));
    if (x0 >= x1 || y0 >= y1) return;
    const int width = x1 - x0;
    const int height = y1 - y0;

    // GDI draws into a DIB section holding a copy of the pixels under the text, which then
    // goes back: the text lands on the picture exactly as TextOut renders it.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        std::copy_n(target.bits + static_cast<std::size_t>(y0 + y) * target.stride + x0, width,
                    pixels + static_cast<std::size_t>(y) * width);
    }
    HGDIOBJ old = SelectObject(dc_, dib);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    TextOutW(dc_, left - x0, top - y0, wide.data(), static_cast<int>(wide.size()));
    GdiFlush();
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = pixels + static_cast<std::size_t>(y) * width;
        std::uint32_t* to = target.bits + static_cast<std::size_t>(y0 + y) * target.stride + x0;
        // GDI clears the unused top byte of what it draws; the canvas keeps it opaque.
        for (int x = 0; x < width; ++x) to[x] = from[x] | kOpaque;
    }
    SelectObject(dc_, old);
    DeleteObject(dib);
}

}  // namespace ondrix::win32
