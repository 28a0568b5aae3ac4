#pragma once

// The exact product of two 64-bit whole numbers, which needs 128 bits.

#include <cstdint>

namespace ondrix::script {

// A whole number of up to 128 bits as its sign and the high and low 64 bits
// of its magnitude.
struct WideInt {
    bool negative = false;
    std::uint64_t high = 0;
    std::uint64_t low = 0;
};

constexpr std::uint64_t Magnitude(std::int64_t v) {
    return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

// The product written out with 32-bit halves: every compiler has it.
constexpr WideInt MultiplyWidePortable(std::int64_t a, std::int64_t b) {
    constexpr std::uint64_t kHalf = 0xFFFFFFFFu;
    const std::uint64_t x = Magnitude(a);
    const std::uint64_t y = Magnitude(b);
    const std::uint64_t lowLow = (x & kHalf) * (y & kHalf);
    const std::uint64_t lowHigh = (x & kHalf) * (y >> 32);
    const std::uint64_t highLow = (x >> 32) * (y & kHalf);
    const std::uint64_t highHigh = (x >> 32) * (y >> 32);
    // At most three 32-bit numbers: no carry is lost.
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & kHalf) + (highLow & kHalf);
    return {(a < 0) != (b < 0), highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32),
            (middle << 32) | (lowLow & kHalf)};
}

// The same product, from the compiler's 128-bit integers where it has them,
// unless the build asks for the written-out multiply everywhere
// (ONDRIX_PORTABLE_MULTIPLY, which lets the tests run that one).
constexpr WideInt MultiplyWide(std::int64_t a, std::int64_t b) {
#if defined(__SIZEOF_INT128__) && !defined(ONDRIX_PORTABLE_MULTIPLY)
    const unsigned __int128 product = static_cast<unsigned __int128>(Magnitude(a)) * Magnitude(b);
    return {(a < 0) != (b < 0), static_cast<std::uint64_t>(product >> 64),
            static_cast<std::uint64_t>(product)};
#else
    return MultiplyWidePortable(a, b);
#endif
}

}  // namespace ondrix::script
