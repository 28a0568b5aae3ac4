#include "script/number_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

namespace ondrix::script {
namespace {

constexpr int kMinExponentDigits = 2;
constexpr std::size_t kMaxNumberTextLength = 400;  // longer texts are never numbers we read

constexpr std::uint64_t kMantissaGatherLimit = 100'000'000'000'000'000ull;  // 10^17
constexpr std::uint64_t kExactMantissaLimit = 1ull << 53;
constexpr int kMaxExactPowerOfTen = 22;
constexpr long kExponentCap = 100000;  // exponents beyond this are all the same overflow
constexpr double kPowersOfTen[kMaxExactPowerOfTen + 1] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Decimal digits of a finite non-zero magnitude: value = 0.d1d2d3... * 10^(exponent + 1)
struct Digits {
    char digit[40];
    int count = 0;
    int exponent = 0;  // of the first digit
    bool negative = false;
    std::uint64_t whole = 0;  // the digits as a number, when known (non-zero)
};

// Splits to_chars' scientific output "[-]d.ddde[+-]xx" into digits and exponent.
void ReadScientific(const char* p, const char* end, Digits& d) {
    d.whole = 0;
    d.negative = *p == '-';
    if (d.negative) ++p;
    d.count = 0;
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.') d.digit[d.count++] = *p;
    }
    ++p;  // 'e'
    bool expNegative = *p == '-';
    ++p;
    int e = 0;
    for (; p < end; ++p) e = e * 10 + (*p - '0');
    d.exponent = expNegative ? -e : e;
}

// A Single rounded to `significant` digits, from the exact binary value.
void RoundedDigits(float value, int significant, Digits& d) {
    char buf[64];
    auto r =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
    ReadScientific(buf, r.ptr, d);
}

// "00" to "99": two digits at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes `n` (below 10^(2 * pairs)) as exactly 2 * pairs digits, zeros in front.
void WriteDigitPairs(char* out, std::uint32_t n, int pairs) {
    for (int i = pairs - 1; i >= 0; --i) {
        std::memcpy(out + 2 * i, &kDigitPairs[2 * (n % 100)], 2);
        n /= 100;
    }
}

// Writes the 15 digits of 10^14 <= n < 10^15.
void WriteFifteenDigits(char* out, std::uint64_t n) {
    constexpr std::uint64_t kLowSplit = 100'000'000;  // 8 digits below, 7 above
    auto high = static_cast<std::uint32_t>(n / kLowSplit);
    auto low = static_cast<std::uint32_t>(n % kLowSplit);
    out[0] = static_cast<char>('0' + high / 1'000'000);
    WriteDigitPairs(out + 1, high % 1'000'000, 3);
    WriteDigitPairs(out + 7, low, 4);
}

// 15 digits of a Double by one exact scaling: value * 10^k lands between
// 10^14 and 10^15, and a fused multiply-add gives the rounding error of that
// product exactly, so rounding to the nearest whole number (halves to even)
// follows the exact binary value. Works where 10^k is exact (|k| <= 22);
// returns false elsewhere. On success `n` holds the digits
// (10^14 <= n < 10^15) and `e10` the decimal exponent of the first one.
bool ScaleToFifteenDigits(double magnitude, std::uint64_t& n, int& e10) {
    constexpr double kLow = 1e14, kHigh = 1e15;
    if (!(magnitude >= std::numeric_limits<double>::min())) return false;
    constexpr int kExponentShift = 52;
    constexpr int kExponentBias = 1023;
    int binaryExponent =
        static_cast<int>(std::bit_cast<std::uint64_t>(magnitude) >> kExponentShift) - kExponentBias;
    // log10(2) ~ 1233 / 4096: a first guess of the decimal exponent, off by
    // at most one, corrected below. Kept within the exponents that work, so
    // that a guess just outside them is corrected rather than given up.
    e10 = std::clamp((binaryExponent * 1233) >> 12, kDoubleDigits - 1 - kMaxExactPowerOfTen,
                     kDoubleDigits - 1 + kMaxExactPowerOfTen);
    for (int attempt = 0; attempt < 3; ++attempt) {
        int k = kDoubleDigits - 1 - e10;
        if (k > kMaxExactPowerOfTen || k < -kMaxExactPowerOfTen) return false;
        double p = kPowersOfTen[k >= 0 ? k : -k];
        double product = k >= 0 ? magnitude * p : magnitude / p;
        if (product < kLow) {
            --e10;
            continue;
        }
        if (product >= kHigh) {
            ++e10;
            continue;
        }
        // The product is positive and below 2^50: truncation is the floor,
        // and the fraction is exact.
        n = static_cast<std::uint64_t>(product);
        double fraction = product - static_cast<double>(n);
        bool up;
        if (fraction != 0.5) {
            up = fraction > 0.5;  // the rounding error is below half a unit of it
        } else {
            // Only a tie needs the rounding error: a fused multiply-add gives
            // it exactly, and for the quotient with the same sign as its error.
            double error =
                k >= 0 ? std::fma(magnitude, p, -product) : std::fma(-product, p, magnitude);
            up = error > 0 || (error == 0 && (n & 1) != 0);
        }
        if (up) ++n;
        if (n >= static_cast<std::uint64_t>(kHigh)) {
            n /= 10;
            ++e10;
        }
        return true;
    }
    return false;
}

// How many of the 15 digits (the first never "0") remain once trailing "0"s
// are dropped. Eight characters are compared at a time: the number of
// leading zero bytes of the last eight, XOR "00000000", counts their
// trailing "0"s.
int SignificantOfFifteen(const char* digit) {
    constexpr std::uint64_t kZeros = 0x3030303030303030ull;
    auto trailingZeros = [&](const char* eight) {
        std::uint64_t word;
        std::memcpy(&word, eight, sizeof word);
        word ^= kZeros;
        int bits = std::endian::native == std::endian::little ? std::countl_zero(word)
                                                              : std::countr_zero(word);
        return bits / 8;
    };
    int zeros = trailingZeros(digit + 7);              // digits 7 to 14
    if (zeros == 8) zeros = 7 + trailingZeros(digit);  // digit 7 counted once
    return kDoubleDigits - zeros;
}

// The same as the digits of a Digits, trailing zeros dropped.
bool ScaledFifteenDigits(double value, Digits& d) {
    std::uint64_t n;
    int e10;
    if (!ScaleToFifteenDigits(std::fabs(value), n, e10)) return false;
    d.whole = n;
    WriteFifteenDigits(d.digit, n);
    d.count = SignificantOfFifteen(d.digit);
    d.exponent = e10;
    d.negative = value < 0;
    return true;
}

// n * 10^power rounded once, when that is one exact operation.
bool ExactScaled(std::uint64_t n, int power, double& out) {
    if (power < -kMaxExactPowerOfTen || power > kMaxExactPowerOfTen) return false;
    auto m = static_cast<double>(n);  // exact: n < 2^53
    out = power >= 0 ? m * kPowersOfTen[power] : m / kPowersOfTen[-power];
    return true;
}

// A Double rounded to `significant` (at most 15) digits, correctly: the
// digits of the exact binary value, as printf's %.*e gives them.
void RoundedDigits(double value, int significant, Digits& d) {
    if (significant == kDoubleDigits && ScaledFifteenDigits(value, d)) return;
    char buf[64];
    // The shortest digits that read back as the value are cheap to get. When
    // they are no more than wanted they are the answer; when they are more,
    // rounding them gives the same digits as rounding the exact value unless
    // they end exactly on a half (only the exact value can settle that tie).
    // This holds because a Double's spacing is far below one unit of the
    // 15th digit, and the shortest digits are the closest of their length.
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    ReadScientific(buf, r.ptr, d);
    if (std::fabs(value) < std::numeric_limits<double>::min()) {
        // Subnormal numbers have too few bits for the argument above.
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                          significant - 1);
        ReadScientific(buf, r.ptr, d);
        return;
    }
    if (d.count <= significant) return;
    const char* tail = d.digit + significant;
    int tailCount = d.count - significant;
    bool exactHalf = tail[0] == '5';
    for (int i = 1; exactHalf && i < tailCount; ++i) exactHalf = tail[i] == '0';
    if (exactHalf) {
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                          significant - 1);
        ReadScientific(buf, r.ptr, d);
        return;
    }
    bool up = tail[0] >= '5';
    d.count = significant;
    if (up) {
        int i = significant - 1;
        while (i >= 0 && d.digit[i] == '9') d.digit[i--] = '0';
        if (i >= 0) {
            ++d.digit[i];
        } else {
            d.digit[0] = '1';
            ++d.exponent;
        }
    }
}

