#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

#include "plotter/canvas/pixel_canvas.h"
#include "plotter/canvas/text_painter.h"

namespace ondrix::qt {

// The canvas's text drawn by Qt: measured with the font's metrics and
// rendered with QPainter straight into the canvas's pixels, at their device
// pixel ratio, the baseline on a whole device pixel.
class QtTextPainter : public canvas::TextPainter {
  public:
    QtTextPainter();
    ~QtTextPainter() override;
    void SetFont(const QFont& font);

    canvas::TextExtent Measure(std::string_view text) const override;
    void Draw(const canvas::PixelBuffer& picture, double left, double top, std::string_view text,
              canvas::Rgb color) const override;
    // One QPainter on the picture for every Draw until End.
    void Begin(const canvas::PixelBuffer& picture) const override;
    void End() const override;

  private:
    QFont font_;
    QFontMetrics metrics_;
    // The text measured last and its extent: a label is measured where it
    // is printed and again for the room it takes.
    mutable std::string measured_;
    mutable canvas::TextExtent extent_;
    // Between Begin and End: the picture and the painter on it.
    mutable QImage image_;
    mutable std::unique_ptr<QPainter> painter_;
};

// A picture as a QImage over the same pixels (no copy), carrying its device
// pixel ratio. It is valid until the canvas is resized.
QImage PictureImage(const canvas::PixelBuffer& picture);
QImage PictureImage(const canvas::PixelCanvas& canvas);

}  // namespace ondrix::qt
