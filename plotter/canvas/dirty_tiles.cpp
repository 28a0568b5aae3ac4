#include "plotter/canvas/dirty_tiles.h"

#include <algorithm>
#include <type_traits>

namespace ondrix::canvas {

namespace {

// A checkpoint stops being kept once this share of the tiles has been saved:
// copying that much back would cost about as much as drawing the picture anew.
constexpr std::size_t kMostSavedShare = 4;  // one tile in four

}  // namespace

void DirtyTiles::Reset(int width, int height, bool written) {
    DropCheckpoint();  // while its tiles still index the old flags
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    columns_ = (width_ + kTileWidth - 1) / kTileWidth;
    rows_ = (height_ + kTileHeight - 1) / kTileHeight;
    all_ = written;
    flags_.assign(static_cast<std::size_t>(columns_) * rows_, 0);
}

void DirtyTiles::Touch(int left, int top, int right, int bottom, const std::uint32_t* pixels) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom) return;
    const Span span = SpanOf(left, top, right, bottom);
    for (int row = span.firstRow; row <= span.lastRow; ++row) {
        const std::size_t first = static_cast<std::size_t>(row) * columns_;
        for (std::size_t index = first + span.firstColumn; index <= first + span.lastColumn;
             ++index) {
            if (keeping_ && !(flags_[index] & kNoted))
                Note(static_cast<std::uint32_t>(index), pixels);
            flags_[index] |= keeping_ ? kWritten | kNoted : kWritten;
        }
    }
}

void DirtyTiles::TouchAll() {
    all_ = true;
    DropCheckpoint();
}

template <typename Copy>
void DirtyTiles::ForRows(std::uint32_t index, Copy copy) const {
    const int column = static_cast<int>(index % columns_);
    const int row = static_cast<int>(index / columns_);
    const int left = column * kTileWidth;
    const int top = row * kTileHeight;
    const std::size_t first = static_cast<std::size_t>(top) * width_ + left;
    if (left + kTileWidth <= width_ && top + kTileHeight <= height_) {
        // A whole tile, the usual case: rows of a known length copy inline.
        for (int y = 0; y < kTileHeight; ++y)
            copy(first + static_cast<std::size_t>(y) * width_, y * kTileWidth,
                 std::integral_constant<int, kTileWidth>{});
        return;
    }
    const int count = std::min(kTileWidth, width_ - left);
    for (int y = 0; y < std::min(kTileHeight, height_ - top); ++y)
        copy(first + static_cast<std::size_t>(y) * width_, y * kTileWidth, count);
}

void DirtyTiles::Note(std::uint32_t index, const std::uint32_t* pixels) {
    // A tile untouched since the last clear holds the background: noting it
    // is enough. Any other is saved, up to a share of the picture.
    if (!all_ && !(flags_[index] & kWritten)) {
        noted_.push_back({index, kBlank});
        return;
    }
    if ((savedCount_ + 1) * kMostSavedShare > flags_.size()) {
        DropCheckpoint();
        return;
    }
    const std::size_t at = savedCount_ * kTilePixels;
    // The store only grows: its pixels are overwritten, never cleared.
    if (saved_.size() < at + kTilePixels) saved_.resize(at + kTilePixels);
    std::uint32_t* saved = saved_.data() + at;
    ForRows(index, [&](std::size_t picture, int tile, auto count) {
        std::copy_n(pixels + picture, count, saved + tile);
    });
    noted_.push_back({index, static_cast<std::uint32_t>(savedCount_++)});
}

void DirtyTiles::Checkpoint(std::uint32_t background) {
    DropCheckpoint();
    keeping_ = true;
    background_ = background;
}

bool DirtyTiles::Rollback(std::uint32_t* pixels) {
    if (!keeping_) return false;
    for (const Noted& tile : noted_) {
        if (tile.saved == kBlank) {
            ForRows(tile.index, [&](std::size_t picture, int, auto count) {
                std::fill_n(pixels + picture, count, background_);
            });
            flags_[tile.index] = 0;  // the background again
            continue;
        }
        const std::uint32_t* saved = saved_.data() + std::size_t{tile.saved} * kTilePixels;
        ForRows(tile.index, [&](std::size_t picture, int offset, auto count) {
            std::copy_n(saved + offset, count, pixels + picture);
        });
        flags_[tile.index] &= static_cast<std::uint8_t>(~kNoted);
    }
    noted_.clear();
    savedCount_ = 0;
    return true;
}

void DirtyTiles::DropCheckpoint() {
    keeping_ = false;
    for (const Noted& tile : noted_) flags_[tile.index] &= static_cast<std::uint8_t>(~kNoted);
    noted_.clear();
    savedCount_ = 0;
}

}  // namespace ondrix::canvas
