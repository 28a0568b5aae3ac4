#pragma once

namespace ondrix::window {

// Design geometry of the main window's client area, in pixels.
inline constexpr int kToolbarHeight = 38;
inline constexpr int kStatusBarHeight = 25;
inline constexpr int kFrameTop = 40;
inline constexpr int kFrameHeight = 113;
inline constexpr int kPictureTop = 158;
inline constexpr int kDesignPictureSize = 500;
inline constexpr int kScrollBarThickness = 17;
// Margins the layout keeps around the canvas and the frame.
inline constexpr int kFrameMargin = 10;
inline constexpr int kPictureMargin = 18;
inline constexpr int kPictureBottomMargin = 67;

// Where the layout pass puts the controls for a client area of the given size.
struct Layout {
    int frameWidth = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
    int vscrollLeft = 0;
    int vscrollHeight = 0;
    int hscrollTop = 0;
    int hscrollWidth = 0;
};

// The scroll bars overlap the canvas's right and bottom border by one pixel.
// No size comes out below 0, however small the area.
Layout ComputeLayout(int scaleWidth, int scaleHeight);

// The window's start geometry: three quarters of the screen, centred.
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
Geometry StartGeometry(int screenWidth, int screenHeight);

// The frame a window manager draws around the client area, in pixels.
struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The client area inside a window of outer geometry `outer` with this frame;
// no size comes out below 0.
Geometry ClientGeometry(const Geometry& outer, const Margins& frame);

}  // namespace ondrix::window
