#include "plotter/canvas/image_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ondrix::canvas {

namespace {

QRgb ToQRgb(Rgb color) {
    return 0xFF000000u | color;
}

// The pixel whose cell holds this pixel-space coordinate.
int PixelIndex(double p, int size) {
    const double index = std::floor(p + 0.5);
    return static_cast<int>(std::clamp(index, 0.0, static_cast<double>(size - 1)));
}

}  // namespace

ImageCanvas::ImageCanvas(int width, int height) {
    Resize(width, height);
}

void ImageCanvas::Resize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == image_.width() && height == image_.height() && !image_.isNull()) return;
    QImage next(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    if (next.isNull()) {
        // Qt could not allocate an image this large: keep a blank 1 x 1 image
        // and map nothing, so drawing does nothing instead of writing through
        // a null image.
        next = QImage(1, 1, QImage::Format_RGB32);
        width = 0;
        height = 0;
    }
    next.fill(back_);
    if (!image_.isNull()) {
        QPainter painter(&next);
        painter.drawImage(0, 0, image_);
    }
    // A zero-sized area keeps a 1 x 1 image so that painting stays valid,
    // but maps no user coordinates.
    image_ = width > 0 && height > 0 ? next : next.copy(0, 0, 1, 1);
    scale_.SetPixelSize(width, height);
}

void ImageCanvas::Cls() {
    image_.fill(back_);
    currentX_ = 0;
    currentY_ = 0;
}

void ImageCanvas::MoveTo(double x, double y) {
    currentX_ = x;
    currentY_ = y;
}

void ImageCanvas::Line(double x1, double y1, double x2, double y2, Rgb color) {
    MoveTo(x2, y2);
    const auto a = scale_.ToPixel(x1, y1);
    const auto b = scale_.ToPixel(x2, y2);
    if (!a || !b) return;
    RasterLine(*a, *b, ToQRgb(color));
}

void ImageCanvas::PSet(double x, double y, Rgb color) {
    MoveTo(x, y);
    SetPoint(x, y, ToQRgb(color));
}

void ImageCanvas::PSet(double x, double y) {
    MoveTo(x, y);
    SetPoint(x, y, fore_.rgb());
}

void ImageCanvas::SetPoint(double x, double y, QRgb color) {
    const auto p = scale_.ToPixel(x, y);
    if (!p) return;
    const double px = std::floor(p->x + 0.5);
    const double py = std::floor(p->y + 0.5);
    if (px < 0 || py < 0 || px >= scale_.PixelWidth() || py >= scale_.PixelHeight()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(static_cast<int>(py)))[static_cast<int>(px)] = color;
}

void ImageCanvas::RasterLine(PixelPoint a, PixelPoint b, QRgb color) {
    const int w = scale_.PixelWidth();
    const int h = scale_.PixelHeight();
    // Keep only what rounds into the image; after this every value is small.
    if (!ClipSegment(a, b, -0.5, -0.5, w - 0.5, h - 0.5)) return;
    int x0 = PixelIndex(a.x, w);
    int y0 = PixelIndex(a.y, h);
    const int x1 = PixelIndex(b.x, w);
    const int y1 = PixelIndex(b.y, h);
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    const qsizetype stride = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    QRgb* bits = reinterpret_cast<QRgb*>(image_.bits());
    int err = dx + dy;
    for (;;) {
        bits[y0 * stride + x0] = color;
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void ImageCanvas::Print(std::string_view text) {
    const auto p = scale_.ToPixel(currentX_, currentY_);
    const QFontMetrics metrics(font_);
    if (p) {
        const QString label = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        const double px = std::floor(p->x + 0.5);
        const double py = std::floor(p->y + 0.5);
        // Text wholly outside the image is not handed to the painter.
        const bool visible = px < scale_.PixelWidth() && py < scale_.PixelHeight() &&
                             px + metrics.horizontalAdvance(label) >= 0 &&
                             py + metrics.height() >= 0;
        if (visible) {
            QPainter painter(&image_);
            painter.setFont(font_);
            painter.setPen(fore_);
            painter.drawText(QPointF(px, py + metrics.ascent()), label);
        }
    }
    // Like a print statement, the next text would start on the next line at
    // the left edge.
    if (scale_.Usable()) {
        MoveTo(scale_.Left(),
               currentY_ + metrics.height() * scale_.Height() / scale_.PixelHeight());
    }
}

}  // namespace ondrix::canvas
