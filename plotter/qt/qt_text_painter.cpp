#include "plotter/qt/qt_text_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <optional>

namespace ondrix::qt {

namespace {

QString LabelString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtTextPainter::QtTextPainter() : metrics_(font_) {}

QtTextPainter::~QtTextPainter() {
    End();
}

void QtTextPainter::SetFont(const QFont& font) {
    End();
    font_ = font;
    metrics_ = QFontMetrics(font_);
    measured_.clear();
    extent_ = {};
}

canvas::TextExtent QtTextPainter::Measure(std::string_view text) const {
    if (text.empty() || text != measured_) {
        extent_ = {static_cast<double>(metrics_.horizontalAdvance(LabelString(text))),
                   static_cast<double>(metrics_.height())};
        measured_.assign(text);
    }
    return extent_;
}

void QtTextPainter::Begin(const canvas::PixelBuffer& picture) const {
    End();
    image_ = PictureImage(picture);
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setFont(font_);
}

void QtTextPainter::End() const {
    painter_.reset();
    image_ = QImage();
}

void QtTextPainter::Draw(const canvas::PixelBuffer& picture, double left, double top,
                         std::string_view text, canvas::Rgb color) const {
    // Between Begin and End the painter on this picture draws; otherwise one
    // is made for this text alone.
    QImage image;
    std::optional<QPainter> own;
    QPainter* painter = painter_.get();
    if (!painter || image_.constBits() != reinterpret_cast<const uchar*>(picture.bits)) {
        image = PictureImage(picture);
        painter = &own.emplace(&image);
        painter->setFont(font_);
    }
    const double ratio = picture.ratio;
    // The image carries its ratio, so the painter renders the font at device
    // resolution; the baseline stays on a whole device pixel.
    painter->setPen(QColor(QRgb(color)));
    // The canvas counts only the text's ink box as written.
    const canvas::DeviceRect ink = canvas::TextInk(left, top, Measure(text), ratio);
    painter->setClipRect(QRectF(ink.left / ratio, ink.top / ratio, (ink.right - ink.left) / ratio,
                                (ink.bottom - ink.top) / ratio));
    const double baseline = top + std::round(metrics_.ascent() * ratio);
    painter->drawText(QPointF(left / ratio, baseline / ratio), LabelString(text));
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
