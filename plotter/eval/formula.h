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

// A point of a formula curve: whether it has a value (its result text is
// not empty) and the value, its result text read as a Double.
struct PointValue {
    bool hasValue = false;
    double value = 0;
};

// Evaluates one formula at one abscissa. No value when the formula is empty,
// its value Empty or Null, evaluation failed, or the number is beyond the
// Single range; a text or Boolean that reads as no number in that range is 0.
// A number's value is what its 15-digit text reads back as; the text is made
// only for resultText, when given (empty without a value). Never throws.
PointValue EvaluateFormula(script::Engine& engine, std::string_view formula, double x,
                           std::string* resultText = nullptr);

}  // namespace ondrix::eval