// The number the first `count` digits stand for, read as text would be.
double DigitsValue(const Digits& d, int count) {
    // The 15 digits of the scaling, trailing zeros and all, stand for the
    // same number: one exact operation when the power allows it.
    double v;
    if (d.whole != 0 && ExactScaled(d.whole, d.exponent - (kDoubleDigits - 1), v))
        return d.negative ? -v : v;
    std::uint64_t mantissa = 0;
    for (int i = 0; i < count; ++i)
        mantissa = mantissa * 10 + static_cast<unsigned>(d.digit[i] - '0');
    int power = d.exponent - (count - 1);
    if (!ExactScaled(mantissa, power, v)) {
        char text[48];  // up to 20 digits, "e" and a signed exponent
        char* end = std::to_chars(text, text + 20, mantissa).ptr;
        *end++ = 'e';
        end = std::to_chars(end, text + sizeof text, power).ptr;
        if (std::from_chars(text, end, v).ec != std::errc()) {
            // Beyond the range: digits of a non-zero Double never underflow,
            // so this is an overflow, which no reading gives a number for.
            v = power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        }
    }
    return d.negative ? -v : v;
}

char* WriteExponent(char* out, int exponent) {
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    int e = exponent < 0 ? -exponent : exponent;
    char buf[8];
    auto r = std::to_chars(buf, buf + sizeof buf, e);
    for (int n = static_cast<int>(r.ptr - buf); n < kMinExponentDigits; ++n) *out++ = '0';
    for (const char* p = buf; p < r.ptr; ++p) *out++ = *p;
    return out;
}

