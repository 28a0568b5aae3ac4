// One full redraw (ClearScreen + Draw) in "Draw sum" mode with three
// formulas, on a pixel canvas of screen size with Qt drawing its text, and its parts: the grid
// alone, and the sweep against a surface that draws nothing (evaluation only).
//
//   build/bench/draw/draw_bench

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "plotter/canvas/pixel_canvas.h"
#include "plotter/draw/curves.h"
#include "plotter/draw/grid.h"
#include "plotter/qt/qt_text_painter.h"
#include "script/engine.h"

namespace ondrix::draw {
namespace {

struct BenchControls : Controls {
    std::string FormulaText(int k) const override {
        static constexpr const char* kFormulas[] = {"Sin(x)*5", "x^2/10", "Tan(x)"};
        return kFormulas[k];
    }
    bool DontClearScreen() const override { return dontClear; }
    bool DotsNotLines() const override { return false; }
    int Mode() const override { return kDrawSum; }
    void ClearFormulas() override {}
    bool dontClear = false;
};

// A surface that takes every call and draws nothing.
struct NullSurface : canvas::Surface {
    explicit NullSurface(int width) : width_(width) {}
    void Cls() override {}
    void SetScaleLeft(double) override {}
    void SetScaleTop(double) override {}
    void SetScaleWidth(double) override {}
    void SetScaleHeight(double) override {}
    void Line(double, double, double, double, canvas::Rgb) override {}
    void PSet(double, double, canvas::Rgb) override {}
    void PSet(double, double) override {}
    void Print(std::string_view) override {}
    double TextWidth(std::string_view) const override { return 0; }
    double TextHeight(std::string_view) const override { return 0; }
    int Width() const override { return width_; }
    int Height() const override { return width_; }
    int width_;
};

view::View ViewFor(int width) {
    view::View v;
    view::SetStartRange(v);
    view::ApplySamplingRule(v, width);
    return v;
}

// Arguments: the canvas's logical width and height, and its device pixel
// ratio in percent. 1920 x 1080 at 200 % is a 3840 x 2160 picture sampled at
// 1920 points.
void BM_FullRedraw(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const double ratio = static_cast<double>(state.range(2)) / 100;
    canvas::PixelCanvas canvas(width, height, ratio);
    qt::QtTextPainter text;
    canvas.SetTextPainter(&text);
    script::Engine engine;
    BenchControls controls;
    const view::View v = ViewFor(width);
    for (auto _ : state) {
        ClearScreen(v, canvas);
        Draw(v, canvas, engine, controls);
    }
}
BENCHMARK(BM_FullRedraw)
    ->Args({1920, 1080, 100})
    ->Args({3840, 2160, 100})
    ->Args({1920, 1080, 150})
    ->Args({1920, 1080, 200})
    ->Unit(benchmark::kMillisecond);

void BM_ClearScreenOnly(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    canvas::PixelCanvas canvas(width, static_cast<int>(state.range(1)),
                               static_cast<double>(state.range(2)) / 100);
    qt::QtTextPainter text;
    canvas.SetTextPainter(&text);
    const view::View v = ViewFor(width);
    for (auto _ : state) ClearScreen(v, canvas);
}
BENCHMARK(BM_ClearScreenOnly)
    ->Args({1920, 1080, 100})
    ->Args({3840, 2160, 100})
    ->Args({1920, 1080, 200})
    ->Unit(benchmark::kMillisecond);

void BM_SweepEvaluationOnly(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    NullSurface surface(width);
    script::Engine engine;
    BenchControls controls;
    controls.dontClear = true;
    const view::View v = ViewFor(width);
    for (auto _ : state) Draw(v, surface, engine, controls);
}
BENCHMARK(BM_SweepEvaluationOnly)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ondrix::draw

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
