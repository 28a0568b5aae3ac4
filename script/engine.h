#pragma once

// Public face of our VBScript engine: Reset, AddCode and Eval, as a script
// host offers them, plus the settings and a direct hand-over of a variable's
// value. Standard C++ only; no Qt.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "script/context.h"
#include "script/value.h"

namespace ondrix::script {

// A VBScript run-time or syntax error: number and description as VBScript
// gives them (11 "Division by zero", 1002 "Syntax error", ...).
class ScriptError : public std::runtime_error {
  public:
    ScriptError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }
    std::string description() const { return what(); }

  private:
    int number_;
};

class Engine {
  public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Forgets all added code and all global variables.
    void Reset();
    // Adds statements and definitions; global statements run at once.
    void AddCode(std::string_view code);
    // Evaluates an expression in the global scope.
    Value Eval(std::string_view expression);
    // Gives a global variable a value, as the statement "name = value" does
    // (error 501 when the name is a procedure), without the statement's text.
    // The plotter hands over the abscissa this way at every point.
    void SetVariable(std::string_view name, Value value);

    // Decimal separator used when numbers become text and text becomes numbers.
    void SetDecimalSeparator(char separator);
    char DecimalSeparator() const;
    // All settings at once, as conversions of the engine's values take them.
    const Context& Settings() const;

    // Evaluation steps one AddCode or Eval call may take before it stops with
    // error 28 (see limits.h); the default suits interactive plotting.
    void SetStepLimit(std::uint64_t steps);

    // On (the default), Eval runs a formula that is Double in, Double out as a
    // Double program (real_program.h); off, always the general road (tests).
    void SetDoubleRoad(bool enabled);
    // Whether the last Eval took the Double road.
    bool UsedDoubleRoad() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ondrix::script
