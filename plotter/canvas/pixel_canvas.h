#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "plotter/canvas/dirty_tiles.h"
#include "plotter/canvas/scale_map.h"
#include "plotter/canvas/surface.h"
#include "plotter/canvas/text_painter.h"

namespace ondrix::canvas {

// A surface that keeps its picture in a buffer of 32-bit pixels. Everything
// drawn stays until the next Cls; a resize keeps the picture's top-left part.
// Segments are clipped in double precision before they are rasterised, so any
// coordinate is safe: a non-finite one draws nothing. Text goes through a
// TextPainter; without one, Print draws nothing and text takes no room.
//
// The area is measured in logical pixels; the picture holds `ratio` device
// pixels to each of them (see ScaleMap). Lines and points are one logical
// pixel wide but rasterised at device resolution, and text is rendered there.
class PixelCanvas : public Surface {
  public:
    PixelCanvas(int width = 0, int height = 0, double ratio = 1);

    // A new size in logical pixels, at the current ratio or a new one. The
    // picture's top-left part stays; at a new ratio it is scaled to it.
    void Resize(int width, int height);
    void Resize(int width, int height, double ratio);
    const ScaleMap& Scale() const { return scale_; }

    // The picture at device resolution, at least 1 x 1 pixel, rows
    // DeviceWidth() pixels apart, to write into. Its pixels stay where they
    // are until the next Resize. To read them, Bits() is enough.
    PixelBuffer Pixels();
    const std::uint32_t* Bits() const { return pixels_.data(); }
    int DeviceWidth() const { return deviceWidth_; }
    int DeviceHeight() const { return deviceHeight_; }
    // The pixel at device position (x, y), 0xFFRRGGBB.
    std::uint32_t Pixel(int x, int y) const { return pixels_[y * deviceWidth_ + x]; }

    Rgb BackColor() const { return back_; }
    Rgb ForeColor() const { return fore_; }
    void SetBackColor(Rgb color);
    void SetForeColor(Rgb color);
    // The painter must outlive the canvas or be replaced first.
    void SetTextPainter(const TextPainter* text);
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }

    void Cls() override;
    void SetScaleLeft(double left) override;
    void SetScaleTop(double top) override;
    void SetScaleWidth(double width) override;
    void SetScaleHeight(double height) override;
    void Line(double x1, double y1, double x2, double y2, Rgb color) override;
    void PSet(double x, double y, Rgb color) override;
    void PSet(double x, double y) override;
    void Print(std::string_view text) override;
    double TextWidth(std::string_view text) const override;
    double TextHeight(std::string_view text) const override;
    // The area in logical pixels.
    int Width() const override { return scale_.PixelWidth(); }
    int Height() const override { return scale_.PixelHeight(); }
    void BeginPrints() override;
    void EndPrints() override;
    bool Recall(const PictureKey& key) override;
    void Mark(const PictureKey& key) override;

  private:
    // A change that Touch does not follow (a scale, a colour, a size, the
    // whole picture): the marked picture cannot be brought back.
    void Changed() {
        mark_.reset();
        written_.DropCheckpoint();
    }
    // Every write of pixels is announced here first.
    void Touch(int left, int top, int right, int bottom) {
        written_.Touch(left, top, right, bottom, pixels_.data());
    }
    void SetPoint(double x, double y, std::uint32_t color);
    void RasterLine(PixelPoint a, PixelPoint b, std::uint32_t color);
    // Fills the device pixels [left, left + width) x [top, top + height) that
    // lie inside the picture.
    void FillPixels(double left, double top, int width, int height, std::uint32_t color);
    // Fills the device pixels [left, right) x [top, bottom), all inside the
    // picture, without touching their tiles.
    void FillRows(int left, int top, int right, int bottom, std::uint32_t color);
    void MoveTo(double x, double y);
    PixelBuffer Buffer() {
        return {pixels_.data(), deviceWidth_, deviceHeight_, deviceWidth_, scale_.Ratio()};
    }
    TextExtent Measure(std::string_view text) const;

    std::vector<std::uint32_t> pixels_;
    int deviceWidth_ = 0;
    int deviceHeight_ = 0;
    ScaleMap scale_;
    Rgb back_ = MakeRgb(255, 255, 255);
    Rgb fore_ = MakeRgb(0, 0, 0);
    const TextPainter* text_ = nullptr;
    double currentX_ = 0;
    double currentY_ = 0;
    std::optional<PictureKey> mark_;
    double markedX_ = 0;  // the current point when the mark was set
    double markedY_ = 0;
    DirtyTiles written_;         // what may differ from `cleared_` since the last Cls
    std::uint32_t cleared_ = 0;  // the colour the unwritten pixels hold
    bool printing_ = false;      // between BeginPrints and EndPrints
};

}  // namespace ondrix::canvas
