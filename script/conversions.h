#pragma once

// Conversions between variant subtypes, with VBScript's errors: Null where a
// value is needed is 94, a text that is no number 13, a value out of range 6.

#include <cstdint>
#include <string>

#include "script/context.h"
#include "script/value.h"

namespace ondrix::script {

// Rounds to the nearest whole number, halves to the even one (2.5 -> 2).
double RoundHalfEven(double v);

double ToDouble(const Value& v, const Context& context);
float ToSingle(const Value& v, const Context& context);
std::int32_t ToLong(const Value& v, const Context& context);
std::int16_t ToInteger(const Value& v, const Context& context);
std::uint8_t ToByte(const Value& v, const Context& context);
bool ToBoolean(const Value& v, const Context& context);
// CCur: the amount in ten-thousandths, rounded half to even.
std::int64_t ToCurrency(const Value& v, const Context& context);
// CDate: a Date's serial; a number counts days; a text must spell a date or a
// number of days ("1" is 31 December 1899), 13 otherwise; beyond the dates
// the subtype holds is 6.
double ToDate(const Value& v, const Context& context);
// Whether the value is a Date or a text that spells one (IsDate): a number
// text is none, though CDate reads it.
bool IsDateValue(const Value& v);

// CStr: the text form of any value but Null (error 94).
std::string ToText(const Value& v, const Context& context);
// Appends the text form; Null appends nothing (as "&" treats it).
void AppendText(std::string& out, const Value& v, const Context& context);

// Whether the value is a number or reads as one (IsNumeric).
bool IsNumericValue(const Value& v, const Context& context);

// Reads "True"/"False" or "#TRUE#"/"#FALSE#" in any case, blanks around
// allowed.
bool ReadBooleanWord(const std::string& text, bool& out);

// A day count as a Date while the subtype can hold it, as a Double beyond
// (as an overflowing Date result of + and - becomes).
Value DateOrDouble(double serial);

// The value a number literal stands for, the one rule for a literal's subtype:
// a number written whole (no point, no exponent; &H and &O forms included) is
// an Integer from -32767 to 32767, a Long within the Long range (-32768, the
// value of &H8000, included), and a Double beyond; any other is a Double. A
// sign in front is the negation operator, applied to this value. A number
// beyond the Double range is error 6.
Value LiteralValue(double number, bool whole);

// Narrows a whole number to the smallest of Integer and Long that holds it,
// or to a Double beyond that; LongOrDouble starts at Long.
Value WholeResult(std::int64_t v);
Value LongOrDouble(std::int64_t v);

// Applies an operation that keeps the subtype, as Abs, Fix, Int and the
// negation do: `whole` on the payload of whole kinds (a Long result beyond
// its range becomes a Double), `real` on Singles, Doubles and Dates (a Date
// result beyond the dates becomes a Double), `amount` on a Currency's
// ten-thousandths; a string becomes a Double, Empty gives the Integer 0 and
// Null passes.
template <typename WholeFn, typename RealFn, typename AmountFn>
Value KeepKind(const Value& v, const Context& context, WholeFn whole, RealFn real,
               AmountFn amount) {
    switch (v.kind()) {
        case VarKind::Null:
            return Value::Null();
        case VarKind::Empty:
            return Value::Integer(0);
        case VarKind::Boolean:
        case VarKind::Integer:
            return WholeResult(whole(v.whole()));
        case VarKind::Byte:
            return Value::Byte(static_cast<std::uint8_t>(whole(v.whole())));
        case VarKind::Long:
            return LongOrDouble(whole(v.whole()));
        case VarKind::Single:
            return Value::Single(static_cast<float>(real(v.real())));
        case VarKind::Currency:
            return Value::Currency(amount(v.amount()));
        case VarKind::Date:
            return DateOrDouble(real(v.real()));
        default:
            return Value::Double(real(ToDouble(v, context)));
    }
}

}  // namespace ondrix::script
