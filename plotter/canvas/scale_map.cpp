#include "plotter/canvas/scale_map.h"

#include <algorithm>
#include <cmath>

namespace ondrix::canvas {

namespace {

// Device pixels needed to cover `logical` pixels; the small allowance keeps a
// product such as 556 x 1.5 from rounding up to a pixel that is not there.
int DeviceSize(int logical, double ratio) {
    return static_cast<int>(std::ceil(logical * ratio - 1e-6));
}

}  // namespace

void ScaleMap::SetLeft(double left) {
    left_ = left;
    Derive();
}

void ScaleMap::SetTop(double top) {
    top_ = top;
    Derive();
}

void ScaleMap::SetWidth(double width) {
    width_ = width;
    Derive();
}

void ScaleMap::SetHeight(double height) {
    height_ = height;
    Derive();
}

void ScaleMap::SetPixelSize(int width, int height, double ratio) {
    pixelWidth_ = std::max(0, width);
    pixelHeight_ = std::max(0, height);
    ratio_ = std::isfinite(ratio) && ratio > 0 ? ratio : 1;
    Derive();
}

void ScaleMap::Derive() {
    usable_ = pixelWidth_ > 0 && pixelHeight_ > 0 && std::isfinite(left_) && std::isfinite(top_) &&
              std::isfinite(width_) && std::isfinite(height_) && width_ != 0 && height_ != 0;
    deviceWidth_ = DeviceSize(pixelWidth_, ratio_);
    deviceHeight_ = DeviceSize(pixelHeight_, ratio_);
    lineWidth_ = std::max(1, static_cast<int>(std::lround(ratio_)));
    shift_ = (ratio_ - 1) / 2;
}

double ScaleMap::FirstPixel(double p, double count) {
    return std::floor(p - (count - 1) / 2 + 0.5);
}

namespace {

// Where a finite point lands whose pixel position is beyond the double range
// (a huge value, or a tiny extent): far out on its side, so that a segment
// towards it is still clipped in the right direction.
constexpr double kFarPixel = 1e300;

double HeldFinite(double pixel) {
    return std::isfinite(pixel) ? pixel : std::copysign(kFarPixel, pixel);
}

}  // namespace

std::optional<PixelPoint> ScaleMap::ToPixel(double x, double y) const {
    if (!usable_ || !std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    return PixelPoint{HeldFinite((x - left_) * pixelWidth_ / width_ * ratio_ + shift_),
                      HeldFinite((y - top_) * pixelHeight_ / height_ * ratio_ + shift_)};
}

std::optional<PixelPoint> ScaleMap::ToUser(double px, double py) const {
    if (!usable_ || !std::isfinite(px) || !std::isfinite(py)) return std::nullopt;
    const PixelPoint u{left_ + px * width_ / pixelWidth_, top_ + py * height_ / pixelHeight_};
    if (!std::isfinite(u.x) || !std::isfinite(u.y)) return std::nullopt;
    return u;
}

namespace {

enum Outside : unsigned { kLeft = 1, kRight = 2, kAbove = 4, kBelow = 8 };

unsigned OutCode(const PixelPoint& p, double xMin, double yMin, double xMax, double yMax) {
    unsigned code = 0;
    if (p.x < xMin) code |= kLeft;
    if (p.x > xMax) code |= kRight;
    if (p.y < yMin) code |= kAbove;
    if (p.y > yMax) code |= kBelow;
    return code;
}

// The point of the line a-b at the given x (or y), interpolated from the end
// nearer to it, which keeps the result exact enough when the other end lies
// very far away.
double YAtX(const PixelPoint& a, const PixelPoint& b, double x) {
    const PixelPoint& near = std::fabs(x - a.x) <= std::fabs(x - b.x) ? a : b;
    return near.y + (x - near.x) * ((b.y - a.y) / (b.x - a.x));
}

double XAtY(const PixelPoint& a, const PixelPoint& b, double y) {
    const PixelPoint& near = std::fabs(y - a.y) <= std::fabs(y - b.y) ? a : b;
    return near.x + (y - near.y) * ((b.x - a.x) / (b.y - a.y));
}

}  // namespace

bool ClipSegment(PixelPoint& a, PixelPoint& b, double xMin, double yMin, double xMax, double yMax) {
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
        return false;
    const PixelPoint origA = a;
    const PixelPoint origB = b;
    // Cohen-Sutherland: each round moves one outside end onto an edge; four
    // rounds per end suffice, the bound only guards against rounding.
    for (int round = 0; round < 8; ++round) {
        const unsigned codeA = OutCode(a, xMin, yMin, xMax, yMax);
        const unsigned codeB = OutCode(b, xMin, yMin, xMax, yMax);
        if ((codeA | codeB) == 0) return true;
        if ((codeA & codeB) != 0) return false;
        PixelPoint& p = codeA != 0 ? a : b;
        const unsigned code = codeA != 0 ? codeA : codeB;
        if (code & kLeft) {
            p = {xMin, YAtX(origA, origB, xMin)};
        } else if (code & kRight) {
            p = {xMax, YAtX(origA, origB, xMax)};
        } else if (code & kAbove) {
            p = {XAtY(origA, origB, yMin), yMin};
        } else {
            p = {XAtY(origA, origB, yMax), yMax};
        }
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    }
    return OutCode(a, xMin, yMin, xMax, yMax) == 0 && OutCode(b, xMin, yMin, xMax, yMax) == 0;
}

}  // namespace ondrix::canvas
