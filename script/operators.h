#pragma once

// VBScript's operators on variants: result subtypes, promotion on overflow
// (Integer -> Long -> Double, Byte -> Integer, Single -> Double), Null
// propagation and errors.

#include <cmath>

#include "script/context.h"
#include "script/errors.h"
#include "script/value.h"

namespace ondrix::script {

enum class BinaryOp : unsigned char {
    kPow,
    kMul,
    kDiv,
    kIntDiv,
    kMod,
    kAdd,
    kSub,
    kConcat,
    kEq,
    kNe,
    kLt,
    kGt,
    kLe,
    kGe,
    kAnd,
    kOr,
    kXor,
    kEqv,
    kImp,
};

enum class UnaryOp : unsigned char { kNegate, kPlus, kNot };

// How a comparison treats a text beside a value of another subtype. A literal
// operand keeps its subtype firmly and the text is made of that kind; between
// computed operands a number is less than any text.
enum class TextComparison : unsigned char {
    kLoose,     // no literal decides
    kAsNumber,  // beside a number literal the text is read as a number (13 if it is none)
    kAsDate,    // beside a date literal the text is read as CDate reads it
    kAsText,    // beside a text or Boolean literal the other operand becomes its text
};

// The rule a comparison follows, from its operands that are literals (null
// for a computed operand): a number literal decides before a date literal,
// and that before a text or Boolean literal ("42" = 42 compares numbers).
TextComparison TextComparisonOf(const Value* leftLiteral, const Value* rightLiteral);

// =, <>, <, >, <= and >=: a Boolean, or Null when either operand is Null.
Value ApplyComparison(BinaryOp op, const Value& a, const Value& b, TextComparison texts,
                      const Context& context);

// The operators' rules on Doubles, which the fast path below shares with
// the general one: an infinite result is error 6 "Overflow".
inline double CheckedReal(double r) {
    if (!std::isfinite(r)) Raise(kOverflow);
    return r;
}

// +, - or * on whole numbers (std::int64_t, no overflow from 32-bit
// operands) or reals (double).
template <typename T>
T Combine(BinaryOp op, T x, T y) {
    return op == BinaryOp::kAdd ? x + y : op == BinaryOp::kSub ? x - y : x * y;
}

// x / y: 0 / 0 is error 6, any other division by zero error 11.
inline double RealDivide(double x, double y) {
    if (y == 0.0) Raise(x == 0.0 ? kOverflow : kDivisionByZero);
    return CheckedReal(x / y);
}

// x ^ y: error 5 for a negative base with a fractional exponent and for 0 to
// a negative power.
double RealPower(double x, double y);

// The operator by its operands' subtypes: the general road.
Value ApplyBinaryByType(BinaryOp op, const Value& a, const Value& b, const Context& context);

// The plotting case of a binary operator: +, -, *, / and ^ on numbers with a
// Double on one side (the other a Double, Single or whole number) give a
// Double, computed by RealOperation. Both the general road and the Double
// programs of real_program.h decide by this test.
inline bool IsRealOperation(BinaryOp op, VarKind a, VarKind b) {
    bool arithmetic = op == BinaryOp::kAdd || op == BinaryOp::kSub || op == BinaryOp::kMul ||
                      op == BinaryOp::kDiv || op == BinaryOp::kPow;
    return arithmetic && (a == VarKind::Double || b == VarKind::Double) && IsPlainNumberKind(a) &&
           IsPlainNumberKind(b);
}

// The value of an operation IsRealOperation accepts, from its operands as
// Doubles; raises the operator's errors.
inline double RealOperation(BinaryOp op, double x, double y) {
    switch (op) {
        case BinaryOp::kDiv:
            return RealDivide(x, y);
        case BinaryOp::kPow:
            return RealPower(x, y);
        default:
            return CheckedReal(Combine(op, x, y));
    }
}

// A binary operator. The plotting case comes first, inline, without the
// general road's subtype dispatch.
inline Value ApplyBinary(BinaryOp op, const Value& a, const Value& b, const Context& context) {
    if (IsRealOperation(op, a.kind(), b.kind()))
        return Value::Double(RealOperation(op, a.NumberOrZero(), b.NumberOrZero()));
    return ApplyBinaryByType(op, a, b, context);
}
// A unary operator by its operand's subtype: the general road.
Value ApplyUnaryByType(UnaryOp op, const Value& a, const Context& context);

// -x on a Double, the one Double rule of negation, shared by both roads.
inline double RealNegate(double x) {
    return -x;
}

// A unary operator; a negated Double, the plotting case, comes first.
inline Value ApplyUnary(UnaryOp op, const Value& a, const Context& context) {
    if (op == UnaryOp::kNegate && a.kind() == VarKind::Double)
        return Value::Double(RealNegate(a.real()));
    return ApplyUnaryByType(op, a, context);
}

}  // namespace ondrix::script
