#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ondrix::canvas {

// Which parts of a picture have been written, kept in tiles of kTileWidth x
// kTileHeight device pixels. A plot covers a few percent of a large picture,
// so this saves rewriting tens of megabytes per redraw in two ways:
//  - a clear rewrites only the tiles written since the last clear;
//  - after a checkpoint (a grid drawn), the first write to a tile notes it,
//    saving its pixels if it held any besides the background, so that the
//    picture at the checkpoint comes back by refilling the noted tiles,
//    without clearing the grid and drawing it again.
// Every write path calls Touch before it writes. Touching more than is then
// written costs time, never pixels; writing outside what was touched would
// leave stale pixels.
class DirtyTiles {
  public:
    // 16 pixels of 32 bits are one 64-byte cache line; 4 rows keep a level
    // line's tiles close to the line itself.
    static constexpr int kTileWidth = 16;
    static constexpr int kTileHeight = 4;

    // The tiles meeting the pixels [left, right) x [top, bottom) of a
    // rectangle that is not empty and lies at or right of and below 0.
    struct Span {
        int firstColumn = -1, firstRow = -1, lastColumn = -1, lastRow = -1;
        bool operator==(const Span&) const = default;
    };
    static Span SpanOf(int left, int top, int right, int bottom) {
        return {left / kTileWidth, top / kTileHeight, (right - 1) / kTileWidth,
                (bottom - 1) / kTileHeight};
    }

    // A picture of width x height pixels, rows `width` pixels apart, wholly
    // written or wholly clean, with no checkpoint.
    void Reset(int width, int height, bool written);
    // The pixels [left, right) x [top, bottom) of `pixels` are about to be
    // written; the part outside the picture is ignored.
    void Touch(int left, int top, int right, int bottom, const std::uint32_t* pixels);
    // Something may have written anywhere: everything counts as written and
    // the checkpoint is dropped.
    void TouchAll();

    // Keeps `pixels` as they are now to be brought back by Rollback; the
    // tiles not written since the last Sweep hold `background`.
    void Checkpoint(std::uint32_t background);
    // Brings `pixels` back to the checkpoint and keeps it for the next time;
    // false, changing nothing, when there is none.
    bool Rollback(std::uint32_t* pixels);
    void DropCheckpoint();

    // Calls fill(left, top, width, height) for the parts written since the
    // last Sweep, cut to the picture, adjacent tiles of a row of tiles as one
    // rectangle; afterwards nothing counts as written and there is no
    // checkpoint.
    template <typename Fill>
    void Sweep(Fill fill);

  private:
    enum : std::uint8_t { kWritten = 1, kNoted = 2 };
    static constexpr int kTilePixels = kTileWidth * kTileHeight;
    static constexpr std::uint32_t kBlank = ~std::uint32_t{0};
    void Note(std::uint32_t index, const std::uint32_t* pixels);
    // The pixels of tile `index` inside the picture: calls copy(picture
    // offset, tile offset, count) for each of its rows.
    template <typename Copy>
    void ForRows(std::uint32_t index, Copy copy) const;

    int width_ = 0;
    int height_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    bool all_ = false;
    std::vector<std::uint8_t> flags_;  // one per tile, row after row
    bool keeping_ = false;             // a checkpoint is kept
    std::uint32_t background_ = 0;
    // The tiles written since the checkpoint, each with where its pixels
    // are saved, or kBlank when it held only the background.
    struct Noted {
        std::uint32_t index;
        std::uint32_t saved;
    };
    std::vector<Noted> noted_;
    std::vector<std::uint32_t> saved_;  // kTilePixels for each saved tile
    std::size_t savedCount_ = 0;
};

template <typename Fill>
void DirtyTiles::Sweep(Fill fill) {
    if (all_) {
        fill(0, 0, width_, height_);
    } else {
        for (int row = 0; row < rows_; ++row) {
            const std::uint8_t* flags = flags_.data() + static_cast<std::size_t>(row) * columns_;
            const int top = row * kTileHeight;
            const int height = std::min(kTileHeight, height_ - top);
            for (int column = 0; column < columns_;) {
                if (!(flags[column] & kWritten)) {
                    ++column;
                    continue;
                }
                const int first = column;
                while (column < columns_ && (flags[column] & kWritten)) ++column;
                const int left = first * kTileWidth;
                fill(left, top, std::min(column * kTileWidth, width_) - left, height);
            }
        }
    }
    Reset(width_, height_, false);
}

}  // namespace ondrix::canvas
