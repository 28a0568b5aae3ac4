#include "plotter/eval/number_text.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace ondrix::script {
namespace {

constexpr int kMinExponentDigits = 2;
constexpr std::size_t kMaxNumberTextLength = 400;  // longer texts are never numbers we read

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

void AppendExponent(std::string& out, int exponent) {
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    char buf[8];
    auto r = std::to_chars(buf, buf + sizeof buf, exponent < 0 ? -exponent : exponent);
    for (int n = static_cast<int>(r.ptr - buf); n < kMinExponentDigits; ++n) out += '0';
    out.append(buf, r.ptr);
}

}  // namespace

void AppendRealText(std::string& out, double value, int digits, char separator) {
    if (value == 0.0 || !std::isfinite(value)) {
        out += '0';
        return;
    }
    // Correctly rounded scientific form: [-]d.ddde[+-]xx
    std::array<char, 64> buf;
    std::to_chars_result r;
    if (digits == kSingleDigits) {
        r = std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<float>(value),
                          std::chars_format::scientific, digits - 1);
    } else {
        r = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific,
                          digits - 1);
    }
    const char* p = buf.data();
    const char* end = r.ptr;
    bool negative = *p == '-';
    if (negative) ++p;
    char mantissa[32];
    int count = 0;
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.') mantissa[count++] = *p;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    while (count > 1 && mantissa[count - 1] == '0') --count;

    if (negative) out += '-';
    int placesAfterPoint = count - 1 - exponent;  // of the fixed form
    if (exponent >= digits || placesAfterPoint > digits) {
        out += mantissa[0];
        if (count > 1) {
            out += separator;
            out.append(mantissa + 1, count - 1);
        }
        AppendExponent(out, exponent);
    } else if (exponent >= 0) {
        int whole = exponent + 1;
        if (count <= whole) {
            out.append(mantissa, count);
            out.append(whole - count, '0');
        } else {
            out.append(mantissa, whole);
            out += separator;
            out.append(mantissa + whole, count - whole);
        }
    } else {
        out += '0';
        out += separator;
        out.append(-exponent - 1, '0');
        out.append(mantissa, count);
    }
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

    // Copy into the form from_chars reads ("." as separator, "e" exponent),
    // checking VBScript's grammar on the way: from_chars alone would accept
    // "inf" and "nan".
    char buf[kMaxNumberTextLength + 1];
    std::size_t n = 0, i = 0;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-') {
        negative = t[i] == '-';
        ++i;
    }
    int intDigits = 0, fracDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        buf[n++] = t[i++];
        ++intDigits;
    }
    if (i < t.size() && t[i] == separator) {
        buf[n++] = '.';
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            buf[n++] = t[i++];
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0) return TextNumber::kNotNumber;
    long exponent = 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        buf[n++] = 'e';
        ++i;
        bool expNegative = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            expNegative = t[i] == '-';
            buf[n++] = t[i++];
        }
        int expDigits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            if (exponent < 100000) exponent = exponent * 10 + (t[i] - '0');
            buf[n++] = t[i++];
            ++expDigits;
        }
        if (expDigits == 0) return TextNumber::kNotNumber;
        if (expNegative) exponent = -exponent;
    }
    if (i != t.size()) return TextNumber::kNotNumber;

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
