#include "script/currency.h"

#include <cmath>
#include <limits>

#include "script/conversions.h"
#include "script/errors.h"
#include "script/number_text.h"

namespace ondrix::script::currency {
namespace {

using Wide = __int128;  // holds the exact product of two amounts

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
// The largest whole number of units the range holds.
constexpr double kMaxWhole = static_cast<double>(kMax / kScale);

std::int64_t Checked(Wide v) {
    if (v < kMin || v > kMax) Raise(kOverflow);
    return static_cast<std::int64_t>(v);
}

// n / d rounded to a whole number by `rounding` (d > 0).
Wide DivideRounded(Wide n, Wide d, Rounding rounding) {
    Wide q = n / d, r = n % d;  // q toward zero, r with the sign of n
    if (r == 0) return q;
    switch (rounding) {
        case Rounding::kTowardZero:
            return q;
        case Rounding::kDown:
            return n < 0 ? q - 1 : q;
        case Rounding::kHalfEven: {
            Wide twice = 2 * (r < 0 ? -r : r);
            bool away = twice > d || (twice == d && q % 2 != 0);
            return away ? (n < 0 ? q - 1 : q + 1) : q;
        }
    }
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
    return Checked(static_cast<Wide>(whole) * kScale + static_cast<Wide>(fraction));
}

std::int64_t FromWhole(std::int64_t value) {
    return Checked(static_cast<Wide>(value) * kScale);
}

std::int64_t Add(std::int64_t a, std::int64_t b) {
    return Checked(static_cast<Wide>(a) + b);
}

std::int64_t Subtract(std::int64_t a, std::int64_t b) {
    return Checked(static_cast<Wide>(a) - b);
}

std::int64_t Multiply(std::int64_t a, std::int64_t b) {
    return Checked(DivideRounded(static_cast<Wide>(a) * b, kScale, Rounding::kHalfEven));
}

std::int64_t Negate(std::int64_t a) {
    return Checked(-static_cast<Wide>(a));
}

std::int64_t RoundToDecimals(std::int64_t amount, int decimals, Rounding rounding) {
    if (decimals >= kDecimals) return amount;
    Wide unit = 1;
    for (int i = decimals; i < kDecimals; ++i) unit *= 10;
    return Checked(DivideRounded(amount, unit, rounding) * unit);
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
