// One full redraw (ClearScreen + Draw) in "Draw sum" mode with three
// formulas, on an offscreen canvas of screen size, and its parts: the grid
// alone, and the sweep against a surface that draws nothing (evaluation only).
//
//   build/bench/draw/draw_bench

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "plotter/canvas/image_canvas.h"
#include "plotter/draw/curves.h"
#include "plotter/draw/grid.h"
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
    void SetScaleLeft(float) override {}
    void SetScaleTop(float) override {}
    void SetScaleWidth(float) override {}
    void SetScaleHeight(float) override {}
    void Line(float, float, float, float, canvas::Rgb) override {}
    void PSet(float, float, canvas::Rgb) override {}
    void PSet(float, float) override {}
    void Print(std::string_view) override {}
    int Width() const override { return width_; }
    int width_;
};

view::View ViewFor(int width) {
    view::View v;
    view::SetStartRange(v);
    view::ApplySamplingRule(v, width);
    return v;
}

void BM_FullRedraw(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    canvas::ImageCanvas canvas(width, height);
    script::Engine engine;
    BenchControls controls;
    const view::View v = ViewFor(width);
    for (auto _ : state) {
        ClearScreen(v, canvas);
        Draw(v, canvas, engine, controls);
    }
}
BENCHMARK(BM_FullRedraw)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

void BM_ClearScreenOnly(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    canvas::ImageCanvas canvas(width, static_cast<int>(state.range(1)));
    const view::View v = ViewFor(width);
    for (auto _ : state) ClearScreen(v, canvas);
}
BENCHMARK(BM_ClearScreenOnly)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
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
