#include "script/builtins.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "script/ascii.h"
#include "script/conversions.h"
#include "script/currency.h"
#include "script/date_time.h"
#include "script/errors.h"
#include "script/runtime.h"

namespace ondrix::script {
namespace {

using Args = std::span<const Value>;

// Rnd's generator: seed = (seed * a + c) mod 2^24, value = seed / 2^24.
constexpr std::uint32_t kRandomMultiplier = 1140671485;
constexpr std::uint32_t kRandomIncrement = 12820163;
constexpr std::uint32_t kRandomMask = 0xFFFFFF;
constexpr float kRandomScale = 16777216.0f;

// An argument as a Double; Null is error 94 (as ToDouble raises it).
double Real(const Value& v, BuiltinContext& c) {
    return ToDouble(v, c.context);
}

// The maths functions on Doubles: Tan and Exp can overflow (error 6); Log and
// Sqr raise error 5 outside their domain.
template <double (*Fn)(double), bool kCanOverflow = false>
double RealMaths(double x) {
    double r = Fn(x);
    if (kCanOverflow && !std::isfinite(r)) Raise(kOverflow);
    return r;
}
template <double (*Fn)(double), bool kCanOverflow = false>
Value Maths(Args a, BuiltinContext& c) {
    return Value::Double(RealMaths<Fn, kCanOverflow>(Real(a[0], c)));
}
constexpr auto kAtn = +[](double x) { return std::atan(x); };
constexpr auto kCos = +[](double x) { return std::cos(x); };
constexpr auto kSin = +[](double x) { return std::sin(x); };
constexpr auto kTan = +[](double x) { return std::tan(x); };
constexpr auto kExp = +[](double x) { return std::exp(x); };
constexpr auto kLog = +[](double x) {
    if (x <= 0.0) Raise(kInvalidProcedureCall);
    return std::log(x);
};
constexpr auto kSqr = +[](double x) {
    if (x < 0.0) Raise(kInvalidProcedureCall);
    return std::sqrt(x);
};

Value Abs(Args a, BuiltinContext& c) {
    if (a[0].kind() == VarKind::Boolean)
        return Value::Integer(static_cast<std::int16_t>(-a[0].whole()));
    return KeepKind(
        a[0], c.context, [](std::int64_t x) { return x < 0 ? -x : x; },
        [](double x) { return std::fabs(x); },
        [](std::int64_t x) { return x < 0 ? currency::Negate(x) : x; });
}
Value Fix(Args a, BuiltinContext& c) {
    return KeepKind(
        a[0], c.context, [](std::int64_t x) { return x; }, [](double x) { return std::trunc(x); },
        [](std::int64_t x) {
            return currency::RoundToDecimals(x, 0, currency::Rounding::kTowardZero);
        });
}
Value Int(Args a, BuiltinContext& c) {
    return KeepKind(
        a[0], c.context, [](std::int64_t x) { return x; }, [](double x) { return std::floor(x); },
        [](std::int64_t x) { return currency::RoundToDecimals(x, 0, currency::Rounding::kDown); });
}

Value Sgn(Args a, BuiltinContext& c) {
    double x = Real(a[0], c);
    return Value::Integer(static_cast<std::int16_t>((x > 0) - (x < 0)));
}

Value Round(Args a, BuiltinContext& c) {
    const Value& v = a[0];
    if (v.IsNull()) return Value::Null();
    int places = 0;
    if (a.size() > 1) {
        places = ToLong(a[1], c.context);
        if (places < 0) Raise(kInvalidProcedureCall);
    }
    // Whole numbers, Booleans included, are already round.
    if (v.IsWhole()) return v;
    if (v.IsEmpty()) return Value::Integer(0);
    if (v.kind() == VarKind::Currency)
        return Value::Currency(
            currency::RoundToDecimals(v.amount(), places, currency::Rounding::kHalfEven));
    // Beyond the digits a Double holds, and where scaling overflows, x stays.
    double x = Real(v, c), r = x;
    if (places <= std::numeric_limits<double>::digits10 + 2) {
        double scale = std::pow(10.0, places);
        if (std::isfinite(x * scale)) r = RoundHalfEven(x * scale) / scale;
    }
    if (v.kind() == VarKind::Single) return Value::Single(static_cast<float>(r));
    if (v.kind() == VarKind::Date) return DateOrDouble(r);
    return Value::Double(r);
}

Value Rnd(Args a, BuiltinContext& c) {
    if (!a.empty()) {
        float n = ToSingle(a[0], c.context);
        if (n == 0.0f) return Value::Single(static_cast<float>(c.random.seed) / kRandomScale);
        if (n < 0.0f) {
            std::uint32_t bits = std::bit_cast<std::uint32_t>(n);
            c.random.seed = (bits + (bits >> 24)) & kRandomMask;
        }
    }
    return Value::Single(NextRandom(c.random));
}

// CBool, CByte, ...: a conversion, its result made a Value.
template <auto Make, auto Convert>
Value Cast(Args a, BuiltinContext& c) {
    return Make(Convert(a[0], c.context));
}
Value CDate(Args a, BuiltinContext& c) {
    return Value::Date(ToDate(a[0], c.context));
}

// Hex and Oct: the two's complement digits of an Integer (16 bits) or of a
// Long (32 bits).
template <int Base>
Value Radix(Args a, BuiltinContext& c) {
    const Value& v = a[0];
    if (v.IsNull()) return Value::Null();
    std::uint32_t bits;
    if (v.kind() == VarKind::Integer || v.kind() == VarKind::Byte || v.kind() == VarKind::Boolean ||
        v.IsEmpty()) {
        bits = static_cast<std::uint16_t>(v.whole());
    } else {
        bits = static_cast<std::uint32_t>(ToLong(v, c.context));
    }
    char buf[16];
    std::string s(buf, std::to_chars(buf, buf + sizeof buf, bits, Base).ptr);
    for (char& ch : s) ch = AsciiUpper(ch);
    return Value::String(std::move(s));
}

// The clock: Now to the second, Date its day, Time its time of day.
Value Now(Args, BuiltinContext&) {
    return Value::Date(date_time::Now());
}
Value Today(Args, BuiltinContext&) {
    return Value::Date(std::floor(date_time::Now()));
}
Value TimeOfDay(Args, BuiltinContext&) {
    double now = date_time::Now();
    return Value::Date(now - std::floor(now));
}

Value IsDate(Args a, BuiltinContext&) {
    return Value::Boolean(IsDateValue(a[0]));
}
Value IsEmpty(Args a, BuiltinContext&) {
    return Value::Boolean(a[0].IsEmpty());
}
Value IsNull(Args a, BuiltinContext&) {
    return Value::Boolean(a[0].IsNull());
}
Value TypeNameOf(Args a, BuiltinContext&) {
    return Value::String(std::string(TypeName(a[0])));
}
Value VarTypeOf(Args a, BuiltinContext&) {
    return Value::Integer(static_cast<std::int16_t>(VarType(a[0])));
}

// String functions. Null in the text argument gives Null, as VBScript does.
std::string Text(const Value& v, BuiltinContext& c) {
    return ToText(v, c.context);
}

// A count of characters: a negative count is error 5.
std::size_t CountOf(std::int32_t n) {
    if (n < 0) Raise(kInvalidProcedureCall);
    return static_cast<std::size_t>(n);
}
// A count argument: Null is error 94 (from ToLong).
std::size_t Count(const Value& v, BuiltinContext& c) {
    return CountOf(ToLong(v, c.context));
}

// A 1-based start position (Mid, InStr), below 1 error 5, as a 0-based index.
std::size_t StartOf(std::int32_t start) {
    if (start < 1) Raise(kInvalidProcedureCall);
    return static_cast<std::size_t>(start - 1);
}
std::size_t Start(const Value& v, BuiltinContext& c) {
    return StartOf(ToLong(v, c.context));
}

// The functions on one text argument: Null there gives Null; `Fn` gets the
// text and the other arguments.
template <Value (*Fn)(std::string s, Args a, BuiltinContext& c)>
Value OnText(Args a, BuiltinContext& c) {
    if (a[0].IsNull()) return Value::Null();
    return Fn(Text(a[0], c), a, c);
}

Value Len(std::string s, Args, BuiltinContext&) {
    return Value::Long(static_cast<std::int32_t>(s.size()));
}

// Left, Right and Mid check their counts before they look at the text:
// Right(Null, -1) is error 5 and Mid("a", 0, Null) error 94 (every count is
// read before any is checked); only then does a Null text give Null.
Value Left(Args a, BuiltinContext& c) {
    std::size_t n = Count(a[1], c);
    if (a[0].IsNull()) return Value::Null();
    return Value::String(Text(a[0], c).substr(0, n));
}

Value Right(Args a, BuiltinContext& c) {
    std::size_t n = Count(a[1], c);
    if (a[0].IsNull()) return Value::Null();
    std::string s = Text(a[0], c);
    n = std::min(n, s.size());
    return Value::String(s.substr(s.size() - n));
}

Value Mid(Args a, BuiltinContext& c) {
    std::int32_t start = ToLong(a[1], c.context);
    std::int32_t length = a.size() > 2 ? ToLong(a[2], c.context) : 0;
    std::size_t from = StartOf(start);
    std::size_t n = a.size() > 2 ? CountOf(length) : std::string::npos;
    if (a[0].IsNull()) return Value::Null();
    std::string s = Text(a[0], c);
    if (from >= s.size()) return Value::String("");
    return Value::String(s.substr(from, n));
}

template <char (*Fn)(char)>
Value MapChars(std::string s, Args, BuiltinContext&) {
    for (char& ch : s) ch = Fn(ch);
    return Value::String(std::move(s));
}

enum TrimSides { kTrimLeft = 1, kTrimRight = 2 };
template <int Sides>
Value TrimText(std::string s, Args, BuiltinContext&) {
    std::size_t b = 0, e = s.size();
    if (Sides & kTrimLeft)
        while (b < e && s[b] == ' ') ++b;
    if (Sides & kTrimRight)
        while (e > b && s[e - 1] == ' ') --e;
    return Value::String(s.substr(b, e - b));
}

Value Space(Args a, BuiltinContext& c) {
    std::size_t n = Count(a[0], c);
    CheckStringLength(n);
    return Value::String(std::string(n, ' '));
}

Value StringOf(Args a, BuiltinContext& c) {
    std::size_t n = Count(a[0], c);
    if (a[1].IsNull()) return Value::Null();
    CheckStringLength(n);
    char ch;
    if (a[1].IsString()) {
        if (a[1].text().empty()) Raise(kInvalidProcedureCall);
        ch = a[1].text()[0];
    } else {
        ch = static_cast<char>(ToLong(a[1], c.context) & 0xFF);
    }
    return Value::String(std::string(n, ch));
}

Value InStr(Args a, BuiltinContext& c) {
    // InStr([start,] text, find)
    std::size_t i = a.size() >= 3 ? 1 : 0;
    std::size_t first = i == 1 ? Start(a[0], c) : 0;
    if (a[i].IsNull() || a[i + 1].IsNull()) return Value::Null();
    std::string text = Text(a[i], c), find = Text(a[i + 1], c);
    if (first > text.size()) return Value::Long(0);
    std::size_t at = text.find(find, first);
    return Value::Long(at == std::string::npos ? 0 : static_cast<std::int32_t>(at + 1));
}

Value Chr(Args a, BuiltinContext& c) {
    std::int32_t code = ToLong(a[0], c.context);
    if (code < 0 || code > 255) Raise(kInvalidProcedureCall);
    return Value::String(std::string(1, static_cast<char>(code)));
}

// Asc and StrReverse: Null is error 94 (from ToText).
Value Asc(Args a, BuiltinContext& c) {
    std::string s = Text(a[0], c);
    if (s.empty()) Raise(kInvalidProcedureCall);
    return Value::Integer(static_cast<std::int16_t>(static_cast<unsigned char>(s[0])));
}

Value StrReverse(Args a, BuiltinContext& c) {
    std::string s = Text(a[0], c);
    std::reverse(s.begin(), s.end());
    return Value::String(std::move(s));
}

Value StrComp(Args a, BuiltinContext& c) {
    if (a[0].IsNull() || a[1].IsNull()) return Value::Null();
    std::string x = Text(a[0], c), y = Text(a[1], c);
    if (a.size() > 2 && ToLong(a[2], c.context) == 1) {  // text compare: case ignored
        x = AsciiLowerCopy(x);
        y = AsciiLowerCopy(y);
    }
    int r = x.compare(y);
    return Value::Integer(static_cast<std::int16_t>((r > 0) - (r < 0)));
}

Value Replace(std::string text, Args a, BuiltinContext& c) {
    std::string find = Text(a[1], c), with = Text(a[2], c);
    if (find.empty()) return Value::String(std::move(text));
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t at = text.find(find, pos);
        if (at == std::string::npos) break;
        out.append(text, pos, at - pos);
        out += with;
        CheckStringLength(out.size());
        pos = at + find.size();
    }
    out.append(text, pos, std::string::npos);
    CheckStringLength(out.size());
    return Value::String(std::move(out));
}

// clang-format off
constexpr Builtin kBuiltins[] = {
    {"abs", 1, 1, Abs}, {"asc", 1, 1, Asc}, {"atn", 1, 1, Maths<kAtn>, RealMaths<kAtn>},
    {"cbool", 1, 1, Cast<Value::Boolean, ToBoolean>}, {"cbyte", 1, 1, Cast<Value::Byte, ToByte>},
    {"ccur", 1, 1, Cast<Value::Currency, ToCurrency>}, {"cdate", 1, 1, CDate},
    {"cdbl", 1, 1, Cast<Value::Double, ToDouble>}, {"chr", 1, 1, Chr},
    {"cint", 1, 1, Cast<Value::Integer, ToInteger>}, {"clng", 1, 1, Cast<Value::Long, ToLong>},
    {"cos", 1, 1, Maths<kCos>, RealMaths<kCos>}, {"csng", 1, 1, Cast<Value::Single, ToSingle>},
    {"cstr", 1, 1, Cast<Value::String, ToText>}, {"date", 0, 0, Today},
    {"exp", 1, 1, Maths<kExp, true>, RealMaths<kExp, true>}, {"fix", 1, 1, Fix},
    {"hex", 1, 1, Radix<16>},
    {"instr", 2, 3, InStr}, {"int", 1, 1, Int}, {"isdate", 1, 1, IsDate},
    {"isempty", 1, 1, IsEmpty}, {"isnull", 1, 1, IsNull},
    {"isnumeric", 1, 1, Cast<Value::Boolean, IsNumericValue>},
    {"lcase", 1, 1, OnText<MapChars<AsciiLower>>}, {"left", 2, 2, Left},
    {"len", 1, 1, OnText<Len>}, {"log", 1, 1, Maths<kLog>, RealMaths<kLog>},
    {"ltrim", 1, 1, OnText<TrimText<kTrimLeft>>}, {"mid", 2, 3, Mid}, {"now", 0, 0, Now},
    {"oct", 1, 1, Radix<8>}, {"replace", 3, 3, OnText<Replace>}, {"right", 2, 2, Right},
    {"rnd", 0, 1, Rnd}, {"round", 1, 2, Round}, {"rtrim", 1, 1, OnText<TrimText<kTrimRight>>},
    {"sgn", 1, 1, Sgn}, {"sin", 1, 1, Maths<kSin>, RealMaths<kSin>}, {"space", 1, 1, Space},
    {"sqr", 1, 1, Maths<kSqr>, RealMaths<kSqr>}, {"strcomp", 2, 3, StrComp},
    {"string", 2, 2, StringOf}, {"strreverse", 1, 1, StrReverse},
    {"tan", 1, 1, Maths<kTan, true>, RealMaths<kTan, true>}, {"time", 0, 0, TimeOfDay},
    {"trim", 1, 1, OnText<TrimText<kTrimLeft | kTrimRight>>}, {"typename", 1, 1, TypeNameOf},
    {"ucase", 1, 1, OnText<MapChars<AsciiUpper>>}, {"vartype", 1, 1, VarTypeOf},
};
// clang-format on

}  // namespace

const Builtin* FindBuiltin(std::string_view lowerName) {
    for (const Builtin& b : kBuiltins) {
        if (b.name == lowerName) return &b;
    }
    return nullptr;
}

float NextRandom(RandomState& state) {
    state.seed = (state.seed * kRandomMultiplier + kRandomIncrement) & kRandomMask;
    return static_cast<float>(state.seed) / kRandomScale;
}

void SeedRandom(RandomState& state, double seed) {
    // The high half of the number's bits, folded, replaces the middle two
    // bytes of the seed; the low byte stays.
    auto bits = std::bit_cast<std::uint64_t>(seed);
    auto high = static_cast<std::uint32_t>(bits >> 32);
    std::uint32_t mixed = (high ^ (high >> 16)) & 0xFFFF;
    state.seed = (mixed << 8) | (state.seed & 0xFF);
}

}  // namespace ondrix::script
