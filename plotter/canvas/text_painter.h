#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

#include "plotter/canvas/surface.h"

namespace ondrix::canvas {

// A picture's pixels: 32 bits each, 0xFFRRGGBB as a 32-bit number (blue in
// the lowest byte), `stride` pixels from one row to the next, top row first.
// `ratio` device pixels make one logical pixel.
struct PixelBuffer {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    double ratio = 1;
};

// The extent of a line of text in logical pixels.
struct TextExtent {
    double width = 0;   // advance width
    double height = 0;  // line height
};

// A rectangle of device pixels [left, right) x [top, bottom), edges whole.
struct DeviceRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// The device pixels a text drawn with the top-left corner of its line at
// device pixel (left, top) may touch: its measured box at `ratio`, with a
// line height of room on every side for glyphs that reach past it. The
// canvas counts these pixels as written, and a painter draws nothing outside.
inline DeviceRect TextInk(double left, double top, TextExtent extent, double ratio) {
    const double room = extent.height * ratio;
    return {std::floor(left - room), std::floor(top - room),
            std::ceil(left + extent.width * ratio + room),
            std::ceil(top + extent.height * ratio + room)};
}

// Text on the canvas: the pixel canvas decides where a text goes and where the
// current point moves; each front end measures and renders it with its own
// fonts.
class TextPainter {
  public:
    virtual ~TextPainter() = default;
    virtual TextExtent Measure(std::string_view text) const = 0;
    // Draws `text` on a transparent background with the top-left corner of its
    // line at device pixel (left, top), rendered at the picture's resolution,
    // and nothing outside its TextInk.
    virtual void Draw(const PixelBuffer& picture, double left, double top, std::string_view text,
                      Rgb color) const = 0;
    // The Draw calls between these two all go to this picture, whose pixels
    // stay put meanwhile: one renderer may serve them all.
    virtual void Begin(const PixelBuffer& /*picture*/) const {}
    virtual void End() const {}
};

}  // namespace ondrix::canvas
