#include "plotter/canvas/pixel_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace ondrix::canvas {

namespace {

// Asks the system to back a large picture with huge pages where it can. A
// line that runs upright touches a new row, and so a new 4 KiB page, at every
// device pixel; with 2 MiB pages the address translations of a whole picture
// stay cached. Only a hint: the pixels are the same either way.
void PreferHugePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

// A colour as the picture stores it.
std::uint32_t Opaque(Rgb color) {
    return 0xFF000000u | color;
}

// The largest picture the canvas allocates, in device pixels (8 GiB); a
// larger one is refused like one the system cannot give.
constexpr std::uint64_t kMaxDevicePixels = std::uint64_t{1} << 31;

// The pixel whose cell holds this pixel-space coordinate, kept within
// [low, high].
int PixelIndex(double p, int low, int high) {
    const double index = std::floor(p + 0.5);
    return static_cast<int>(std::clamp(index, static_cast<double>(low), static_cast<double>(high)));
}

// Bresenham's walk from (x0, y0) to (x1, y1), both ends included: calls
// plot(x, y) once for each pixel of the line, one step at a time.
template <typename Plot>
void WalkLine(int x0, int y0, int x1, int y1, Plot plot) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        plot(x0, y0);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// Follows a walk through the tiles: tells when a step's pixels reach tiles
// other than the previous step's, so that a long line touches only the tiles
// along it, not its whole bounding box.
class TileCursor {
  public:
    // The step writes [left, right) x [top, bottom), all inside the picture.
    bool Enters(int left, int top, int right, int bottom) {
        const DirtyTiles::Span now = DirtyTiles::SpanOf(left, top, right, bottom);
        if (now == last_) return false;
        last_ = now;
        return true;
    }

  private:
    DirtyTiles::Span last_;
};

}  // namespace

PixelCanvas::PixelCanvas(int width, int height, double ratio) {
    Resize(width, height, ratio);
}

void PixelCanvas::Resize(int width, int height) {
    Resize(width, height, scale_.Ratio());
}

void PixelCanvas::Resize(int width, int height, double ratio) {
    width = std::max(0, width);
    height = std::max(0, height);
    ScaleMap next = scale_;
    next.SetPixelSize(width, height, ratio);
    if (width == scale_.PixelWidth() && height == scale_.PixelHeight() &&
        next.Ratio() == scale_.Ratio() && !pixels_.empty())
        return;  // the same picture: nothing to forget
    Changed();
    EndPrints();  // the painter must let go of the old pixels
    // A zero-sized area keeps a 1 x 1 picture so that painting stays valid,
    // but maps no user coordinates.
    int w = width > 0 && height > 0 ? std::max(1, next.DeviceWidth()) : 1;
    int h = width > 0 && height > 0 ? std::max(1, next.DeviceHeight()) : 1;
    std::vector<std::uint32_t> picture;
    try {
        if (static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) > kMaxDevicePixels)
            throw std::bad_alloc();
        const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
        picture.reserve(count);
        PreferHugePages(picture.data(), count * sizeof(std::uint32_t));
        picture.assign(count, Opaque(back_));
    } catch (const std::bad_alloc&) {
        // No memory for a picture this large: keep a blank 1 x 1 picture and
        // map nothing, so drawing does nothing.
        w = h = 1;
        picture.assign(1, Opaque(back_));
        next.SetPixelSize(0, 0, next.Ratio());
    }
    if (!pixels_.empty()) {
        // The old picture lands at the same logical place: copied where the
        // ratio stays, taken from the nearest old pixel where it changed.
        const double step = scale_.Ratio() / next.Ratio();
        const bool same = next.Ratio() == scale_.Ratio();
        for (int y = 0; y < h; ++y) {
            const int oldY = same ? y : static_cast<int>((y + 0.5) * step);
            if (oldY >= deviceHeight_) break;
            const std::uint32_t* from = pixels_.data() + std::size_t(oldY) * deviceWidth_;
            std::uint32_t* to = picture.data() + std::size_t(y) * w;
            if (same) {
                std::copy(from, from + std::min(w, deviceWidth_), to);
                continue;
            }
            for (int x = 0; x < w; ++x) {
                const int oldX = static_cast<int>((x + 0.5) * step);
                if (oldX >= deviceWidth_) break;
                to[x] = from[oldX];
            }
        }
    }
    // A fresh picture holds only the background; one with old pixels in it
    // may hold anything.
    written_.Reset(w, h, !pixels_.empty());
    cleared_ = Opaque(back_);
    pixels_ = std::move(picture);
    deviceWidth_ = w;
    deviceHeight_ = h;
    scale_ = next;
}

PixelBuffer PixelCanvas::Pixels() {
    Changed();
    written_.TouchAll();
    return Buffer();
}