char* Fill(char* out, char c, int n) {
    for (int i = 0; i < n; ++i) *out++ = c;
    return out;
}

char* Copy(char* out, const char* from, int n) {
    for (int i = 0; i < n; ++i) *out++ = from[i];
    return out;
}

}  // namespace

char* WriteRealText(char* out, double value, int digits, char separator, double* shown) {
    if (value == 0.0 || !std::isfinite(value)) {
        *out++ = '0';
        if (shown) *shown = 0.0;
        return out;
    }
    Digits d;
    if (digits == kSingleDigits)
        RoundedDigits(static_cast<float>(value), digits, d);
    else
        RoundedDigits(value, digits, d);
    int count = d.count;
    while (count > 1 && d.digit[count - 1] == '0') --count;
    int exponent = d.exponent;
    if (shown) *shown = DigitsValue(d, count);
    const char* m = d.digit;

    if (d.negative) *out++ = '-';
    int placesAfterPoint = count - 1 - exponent;  // of the fixed form
    if (exponent >= digits || placesAfterPoint > digits) {
        *out++ = m[0];
        if (count > 1) {
            *out++ = separator;
            out = Copy(out, m + 1, count - 1);
        }
        return WriteExponent(out, exponent);
    }
    if (exponent >= 0) {
        int whole = exponent + 1;
        if (count <= whole) {
            out = Copy(out, m, count);
            return Fill(out, '0', whole - count);
        }
        out = Copy(out, m, whole);
        *out++ = separator;
        return Copy(out, m + whole, count - whole);
    }
    *out++ = '0';
    *out++ = separator;
    out = Fill(out, '0', -exponent - 1);
    return Copy(out, m, count);
}

bool ReadBackDoubleText(double value, double& number, bool& whole) {
    if (value == 0.0 || !std::isfinite(value)) {
        number = 0.0;  // the text is "0"
        whole = true;
        return true;
    }
    std::uint64_t n;
    int e10;
    double v;
    if (!ScaleToFifteenDigits(std::fabs(value), n, e10) ||
        !ExactScaled(n, e10 - (kDoubleDigits - 1), v))
        return false;
    number = value < 0 ? -v : v;
    // The text has neither separator nor exponent when the decimal is a whole
    // number below 10^15. Such a decimal is exact as a Double; any other one
    // lies at least 10^(e10 - 14) from a whole number, far beyond half a unit
    // of v, so v is whole exactly when the decimal is.
    whole =
        e10 >= 0 && e10 < kDoubleDigits && static_cast<double>(static_cast<std::int64_t>(v)) == v;
    return true;
}

void AppendRealText(std::string& out, double value, int digits, char separator) {
    char buf[kMaxRealTextLength];
    char* end = WriteRealText(buf, value, digits, separator, nullptr);
    out.append(buf, end);
}

std::string StrText(double value) {
    std::string s;
    if (!(value < 0)) s += ' ';
    AppendRealText(s, value, kDoubleDigits, '.');
    return s;
}

bool ReadRadixDigits(std::string_view digits, int base, bool hasLongSuffix, std::int32_t& out) {
    if (digits.empty()) return false;
    std::uint64_t v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        if (d >= base) return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFull) return false;
    }
    if (!hasLongSuffix && v <= 0xFFFF) {
        out = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    } else {
        out = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    }
    return true;
}

