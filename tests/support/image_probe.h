#pragma once

#include <QImage>

#include "plotter/canvas/surface.h"

namespace ondrix::testing {

// A surface colour as the image stores it.
inline QRgb Opaque(canvas::Rgb color) {
    return 0xFF000000u | color;
}

// How many pixels of the image have exactly this colour.
inline int CountColor(const QImage& image, QRgb color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == color;
    return count;
}

}  // namespace ondrix::testing
