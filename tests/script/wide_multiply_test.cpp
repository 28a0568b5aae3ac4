// The 64 x 64 -> 128 bit product behind the Currency subtype, written out and
// as the build chooses it.
#include "script/wide_multiply.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace ondrix::script {
namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

TEST(MultiplyWide, ExactProductsToTheEndsOfTheRange) {
    struct Case {
        std::int64_t a, b;
        bool negative;
        std::uint64_t high, low;
    };
    const Case cases[] = {
        {1, kMin, true, 0, 0x8000000000000000u},
        {7, 6, false, 0, 42},
        {-7, 6, true, 0, 42},
        {-7, -6, false, 0, 42},
        {0xFFFFFFFF, 0xFFFFFFFF, false, 0, 0xFFFFFFFE00000001u},
        {0x100000001, 0x100000001, false, 1, 0x200000001u},
        {kMax, kMax, false, 0x3FFFFFFFFFFFFFFFu, 1},
        {kMin, kMin, false, 0x4000000000000000u, 0},
        {kMin, -1, false, 0, 0x8000000000000000u},
        {kMax, kMin, true, 0x3FFFFFFFFFFFFFFFu, 0x8000000000000000u},
        {922337203685477, 10000, false, 0, 9223372036854770000u},
        {-123456789012345, 987654321, true, 0x19D1, 0xFB2E7D43874EAAA9u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " * " + std::to_string(c.b));
        for (const WideInt& p : {MultiplyWidePortable(c.a, c.b), MultiplyWide(c.a, c.b)}) {
            EXPECT_EQ(p.negative, c.negative);
            EXPECT_EQ(p.high, c.high);
            EXPECT_EQ(p.low, c.low);
        }
    }
}

}  // namespace
}  // namespace ondrix::script