TextNumber ParseNumberText(std::string_view text, char separator, double& out) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    std::string_view t = text.substr(b, e - b);
    if (t.empty() || t.size() > kMaxNumberTextLength) return TextNumber::kNotNumber;

    if (t.size() >= 2 && t[0] == '&') {
        int base = (t[1] == 'h' || t[1] == 'H') ? 16 : (t[1] == 'o' || t[1] == 'O') ? 8 : 0;
        if (base == 0) return TextNumber::kNotNumber;
        std::string_view digits = t.substr(2);
        bool suffix = !digits.empty() && digits.back() == '&';
        if (suffix) digits.remove_suffix(1);
        std::int32_t v;
        for (char c : digits) {
            bool ok = base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                 : (c >= '0' && c <= '7');
            if (!ok) return TextNumber::kNotNumber;
        }
        if (!ReadRadixDigits(digits, base, suffix, v))
            return digits.empty() ? TextNumber::kNotNumber : TextNumber::kOverflow;
        out = v;
        return TextNumber::kOk;
    }

    // One pass checks VBScript's grammar (from_chars alone would accept "inf"
    // and "nan") and gathers the digits into a whole number `mantissa` times
    // 10^scale for the exact short cut below.
    std::size_t i = 0;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-') {
        negative = t[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int scale = 0;
    bool mantissaExact = true;
    std::size_t intStart = i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        if (mantissa < kMantissaGatherLimit)
            mantissa = mantissa * 10 + static_cast<unsigned>(t[i] - '0');
        else
            mantissaExact = false;
    }
    std::size_t intDigits = i - intStart, fracDigits = 0, fracStart = i;
    if (i < t.size() && t[i] == separator) {
        fracStart = ++i;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            if (mantissa < kMantissaGatherLimit) {
                mantissa = mantissa * 10 + static_cast<unsigned>(t[i] - '0');
                --scale;
            } else {
                mantissaExact = false;
            }
        }
        fracDigits = i - fracStart;
    }
    if (intDigits + fracDigits == 0) return TextNumber::kNotNumber;
    long exponent = 0;
    std::size_t expStart = i;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        ++i;
        bool expNegative = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            expNegative = t[i] == '-';
            ++i;
        }
        std::size_t expDigitsStart = i;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            if (exponent < kExponentCap) exponent = exponent * 10 + (t[i] - '0');
        }
        if (i == expDigitsStart) return TextNumber::kNotNumber;
        if (expNegative) exponent = -exponent;
    }
    if (i != t.size()) return TextNumber::kNotNumber;

    // A whole number up to 2^53 times a power of ten up to 10^22 is exact in
    // one multiplication or division, which rounds correctly: most texts a
    // plot reads back take this road.
    long power = scale + exponent;
    if (mantissaExact && mantissa <= kExactMantissaLimit && power >= -kMaxExactPowerOfTen &&
        power <= kMaxExactPowerOfTen) {
        double m = static_cast<double>(mantissa);
        double v = power >= 0 ? m * kPowersOfTen[power] : m / kPowersOfTen[-power];
        out = negative ? -v : v;
        return TextNumber::kOk;
    }

    // Otherwise from_chars, on a copy in its own notation.
    char buf[kMaxNumberTextLength + 1];
    std::size_t n = 0;
    for (std::size_t k = intStart; k < intStart + intDigits; ++k) buf[n++] = t[k];
    if (fracDigits > 0) {
        buf[n++] = '.';
        for (std::size_t k = fracStart; k < fracStart + fracDigits; ++k) buf[n++] = t[k];
    }
    if (expStart < t.size()) {
        buf[n++] = 'e';
        for (std::size_t k = expStart + 1; k < t.size(); ++k) buf[n++] = t[k];
    }
    double v = 0;
    auto r = std::from_chars(buf, buf + n, v);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large overflows, too small is zero: decide by the decimal
        // magnitude of the first significant digit.
        long magnitude = exponent;
        std::size_t k = 0;
        while (k < n && buf[k] == '0') ++k;
        if (k < n && buf[k] >= '1' && buf[k] <= '9') {
            std::size_t firstDigit = k;
            while (k < n && buf[k] >= '0' && buf[k] <= '9') ++k;
            magnitude += static_cast<long>(k - firstDigit);
        } else if (k < n && buf[k] == '.') {
            ++k;
            while (k < n && buf[k] == '0') {
                ++k;
                --magnitude;
            }
        }
        if (magnitude > 0) return TextNumber::kOverflow;
        v = 0;
    } else if (r.ec != std::errc() || r.ptr != buf + n) {
        return TextNumber::kNotNumber;
    }
    out = negative ? -v : v;
    return TextNumber::kOk;
}

}  // namespace ondrix::script
