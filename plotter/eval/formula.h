#pragma once

#include <string>
#include <string_view>

namespace ondrix::script {
class Engine;
}

namespace ondrix::eval {

// Resets the engine and adds the preamble: pi and the functions Sec, Cosec,
// Cotan and Arcsin. Runs once at the start of every redraw.
void PrepareScriptEngine(script::Engine& engine);

// The statement that hands the abscissa to the engine: "x = " then x in the
// Str form (one blank for the sign of a non-negative value, "." always).
std::string XStatement(double x);

// Evaluates one formula at one abscissa. Sets resultText to the value's text
// form and returns the point value: resultText read as a Double. The point
// has no value (resultText empty, 0 returned) when the formula is empty, its
// value is Empty, evaluation failed, or the number is beyond the Single range.
// A text or Boolean result that cannot be read as a number in the Single range
// keeps its text and counts as 0. Never throws.
double EvaluateFormula(script::Engine& engine, std::string_view formula, double x,
                       std::string& resultText);

}  // namespace ondrix::eval
