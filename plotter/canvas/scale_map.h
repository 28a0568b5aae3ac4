#pragma once

#include <optional>

namespace ondrix::canvas {

// A point in pixel space, before rounding to a pixel.
struct PixelPoint {
    double x = 0;
    double y = 0;
};

// The one mapping between user coordinates and pixels. A user coordinate u
// lies at pixel (u - left) * pixels / extent; pixel i covers [i - 0.5, i + 0.5).
// Non-finite inputs and an unusable scale (zero, negative or non-finite
// extent, or an empty pixel area) give no point rather than garbage.
class ScaleMap {
  public:
    void SetLeft(double left) { left_ = left; }
    void SetTop(double top) { top_ = top; }
    void SetWidth(double width) { width_ = width; }
    void SetHeight(double height) { height_ = height; }
    void SetPixelSize(int width, int height);

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    int PixelWidth() const { return pixelWidth_; }
    int PixelHeight() const { return pixelHeight_; }

    // True when user coordinates can be mapped at all.
    bool Usable() const;

    // User point to pixel space, in double precision; empty when either
    // coordinate is not finite. A position beyond the double range is held
    // far outside the area on its side.
    std::optional<PixelPoint> ToPixel(double x, double y) const;
    // Pixel position (e.g. the mouse) to user coordinates.
    std::optional<PixelPoint> ToUser(double px, double py) const;

  private:
    // The design-time scale of the canvas: left -10, top -10, 20 x 20 units.
    double left_ = -10;
    double top_ = -10;
    double width_ = 20;
    double height_ = 20;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
};

// Clips the segment a-b to the rectangle [xMin, xMax] x [yMin, yMax] in
// double precision. Returns false when nothing of it is inside
// or an end is not finite; otherwise a and b become the visible part.
bool ClipSegment(PixelPoint& a, PixelPoint& b, double xMin, double yMin, double xMax, double yMax);

}  // namespace ondrix::canvas