void PixelCanvas::Cls() {
    Changed();
    const std::uint32_t color = Opaque(back_);
    if (color != cleared_) written_.TouchAll();
    // Only what was written since the last clear can differ from its colour.
    written_.Sweep([&](int left, int top, int width, int height) {
        FillRows(left, top, left + width, top + height, color);
    });
    cleared_ = color;
    currentX_ = 0;
    currentY_ = 0;
}

void PixelCanvas::SetBackColor(Rgb color) {
    Changed();
    back_ = color;
}

void PixelCanvas::SetForeColor(Rgb color) {
    Changed();
    fore_ = color;
}

void PixelCanvas::SetTextPainter(const TextPainter* text) {
    EndPrints();
    Changed();
    text_ = text;
}

void PixelCanvas::SetScaleLeft(double left) {
    Changed();
    scale_.SetLeft(left);
}

void PixelCanvas::SetScaleTop(double top) {
    Changed();
    scale_.SetTop(top);
}

void PixelCanvas::SetScaleWidth(double width) {
    Changed();
    scale_.SetWidth(width);
}

void PixelCanvas::SetScaleHeight(double height) {
    Changed();
    scale_.SetHeight(height);
}

void PixelCanvas::MoveTo(double x, double y) {
    currentX_ = x;
    currentY_ = y;
}

void PixelCanvas::Line(double x1, double y1, double x2, double y2, Rgb color) {
    MoveTo(x2, y2);
    const auto a = scale_.ToPixel(x1, y1);
    const auto b = scale_.ToPixel(x2, y2);
    if (!a || !b) return;
    RasterLine(*a, *b, Opaque(color));
}

void PixelCanvas::PSet(double x, double y, Rgb color) {
    MoveTo(x, y);
    SetPoint(x, y, Opaque(color));
}

void PixelCanvas::PSet(double x, double y) {
    MoveTo(x, y);
    SetPoint(x, y, Opaque(fore_));
}

void PixelCanvas::SetPoint(double x, double y, std::uint32_t color) {
    const auto p = scale_.ToPixel(x, y);
    if (!p) return;
    const int width = scale_.LineWidth();
    FillPixels(ScaleMap::FirstPixel(p->x, width), ScaleMap::FirstPixel(p->y, width), width, width,
               color);
}

void PixelCanvas::FillPixels(double left, double top, int width, int height, std::uint32_t color) {
    // Compared as doubles first: a far-away point must not overflow an int.
    if (left + width <= 0 || top + height <= 0 || left >= deviceWidth_ || top >= deviceHeight_ ||
        scale_.PixelWidth() == 0 || scale_.PixelHeight() == 0)
        return;
    const int x0 = std::max(0, static_cast<int>(left));
    const int y0 = std::max(0, static_cast<int>(top));
    const int x1 = std::min(deviceWidth_, static_cast<int>(left) + width);
    const int y1 = std::min(deviceHeight_, static_cast<int>(top) + height);
    Touch(x0, y0, x1, y1);
    FillRows(x0, y0, x1, y1, color);
}

void PixelCanvas::FillRows(int left, int top, int right, int bottom, std::uint32_t color) {
    // A colour of four equal bytes (white, the usual background) is the byte
    // fill of the C library, which writes long rows much faster.
    const bool bytes = color == (color & 0xFFu) * 0x01010101u;
    std::uint32_t* row = pixels_.data() + std::size_t(top) * deviceWidth_ + left;
    for (int y = top; y < bottom; ++y, row += deviceWidth_) {
        if (bytes)
            std::memset(row, static_cast<int>(color & 0xFFu),
                        std::size_t(right - left) * sizeof *row);
        else
            std::fill_n(row, right - left, color);
    }
}

