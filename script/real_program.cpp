#include "script/real_program.h"

#include <algorithm>
#include <optional>
#include <span>

#include "script/errors.h"
#include "script/limits.h"
#include "script/operators.h"

namespace ondrix::script {
namespace {

// A built part of the expression: its register, and its Value when it is a
// constant (the operators' rules read its subtype); others are Doubles.
struct Operand {
    std::uint32_t reg = 0;
    std::optional<Value> constant;
    VarKind kind() const { return constant ? constant->kind() : VarKind::Double; }
};
using Built = std::optional<Operand>;

// The operators' Double rules, one function per operator, in the order of
// BinaryOp and UnaryOp (null where IsRealOperation never holds).
template <BinaryOp kOp>
double Operation(double x, double y) {
    return RealOperation(kOp, x, y);
}
template <UnaryOp kOp>
double UnaryOperation(double x) {
    return ApplyUnary(kOp, Value::Double(x), Context{}).real();  // no text: no setting matters
}
// clang-format off
constexpr double (*kOperations[])(double, double) = {
    Operation<BinaryOp::kPow>, Operation<BinaryOp::kMul>, Operation<BinaryOp::kDiv>, nullptr,
    nullptr, Operation<BinaryOp::kAdd>, Operation<BinaryOp::kSub>};
constexpr RealFunction kUnaryOperations[] = {
    UnaryOperation<UnaryOp::kNegate>, UnaryOperation<UnaryOp::kPlus>, UnaryOperation<UnaryOp::kNot>};
// clang-format on

}  // namespace

// Walks the nodes in the general road's order, so the instructions raise
// errors in its order, counting its StepGuards' steps and depth on the way.
class RealProgramBuilder {
  public:
    RealProgramBuilder(SymbolTable& symbols, RealProgram& program)
        : symbols_(symbols), program_(program) {}

    Built Lower(const Expr& e, int depth) {
        if (auto* literal = dynamic_cast<const LiteralExpr*>(&e)) return Constant(literal->value());
        if (auto* name = dynamic_cast<const NameExpr*>(&e)) return Name(*name->binding(), depth);
        if (auto* call = dynamic_cast<const CallExpr*>(&e)) return Call(*call, depth);
        if (!Guard(depth)) return {};
        if (auto* unary = dynamic_cast<const UnaryExpr*>(&e)) {
            Built operand = Lower(unary->operand(), depth + 1);
            return operand ? Unary(unary->op(), *operand) : Built{};
        }
        if (auto* binary = dynamic_cast<const BinaryExpr*>(&e)) {
            Built left = Lower(binary->left(), depth + 1);
            Built right = left ? Lower(binary->right(), depth + 1) : Built{};
            return right ? Binary(binary->op(), *left, *right) : Built{};
        }
        if (auto* chain = dynamic_cast<const ChainExpr*>(&e)) {
            // Comparisons have no Double program: they give a Boolean, by the
            // texts rule of their links, on the general road alone.
            if (std::ranges::any_of(chain->rest(),
                                    [](const auto& link) { return link.texts.has_value(); }))
                return {};
            Built acc = Lower(chain->first(), depth + 1);
            for (const ChainExpr::Link& link : chain->rest()) {
                Built next = acc ? Lower(*link.operand, depth + 1) : Built{};
                acc = next ? Binary(link.op, *acc, *next) : Built{};
            }
            return acc;
        }
        return {};
    }

  private:
    // One StepGuard of the general road at this depth; beyond the bound it
    // raises error 28, so there is no program.
    bool Guard(int depth) {
        ++program_.steps_;
        return depth < limits::kMaxEvalDepth;
    }

    std::uint32_t NewRegister(double initial) {
        program_.registers_.push_back(initial);
        return static_cast<std::uint32_t>(program_.registers_.size() - 1);
    }

    Built Emit(RealProgram::Instruction instruction) {
        instruction.result = NewRegister(0);
        program_.code_.push_back(instruction);
        return Operand{instruction.result, {}};
    }

    Built Constant(const Value& v) {
        return IsPlainNumberKind(v.kind()) ? Operand{NewRegister(v.NumberOrZero()), v} : Built{};
    }

    // A constant part computed once by the general road; one that raises has
    // no program, so that the general road raises it at every evaluation.
    template <typename Fn>
    Built Fold(Fn general) {
        try {
            return Constant(general());
        } catch (const ScriptError&) {
            return {};
        }
    }

    Built Variable(const Value& slot) {
        for (const RealProgram::Variable& v : program_.variables_) {
            if (v.slot == &slot) return Operand{v.reg, {}};
        }
        program_.variables_.push_back({&slot, NewRegister(0)});
        return Operand{program_.variables_.back().reg, {}};
    }

