// How the nodes of ast.h run: name lookup, calls of procedures and built-ins,
// operators and statements.

#include <array>
#include <chrono>
#include <span>

#include "script/ast.h"
#include "script/builtins.h"
#include "script/conversions.h"
#include "script/errors.h"
#include "script/runtime.h"

namespace ondrix::script {
namespace {

// The variable a binding names in the running scope, or null when the name is
// a procedure or built-in rather than a variable.
Value* Variable(Runtime& rt, const NameBinding& b) {
    switch (b.kind) {
        case NameBinding::Kind::kLocal:
        case NameBinding::Kind::kResult:
            return &rt.frame->Slot(b.slot);
        case NameBinding::Kind::kImplicit: {
            Symbol& s = rt.symbols[b.symbol];
            return s.defined ? &s.value : &rt.frame->Slot(b.slot);
        }
        case NameBinding::Kind::kGlobal: {
            Symbol& s = rt.symbols[b.symbol];
            if (s.procedure || (s.builtin && !s.defined)) return nullptr;
            s.defined = true;
            return &s.value;
        }
    }
    return nullptr;
}

Value CallBuiltin(Runtime& rt, const Builtin& builtin, std::span<const ExprPtr> args,
                  const std::string& name) {
    if (args.size() < builtin.minArgs || args.size() > builtin.maxArgs)
        RaiseNamed(kWrongArgumentCount, name);
    BuiltinContext ctx{rt.context, rt.random};
    if (args.size() == 1) {
        Value v = args[0]->Evaluate(rt);
        return builtin.function(std::span<const Value>(&v, 1), ctx);
    }
    std::array<Value, kMaxBuiltinArgs> values;
    for (std::size_t i = 0; i < args.size(); ++i) values[i] = args[i]->Evaluate(rt);
    return builtin.function(std::span<const Value>(values.data(), args.size()), ctx);
}

Value CallProcedure(Runtime& rt, const Procedure& proc, std::span<const ExprPtr> args,
                    std::span<const NameBinding* const> byRef) {
    if (args.size() != proc.byRef.size()) RaiseNamed(kWrongArgumentCount, proc.name);
    StepGuard guard(rt);
    Frame& frame = rt.AcquireFrame(proc.slotCount);
    // Gives the frame back and returns to the caller's scope, also on an error.
    struct Restore {
        Runtime& rt;
        Frame* frame;
        const Procedure* procedure;
        ~Restore() {
            rt.frame = frame;
            rt.procedure = procedure;
            rt.ReleaseFrame();
        }
    } restore{rt, rt.frame, rt.procedure};

    // Arguments are evaluated in the caller's scope.
    for (std::size_t i = 0; i < args.size(); ++i) {
        Value* target = nullptr;
        if (proc.byRef[i] && i < byRef.size() && byRef[i]) target = Variable(rt, *byRef[i]);
        if (target)
            frame.alias[i + 1] = target;
        else
            frame.slots[i + 1] = args[i]->Evaluate(rt);
    }
    rt.frame = &frame;
    rt.procedure = &proc;
    ExecuteBlock(proc.body, rt);
    if (!proc.isFunction) return Value();
    return std::move(frame.slots[0]);
}

bool IsTrue(const Value& v, const Context& context) {
    if (v.IsNull()) return false;  // If Null Then ... takes the Else branch
    return ToBoolean(v, context);
}

}  // namespace

Value NameExpr::Evaluate(Runtime& rt) const {
    const NameBinding& b = *binding_;
    if (b.kind == NameBinding::Kind::kGlobal) {
        Symbol& s = rt.symbols[b.symbol];
        if (s.procedure || (s.builtin && !s.defined)) {
            StepGuard guard(rt);
            return s.procedure ? CallProcedure(rt, *s.procedure, {}, {})
                               : CallBuiltin(rt, *s.builtin, {}, s.name);
        }
        return s.value;
    }
    return *Variable(rt, b);
}

Value CallExpr::Evaluate(Runtime& rt) const {
    StepGuard guard(rt);
    const NameBinding& b = *binding_;
    Symbol& s = rt.symbols[b.symbol];
    bool isLocalVariable = b.kind == NameBinding::Kind::kLocal ||
                           (b.kind == NameBinding::Kind::kImplicit && !s.defined);
    if (!isLocalVariable) {
        if (s.procedure) return CallProcedure(rt, *s.procedure, args_, byRef_);
        if (s.builtin) return CallBuiltin(rt, *s.builtin, args_, s.name);
    }
    // A variable cannot take arguments (there are no arrays), nor can a name
    // that is nothing at all: VBScript reports both as a type mismatch.
    RaiseNamed(kTypeMismatch, s.name);
}

Value UnaryExpr::Evaluate(Runtime& rt) const {
    StepGuard guard(rt);
    return ApplyUnary(op_, operand_->Evaluate(rt), rt.context);
}

Value BinaryExpr::Evaluate(Runtime& rt) const {
    StepGuard guard(rt);
    Value a = left_->Evaluate(rt);
    Value b = right_->Evaluate(rt);
    return ApplyBinary(op_, a, b, rt.context);
}

Value ChainExpr::Evaluate(Runtime& rt) const {
    StepGuard guard(rt);
    Value acc = first_->Evaluate(rt);
    for (const Link& link : rest_) {
        Value next = link.operand->Evaluate(rt);
        acc = link.texts ? ApplyComparison(link.op, acc, next, *link.texts, rt.context)
                         : ApplyBinary(link.op, acc, next, rt.context);
    }
    return acc;
}

Flow ExecuteBlock(const Block& block, Runtime& rt) {
    for (const StmtPtr& stmt : block) {
        if (rt.stepsLeft == 0) Raise(kOutOfStackSpace);
        --rt.stepsLeft;
        if (stmt->Execute(rt) == Flow::kExitProcedure) return Flow::kExitProcedure;
    }
    return Flow::kNext;
}

Flow AssignStmt::Execute(Runtime& rt) const {
    Value v = value_->Evaluate(rt);
    const NameBinding& b = *target_;
    if (b.kind == NameBinding::Kind::kGlobal)
        AssignGlobal(rt.symbols[b.symbol], std::move(v));
    else
        *Variable(rt, b) = std::move(v);
    return Flow::kNext;
}

Flow CallStmt::Execute(Runtime& rt) const {
    call_->Evaluate(rt);
    return Flow::kNext;
}

Flow IfStmt::Execute(Runtime& rt) const {
    StepGuard guard(rt);
    for (const Branch& branch : branches_) {
        if (IsTrue(branch.condition->Evaluate(rt), rt.context))
            return ExecuteBlock(branch.body, rt);
    }
    return ExecuteBlock(otherwise_, rt);
}

Flow DimStmt::Execute(Runtime& rt) const {
    for (const NameBinding* b : names_) {
        if (b->kind == NameBinding::Kind::kGlobal) rt.symbols[b->symbol].defined = true;
    }
    return Flow::kNext;
}

Flow RandomizeStmt::Execute(Runtime& rt) const {
    using Seconds = std::chrono::duration<double>;
    SeedRandom(rt.random,
               seed_ ? ToDouble(seed_->Evaluate(rt), rt.context)
                     : Seconds(std::chrono::system_clock::now().time_since_epoch()).count());
    return Flow::kNext;
}

}  // namespace ondrix::script
