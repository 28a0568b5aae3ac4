#pragma once

// The parsed form of code: expression and statement nodes that evaluate
// themselves against a Runtime (see interpreter.cpp for their behaviour).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "script/operators.h"
#include "script/value.h"

namespace ondrix::script {

class Runtime;

// Where a name used in code lives. Settled when its scope has been parsed
// whole, because a Dim may follow the first use of a name.
struct NameBinding {
    enum class Kind : std::uint8_t {
        kGlobal,    // a script-global variable, function or built-in
        kLocal,     // a parameter or Dim'd variable of the procedure
        kImplicit,  // assigned in the procedure but not declared: the global
                    // if one is defined when it runs, a local otherwise
        kResult,    // the function's own name: its result
    };
    Kind kind = Kind::kGlobal;
    std::uint32_t symbol = 0;  // global symbol
    std::uint32_t slot = 0;    // frame slot for the non-global kinds
};

class Expr {
  public:
    virtual ~Expr() = default;
    virtual Value Evaluate(Runtime& rt) const = 0;
};
using ExprPtr = std::unique_ptr<Expr>;

class LiteralExpr final : public Expr {
  public:
    explicit LiteralExpr(Value v) : value_(std::move(v)) {}
    Value Evaluate(Runtime&) const override { return value_; }
    const Value& value() const { return value_; }

  private:
    Value value_;
};

// A name without parentheses: a variable, or a call without arguments.
class NameExpr final : public Expr {
  public:
    explicit NameExpr(const NameBinding* b) : binding_(b) {}
    Value Evaluate(Runtime& rt) const override;
    const NameBinding* binding() const { return binding_; }

  private:
    const NameBinding* binding_;
};

// A call with arguments: name(a, b) in an expression, or a statement call.
// byRef[i] is the binding of argument i when it is a bare variable name that
// a ByRef parameter may write back to.
class CallExpr final : public Expr {
  public:
    explicit CallExpr(const NameBinding* b, std::vector<ExprPtr> args = {},
                      std::vector<const NameBinding*> byRef = {})
        : binding_(b), args_(std::move(args)), byRef_(std::move(byRef)) {}
    Value Evaluate(Runtime& rt) const override;
    const NameBinding* binding() const { return binding_; }
    const std::vector<ExprPtr>& args() const { return args_; }

  private:
    const NameBinding* binding_;
    std::vector<ExprPtr> args_;
    std::vector<const NameBinding*> byRef_;
};

class UnaryExpr final : public Expr {
  public:
    UnaryExpr(UnaryOp op, ExprPtr operand) : op_(op), operand_(std::move(operand)) {}
    Value Evaluate(Runtime& rt) const override;
    UnaryOp op() const { return op_; }
    const Expr& operand() const { return *operand_; }

  private:
    UnaryOp op_;
    ExprPtr operand_;
};

class BinaryExpr final : public Expr {
  public:
    BinaryExpr(BinaryOp op, ExprPtr left, ExprPtr right)
        : op_(op), left_(std::move(left)), right_(std::move(right)) {}
    Value Evaluate(Runtime& rt) const override;
    BinaryOp op() const { return op_; }
    const Expr& left() const { return *left_; }
    const Expr& right() const { return *right_; }

  private:
    BinaryOp op_;
    ExprPtr left_;
    ExprPtr right_;
};

// A run of operators of one precedence level, applied left to right. Long
// chains ("1+1+1+...") stay flat, so neither evaluating nor destroying them
// recurses per operator. A comparison ("a < b", "a = b = c") also keeps the
// rule for a text beside another subtype that the literals among its
// operands fix (see TextComparisonOf); other operators have none.
class ChainExpr final : public Expr {
  public:
    struct Link {
        BinaryOp op;
        ExprPtr operand;
        std::optional<TextComparison> texts;  // set for the comparisons alone
    };
    ChainExpr(ExprPtr first, std::vector<Link> rest)
        : first_(std::move(first)), rest_(std::move(rest)) {}
    Value Evaluate(Runtime& rt) const override;
    const Expr& first() const { return *first_; }
    const std::vector<Link>& rest() const { return rest_; }

  private:
    ExprPtr first_;
    std::vector<Link> rest_;
};

// What a statement tells the block that runs it.
enum class Flow : std::uint8_t { kNext, kExitProcedure };

class Stmt {
  public:
    virtual ~Stmt() = default;
    virtual Flow Execute(Runtime& rt) const = 0;
};
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

Flow ExecuteBlock(const Block& block, Runtime& rt);

class AssignStmt final : public Stmt {
  public:
    AssignStmt(const NameBinding* target, ExprPtr value)
        : target_(target), value_(std::move(value)) {}
    Flow Execute(Runtime& rt) const override;
    const NameBinding* target() const { return target_; }
    const Expr& value() const { return *value_; }

  private:
    const NameBinding* target_;
    ExprPtr value_;
};

// A call whose result, if any, is dropped.
class CallStmt final : public Stmt {
  public:
    explicit CallStmt(ExprPtr call) : call_(std::move(call)) {}
    Flow Execute(Runtime& rt) const override;

  private:
    ExprPtr call_;
};

class IfStmt final : public Stmt {
  public:
    struct Branch {
        ExprPtr condition;
        Block body;
    };
    IfStmt(std::vector<Branch> branches, Block otherwise)
        : branches_(std::move(branches)), otherwise_(std::move(otherwise)) {}
    Flow Execute(Runtime& rt) const override;

  private:
    std::vector<Branch> branches_;
    Block otherwise_;
};

// Several statements that the parser produced from one (Const a = 1, b = 2).
class SequenceStmt final : public Stmt {
  public:
    explicit SequenceStmt(Block parts) : parts_(std::move(parts)) {}
    Flow Execute(Runtime& rt) const override { return ExecuteBlock(parts_, rt); }

  private:
    Block parts_;
};

class ExitStmt final : public Stmt {
  public:
    Flow Execute(Runtime&) const override { return Flow::kExitProcedure; }
};

// Dim at the global level defines the names (so procedures use the globals);
// inside a procedure the parser has already made them locals.
class DimStmt final : public Stmt {
  public:
    explicit DimStmt(std::vector<const NameBinding*> names) : names_(std::move(names)) {}
    Flow Execute(Runtime& rt) const override;

  private:
    std::vector<const NameBinding*> names_;
};

class RandomizeStmt final : public Stmt {
  public:
    explicit RandomizeStmt(ExprPtr seed) : seed_(std::move(seed)) {}
    Flow Execute(Runtime& rt) const override;

  private:
    ExprPtr seed_;  // may be null: seed from the clock
};

// A user Function or Sub.
struct Procedure {
    std::string name;  // as written in its definition
    std::uint32_t symbol = 0;
    bool isFunction = true;
    std::vector<bool> byRef;      // one per parameter; slot 1 + i holds parameter i
    std::uint32_t slotCount = 1;  // slot 0 holds the function's result
    Block body;
    std::vector<std::unique_ptr<NameBinding>> bindings;
};

// One parsed Eval text. A text that failed to parse keeps its error, so a
// broken formula is not parsed again at every point.
struct ParsedExpression {
    ExprPtr root;  // null for an empty text
    std::vector<std::unique_ptr<NameBinding>> bindings;
    int errorNumber = 0;
    std::string errorText;
};

// One parsed AddCode text: its procedures, and its global statements in order.
struct ParsedProgram {
    std::vector<std::shared_ptr<Procedure>> procedures;
    Block statements;
    std::vector<std::unique_ptr<NameBinding>> bindings;
};

}  // namespace ondrix::script
