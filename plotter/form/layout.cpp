#include "plotter/form/layout.h"

#include <algorithm>

namespace ondrix::window {

namespace {

// Three quarters of the screen, as the window opens.
constexpr double kStartShare = 0.75;

int AtLeastZero(int size) {
    return std::max(0, size);
}

}  // namespace

Layout ComputeLayout(int scaleWidth, int scaleHeight) {
    Layout l;
    l.frameWidth = AtLeastZero(scaleWidth - kFrameMargin);
    l.pictureWidth = AtLeastZero(scaleWidth - kPictureMargin);
    l.pictureHeight =
        AtLeastZero(scaleHeight - kFrameHeight - kStatusBarHeight - kPictureBottomMargin);
    l.vscrollLeft = l.pictureWidth - 1;
    l.vscrollHeight = l.pictureHeight;
    l.hscrollTop = l.pictureHeight + kPictureTop - 1;
    l.hscrollWidth = l.pictureWidth;
    return l;
}

Geometry StartGeometry(int screenWidth, int screenHeight) {
    Geometry g;
    g.width = static_cast<int>(kStartShare * screenWidth);
    g.height = static_cast<int>(kStartShare * screenHeight);
    g.left = (screenWidth - g.width) / 2;
    g.top = (screenHeight - g.height) / 2;
    return g;
}

Geometry ClientGeometry(const Geometry& outer, const Margins& frame) {
    Geometry g;
    g.left = outer.left + frame.left;
    g.top = outer.top + frame.top;
    g.width = AtLeastZero(outer.width - frame.left - frame.right);
    g.height = AtLeastZero(outer.height - frame.top - frame.bottom);
    return g;
}

}  // namespace ondrix::window
