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

// The pixel whose cell holds this pixel-space coordinate, kept within
// [low, high].
int PixelIndex(double p, int low, int high) {
    const double index = std::floor(p + 0.5);
    return static_cast<int>(std::clamp(index, static_cast<double>(low), static_cast<double>(high)));
}

// Bresenham's walk from (x0, y0) to (x1, y1), both ends included: calls
// plot(x, y) once for each pixel of the line, one step at a time.
template <typename Plot>
void WalkLine(int x0, int y0, int x1, int y1, Plot plot) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        plot(x0, y0);
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

}  // namespace

ImageCanvas::ImageCanvas(int width, int height, double ratio) {
    Resize(width, height, ratio);
}

void ImageCanvas::Resize(int width, int height) {
    Resize(width, height, scale_.Ratio());
}

void ImageCanvas::Resize(int width, int height, double ratio) {
    width = std::max(0, width);
    height = std::max(0, height);
    ScaleMap next = scale_;
    next.SetPixelSize(width, height, ratio);
    if (width == scale_.PixelWidth() && height == scale_.PixelHeight() &&
        next.Ratio() == scale_.Ratio() && !image_.isNull())
        return;
    QImage picture(std::max(1, next.DeviceWidth()), std::max(1, next.DeviceHeight()),
                   QImage::Format_RGB32);
    if (picture.isNull()) {
        // Qt could not allocate an image this large: keep a blank 1 x 1 image
        // and map nothing, so drawing does nothing instead of writing through
        // a null image.
        picture = QImage(1, 1, QImage::Format_RGB32);
        next.SetPixelSize(0, 0, next.Ratio());
    }
    picture.setDevicePixelRatio(next.Ratio());
    picture.fill(back_);
    if (!image_.isNull()) {
        // Both images carry their ratio, so the old picture lands at the same
        // logical place, scaled when the ratio changed.
        QPainter painter(&picture);
        painter.drawImage(QPointF(0, 0), image_);
    }
    // A zero-sized area keeps a 1 x 1 image so that painting stays valid,
    // but maps no user coordinates.
    image_ = next.PixelWidth() > 0 && next.PixelHeight() > 0 ? picture : picture.copy(0, 0, 1, 1);
    scale_ = next;
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
    const int width = scale_.LineWidth();
    FillPixels(ScaleMap::FirstPixel(p->x, width), ScaleMap::FirstPixel(p->y, width), width, width,
               color);
}

void ImageCanvas::FillPixels(double left, double top, int width, int height, QRgb color) {
    // Compared as doubles first: a far-away point must not overflow an int.
    if (left + width <= 0 || top + height <= 0 || left >= image_.width() ||
        top >= image_.height() || scale_.PixelWidth() == 0 || scale_.PixelHeight() == 0)
        return;
    const int x0 = std::max(0, static_cast<int>(left));
    const int y0 = std::max(0, static_cast<int>(top));
    const int x1 = std::min(image_.width(), static_cast<int>(left) + width);
    const int y1 = std::min(image_.height(), static_cast<int>(top) + height);
    const qsizetype stride = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    QRgb* bits = reinterpret_cast<QRgb*>(image_.bits());
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) bits[y * stride + x] = color;
}

void ImageCanvas::RasterLine(PixelPoint a, PixelPoint b, QRgb color) {
    const int width = scale_.LineWidth();
    if (width > 1) {
        RasterWideLine(a, b, width, color);
        return;
    }
    const int w = scale_.DeviceWidth();
    const int h = scale_.DeviceHeight();
    // Keep only what rounds into the image; after this every value is small.
    if (!ClipSegment(a, b, -0.5, -0.5, w - 0.5, h - 0.5)) return;
    const int x0 = PixelIndex(a.x, 0, w - 1);
    const int y0 = PixelIndex(a.y, 0, h - 1);
    const int x1 = PixelIndex(b.x, 0, w - 1);
    const int y1 = PixelIndex(b.y, 0, h - 1);
    const qsizetype stride = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    QRgb* bits = reinterpret_cast<QRgb*>(image_.bits());
    WalkLine(x0, y0, x1, y1, [&](int x, int y) { bits[y * stride + x] = color; });
}