void PixelCanvas::RasterLine(PixelPoint a, PixelPoint b, std::uint32_t color) {
    // The line is walked through the first of the `width` device pixels
    // across it, one device pixel per step along its longer axis, and each
    // step fills `width` pixels across: a slope steps by single device pixels
    // while the line stays one logical pixel wide. Along its length a segment
    // runs from the first pixel of one end to the first of the other, so the
    // segments of a curve meet without overlapping.
    const int width = scale_.LineWidth();
    const double shift = (width - 1) / 2.0;
    a = {a.x - shift, a.y - shift};
    b = {b.x - shift, b.y - shift};
    const int w = scale_.DeviceWidth();
    const int h = scale_.DeviceHeight();
    const int reach = width - 1;
    // Keep only what rounds into the image; after this every value is small.
    if (!ClipSegment(a, b, -0.5 - reach, -0.5 - reach, w - 0.5, h - 0.5)) return;
    const int x0 = PixelIndex(a.x, -reach, w - 1);
    const int y0 = PixelIndex(a.y, -reach, h - 1);
    const int x1 = PixelIndex(b.x, -reach, w - 1);
    const int y1 = PixelIndex(b.y, -reach, h - 1);
    // A point, or a level or upright line (the grid and the axes), covers a
    // rectangle: the same pixels as the walk below, filled at once.
    if (x0 == x1 || y0 == y1) {
        FillPixels(std::min(x0, x1), std::min(y0, y1), x0 == x1 ? width : std::abs(x1 - x0) + 1,
                   y0 == y1 ? width : std::abs(y1 - y0) + 1, color);
        return;
    }
    // Each step's pixels are announced as the walk enters new tiles with them.
    TileCursor tiles;
    const auto touch = [&](int left, int top, int right, int bottom) {
        if (tiles.Enters(left, top, right, bottom)) Touch(left, top, right, bottom);
    };
    const std::ptrdiff_t stride = deviceWidth_;
    std::uint32_t* bits = pixels_.data();
    if (width == 1) {  // one pixel a step, always inside the image
        WalkLine(x0, y0, x1, y1, [&](int x, int y) {
            touch(x, y, x + 1, y + 1);
            bits[y * stride + x] = color;
        });
        return;
    }
    const bool shallow = std::abs(x1 - x0) >= std::abs(y1 - y0);
    WalkLine(x0, y0, x1, y1, [&](int px, int py) {
        // The step's pixels across the line, cut to the image: the walk
        // itself may run up to width - 1 pixels before its top or left edge.
        if (shallow) {
            if (px >= 0) {
                const int first = std::max(0, py);
                const int last = std::min(h - 1, py + width - 1);
                touch(px, first, px + 1, last + 1);
                for (int y = first; y <= last; ++y) bits[y * stride + px] = color;
            }
        } else if (py >= 0) {
            std::uint32_t* line = bits + py * stride;
            const int first = std::max(0, px);
            const int last = std::min(w - 1, px + width - 1);
            touch(first, py, last + 1, py + 1);
            for (int x = first; x <= last; ++x) line[x] = color;
        }
    });
}

TextExtent PixelCanvas::Measure(std::string_view text) const {
    return text_ ? text_->Measure(text) : TextExtent{};
}

double PixelCanvas::TextWidth(std::string_view text) const {
    if (!scale_.Usable()) return 0;
    return Measure(text).width * scale_.Width() / scale_.PixelWidth();
}

double PixelCanvas::TextHeight(std::string_view text) const {
    if (!scale_.Usable()) return 0;
    return Measure(text).height * scale_.Height() / scale_.PixelHeight();
}

void PixelCanvas::Print(std::string_view text) {
    const auto p = scale_.ToPixel(currentX_, currentY_);
    const TextExtent extent = Measure(text);
    if (p && text_) {
        // The device pixel where the logical pixel of the current point
        // begins: the text's top-left corner.
        const double ratio = scale_.Ratio();
        const double left = ScaleMap::FirstPixel(p->x, ratio);
        const double top = ScaleMap::FirstPixel(p->y, ratio);
        // Text wholly outside the picture is not handed to the painter.
        const bool visible = left < scale_.DeviceWidth() && top < scale_.DeviceHeight() &&
                             left + extent.width * ratio >= 0 && top + extent.height * ratio >= 0;
        if (visible) {
            // Cut to just outside the picture before counting in ints.
            const DeviceRect ink = TextInk(left, top, extent, ratio);
            const auto within = [](double p, int size) {
                return static_cast<int>(std::clamp(p, -1.0, size + 1.0));
            };
            Touch(within(ink.left, deviceWidth_), within(ink.top, deviceHeight_),
                  within(ink.right, deviceWidth_), within(ink.bottom, deviceHeight_));
            text_->Draw(Buffer(), left, top, text, fore_);
        }
    }
}

void PixelCanvas::BeginPrints() {
    if (text_ && !printing_) text_->Begin(Buffer());
    printing_ = text_ != nullptr;
}

void PixelCanvas::EndPrints() {
    if (text_ && printing_) text_->End();
    printing_ = false;
}

void PixelCanvas::Mark(const PictureKey& key) {
    mark_ = key;
    markedX_ = currentX_;
    markedY_ = currentY_;
    written_.Checkpoint(cleared_);
}

bool PixelCanvas::Recall(const PictureKey& key) {
    // Bit for bit: -0 and 0, or two NaNs, are not taken for each other.
    if (!mark_ || std::memcmp(mark_->data(), key.data(), sizeof key) != 0) return false;
    if (!written_.Rollback(pixels_.data())) {
        mark_.reset();
        return false;
    }
    MoveTo(markedX_, markedY_);
    return true;
}

}  // namespace ondrix::canvas
