#pragma once

#include <optional>

namespace ondrix::canvas {

// A point in pixel space, before rounding to a pixel.
struct PixelPoint {
    double x = 0;
    double y = 0;
};

// The one mapping between user coordinates and pixels.
//
// Geometry is in logical pixels, the unit of the window's layout: the area is
// PixelWidth() x PixelHeight() of them, and a user coordinate u lies at
// logical pixel a = (u - left) * pixels / extent, where logical pixel i covers
// [i - 0.5, i + 0.5). The picture is kept at device resolution, Ratio() device
// pixels to a logical pixel, and ToPixel answers in device pixel space, where
// device pixel j covers [j - 0.5, j + 0.5): logical a lies at device
// a * ratio + (ratio - 1) / 2, so logical pixel i covers exactly the device
// pixels of its own area. At ratio 1 both spaces are the same.
//
// Non-finite inputs and an unusable scale (zero, negative or non-finite
// extent, or an empty pixel area) give no point rather than garbage.
class ScaleMap {
  public:
    void SetLeft(double left);
    void SetTop(double top);
    void SetWidth(double width);
    void SetHeight(double height);
    // The area in logical pixels, and device pixels per logical pixel (a
    // ratio that is not finite and above 0 counts as 1).
    void SetPixelSize(int width, int height, double ratio = 1);

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    int PixelWidth() const { return pixelWidth_; }
    int PixelHeight() const { return pixelHeight_; }
    double Ratio() const { return ratio_; }
    // The area in device pixels, a partly covered pixel counted whole.
    int DeviceWidth() const { return deviceWidth_; }
    int DeviceHeight() const { return deviceHeight_; }
    // The width in device pixels of a line one logical pixel wide: a whole
    // number, so every line of the picture is equally wide.
    int LineWidth() const { return lineWidth_; }
    // The first of `count` device pixels centred on device coordinate p (a
    // whole number, kept as a double so that any p is safe); one pixel is the
    // one whose area holds p.
    static double FirstPixel(double p, double count);

    // True when user coordinates can be mapped at all.
    bool Usable() const { return usable_; }

    // User point to device pixel space, in double precision; empty when
    // either coordinate is not finite. A position beyond the double range is
    // held far outside the area on its side.
    std::optional<PixelPoint> ToPixel(double x, double y) const;
    // Logical pixel position (e.g. the mouse) to user coordinates.
    std::optional<PixelPoint> ToUser(double px, double py) const;

  private:
    // The design-time scale of the canvas: left -10, top -10, 20 x 20 units.
    double left_ = -10;
    double top_ = -10;
    double width_ = 20;
    double height_ = 20;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
    double ratio_ = 1;

    // What follows from the above, worked out once per change rather than
    // for every point drawn.
    void Derive();
    bool usable_ = false;
    int deviceWidth_ = 0;
    int deviceHeight_ = 0;
    int lineWidth_ = 1;
    double shift_ = 0;  // logical pixel centre to device pixel centre
};

// Clips the segment a-b to the rectangle [xMin, xMax] x [yMin, yMax] in
// double precision. Returns false when nothing of it is inside
// or an end is not finite; otherwise a and b become the visible part.
bool ClipSegment(PixelPoint& a, PixelPoint& b, double xMin, double yMin, double xMax, double yMax);

}  // namespace ondrix::canvas
