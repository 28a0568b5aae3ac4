#include "plotter/eval/formula.h"

#include <cmath>

#include "script/conversions.h"
#include "script/engine.h"
#include "script/number_text.h"
#include "script/operators.h"

namespace ondrix::eval {
namespace {

// The five preamble texts, added one per AddCode call, character for
// character as the plotter has always sent them.
constexpr std::string_view kPreamble[] = {
    "pi = 3.141592",
    "Function Sec(x) \r\nSec = 1 / Cos(X)\r\n  End Function\r\n",
    "Function Cosec(X) \r\nCosec = 1 / Sin(X)\r\n  End Function\r\n",
    "Function Cotan(X)\r\nCotan = 1 / Tan(X)\r\n  End Function\r\n",
    "Function Arcsin(X) \r\nArcsin = Atn(X / Sqr(-X * X + 1))\r\n  End Function\r\n",
};

constexpr std::string_view kXName = "x";
constexpr std::string_view kXStatementStart = "x = ";

// The value the x statement assigns, found without writing and parsing its
// text: the number the text reads back as, typed by the engine's literal
// rule, and a leading "-" applied as the negation operator, as the parser
// applies it to the literal.
script::Value XValue(double x, const script::Engine& engine) {
    script::ShownDouble shown = script::ReadBackDoubleText(x);
    script::Value literal = script::LiteralValue(std::fabs(shown.number), shown.whole);
    if (!(shown.number < 0)) return literal;
    return script::ApplyUnary(script::UnaryOp::kNegate, literal, engine.Settings());
}

// The Single range decides whether a number can be a point value at all.
bool InSingleRange(double number) {
    return std::isfinite(static_cast<float>(number));
}

}  // namespace

void PrepareScriptEngine(script::Engine& engine) {
    engine.Reset();
    for (std::string_view text : kPreamble) engine.AddCode(text);
}

std::string XStatement(double x) {
    return std::string(kXStatementStart) + script::StrText(x);
}

PointValue EvaluateFormula(script::Engine& engine, std::string_view formula, double x,
                           std::string* resultText) {
    try {
        // A failing step is abandoned and the next one runs, as in the sweep.
        try {
            engine.SetVariable(kXName, XValue(x, engine));
        } catch (const script::ScriptError&) {
        }
        script::Value value = engine.Eval(formula);
        if (value.kind() == script::VarKind::Double) {
            // The usual case: the number the text reads back as, found without
            // the text. Beyond the Single range the point has no value.
            const double shown = script::ReadBackDoubleText(value.real()).number;
            if (InSingleRange(shown)) {
                if (resultText) *resultText = script::ToText(value, engine.Settings());
                return {true, shown};
            }
        } else if (!value.IsNull()) {  // Null has no text: the point has no value
            std::string text = script::ToText(value, engine.Settings());
            double number = 0;
            const bool read = script::ParseNumberText(text, engine.DecimalSeparator(), number) ==
                              script::TextNumber::kOk;
            PointValue point{!text.empty(), read && InSingleRange(number) ? number : 0.0};
            if (resultText) *resultText = std::move(text);
            return point;  // a text beyond the range: error 6, counts as 0
        }
    } catch (...) {
        // A failed evaluation, out of memory or any other failure: no value,
        // never an exception.
    }
    if (resultText) resultText->clear();
    return {};
}

}  // namespace ondrix::eval