    // A name without parentheses, as NameExpr::Evaluate reads it.
    Built Name(const NameBinding& b, int depth) {
        if (b.kind == NameBinding::Kind::kLocal)  // a parameter (slot 1 + i) of an inlined function
            return b.slot >= 1 && b.slot <= params_.size() ? params_[b.slot - 1] : Built{};
        if (b.kind != NameBinding::Kind::kGlobal) return {};
        Symbol& s = symbols_[b.symbol];
        if (s.procedure) return Guard(depth) ? Inline(*s.procedure, {}, depth + 1) : Built{};
        if (s.builtin && !s.defined) return {};
        return Variable(s.value);
    }

    // A call with arguments, as CallExpr::Evaluate makes it.
    Built Call(const CallExpr& call, int depth) {
        const NameBinding& b = *call.binding();
        if (b.kind != NameBinding::Kind::kGlobal || !Guard(depth)) return {};
        const Symbol& s = symbols_[b.symbol];
        if (s.procedure) return Inline(*s.procedure, call.args(), depth + 1);
        RealFunction real = s.builtin ? s.builtin->real : nullptr;
        if (!real || call.args().size() != 1) return {};
        Built arg = Lower(*call.args()[0], depth + 1);
        return arg ? Emit({nullptr, real, 0, arg->reg, 0}) : Built{};
    }

    // A Function whose body is the one statement "Name = expression", as
    // CallProcedure runs it: a step and a level for the call, the arguments
    // in the caller's scope, a step for the statement. Its parameters only
    // read their arguments, so an alias (ByRef) and a copy give the same.
    Built Inline(const Procedure& proc, std::span<const ExprPtr> args, int depth) {
        if (!proc.isFunction || args.size() != proc.byRef.size() || proc.body.size() != 1 ||
            std::ranges::find(inlining_, &proc) != inlining_.end() || !Guard(depth))
            return {};
        auto* assign = dynamic_cast<const AssignStmt*>(proc.body[0].get());
        if (!assign || assign->target()->kind != NameBinding::Kind::kResult) return {};
        std::vector<Operand> values;
        for (const ExprPtr& arg : args) {
            Built v = Lower(*arg, depth + 1);
            if (!v) return {};
            values.push_back(std::move(*v));
        }
        ++program_.steps_;
        std::span<const Operand> callerParams = params_;
        params_ = values;
        inlining_.push_back(&proc);
        Built result = Lower(assign->value(), depth + 1);
        inlining_.pop_back();
        params_ = callerParams;
        return result;
    }

    Built Unary(UnaryOp op, const Operand& operand) {
        if (operand.constant)
            return Fold([&] { return ApplyUnary(op, *operand.constant, Context{}); });
        // The subtype of a unary result follows from its operand's subtype
        // alone (a negated Double is a Double, Not gives a Long).
        Built probe = Fold([&] { return ApplyUnary(op, Value::Double(1.0), Context{}); });
        if (!probe || probe->kind() != VarKind::Double) return {};
        return Emit({nullptr, kUnaryOperations[static_cast<int>(op)], 0, operand.reg, 0});
    }

    // Two constants that are no Double operation (1 + 2, 2 ^ 2) are folded.
    Built Binary(BinaryOp op, const Operand& left, const Operand& right) {
        if (IsRealOperation(op, left.kind(), right.kind()))
            return Emit({kOperations[static_cast<int>(op)], nullptr, 0, left.reg, right.reg});
        if (!left.constant || !right.constant) return {};
        return Fold([&] { return ApplyBinary(op, *left.constant, *right.constant, Context{}); });
    }

    SymbolTable& symbols_;
    RealProgram& program_;
    std::span<const Operand> params_;         // of the function being inlined
    std::vector<const Procedure*> inlining_;  // no recursion
};

std::unique_ptr<RealProgram> RealProgram::Build(const Expr& root, SymbolTable& symbols) {
    auto program = std::make_unique<RealProgram>();
    Built result = RealProgramBuilder(symbols, *program).Lower(root, 0);
    if (!result || result->constant) return nullptr;
    program->result_ = result->reg;
    return program;
}

bool RealProgram::Run(const Context& context, double& result) const {
    if (steps_ > context.stepLimit) return false;
    double* r = registers_.data();
    for (const Variable& v : variables_) {
        if (v.slot->kind() != VarKind::Double) return false;
        r[v.reg] = v.slot->real();
    }
    for (const Instruction& i : code_)
        r[i.result] = i.binary ? i.binary(r[i.a], r[i.b]) : i.unary(r[i.a]);
    result = r[result_];
    return true;
}

}  // namespace ondrix::script
