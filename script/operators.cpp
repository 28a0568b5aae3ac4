#include "script/operators.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "script/conversions.h"
#include "script/currency.h"
#include "script/errors.h"

namespace ondrix::script {
namespace {

// Order of the numeric subtypes for choosing a result type, least precise
// first. Empty takes the other operand's type; a string, and a Date outside
// + and -, take part as a Double.
enum Rank : int {
    kEmptyRank,
    kByteRank,
    kIntegerRank,
    kLongRank,
    kSingleRank,
    kDoubleRank,
    kCurrencyRank,
};

Rank RankOf(const Value& v) {
    switch (v.kind()) {
        case VarKind::Empty:
            return kEmptyRank;
        case VarKind::Byte:
            return kByteRank;
        case VarKind::Boolean:
        case VarKind::Integer:
            return kIntegerRank;
        case VarKind::Long:
            return kLongRank;
        case VarKind::Single:
            return kSingleRank;
        case VarKind::Currency:
            return kCurrencyRank;
        default:
            return kDoubleRank;
    }
}

Rank ResultRank(const Value& a, const Value& b) {
    Rank ra = RankOf(a), rb = RankOf(b);
    // A Long with a Single has no exact Single form: VBScript gives a Double.
    if ((ra == kLongRank && rb == kSingleRank) || (ra == kSingleRank && rb == kLongRank))
        return kDoubleRank;
    Rank r = ra > rb ? ra : rb;
    return r == kEmptyRank ? kIntegerRank : r;
}

}  // namespace

double RealPower(double x, double y) {
    if (x < 0.0 && y != std::trunc(y)) Raise(kInvalidProcedureCall);
    if (x == 0.0 && y < 0.0) Raise(kInvalidProcedureCall);
    // x^2 is common in formulas; x*x is its correctly rounded square.
    return CheckedReal(y == 2.0 ? x * x : std::pow(x, y));
}

namespace {

// Whether + joins and comparisons compare as text: two strings, or a string
// and Empty.
bool TextPair(const Value& a, const Value& b) {
    return (a.IsString() || b.IsString()) && (a.IsString() || a.IsEmpty()) &&
           (b.IsString() || b.IsEmpty());
}

std::string Concat(const Value& a, const Value& b, const Context& context) {
    std::string s;
    AppendText(s, a, context);
    AppendText(s, b, context);
    CheckStringLength(s.size());
    return s;
}

// + and - with a Date on either side: a Date, but the difference of two
// Dates is a Double count of days.
Value DateArithmetic(BinaryOp op, const Value& a, const Value& b, const Context& context) {
    double r = CheckedReal(Combine(op, ToDouble(a, context), ToDouble(b, context)));
    if (op == BinaryOp::kSub && a.kind() == VarKind::Date && b.kind() == VarKind::Date)
        return Value::Double(r);
    return DateOrDouble(r);
}

Value CurrencyArithmetic(BinaryOp op, const Value& a, const Value& b, const Context& context) {
    std::int64_t x = ToCurrency(a, context), y = ToCurrency(b, context);
    return Value::Currency(op == BinaryOp::kAdd   ? currency::Add(x, y)
                           : op == BinaryOp::kSub ? currency::Subtract(x, y)
                                                  : currency::Multiply(x, y));
}

// +, - and *.
Value Arithmetic(BinaryOp op, const Value& a, const Value& b, const Context& context) {
    if (a.IsNull() || b.IsNull()) return Value::Null();
    // A string with a number is read as a number.
    if (op == BinaryOp::kAdd && TextPair(a, b)) return Value::String(Concat(a, b, context));
    if (op != BinaryOp::kMul && (a.kind() == VarKind::Date || b.kind() == VarKind::Date))
        return DateArithmetic(op, a, b, context);
    switch (ResultRank(a, b)) {
        case kByteRank: {
            std::int64_t r = Combine<std::int64_t>(op, a.whole(), b.whole());
            if (std::in_range<std::uint8_t>(r)) return Value::Byte(static_cast<std::uint8_t>(r));
            return WholeResult(r);
        }
        case kIntegerRank:
            return WholeResult(Combine<std::int64_t>(op, a.whole(), b.whole()));
        case kLongRank:
            return LongOrDouble(Combine<std::int64_t>(op, a.whole(), b.whole()));
        case kSingleRank: {
            double r = Combine(op, a.NumberOrZero(), b.NumberOrZero());
            float f = static_cast<float>(r);
            if (std::isfinite(f)) return Value::Single(f);
            return Value::Double(CheckedReal(r));
        }
        case kCurrencyRank: {
            // A product with a real factor (a Single, Double, Date or text)
            // is a Double; sums and differences stay Currency.
            Rank other = std::min(RankOf(a), RankOf(b));
            if (op != BinaryOp::kMul || (other != kSingleRank && other != kDoubleRank))
                return CurrencyArithmetic(op, a, b, context);
            [[fallthrough]];
        }
        default:
            return Value::Double(
                CheckedReal(Combine(op, ToDouble(a, context), ToDouble(b, context))));
    }
}

Value Divide(const Value& a, const Value& b, const Context& context) {
    if (a.IsNull() || b.IsNull()) return Value::Null();
    double r = RealDivide(ToDouble(a, context), ToDouble(b, context));
    // "/" keeps a Single where + would: a Single with a Single or a
    // narrower subtype (not a Long).
    if (ResultRank(a, b) == kSingleRank) {
        // Single operands are exact in a Double, so rounding the Double
        // quotient once more gives the correctly rounded Single quotient.
        float f = static_cast<float>(r);
        if (std::isfinite(f)) return Value::Single(f);
    }
    return Value::Double(r);
}

// The result of \, Mod and the bitwise operators by the ranks of their
// operands: a Byte when one is a Byte and the other no wider, an Integer
// (or wider, should it not fit) up to Integers, else a Long (error 6
// beyond it).
Value WholeOfRanks(std::int64_t r, Rank ra, Rank rb) {
    Rank wider = std::max(ra, rb);
    if (wider == kByteRank) return Value::Byte(static_cast<std::uint8_t>(r));
    if (wider <= kIntegerRank) return WholeResult(r);
    if (!std::in_range<std::int32_t>(r)) Raise(kOverflow);
    return Value::Long(static_cast<std::int32_t>(r));
}

// \ and Mod: both operands are rounded to whole numbers first.
Value WholeDivide(BinaryOp op, const Value& a, const Value& b, const Context& context) {
    if (a.IsNull() || b.IsNull()) return Value::Null();
    std::int64_t x = ToLong(a, context), y = ToLong(b, context);
    if (y == 0) Raise(kDivisionByZero);
    return WholeOfRanks(op == BinaryOp::kIntDiv ? x / y : x % y, RankOf(a), RankOf(b));
}

Value Power(const Value& a, const Value& b, const Context& context) {
    if (a.IsNull() || b.IsNull()) return Value::Null();
    return Value::Double(RealPower(ToDouble(a, context), ToDouble(b, context)));
}

// Negative, zero or positive: the order of two numbers (Empty is 0). A
// Single beside a Double compares at Single precision (CSng(0.1) = 0.1).
int CompareNumbers(const Value& a, const Value& b) {
    if (a.kind() == VarKind::Currency && b.kind() == VarKind::Currency) {
        // Exactly: amounts beyond 2^53 ten-thousandths have no exact Double.
        return (a.amount() > b.amount()) - (a.amount() < b.amount());
    }
    double x = a.NumberOrZero(), y = b.NumberOrZero();
    bool single = (a.kind() == VarKind::Single && b.kind() == VarKind::Double) ||
                  (a.kind() == VarKind::Double && b.kind() == VarKind::Single);
    if (single) {
        // Rounding to the nearer Single keeps the order and merges only ties.
        x = static_cast<float>(x);
        y = static_cast<float>(y);
    }
    return (x > y) - (x < y);
}

// Negative, zero or positive; every comparison takes this road. Two texts
// (or a text and Empty, which is "" there) compare as texts. A text beside
// another value follows `texts`: beside a literal it becomes that literal's
// kind, else a number is less than any text.
int Compare(const Value& a, const Value& b, TextComparison texts, const Context& context) {
    if (TextPair(a, b)) return a.text().compare(b.text());  // Empty's text is ""
    if (a.IsString() || b.IsString()) {
        const Value& text = a.IsString() ? a : b;
        const Value& other = a.IsString() ? b : a;
        int sign = a.IsString() ? 1 : -1;  // the order of (text, other)
        switch (texts) {
            case TextComparison::kAsNumber:
                return sign * CompareNumbers(Value::Double(ToDouble(text, context)), other);
            case TextComparison::kAsDate:
                return sign * CompareNumbers(Value::Date(ToDate(text, context)), other);
            case TextComparison::kAsText: {
                int c = text.text().compare(ToText(other, context));
                return sign * ((c > 0) - (c < 0));
            }
            case TextComparison::kLoose:
                break;
        }
        return sign;
    }
    return CompareNumbers(a, b);
}

// Operand of a logical operator: a string "True"/"False" counts as a Boolean.
Value LogicalOperand(const Value& v) {
    bool b;
    if (v.IsString() && ReadBooleanWord(v.text(), b)) return Value::Boolean(b);
    return v;
}

std::int32_t Bits(BinaryOp op, std::int32_t x, std::int32_t y) {
    return op == BinaryOp::kAnd   ? x & y
           : op == BinaryOp::kOr  ? x | y
           : op == BinaryOp::kXor ? x ^ y
           : op == BinaryOp::kEqv ? ~(x ^ y)
                                  : ~x | y;  // Imp
}

// The rank a logical operand types the result by: Empty counts as a Long,
// Null as the narrowest (the other operand's subtype decides).
Rank LogicalRank(const Value& v) {
    return v.IsNull() ? kEmptyRank : v.IsEmpty() ? kLongRank : RankOf(v);
}

// The result of a logical operator in the subtype its operands call for.
Value TypedBits(std::int32_t r, const Value& a, const Value& b) {
    bool aBool = a.kind() == VarKind::Boolean || a.IsNull();
    bool bBool = b.kind() == VarKind::Boolean || b.IsNull();
    if (aBool && bBool) return Value::Boolean(r != 0);
    return WholeOfRanks(r, LogicalRank(a), LogicalRank(b));
}

// Whether the operand beside a Null decides the result, which is then the
// operator's result with Null read as 0: 0 And Null is 0, a non-zero value
// Or Null is that value (a set bit decides, as True does), Null Imp True is
// True, and x Imp Null is Not x unless x is True. Xor and Eqv never are.
bool DecidesBesideNull(BinaryOp op, std::int32_t other, bool nullOnLeft) {
    return op == BinaryOp::kAnd   ? other == 0
           : op == BinaryOp::kOr  ? other != 0
           : op == BinaryOp::kImp ? (nullOnLeft ? other == -1 : other != -1)
                                  : false;
}

Value Logical(BinaryOp op, const Value& rawA, const Value& rawB, const Context& context) {
    Value a = LogicalOperand(rawA), b = LogicalOperand(rawB);
    if (a.IsNull() && b.IsNull()) return Value::Null();
    std::int32_t x = a.IsNull() ? 0 : ToLong(a, context);
    std::int32_t y = b.IsNull() ? 0 : ToLong(b, context);
    if ((a.IsNull() || b.IsNull()) && !DecidesBesideNull(op, a.IsNull() ? y : x, a.IsNull()))
        return Value::Null();
    return TypedBits(Bits(op, x, y), a, b);
}

Value Negate(const Value& a, const Context& context) {
    // A Byte has no negative values: its negation is an Integer.
    if (a.kind() == VarKind::Byte) return Value::Integer(static_cast<std::int16_t>(-a.whole()));
    return KeepKind(
        a, context, [](std::int64_t x) { return -x; }, RealNegate,
        [](std::int64_t x) { return currency::Negate(x); });
}

Value Not(const Value& raw, const Context& context) {
    Value a = LogicalOperand(raw);
    if (a.IsNull()) return Value::Null();
    return TypedBits(~ToLong(a, context), a, a);
}

}  // namespace

TextComparison TextComparisonOf(const Value* leftLiteral, const Value* rightLiteral) {
    auto either = [&](auto is) {
        return (leftLiteral && is(*leftLiteral)) || (rightLiteral && is(*rightLiteral));
    };
    // A number literal decides first: "42" = 42 compares numbers.
    if (either([](const Value& v) {
            return v.IsReal() || (v.IsWhole() && v.kind() != VarKind::Boolean);
        }))
        return TextComparison::kAsNumber;
    if (either([](const Value& v) { return v.kind() == VarKind::Date; }))
        return TextComparison::kAsDate;
    if (either([](const Value& v) { return v.IsString() || v.kind() == VarKind::Boolean; }))
        return TextComparison::kAsText;
    return TextComparison::kLoose;
}

Value ApplyComparison(BinaryOp op, const Value& a, const Value& b, TextComparison texts,
                      const Context& context) {
    if (a.IsNull() || b.IsNull()) return Value::Null();
    int c = Compare(a, b, texts, context);
    return Value::Boolean(op == BinaryOp::kEq   ? c == 0
                          : op == BinaryOp::kNe ? c != 0
                          : op == BinaryOp::kLt ? c < 0
                          : op == BinaryOp::kGt ? c > 0
                          : op == BinaryOp::kLe ? c <= 0
                                                : c >= 0);
}

Value ApplyBinaryByType(BinaryOp op, const Value& a, const Value& b, const Context& context) {
    switch (op) {
        case BinaryOp::kPow:
            return Power(a, b, context);
        case BinaryOp::kMul:
        case BinaryOp::kAdd:
        case BinaryOp::kSub:
            return Arithmetic(op, a, b, context);
        case BinaryOp::kDiv:
            return Divide(a, b, context);
        case BinaryOp::kIntDiv:
        case BinaryOp::kMod:
            return WholeDivide(op, a, b, context);
        case BinaryOp::kConcat:
            if (a.IsNull() && b.IsNull()) return Value::Null();
            return Value::String(Concat(a, b, context));
        case BinaryOp::kEq:
        case BinaryOp::kNe:
        case BinaryOp::kLt:
        case BinaryOp::kGt:
        case BinaryOp::kLe:
        case BinaryOp::kGe:
            return ApplyComparison(op, a, b, TextComparison::kLoose, context);
        default:
            return Logical(op, a, b, context);
    }
}

Value ApplyUnaryByType(UnaryOp op, const Value& a, const Context& context) {
    switch (op) {
        case UnaryOp::kNegate:
            return Negate(a, context);
        case UnaryOp::kNot:
            return Not(a, context);
        default:
            return a;
    }
}

}  // namespace ondrix::script
