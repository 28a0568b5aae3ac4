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
// form (empty when the formula is empty, its value is Empty, or evaluation
// failed: the point has no value) and returns the point value: resultText read
// as a single-precision number, or 0 when it cannot be read as one.
// Never throws.
float EvaluateFormula(script::Engine& engine, std::string_view formula, double x,
                      std::string& resultText);

}  // namespace ondrix::eval
