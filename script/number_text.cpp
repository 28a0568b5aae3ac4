#include "script/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "script/ascii.h"

namespace ondrix::script {
namespace {

constexpr std::size_t kMaxNumberTextLength = 400;  // longer texts are never numbers we read
constexpr long kExponentCap = 100000;  // exponents beyond this are all the same overflow
constexpr std::uint64_t kMaxRadixValue = 0xFFFFFFFFull;
constexpr std::uint64_t kMaxIntegerRadixValue = 0xFFFF;

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// The significant digits of a finite non-zero number rounded to `digits`,
// from the exact binary value with halves to even, as printf's %.*e gives
// them.
struct Rounded {
    char scientific[kMaxRealTextLength];  // to_chars' "[-]d.ddde[+-]xx"
    const char* end = nullptr;
    char digit[kMaxRealTextLength];
    int count = 0;     // trailing zeros dropped
    int exponent = 0;  // of the first digit
    bool negative = false;
    double shown = 0;  // what they read back as, when known without reading (end null)
};

// Splits to_chars' scientific form into digits and exponent. Reads only what
// to_chars wrote, up to r.end.
void ReadScientific(Rounded& r) {
    const char* p = r.scientific;
    r.negative = p != r.end && *p == '-';
    if (r.negative) ++p;
    r.count = 0;
    for (; p != r.end && *p != 'e'; ++p) {
        if (*p != '.') r.digit[r.count++] = *p;
    }
    r.exponent = 0;
    if (p == r.end) return;
    ++p;
    if (p != r.end && *p == '+') ++p;  // from_chars takes "-" but not "+"
    std::from_chars(p, r.end, r.exponent);
}

// The digits of the exact binary value of a finite number, never narrowed: a
// Single widens to a Double exactly, so its digits come out the same, and a
// Double beyond the Single range keeps its own.
void ToChars(double value, int digits, Rounded& r) {
    char* last = r.scientific + sizeof r.scientific;
    r.end = std::to_chars(r.scientific, last, value, std::chars_format::scientific, digits - 1).ptr;
    ReadScientific(r);
}

constexpr int kMaxExactPowerOfTen = 22;
constexpr double kPowersOfTen[kMaxExactPowerOfTen + 1] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 15 digits of a Double by one exact scaling: magnitude * 10^k lands between
// 10^14 and 10^15, and rounding it to a whole number n (halves to even, a tie
// settled by the product's exact rounding error from a fused multiply-add)
// gives the digits of the exact binary value (n = 10^15 when they round up to
// the next power of ten). to_chars gives the same digits at several times the
// cost, and the plotter needs them twice a point. Works where 10^k is exact
// and the decade count below reaches it (magnitudes of about 1E-8 to
// 1E+25); returns false elsewhere.
[[gnu::always_inline]] inline bool ScaleToFifteenDigits(double magnitude, double& n, int& k) {
    constexpr double kLow = 1e14, kHigh = 1e15, kRoundingShift = 0x1p52;
    if (!(magnitude >= std::numeric_limits<double>::min())) return false;
    // The decimal exponent counted a decade at a time from 10^0: a smooth
    // sweep repeats the count, so the scale is known by prediction before
    // the comparisons end (a decade's bound below 1 is inexact: the loop
    // below mends a count off by one).
    int e10 = 0;
    while (e10 < kMaxExactPowerOfTen && magnitude >= kPowersOfTen[e10 + 1]) ++e10;
    while (e10 <= 0 && e10 > -kMaxExactPowerOfTen && magnitude * kPowersOfTen[-e10] < 1) --e10;
    k = kDoubleDigits - 1 - e10;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (k > kMaxExactPowerOfTen || k < -kMaxExactPowerOfTen) return false;
        double p = kPowersOfTen[k >= 0 ? k : -k];
        double product = k >= 0 ? magnitude * p : magnitude / p;
        if (product < kLow || product > kHigh) [[unlikely]] {
            k += product < kLow ? 1 : -1;
            continue;
        }
        // Adding and taking away 2^52 rounds the product (below 2^50) to a whole
        // number, halves to even, without a conversion or a branch.
        n = (product + kRoundingShift) - kRoundingShift;
        if (std::fabs(product - n) == 0.5) [[unlikely]] {
            // A tie in the product may be none in the exact value: the
            // quotient's error has the sign of its own fused remainder.
            double error =
                k >= 0 ? std::fma(magnitude, p, -product) : std::fma(-product, p, magnitude);
            if (error != 0) n = error > 0 ? product + 0.5 : product - 0.5;
        }
        return true;
    }
    return false;
}

// The decimal n * 10^-k of ScaleToFifteenDigits in one exact operation, so
// correctly rounded as any reading of its text.
double FifteenDigitsValue(double n, int k) {
    return k >= 0 ? n / kPowersOfTen[k] : n * kPowersOfTen[-k];
}

// `value` is finite and not zero: the callers write "0" for the others
// before any digits are made.
void Round(double value, int digits, Rounded& r) {
    double digitsValue;
    int k;
    if (digits == kDoubleDigits && ScaleToFifteenDigits(std::fabs(value), digitsValue, k)) {
        double v = FifteenDigitsValue(digitsValue, k);
        auto n = static_cast<std::int64_t>(digitsValue);
        r.exponent = kDoubleDigits - 1 - k;
        if (n == static_cast<std::int64_t>(1e15)) {  // rounded up to the next power of ten
            n /= 10;
            ++r.exponent;
        }
        r.negative = value < 0;
        r.shown = r.negative ? -v : v;
        r.end = nullptr;
        // Trailing zeros dropped from the number (n >= 10^14), then written.
        r.count = kDoubleDigits;
        for (; n % 10 == 0; n /= 10) --r.count;
        std::to_chars(r.digit, r.digit + r.count, n);
        return;
    }
    ToChars(value, digits, r);
    while (r.count > 1 && r.digit[r.count - 1] == '0') --r.count;
}

// What the rounded digits read back as: the same number as the text written
// from them, since both hold the same decimal. The largest Doubles round to
// digits beyond the range, which no reading gives a number for: an infinity.
double ShownValue(const Rounded& r) {
    if (!r.end) return r.shown;
    double v = 0;
    if (std::from_chars(r.scientific, r.end, v).ec == std::errc::result_out_of_range)
        v = r.negative ? -std::numeric_limits<double>::infinity()
                       : std::numeric_limits<double>::infinity();
    return v;
}

// "E+05", "E-120": the sign always, at least two digits.
char* WriteExponent(char* out, int exponent) {
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    int e = exponent < 0 ? -exponent : exponent;
    if (e < 10) *out++ = '0';
    return std::to_chars(out, out + kMaxRealTextLength, e).ptr;
}

}  // namespace

