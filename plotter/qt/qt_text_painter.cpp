#include "plotter/qt/qt_text_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace ondrix::qt {

namespace {

QString LabelString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

canvas::TextExtent QtTextPainter::Measure(std::string_view text) const {
    const QFontMetrics metrics(font_);
    return {static_cast<double>(metrics.horizontalAdvance(LabelString(text))),
            static_cast<double>(metrics.height())};
}

void QtTextPainter::Draw(const canvas::PixelBuffer& picture, double left, double top,
                         std::string_view text, canvas::Rgb color) const {
    QImage image = PictureImage(picture);
    const QFontMetrics metrics(font_);
    const double ratio = picture.ratio;
    // The image carries its ratio, so the painter renders the font at device
    // resolution; the baseline stays on a whole device pixel.
    QPainter painter(&image);
    painter.setFont(font_);
    painter.setPen(QColor(QRgb(color)));
    const double baseline = top + std::round(metrics.ascent() * ratio);
    painter.drawText(QPointF(left / ratio, baseline / ratio), LabelString(text));
}

QImage PictureImage(const canvas::PixelBuffer& picture) {
    QImage image(reinterpret_cast<uchar*>(picture.bits), picture.width, picture.height,
                 static_cast<qsizetype>(picture.stride) * 4, QImage::Format_RGB32);
    image.setDevicePixelRatio(picture.ratio);
    return image;
}

QImage PictureImage(const canvas::PixelCanvas& canvas) {
    QImage image(reinterpret_cast<const uchar*>(canvas.Bits()), canvas.DeviceWidth(),
                 canvas.DeviceHeight(), static_cast<qsizetype>(canvas.DeviceWidth()) * 4,
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(canvas.Scale().Ratio());
    return image;
}

}  // namespace ondrix::qt
