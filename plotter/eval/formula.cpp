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
script::Value XValue(double x, const script::Context& context) {
    script::ShownDouble shown = script::ReadBackDoubleText(x);
    script::Value literal = script::LiteralValue(std::fabs(shown.number), shown.whole);
    if (!(shown.number < 0)) return literal;
    return script::ApplyUnary(script::UnaryOp::kNegate, literal, context);
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

double EvaluateFormula(script::Engine& engine, std::string_view formula, double x,
                       std::string& resultText) {
    try {
        // A failing step is abandoned and the next one runs, as in the sweep.
        try {
            engine.SetVariable(kXName, XValue(x, engine.Settings()));
        } catch (const script::ScriptError&) {
        }
        script::Value value = engine.Eval(formula);
        if (value.IsReal()) {
            // The usual case: the text and, from the same digits, the number
            // it reads back as. Beyond the Single range the point has no value.
            char buf[script::kMaxRealTextLength];
            double shown = 0;
            int digits = value.kind() == script::VarKind::Single ? script::kSingleDigits
                                                                 : script::kDoubleDigits;
            char* textEnd =
                script::WriteRealText(buf, value.real(), digits, engine.DecimalSeparator(), &shown);
            if (InSingleRange(shown)) {
                resultText.assign(buf, textEnd);
                return shown;
            }
        } else if (!value.IsNull()) {  // Null has no text: the point has no value
            resultText.clear();
            script::AppendText(resultText, value, engine.Settings());
            double number = 0;
            if (script::ParseNumberText(resultText, engine.DecimalSeparator(), number) !=
                script::TextNumber::kOk)
                return 0.0;
            return InSingleRange(number) ? number : 0.0;  // a text beyond it: error 6, counts as 0
        }
    } catch (...) {
        // A failed evaluation, out of memory or any other failure: no value,
        // never an exception.
    }
    resultText.clear();
    return 0.0;
}

}  // namespace ondrix::eval
