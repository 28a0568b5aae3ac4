#pragma once

// An Eval text specialised to Doubles: while every variable it reads holds a
// Double, Sin(x)*x^2/10 is arithmetic on plain doubles, variables bound to
// their slots and one-line functions inlined, without Values, virtual calls
// or look-ups. The general road (interpreter.cpp) stays the definition:
// the program calls its rule functions (IsRealOperation and RealOperation,
// the maths built-ins' Double road, ApplyUnary) and folds constant parts with
// the general road itself. Anything else has no program, and an evaluation
// whose variables are not Doubles takes the general road.

#include <cstdint>
#include <memory>
#include <vector>

#include "script/ast.h"
#include "script/builtins.h"
#include "script/context.h"
#include "script/symbols.h"

namespace ondrix::script {

class RealProgram {
  public:
    // The program of an expression, or null when a part of it is no Double
    // from Doubles (a text, a comparison, a built-in without a Double road, a
    // procedure other than "Name = expression", ...) or a constant part
    // raises. Procedures are inlined as they are now: build again after
    // code is added.
    static std::unique_ptr<RealProgram> Build(const Expr& root, SymbolTable& symbols);

    // The one guard, then the run: false, having done nothing, when a variable
    // the program reads holds no Double or the general road would run out of
    // steps (error 28). Raises the error the general road raises first.
    bool Run(const Context& context, double& result) const;

  private:
    friend class RealProgramBuilder;

    // registers[result] = binary(registers[a], registers[b]) or unary(registers[a]).
    struct Instruction {
        double (*binary)(double, double);
        RealFunction unary;
        std::uint32_t result, a, b;
    };
    struct Variable {
        const Value* slot;
        std::uint32_t reg;
    };

    std::vector<Instruction> code_;
    std::vector<Variable> variables_;
    mutable std::vector<double> registers_;  // constants set once, the rest at every run
    std::uint32_t result_ = 0;
    std::uint64_t steps_ = 0;  // the general road's steps for the whole expression
};

}  // namespace ondrix::script
