#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ondrix::canvas {

// A 24-bit colour as 0xRRGGBB.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
    return (static_cast<Rgb>(red & 0xFF) << 16) | (static_cast<Rgb>(green & 0xFF) << 8) |
           static_cast<Rgb>(blue & 0xFF);
}

// The drawing operations the plot is made of. Coordinates are user
// coordinates (see the scale setters) and cross this interface in double
// precision, so a deep zoom keeps every pixel apart. The real canvas
// rasterises them; tests use a recorder.
class Surface {
  public:
    virtual ~Surface() = default;

    // Erases the whole area to the background colour.
    virtual void Cls() = 0;

    // The user coordinate system: top-left corner and extent of the area.
    virtual void SetScaleLeft(double left) = 0;
    virtual void SetScaleTop(double top) = 0;
    virtual void SetScaleWidth(double width) = 0;
    virtual void SetScaleHeight(double height) = 0;

    // A straight segment; the current point moves to its end.
    virtual void Line(double x1, double y1, double x2, double y2, Rgb color) = 0;
    // One point in the given colour, or in the foreground colour; the
    // current point moves there.
    virtual void PSet(double x, double y, Rgb color) = 0;
    virtual void PSet(double x, double y) = 0;
    // Text with its top-left corner at the current point, in the foreground
    // colour on a transparent background.
    virtual void Print(std::string_view text) = 0;

    // The extent of a text as Print would draw it, in user units.
    virtual double TextWidth(std::string_view text) const = 0;
    virtual double TextHeight(std::string_view text) const = 0;

    // Outer size of the area in pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Prints between these calls may share one text renderer (a grid's
    // labels); what they draw is the same.
    virtual void BeginPrints() {}
    virtual void EndPrints() {}

    // A picture drawn whole from a description (the grid from its view) can
    // be marked with it. Recall(key) answers whether the picture is now
    // exactly what drawing that description again would give: still
    // untouched, or brought back to it by undoing what was drawn since (a
    // surface may keep what it needs for that). The mark is lost when the
    // scale, the size, the colours or the whole picture change otherwise.
    // Surfaces that keep no picture keep no mark.
    using PictureKey = std::array<double, 6>;
    virtual bool Recall(const PictureKey&) { return false; }
    virtual void Mark(const PictureKey&) {}
};

}  // namespace ondrix::canvas