void ImageCanvas::RasterWideLine(PixelPoint a, PixelPoint b, int width, QRgb color) {
    // The line is walked through the first of the `width` pixels across it,
    // one device pixel per step along its longer axis, and each step fills
    // `width` pixels across: a slope steps by single device pixels while the
    // line stays one logical pixel wide. Along its length a segment runs from
    // the first pixel of one end to the first of the other, so the segments
    // of a curve meet without overlapping.
    const double shift = (width - 1) / 2.0;
    a = {a.x - shift, a.y - shift};
    b = {b.x - shift, b.y - shift};
    const int w = scale_.DeviceWidth();
    const int h = scale_.DeviceHeight();
    const double reach = width - 1;
    if (!ClipSegment(a, b, -0.5 - reach, -0.5 - reach, w - 0.5, h - 0.5)) return;
    const int x0 = PixelIndex(a.x, -(width - 1), w - 1);
    const int y0 = PixelIndex(a.y, -(width - 1), h - 1);
    const int x1 = PixelIndex(b.x, -(width - 1), w - 1);
    const int y1 = PixelIndex(b.y, -(width - 1), h - 1);
    const bool shallow = std::abs(x1 - x0) >= std::abs(y1 - y0);
    if (x0 == x1 && y0 == y1) {
        FillPixels(x0, y0, width, width, color);
        return;
    }
    // Level and upright lines (the grid and the axes) cover a rectangle: the
    // same pixels as the walk below, filled at once.
    if (y0 == y1) {
        FillPixels(std::min(x0, x1), y0, std::abs(x1 - x0) + 1, width, color);
        return;
    }
    if (x0 == x1) {
        FillPixels(x0, std::min(y0, y1), width, std::abs(y1 - y0) + 1, color);
        return;
    }
    const qsizetype stride = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    QRgb* bits = reinterpret_cast<QRgb*>(image_.bits());
    WalkLine(x0, y0, x1, y1, [&](int px, int py) {
        // The step's pixels across the line, cut to the image: the walk
        // itself may run up to width - 1 pixels before its top or left edge.
        if (shallow) {
            if (px >= 0) {
                const int last = std::min(h - 1, py + width - 1);
                for (int y = std::max(0, py); y <= last; ++y) bits[y * stride + px] = color;
            }
        } else if (py >= 0) {
            QRgb* line = bits + py * stride;
            const int last = std::min(w - 1, px + width - 1);
            for (int x = std::max(0, px); x <= last; ++x) line[x] = color;
        }
    });
}

namespace {

QString LabelString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

double ImageCanvas::TextWidth(std::string_view text) const {
    if (!scale_.Usable()) return 0;
    const QFontMetrics metrics(font_);
    return metrics.horizontalAdvance(LabelString(text)) * scale_.Width() / scale_.PixelWidth();
}

double ImageCanvas::TextHeight(std::string_view) const {
    if (!scale_.Usable()) return 0;
    const QFontMetrics metrics(font_);
    return metrics.height() * scale_.Height() / scale_.PixelHeight();
}

void ImageCanvas::Print(std::string_view text) {
    const auto p = scale_.ToPixel(currentX_, currentY_);
    const QFontMetrics metrics(font_);
    if (p) {
        const QString label = LabelString(text);
        // The device pixel where the logical pixel of the current point
        // begins: the text's top-left corner.
        const double ratio = scale_.Ratio();
        const double left = ScaleMap::FirstPixel(p->x, ratio);
        const double top = ScaleMap::FirstPixel(p->y, ratio);
        // Text wholly outside the image is not handed to the painter.
        const bool visible = left < scale_.DeviceWidth() && top < scale_.DeviceHeight() &&
                             left + metrics.horizontalAdvance(label) * ratio >= 0 &&
                             top + metrics.height() * ratio >= 0;
        if (visible) {
            // The image carries its ratio, so the painter renders the font at
            // device resolution; the baseline stays on a whole device pixel.
            QPainter painter(&image_);
            painter.setFont(font_);
            painter.setPen(fore_);
            const double baseline = top + std::round(metrics.ascent() * ratio);
            painter.drawText(QPointF(left / ratio, baseline / ratio), label);
        }
    }
}

}  // namespace ondrix::canvas
