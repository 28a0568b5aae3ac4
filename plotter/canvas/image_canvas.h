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
//
// The area is measured in logical pixels; the image holds `ratio` device
// pixels to each of them (see ScaleMap). Lines and points are one logical
// pixel wide but rasterised at device resolution, and text is rendered there.
class ImageCanvas : public Surface {
  public:
    ImageCanvas(int width = 0, int height = 0, double ratio = 1);

    // A new size in logical pixels, at the current ratio or a new one. The
    // picture's top-left part stays; at a new ratio it is scaled to it.
    void Resize(int width, int height);
    void Resize(int width, int height, double ratio);
    // The picture at device resolution; its devicePixelRatio is the ratio.
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
    double TextWidth(std::string_view text) const override;
    double TextHeight(std::string_view text) const override;
    // The area in logical pixels.
    int Width() const override { return scale_.PixelWidth(); }
    int Height() const override { return scale_.PixelHeight(); }

  private:
    void SetPoint(double x, double y, QRgb color);
    void RasterLine(PixelPoint a, PixelPoint b, QRgb color);
    void RasterWideLine(PixelPoint a, PixelPoint b, int width, QRgb color);
    // Fills the device pixels [left, left + width) x [top, top + height) that
    // lie inside the image.
    void FillPixels(double left, double top, int width, int height, QRgb color);
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
