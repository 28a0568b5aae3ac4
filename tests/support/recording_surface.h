#pragma once

#include <string>
#include <vector>

#include "plotter/canvas/surface.h"

namespace ondrix::testing {

// One call made on a surface.
struct Call {
    enum Kind {
        kCls,
        kScaleLeft,
        kScaleTop,
        kScaleWidth,
        kScaleHeight,
        kLine,
        kPSet,
        kPSetFore,
        kPrint
    };
    Kind kind;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // scale setters use x1
    canvas::Rgb color = 0;
    std::string text;
};

// A surface that records every call instead of drawing.
class RecordingSurface : public canvas::Surface {
  public:
    explicit RecordingSurface(int width = 500) : width_(width) {}

    void Cls() override { calls.push_back({.kind = Call::kCls}); }
    void SetScaleLeft(float v) override { calls.push_back({.kind = Call::kScaleLeft, .x1 = v}); }
    void SetScaleTop(float v) override { calls.push_back({.kind = Call::kScaleTop, .x1 = v}); }
    void SetScaleWidth(float v) override { calls.push_back({.kind = Call::kScaleWidth, .x1 = v}); }
    void SetScaleHeight(float v) override {
        calls.push_back({.kind = Call::kScaleHeight, .x1 = v});
    }
    void Line(float x1, float y1, float x2, float y2, canvas::Rgb c) override {
        calls.push_back({.kind = Call::kLine, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .color = c});
    }
    void PSet(float x, float y, canvas::Rgb c) override {
        calls.push_back({.kind = Call::kPSet, .x1 = x, .y1 = y, .color = c});
    }
    void PSet(float x, float y) override {
        calls.push_back({.kind = Call::kPSetFore, .x1 = x, .y1 = y});
    }
    void Print(std::string_view text) override {
        calls.push_back({.kind = Call::kPrint, .text = std::string(text)});
    }
    int Width() const override { return width_; }
    void SetWidth(int width) { width_ = width; }

    // The calls of one kind, or those drawn in one colour.
    std::vector<Call> Of(Call::Kind kind) const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    std::vector<Call> InColor(canvas::Rgb color) const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if ((c.kind == Call::kLine || c.kind == Call::kPSet) && c.color == color)
                out.push_back(c);
        return out;
    }

    std::vector<Call> calls;

  private:
    int width_;
};

}  // namespace ondrix::testing
