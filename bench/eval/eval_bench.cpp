// The per-point cost of formula evaluation: EvaluateFormula (x handed over,
// Eval, the value its text reads back as) for the plotter's typical formulas,
// and muparser evaluating the same mathematics compiled once.

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <string_view>

#include "plotter/eval/formula.h"
#include "script/engine.h"

namespace {

// The start view's sweep: -16.68 to 16.68 over a 1000-pixel canvas.
constexpr double kXMin = -16.68;
constexpr double kXMax = 16.68;
constexpr double kXStep = (kXMax - kXMin) / 1000.0;

struct Formula {
    const char* script;
    const char* muparser;
};

constexpr Formula kFormulas[] = {
    {"x", "x"},
    {"Sin(x)*x^2/10", "sin(x)*x^2/10"},
    {"Tan(x)", "tan(x)"},
    {"Arcsin(x/20)", "asin(x/20)"},
    {"Sec(x)+Cosec(x)", "1/cos(x)+1/sin(x)"},
};

void BM_EvaluateFormula(benchmark::State& state) {
    const Formula& f = kFormulas[state.range(0)];
    const std::string_view formula = f.script;  // a redraw reads each box's text once
    ondrix::script::Engine engine;
    ondrix::eval::PrepareScriptEngine(engine);
    double x = kXMin;
    for (auto _ : state) {
        ondrix::eval::PointValue y = ondrix::eval::EvaluateFormula(engine, formula, x);
        benchmark::DoNotOptimize(y);
        x += kXStep;
        if (x > kXMax) x = kXMin;
    }
    state.SetLabel(f.script);
}

void BM_MuParser(benchmark::State& state) {
    const Formula& f = kFormulas[state.range(0)];
    mu::Parser parser;
    double x = kXMin;
    parser.DefineVar("x", &x);
    parser.SetExpr(f.muparser);
    for (auto _ : state) {
        double y = parser.Eval();
        benchmark::DoNotOptimize(y);
        x += kXStep;
        if (x > kXMax) x = kXMin;
    }
    state.SetLabel(f.muparser);
}

BENCHMARK(BM_EvaluateFormula)->DenseRange(0, 4);
BENCHMARK(BM_MuParser)->DenseRange(0, 4);

}  // namespace

BENCHMARK_MAIN();
