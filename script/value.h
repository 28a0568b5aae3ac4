#pragma once

// A VBScript variant: Empty, Null, Boolean, Byte, Integer (16-bit), Long
// (32-bit), Single, Double, Currency (ten-thousandths in 64 bits), Date
// (days since 30 December 1899) or String.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace ondrix::script {

// The subtypes, numbered as VarType reports them.
enum class VarKind : std::uint8_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Boolean = 11,
    Byte = 17,
};

// Boolean, Byte, Integer or Long: held as a whole number.
constexpr bool IsWholeKind(VarKind k) {
    return k == VarKind::Boolean || k == VarKind::Byte || k == VarKind::Integer ||
           k == VarKind::Long;
}
// A whole number, a Single or a Double: what arithmetic takes as it is.
constexpr bool IsPlainNumberKind(VarKind k) {
    return IsWholeKind(k) || k == VarKind::Single || k == VarKind::Double;
}

class Value {
  public:
    Value() = default;

    static Value Null() { return Value(VarKind::Null); }
    static Value Boolean(bool b) { return Value(VarKind::Boolean, b ? -1 : 0); }
    static Value Byte(std::uint8_t b) { return Value(VarKind::Byte, std::int32_t{b}); }
    static Value Integer(std::int16_t i) { return Value(VarKind::Integer, std::int32_t{i}); }
    static Value Long(std::int32_t l) { return Value(VarKind::Long, l); }
    static Value Single(float f) { return Value(VarKind::Single, double{f}); }
    static Value Double(double d) { return Value(VarKind::Double, d); }
    // An amount in ten-thousandths (see currency.h).
    static Value Currency(std::int64_t amount) { return Value(VarKind::Currency, amount); }
    // A serial date (see date_time.h).
    static Value Date(double serial) { return Value(VarKind::Date, serial); }
    static Value String(std::string s) {
        Value v(VarKind::String);
        v.text_ = std::make_shared<const std::string>(std::move(s));
        return v;
    }

    VarKind kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == VarKind::Empty; }
    bool IsNull() const { return kind_ == VarKind::Null; }
    bool IsString() const { return kind_ == VarKind::String; }
    bool IsWhole() const { return IsWholeKind(kind_); }
    bool IsReal() const { return kind_ == VarKind::Single || kind_ == VarKind::Double; }

    // Raw payloads; valid only for the matching kinds.
    std::int32_t whole() const { return whole_; }    // Boolean (-1/0), Byte, Integer, Long
    double real() const { return real_; }            // Single (widened), Double or Date
    std::int64_t amount() const { return amount_; }  // Currency, in ten-thousandths
    bool boolean() const { return whole_ != 0; }
    // The string of a String value; empty for the other kinds.
    const std::string& text() const { return text_ ? *text_ : EmptyText(); }

    // The payload of any numeric kind as a double (Empty gives 0; a Date its
    // day count). Strings and Null are not numeric: callers convert those
    // first.
    double NumberOrZero() const {
        if (IsReal() || kind_ == VarKind::Date) return real_;
        if (kind_ == VarKind::Currency) [[unlikely]]
            return CurrencyNumber();
        return static_cast<double>(whole_);
    }

  private:
    explicit Value(VarKind k) : kind_(k) {}
    Value(VarKind k, std::int32_t whole) : kind_(k), whole_(whole) {}
    Value(VarKind k, double real) : kind_(k), real_(real) {}
    Value(VarKind k, std::int64_t amount) : kind_(k), amount_(amount) {}

    static const std::string& EmptyText();
    double CurrencyNumber() const;

    VarKind kind_ = VarKind::Empty;
    std::int32_t whole_ = 0;
    // A Currency's amount shares the storage of the real payloads: no
    // value holds both, and the variant stays four words long.
    union {
        double real_ = 0.0;
        std::int64_t amount_;
    };
    // Strings are immutable once made, so values share them: copying a
    // number, the common case, never touches string storage.
    std::shared_ptr<const std::string> text_;
};

// "Integer", "Double", "Empty", ...: what TypeName returns.
std::string_view TypeName(const Value& v);
// The VarType number.
inline int VarType(const Value& v) {
    return static_cast<int>(v.kind());
}

}  // namespace ondrix::script
