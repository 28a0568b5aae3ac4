#pragma once

// An Eval text specialised to Doubles. When every variable it reads holds a
// Double, a formula such as Sin(x)*x^2/10 is a Double computed from Doubles:
// the program does that arithmetic on plain doubles, with its variables bound
// to their slots and the preamble's one-line functions inlined, instead of
// walking the nodes with Values, virtual calls and name look-ups.
//
// The general road (interpreter.cpp) stays the definition of the language.
// The program holds no rule of its own: its operators are the general road's
// IsRealOperation and RealOperation, its built-ins their Double road,
// its unary operators ApplyUnary, and its constant parts are computed by the
// general road itself when the program is built. Anything that is not Double
// in, Double out has no program, and an evaluation whose variables are not
// Doubles takes the general road.

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
    // The program of an expression, or null when some part of it is no Double
    // computed from Doubles (a text, a comparison, a built-in without a
    // Double road, a procedure other than "Name = expression", ...) or a
    // constant part of it raises an error. Procedures are inlined as they are
    // now, so a program must be built again after code is added.
    static std::unique_ptr<RealProgram> Build(const Expr& root, SymbolTable& symbols);

    // The one guard, then the run: false, having done nothing, when a variable
    // the program reads holds no Double or the general road would run out of
    // steps (error 28). Raises the error the general road raises first.
    bool Run(const Context& context, double& result) const;

  private:
    friend class RealProgramBuilder;

    // registers[result] = binary(registers[a], registers[b]), or
    // unary(registers[a]) when binary is null.
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
    // Constants are set when the program is built, the rest at every run.
    mutable std::vector<double> registers_;
    std::uint32_t result_ = 0;
    // The steps the general road counts for the whole expression.
    std::uint64_t steps_ = 0;
};

}  // namespace ondrix::script
