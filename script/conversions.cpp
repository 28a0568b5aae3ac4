#include "script/conversions.h"

#include <cmath>
#include <limits>
#include <utility>

#include "script/ascii.h"
#include "script/currency.h"
#include "script/date_time.h"
#include "script/errors.h"
#include "script/number_text.h"

namespace ondrix::script {

double RoundHalfEven(double v) {
    double r = std::round(v);  // halves away from zero
    if (std::fabs(v - std::trunc(v)) == 0.5) r = 2.0 * std::round(v / 2.0);
    return r;
}

double ToDouble(const Value& v, const Context& context) {
    switch (v.kind()) {
        case VarKind::Null:
            Raise(kInvalidUseOfNull);
        case VarKind::String: {
            double d = 0;
            TextNumber read = ParseNumberText(v.text(), context.decimalSeparator, d);
            if (read != TextNumber::kOk)
                Raise(read == TextNumber::kOverflow ? kOverflow : kTypeMismatch);
            return d;
        }
        default:
            return v.NumberOrZero();
    }
}

float ToSingle(const Value& v, const Context& context) {
    if (v.kind() == VarKind::Single) return static_cast<float>(v.real());
    double d = ToDouble(v, context);
    float f = static_cast<float>(d);
    if (!std::isfinite(f)) Raise(kOverflow);
    return f;
}

namespace {

// CLng, CInt and CByte: whole kinds as they are, others rounded half to even;
// error 6 outside T's range.
template <typename T>
T RoundedTo(const Value& v, const Context& context) {
    if (v.IsWhole() || v.IsEmpty()) {
        if (!std::in_range<T>(v.whole())) Raise(kOverflow);
        return static_cast<T>(v.whole());
    }
    double r = RoundHalfEven(ToDouble(v, context));
    if (!(r >= std::numeric_limits<T>::min() && r <= std::numeric_limits<T>::max()))
        Raise(kOverflow);
    return static_cast<T>(r);
}

}  // namespace

std::int32_t ToLong(const Value& v, const Context& context) {
    return RoundedTo<std::int32_t>(v, context);
}

std::int16_t ToInteger(const Value& v, const Context& context) {
    return RoundedTo<std::int16_t>(v, context);
}

std::uint8_t ToByte(const Value& v, const Context& context) {
    // True is all bits set: 255 in a Byte.
    if (v.kind() == VarKind::Boolean) return v.boolean() ? 0xFF : 0;
    return RoundedTo<std::uint8_t>(v, context);
}

bool ReadBooleanWord(const std::string& text, bool& out) {
    std::string_view word = TrimBlanks(text);
    out = EqualsIgnoringCase(word, "true") || EqualsIgnoringCase(word, "#true#");
    return out || EqualsIgnoringCase(word, "false") || EqualsIgnoringCase(word, "#false#");
}

bool ToBoolean(const Value& v, const Context& context) {
    bool b;
    if (v.IsString() && ReadBooleanWord(v.text(), b)) return b;
    return ToDouble(v, context) != 0.0;
}

std::int64_t ToCurrency(const Value& v, const Context& context) {
    if (v.kind() == VarKind::Currency) return v.amount();
    if (v.IsWhole() || v.IsEmpty()) return currency::FromWhole(v.whole());
    return currency::FromDouble(ToDouble(v, context));
}

double ToDate(const Value& v, const Context& context) {
    double serial;
    switch (v.kind()) {
        case VarKind::Null:
            Raise(kInvalidUseOfNull);
        case VarKind::String:
            if (!date_time::Parse(v.text(), serial)) serial = ToDouble(v, context);
            break;
        default:
            serial = v.NumberOrZero();
            break;
    }
    if (!date_time::InRange(serial)) Raise(kOverflow);
    return serial;
}

bool IsDateValue(const Value& v) {
    double serial;
    if (v.kind() == VarKind::Date) return true;
    return v.IsString() && date_time::Parse(v.text(), serial) && date_time::InRange(serial);
}

void AppendText(std::string& out, const Value& v, const Context& context) {
    switch (v.kind()) {
        case VarKind::Empty:
        case VarKind::Null:
            return;
        case VarKind::Boolean:
            out += v.boolean() ? "True" : "False";
            return;
        case VarKind::Byte:
        case VarKind::Integer:
        case VarKind::Long:
            out += std::to_string(v.whole());
            return;
        case VarKind::Single:
        case VarKind::Double:
            AppendRealText(out, v.real(),
                           v.kind() == VarKind::Single ? kSingleDigits : kDoubleDigits,
                           context.decimalSeparator);
            return;
        case VarKind::Currency:
            currency::AppendText(out, v.amount(), context.decimalSeparator);
            return;
        case VarKind::Date:
            date_time::AppendText(out, v.real());
            return;
        case VarKind::String:
            out += v.text();
            return;
    }
}

std::string ToText(const Value& v, const Context& context) {
    if (v.IsNull()) Raise(kInvalidUseOfNull);
    if (v.IsString()) return v.text();
    std::string s;
    AppendText(s, v, context);
    return s;
}

bool IsNumericValue(const Value& v, const Context& context) {
    switch (v.kind()) {
        case VarKind::Null:
        case VarKind::Date:  // a date is not a number, though it has a day count
            return false;
        case VarKind::String: {
            double d;
            return ParseNumberText(v.text(), context.decimalSeparator, d) == TextNumber::kOk;
        }
        default:
            return true;
    }
}

Value DateOrDouble(double serial) {
    return date_time::InRange(serial) ? Value::Date(serial) : Value::Double(serial);
}

Value LongOrDouble(std::int64_t v) {
    if (std::in_range<std::int32_t>(v)) return Value::Long(static_cast<std::int32_t>(v));
    return Value::Double(static_cast<double>(v));
}

Value WholeResult(std::int64_t v) {
    if (std::in_range<std::int16_t>(v)) return Value::Integer(static_cast<std::int16_t>(v));
    return LongOrDouble(v);
}

Value LiteralValue(double number, bool whole) {
    if (!std::isfinite(number)) Raise(kOverflow);
    if (whole && number >= std::numeric_limits<std::int32_t>::min() &&
        number <= std::numeric_limits<std::int32_t>::max()) {
        // -32768 (&H8000) is a Long: an Integer literal lies within +-32767.
        if (number == std::numeric_limits<std::int16_t>::min())
            return Value::Long(static_cast<std::int32_t>(number));
        return WholeResult(static_cast<std::int64_t>(number));
    }
    return Value::Double(number);
}

}  // namespace ondrix::script
