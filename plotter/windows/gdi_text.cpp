#include "gdi_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "dpi.h"
#include "wide_text.h"

namespace ondrix::win32 {

namespace {

// The canvas keeps its pixels opaque; GDI clears the top byte of what it draws.
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
    // Grey smoothing, as the Linux build's labels have; coloured sub-pixel smoothing would
    // tint the canvas.
    font.lfQuality = ANTIALIASED_QUALITY;
    HFONT next = CreateFontIndirectW(&font);
    if (!next) return;
    SelectObject(dc_, next);
    if (font_) DeleteObject(font_);
    font_ = next;
    ratio_ = DeviceRatio(dpi);
}

SIZE GdiText::DeviceExtent(const std::wstring& text) const {
    SIZE size{};
    if (!text.empty()) {
        GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
    }
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    size.cy = metrics.tmHeight;
    return size;
}

canvas::TextExtent GdiText::Measure(std::string_view text) const {
    const SIZE size = DeviceExtent(Wide(text));
    return {size.cx / ratio_, size.cy / ratio_};
}

void GdiText::Draw(const canvas::PixelBuffer& picture, double left, double top,
                   std::string_view text, canvas::Rgb color) const {
    const std::wstring wide = Wide(text);
    if (wide.empty() || !picture.bits) return;
    const SIZE size = DeviceExtent(wide);
    // The device pixels of the text's box inside the picture, compared in double first: a
    // far-away label must not overflow an int.
    if (left >= picture.width || top >= picture.height || left + size.cx <= 0 ||
        top + size.cy <= 0) {
        return;
    }
    const int x = static_cast<int>(std::floor(left));
    const int y = static_cast<int>(std::floor(top));
    const int x0 = std::max(0, x);
    const int y0 = std::max(0, y);
    const int x1 = std::min(picture.width, x + static_cast<int>(size.cx));
    const int y1 = std::min(picture.height, y + static_cast<int>(size.cy));
    if (x0 >= x1 || y0 >= y1) return;
    const int width = x1 - x0;
    const int height = y1 - y0;

    // GDI draws into a DIB section holding a copy of the pixels under the text, which then
    // goes back: the text lands on the picture as TextOut renders it.
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
    const auto row = [&](int r) {
        return picture.bits + static_cast<std::size_t>(y0 + r) * picture.stride + x0;
    };
    for (int r = 0; r < height; ++r) {
        std::copy_n(row(r), width, pixels + static_cast<std::size_t>(r) * width);
    }
    HGDIOBJ old = SelectObject(dc_, dib);
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SetTextColor(dc_, RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
    TextOutW(dc_, x - x0, y - y0, wide.data(), static_cast<int>(wide.size()));
    GdiFlush();
    for (int r = 0; r < height; ++r) {
        const std::uint32_t* from = pixels + static_cast<std::size_t>(r) * width;
        std::uint32_t* to = row(r);
        for (int c = 0; c < width; ++c) to[c] = from[c] | kOpaque;
    }
    SelectObject(dc_, old);
    DeleteObject(dib);
}

}  // namespace ondrix::win32
