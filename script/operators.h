#pragma once

// VBScript's operators on variants: result subtypes, promotion on overflow
// (Integer -> Long -> Double, Byte -> Integer, Single -> Double), Null
// propagation and errors.

#include "script/context.h"
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

Value ApplyBinary(BinaryOp op, const Value& a, const Value& b, const Context& context);
Value ApplyUnary(UnaryOp op, const Value& a, const Context& context);

}  // namespace ondrix::script
