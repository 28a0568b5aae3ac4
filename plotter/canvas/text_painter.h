#pragma once

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

// Text on the canvas: the pixel canvas decides where a text goes and where the
// current point moves; each front end measures and renders it with its own
// fonts.
class TextPainter {
  public:
    virtual ~TextPainter() = default;
    virtual TextExtent Measure(std::string_view text) const = 0;
    // Draws `text` on a transparent background with the top-left corner of its
    // line at device pixel (left, top), rendered at the picture's resolution.
    virtual void Draw(const PixelBuffer& picture, double left, double top, std::string_view text,
                      Rgb color) const = 0;
};

}  // namespace ondrix::canvas
