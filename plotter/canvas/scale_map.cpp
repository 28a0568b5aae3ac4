#include "plotter/canvas/scale_map.h"

#include <algorithm>
#include <cmath>

namespace ondrix::canvas {

void ScaleMap::SetPixelSize(int width, int height) {
    pixelWidth_ = std::max(0, width);
    pixelHeight_ = std::max(0, height);
}

bool ScaleMap::Usable() const {
    return pixelWidth_ > 0 && pixelHeight_ > 0 && std::isfinite(left_) && std::isfinite(top_) &&
           std::isfinite(width_) && std::isfinite(height_) && width_ != 0 && height_ != 0;
}

std::optional<PixelPoint> ScaleMap::ToPixel(double x, double y) const {
    if (!Usable() || !std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    const PixelPoint p{(x - left_) * pixelWidth_ / width_, (y - top_) * pixelHeight_ / height_};
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
    return p;
}

std::optional<PixelPoint> ScaleMap::ToUser(double px, double py) const {
    if (!Usable() || !std::isfinite(px) || !std::isfinite(py)) return std::nullopt;
    const PixelPoint u{left_ + px * width_ / pixelWidth_, top_ + py * height_ / pixelHeight_};
    if (!std::isfinite(u.x) || !std::isfinite(u.y)) return std::nullopt;
    return u;
}

bool ClipSegment(PixelPoint& a, PixelPoint& b, double xMin, double yMin, double xMax, double yMax) {
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
        return false;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return false;
    double t0 = 0.0;
    double t1 = 1.0;
    // Each edge: p * t <= q keeps the point inside.
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - xMin, xMax - a.x, a.y - yMin, yMax - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;  // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const PixelPoint start{a.x + t0 * dx, a.y + t0 * dy};
    const PixelPoint end{a.x + t1 * dx, a.y + t1 * dy};
    a = start;
    b = end;
    return true;
}

}  // namespace ondrix::canvas
