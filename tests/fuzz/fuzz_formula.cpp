// A formula box's text over a sweep, the way a redraw evaluates it: the
// preamble first, then one x statement and one Eval per point. Evaluation never
// throws, and a point either has a text and a finite value or has neither.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "plotter/eval/formula.h"
#include "script/engine.h"

namespace {

// The start view's x range, sampled at 25 points for each decimal separator.
constexpr double kXMin = -16.68;
constexpr double kXMax = 16.68;
constexpr int kPointsPerSeparator = 25;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ondrix::script::Engine engine;
    const std::string_view formula(reinterpret_cast<const char*>(data), size);
    std::string resultText = "stale";
    for (const char separator : {'.', ','}) {
        engine.SetDecimalSeparator(separator);
        ondrix::eval::PrepareScriptEngine(engine);
        for (int i = 0; i < kPointsPerSeparator; ++i) {
            const double x = kXMin + (kXMax - kXMin) * i / (kPointsPerSeparator - 1);
            const auto point = ondrix::eval::EvaluateFormula(engine, formula, x, &resultText);
            if (!std::isfinite(point.value)) std::abort();
            if (point.hasValue == resultText.empty()) std::abort();
            if (!point.hasValue && point.value != 0) std::abort();
        }
    }
    return 0;
}
