#include "script/currency.h"

#include <cmath>
#include <limits>

#include "script/conversions.h"
#include "script/errors.h"
#include "script/number_text.h"
#include "script/wide_multiply.h"

namespace ondrix::script::currency {
namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
// The largest whole number of units the range holds.
constexpr double kMaxWhole = static_cast<double>(kMax / kScale);
constexpr std::uint64_t kMinMagnitude = std::uint64_t{1} << 63;

std::int64_t Checked(const WideInt& v) {
    if (v.high != 0 || v.low > (v.negative ? kMinMagnitude : static_cast<std::uint64_t>(kMax)))
        Raise(kOverflow);
    return v.negative ? static_cast<std::int64_t>(0 - v.low) : static_cast<std::int64_t>(v.low);
}

// n / d rounded to a whole number by `rounding` (0 < d < 2^32): long division
// of the magnitude, 32 bits at a time.
WideInt DivideRounded(const WideInt& n, std::uint32_t d, Rounding rounding) {
    constexpr std::uint64_t kHalf = 0xFFFFFFFFu;
    WideInt q{n.negative, n.high / d, 0};
    std::uint64_t r = n.high % d;
    const std::uint64_t upper = (r << 32) | (n.low >> 32);
    r = upper % d;
    const std::uint64_t lower = (r << 32) | (n.low & kHalf);
    r = lower % d;
    q.low = ((upper / d) << 32) | (lower / d);
    if (r == 0) return q;
    bool away = false;  // from zero, one more than the quotient toward zero
    switch (rounding) {
        case Rounding::kTowardZero:
            break;
        case Rounding::kDown:
            away = n.negative;
            break;
        case Rounding::kHalfEven:
            away = 2 * r > d || (2 * r == d && (q.low & 1) != 0);
            break;
    }
    if (away && ++q.low == 0) ++q.high;
    return q;
}

}  // namespace

std::int64_t FromDouble(double value) {
    // The whole part and the fraction apart: both are exact, and scaling the
    // whole part in 64 bits keeps it exact where value * 10000 would not be
    // a Double any more (CCur(922337203685477) stays whole).
    double whole = std::trunc(value);
    if (!(std::fabs(whole) <= kMaxWhole)) Raise(kOverflow);  // NaN too
    double fraction = RoundHalfEven((value - whole) * static_cast<double>(kScale));
    // |whole| * kScale stays inside the range; the fraction may carry it out.
    return Add(FromWhole(static_cast<std::int64_t>(whole)), static_cast<std::int64_t>(fraction));
}

std::int64_t FromWhole(std::int64_t value) {
    return Checked(MultiplyWide(value, kScale));
}

std::int64_t Add(std::int64_t a, std::int64_t b) {
    if ((b > 0 && a > kMax - b) || (b < 0 && a < kMin - b)) Raise(kOverflow);
    return a + b;
}

std::int64_t Subtract(std::int64_t a, std::int64_t b) {
    if ((b < 0 && a > kMax + b) || (b > 0 && a < kMin + b)) Raise(kOverflow);
    return a - b;
}

std::int64_t Multiply(std::int64_t a, std::int64_t b) {
    return Checked(
        DivideRounded(MultiplyWide(a, b), static_cast<std::uint32_t>(kScale), Rounding::kHalfEven));
}

std::int64_t Negate(std::int64_t a) {
    if (a == kMin) Raise(kOverflow);
    return -a;
}

std::int64_t RoundToDecimals(std::int64_t amount, int decimals, Rounding rounding) {
    if (decimals >= kDecimals) return amount;
    std::int64_t unit = 1;
    for (int i = decimals; i < kDecimals; ++i) unit *= 10;
    const std::int64_t units =
        Checked(DivideRounded(MultiplyWide(amount, 1), static_cast<std::uint32_t>(unit), rounding));
    return Checked(MultiplyWide(units, unit));
}

void AppendText(std::string& out, std::int64_t amount, char separator) {
    // The magnitude as unsigned, so that the most negative amount has one.
    std::uint64_t magnitude =
        amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    if (amount < 0) out += '-';
    AppendDigits(out, static_cast<std::int64_t>(magnitude / kScale));
    auto fraction = static_cast<std::int64_t>(magnitude % kScale);
    if (fraction == 0) return;
    int places = kDecimals;
    for (; fraction % 10 == 0; fraction /= 10) --places;  // no trailing zeros
    out += separator;
    AppendDigits(out, fraction, places);
}

}  // namespace ondrix::script::currency
