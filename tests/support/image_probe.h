#pragma once

// Probes of pictures: any image type with width(), height() and pixel(x, y)
// answering 0xFFRRGGBB (a QImage in RGB32, or a pixel canvas's picture).

#include <cstdint>
#include <vector>

#include "plotter/canvas/pixel_canvas.h"

namespace ondrix::testing {

// A surface colour as the picture stores it.
inline constexpr std::uint32_t Opaque(canvas::Rgb color) {
    return 0xFF000000u | color;
}

// The picture of a pixel canvas, read as an image.
class PictureView {
  public:
    explicit PictureView(const canvas::PixelCanvas& canvas) : canvas_(&canvas) {}
    int width() const { return canvas_->DeviceWidth(); }
    int height() const { return canvas_->DeviceHeight(); }
    std::uint32_t pixel(int x, int y) const { return canvas_->Pixel(x, y); }
    double devicePixelRatio() const { return canvas_->Scale().Ratio(); }
    // A copy of every pixel, row by row.
    std::vector<std::uint32_t> Copy() const {
        return {canvas_->Bits(), canvas_->Bits() + width() * height()};
    }

  private:
    const canvas::PixelCanvas* canvas_;
};

inline PictureView Picture(const canvas::PixelCanvas& canvas) {
    return PictureView(canvas);
}

// How many pixels of the image have exactly this colour.
template <typename Image>
int CountColor(const Image& image, std::uint32_t color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == color;
    return count;
}

// The share of the pixels of `color` that lie in a 2 x 2 block, aligned to
// even coordinates, whose four pixels all have that colour: 1 for a picture
// drawn at half the resolution and doubled, low for one drawn at full
// resolution.
template <typename Image>
double ShareInDoubledBlocks(const Image& image, std::uint32_t color) {
    int inBlocks = 0;
    int total = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const int here = (image.pixel(x, y) == color) + (image.pixel(x + 1, y) == color) +
                             (image.pixel(x, y + 1) == color) +
                             (image.pixel(x + 1, y + 1) == color);
            total += here;
            if (here == 4) inBlocks += 4;
        }
    }
    return total == 0 ? 0 : static_cast<double>(inBlocks) / total;
}

// Among the 2 x 2 blocks aligned to even coordinates that hold a pixel
// satisfying `ink`, the share whose four pixels are not all alike: 0 for a
// picture doubled from half the resolution.
template <typename Image, typename Ink>
double ShareOfMixedBlocks(const Image& image, Ink ink) {
    int inked = 0;
    int mixed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const std::uint32_t p[] = {image.pixel(x, y), image.pixel(x + 1, y),
                                       image.pixel(x, y + 1), image.pixel(x + 1, y + 1)};
            if (!ink(p[0]) && !ink(p[1]) && !ink(p[2]) && !ink(p[3])) continue;
            ++inked;
            mixed += !(p[0] == p[1] && p[0] == p[2] && p[0] == p[3]);
        }
    }
    return inked == 0 ? 0 : static_cast<double>(mixed) / inked;
}

}  // namespace ondrix::testing
