#pragma once

#include <QColor>
#include <QFont>
#include <QImage>

#include "plotter/canvas/scale_map.h"
#include "plotter/canvas/surface.h"

namespace ondrix::canvas {

// A surface that keeps its picture in an image. Everything drawn stays until
// the next Cls; a resize keeps the picture's top-left part. Segments are
// clipped in double precision before they are rasterised, so any coordinate
// is safe: a non-finite one draws nothing.
class ImageCanvas : public Surface {
  public:
    ImageCanvas(int width = 0, int height = 0);

    void Resize(int width, int height);
    const QImage& Image() const { return image_; }
    const ScaleMap& Scale() const { return scale_; }

    QColor BackColor() const { return back_; }
    QColor ForeColor() const { return fore_; }
    void SetBackColor(const QColor& color) { back_ = color; }
    void SetForeColor(const QColor& color) { fore_ = color; }
    void SetFont(const QFont& font) { font_ = font; }
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }

    void Cls() override;
    void SetScaleLeft(double left) override { scale_.SetLeft(left); }
    void SetScaleTop(double top) override { scale_.SetTop(top); }
    void SetScaleWidth(double width) override { scale_.SetWidth(width); }
    void SetScaleHeight(double height) override { scale_.SetHeight(height); }
    void Line(double x1, double y1, double x2, double y2, Rgb color) override;
    void PSet(double x, double y, Rgb color) override;
    void PSet(double x, double y) override;
    void Print(std::string_view text) override;
    int Width() const override { return image_.width(); }

  private:
    void SetPoint(double x, double y, QRgb color);
    void RasterLine(PixelPoint a, PixelPoint b, QRgb color);
    void MoveTo(double x, double y);

    QImage image_;
    ScaleMap scale_;
    QColor back_{Qt::white};
    QColor fore_{Qt::black};
    QFont font_;
    double currentX_ = 0;
    double currentY_ = 0;
};

}  // namespace ondrix::canvas
