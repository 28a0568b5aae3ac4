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
    Kind kind = kCls;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // scale setters use x1
    canvas::Rgb color = 0;
    std::string text;
};

// A surface that records every call instead of drawing. Text is measured
// with a fixed-pitch font of kCharPixels x kLinePixels per character.
class RecordingSurface : public canvas::Surface {
  public:
    static constexpr int kCharPixels = 7;
    static constexpr int kLinePixels = 16;

    explicit RecordingSurface(int width = 500, int height = 500) : width_(width), height_(height) {}

    void Cls() override { Record(Call::kCls); }
    void SetScaleLeft(double v) override { Record(Call::kScaleLeft, v); }
    void SetScaleTop(double v) override { Record(Call::kScaleTop, v); }
    void SetScaleWidth(double v) override {
        scaleWidth_ = v;
        Record(Call::kScaleWidth, v);
    }
    void SetScaleHeight(double v) override {
        scaleHeight_ = v;
        Record(Call::kScaleHeight, v);
    }
    void Line(double x1, double y1, double x2, double y2, canvas::Rgb c) override {
        Record(Call::kLine, x1, y1, x2, y2, c);
    }
    void PSet(double x, double y, canvas::Rgb c) override { Record(Call::kPSet, x, y, 0, 0, c); }
    void PSet(double x, double y) override { Record(Call::kPSetFore, x, y); }
    void Print(std::string_view text) override {
        Record(Call::kPrint, 0, 0, 0, 0, 0, std::string(text));
    }
    double TextWidth(std::string_view text) const override {
        return width_ > 0 ? static_cast<double>(text.size()) * kCharPixels * scaleWidth_ / width_
                          : 0;
    }
    double TextHeight(std::string_view) const override {
        return height_ > 0 ? kLinePixels * scaleHeight_ / height_ : 0;
    }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int width) { width_ = width; }
    void SetHeight(int height) { height_ = height; }

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
    void Record(Call::Kind kind, double x1 = 0, double y1 = 0, double x2 = 0, double y2 = 0,
                canvas::Rgb color = 0, std::string text = {}) {
        Call c;
        c.kind = kind;
        c.x1 = x1;
        c.y1 = y1;
        c.x2 = x2;
        c.y2 = y2;
        c.color = color;
        c.text = std::move(text);
        calls.push_back(std::move(c));
    }

  private:
    int width_;
    int height_;
    double scaleWidth_ = 20;  // the canvas's design-time scale
    double scaleHeight_ = 20;
};

}  // namespace ondrix::testing
