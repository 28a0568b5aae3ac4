#pragma once

#include <QFont>
#include <QImage>

#include "plotter/canvas/pixel_canvas.h"
#include "plotter/canvas/text_painter.h"

namespace ondrix::qt {

// The canvas's text drawn by Qt: measured with the font's metrics and
// rendered with QPainter straight into the canvas's pixels, at their device
// pixel ratio, the baseline on a whole device pixel.
class QtTextPainter : public canvas::TextPainter {
  public:
    void SetFont(const QFont& font) { font_ = font; }

    canvas::TextExtent Measure(std::string_view text) const override;
    void Draw(const canvas::PixelBuffer& picture, double left, double top, std::string_view text,
              canvas::Rgb color) const override;

  private:
    QFont font_;
};

// A picture as a QImage over the same pixels (no copy), carrying its device
// pixel ratio. It is valid until the canvas is resized.
QImage PictureImage(const canvas::PixelBuffer& picture);
QImage PictureImage(const canvas::PixelCanvas& canvas);

}  // namespace ondrix::qt
