#include "plotter/eval/formula.h"

#include <cmath>
#include <exception>

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
script::Value XValue(double x, const script::Context& context) {
    script::ShownDouble shown = script::ReadBackDoubleText(x);
    script::Value literal = script::LiteralValue(std::fabs(shown.number), shown.whole);
    if (!(shown.number < 0)) return literal;
    return script::ApplyUnary(script::UnaryOp::kNegate, literal, context);
}

}  // namespace

void PrepareScriptEngine(script::Engine& engine) {
    engine.Reset();
    for (std::string_view text : kPreamble) engine.AddCode(text);
}

std::string XStatement(double x) {
    std::string s(kXStatementStart);
    s += script::StrText(x);
    return s;
}

float EvaluateFormula(script::Engine& engine, std::string_view formula, double x,
                      std::string& resultText) {
    try {
        // A failing step is abandoned and the next one runs, as in the sweep.
        try {
            engine.SetVariable(kXName, XValue(x, engine.Settings()));
        } catch (const script::ScriptError&) {
        }
        script::Value value;
        try {
            value = engine.Eval(formula);
            // Null has no text: like a failed evaluation, the point has no value.
            if (value.IsNull()) {
                resultText.clear();
                return 0.0f;
            }
            if (value.IsReal()) {
                // The usual case: the text and, from the same digits, the
                // number it reads back as.
                char buf[script::kMaxRealTextLength];
                double shown = 0;
                int digits = value.kind() == script::VarKind::Single ? script::kSingleDigits
                                                                     : script::kDoubleDigits;
                char* textEnd = script::WriteRealText(buf, value.real(), digits,
                                                      engine.DecimalSeparator(), &shown);
                resultText.assign(buf, textEnd);
                float point = static_cast<float>(shown);
                return std::isfinite(point) ? point : 0.0f;
            }
            resultText.clear();
            script::AppendText(resultText, value, engine.Settings());
        } catch (const script::ScriptError&) {
            resultText.clear();
            return 0.0f;
        }
        double number = 0;
        if (script::ParseNumberText(resultText, engine.DecimalSeparator(), number) !=
            script::TextNumber::kOk)
            return 0.0f;
        float point = static_cast<float>(number);
        return std::isfinite(point) ? point : 0.0f;  // beyond the Single range: error 6
    } catch (...) {
        // Out of memory or any other failure: no value, never an exception.
        resultText.clear();
        return 0.0f;
    }
}

}  // namespace ondrix::eval