char* WriteRealText(char* out, double value, int digits, char separator, double* shown) {
    if (value == 0.0 || !std::isfinite(value)) {
        *out++ = '0';
        if (shown) *shown = 0.0;
        return out;
    }
    Rounded r;
    Round(value, digits, r);
    if (shown) *shown = ShownValue(r);
    const char* m = r.digit;
    int count = r.count, exponent = r.exponent;

    if (r.negative) *out++ = '-';
    int placesAfterPoint = count - 1 - exponent;  // of the fixed form
    if (exponent >= digits || placesAfterPoint > digits) {
        *out++ = m[0];
        if (count > 1) {
            *out++ = separator;
            out = std::copy_n(m + 1, count - 1, out);
        }
        return WriteExponent(out, exponent);
    }
    if (exponent >= 0) {
        int whole = exponent + 1;
        if (count <= whole) return std::fill_n(std::copy_n(m, count, out), whole - count, '0');
        out = std::copy_n(m, whole, out);
        *out++ = separator;
        return std::copy_n(m + whole, count - whole, out);
    }
    *out++ = '0';
    *out++ = separator;
    out = std::fill_n(out, -exponent - 1, '0');
    return std::copy_n(m, count, out);
}

ShownDouble ReadBackDoubleText(double value) {
    double n;
    int k;
    if (ScaleToFifteenDigits(std::fabs(value), n, k)) [[likely]] {
        // A whole decimal below 10^15 is exact as a Double, and any other
        // lies far from a whole number: the Double is whole exactly when the
        // text is.
        double v = FifteenDigitsValue(n, k);
        bool whole = v < 1e15 && static_cast<double>(static_cast<std::int64_t>(v)) == v;
        return {std::copysign(v, value), whole};
    }
    if (value == 0.0 || !std::isfinite(value)) return {0.0, true};  // the text is "0"
    Rounded r;
    Round(value, kDoubleDigits, r);
    // Whole: every digit stands before the point, in the fixed form.
    bool whole = r.exponent >= 0 && r.exponent < kDoubleDigits && r.count <= r.exponent + 1;
    return {ShownValue(r), whole};
}

