#pragma once

// The Currency subtype: a 64-bit whole count of ten-thousandths, so that sums
// of money are exact to four decimals. Every conversion into it rounds half
// to even, and a result beyond the 64-bit range raises error 6 (Overflow).

#include <cstdint>
#include <string>

namespace ondrix::script::currency {

// Ten-thousandths per unit: four decimals.
inline constexpr std::int64_t kScale = 10000;
inline constexpr int kDecimals = 4;

// The nearest amount to a Double (halves to even); error 6 beyond the range.
std::int64_t FromDouble(double value);
// A whole number as an amount; error 6 beyond the range.
std::int64_t FromWhole(std::int64_t value);

inline double ToDouble(std::int64_t amount) {
    return static_cast<double>(amount) / static_cast<double>(kScale);
}

// Exact arithmetic; the product rounds its fifth and later decimals half to
// even. Each raises error 6 when the result leaves the range.
std::int64_t Add(std::int64_t a, std::int64_t b);
std::int64_t Subtract(std::int64_t a, std::int64_t b);
std::int64_t Multiply(std::int64_t a, std::int64_t b);
std::int64_t Negate(std::int64_t a);

enum class Rounding { kHalfEven, kTowardZero, kDown };
// Rounds to a whole number of units with `decimals` places (0 to 4).
std::int64_t RoundToDecimals(std::int64_t amount, int decimals, Rounding rounding);

// The text form: the whole part, then up to four decimals without trailing
// zeros after `separator` ("1.5", "-0.0001", "12").
void AppendText(std::string& out, std::int64_t amount, char separator);

}  // namespace ondrix::script::currency
