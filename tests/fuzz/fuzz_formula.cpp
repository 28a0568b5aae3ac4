// A formula box's text over a sweep, the way a redraw evaluates it: the
// preamble first, then one x statement and one Eval per point. Evaluation never
// throws, and a point either has a text and a finite value or has neither.
// Each value, and the input's first eight bytes taken as a Double of any bit
// pattern, is also written in the seven-digit form of the status bar, whose
// text must read back as the number the writer reports.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "plotter/eval/formula.h"
#include "script/engine.h"
#include "script/number_text.h"

namespace {

// The start view's x range, sampled at 25 points for each decimal separator.
constexpr double kXMin = -16.68;
constexpr double kXMax = 16.68;
constexpr int kPointsPerSeparator = 25;

void CheckSevenDigitText(double value, char separator) {
    char buf[ondrix::script::kMaxRealTextLength];
    double shown = 0;
    const char* end =
        ondrix::script::WriteRealText(buf, value, ondrix::script::kSingleDigits, separator, &shown);
    double read = 0;
    if (end <= buf || end > buf + sizeof buf) std::abort();
    const auto status = ondrix::script::ParseNumberText(
        std::string_view(buf, static_cast<std::size_t>(end - buf)), separator, read);
    if (status != ondrix::script::TextNumber::kOk || read != shown) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ondrix::script::Engine engine;
    const std::string_view formula(reinterpret_cast<const char*>(data), size);
    std::string resultText = "stale";
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        CheckSevenDigitText(raw, '.');
    }
    for (const char separator : {'.', ','}) {
        engine.SetDecimalSeparator(separator);
        ondrix::eval::PrepareScriptEngine(engine);
        for (int i = 0; i < kPointsPerSeparator; ++i) {
            const double x = kXMin + (kXMax - kXMin) * i / (kPointsPerSeparator - 1);
            const auto point = ondrix::eval::EvaluateFormula(engine, formula, x, &resultText);
            if (!std::isfinite(point.value)) std::abort();
            if (point.hasValue == resultText.empty()) std::abort();
            if (!point.hasValue && point.value != 0) std::abort();
            CheckSevenDigitText(point.value, separator);
        }
    }
    return 0;
}