void AppendDigits(std::string& out, std::int64_t value, int minDigits) {
    char buf[24];
    char* end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    if (end - buf < minDigits) out.append(static_cast<std::size_t>(minDigits - (end - buf)), '0');
    out.append(buf, end);
}

std::string StrText(double value) {
    std::string s;
    if (!(value < 0)) s += ' ';
    AppendRealText(s, value, kDoubleDigits, '.');
    return s;
}

TextNumber ReadRadixDigits(std::string_view digits, int base, bool hasLongSuffix,
                           std::int32_t& out) {
    std::uint64_t v = 0;
    const char* end = digits.data() + digits.size();
    auto [stop, error] = std::from_chars(digits.data(), end, v, base);
    if (digits.empty() || stop != end) return TextNumber::kNotNumber;
    if (error == std::errc::result_out_of_range || v > kMaxRadixValue) return TextNumber::kOverflow;
    bool integer = !hasLongSuffix && v <= kMaxIntegerRadixValue;
    out = integer ? static_cast<std::int16_t>(v) : static_cast<std::int32_t>(v);  // wrapping
    return TextNumber::kOk;
}

TextNumber ParseNumberText(std::string_view text, char separator, double& out) {
    std::string_view t = TrimBlanks(text);
    if (t.empty() || t.size() > kMaxNumberTextLength) return TextNumber::kNotNumber;

    if (t.size() >= 2 && t[0] == '&') {
        char radix = AsciiLower(t[1]);
        int base = radix == 'h' ? 16 : radix == 'o' ? 8 : 0;
        if (base == 0) return TextNumber::kNotNumber;
        std::string_view digits = t.substr(2);
        bool suffix = !digits.empty() && digits.back() == '&';
        if (suffix) digits.remove_suffix(1);
        std::int32_t v;
        TextNumber result = ReadRadixDigits(digits, base, suffix, v);
        if (result == TextNumber::kOk) out = v;
        return result;
    }

    // VBScript's grammar, copied into from_chars' notation ("." and "e", no
    // "+" in front): from_chars alone would take "inf" and "nan" and refuse
    // the separator, "D" exponents and a leading "+".
    char buf[kMaxNumberTextLength + 1];
    std::size_t n = 0, i = 0;
    if (t[i] == '+' || t[i] == '-') {
        if (t[i] == '-') buf[n++] = '-';
        // Blanks may stand between the sign and the digits (" - .4 ").
        t = TrimBlanks(t.substr(1));
    }
    // The decimal magnitude of the first significant digit, which tells an
    // overflow from an underflow when from_chars finds the number out of range.
    long magnitude = 0;
    bool significant = false;
    std::size_t digits = 0;
    for (; i < t.size() && IsDecimalDigit(t[i]); ++i, ++digits) {
        significant = significant || t[i] != '0';
        if (significant) ++magnitude;
        buf[n++] = t[i];
    }
    if (i < t.size() && t[i] == separator) {
        buf[n++] = '.';
        for (++i; i < t.size() && IsDecimalDigit(t[i]); ++i, ++digits) {
            if (!significant && t[i] == '0') --magnitude;
            significant = significant || t[i] != '0';
            buf[n++] = t[i];
        }
    }
    if (digits == 0) return TextNumber::kNotNumber;
    if (i < t.size() && (AsciiLower(t[i]) == 'e' || AsciiLower(t[i]) == 'd')) {
        buf[n++] = 'e';
        std::size_t expStart = ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) buf[n++] = t[i++];
        std::size_t expDigits = i;
        for (; i < t.size() && IsDecimalDigit(t[i]); ++i) buf[n++] = t[i];
        if (i == expDigits) return TextNumber::kNotNumber;
        long exponent = 0;
        auto er =
            std::from_chars(t.data() + expStart + (t[expStart] == '+'), t.data() + i, exponent);
        if (er.ec != std::errc() || exponent > kExponentCap || exponent < -kExponentCap)
            exponent = t[expStart] == '-' ? -kExponentCap : kExponentCap;
        magnitude += exponent;
    }
    if (i != t.size()) return TextNumber::kNotNumber;

    double v = 0;
    auto r = std::from_chars(buf, buf + n, v);
    if (r.ec == std::errc::result_out_of_range) {
        if (magnitude > 0) return TextNumber::kOverflow;
        v = buf[0] == '-' ? -0.0 : 0.0;  // too small: zero
    } else if (r.ec != std::errc() || r.ptr != buf + n) {
        return TextNumber::kNotNumber;
    }
    out = v;
    return TextNumber::kOk;
}

}  // namespace ondrix::script
