// GetKeyValue's byte rules against a fake look-up.

#include "plotter/about/key_value.h"

#include <gtest/gtest.h>

#include "fake_key_lookup.h"

namespace ondrix {
namespace {

using namespace std::string_literals;

constexpr const char* kKey = "SOFTWARE\\Test";
constexpr const char* kValue = "Value";

struct ByteCase {
    const char* name;
    bool present;
    std::uint32_t type;
    std::string bytes;
    std::string before;  // what KeyVal holds on the call
    bool found;
    std::string after;
};

void PrintTo(const ByteCase& c, std::ostream* os) {
    *os << c.name;
}

class GetKeyValueBytes : public ::testing::TestWithParam<ByteCase> {};

TEST_P(GetKeyValueBytes, ReadsValueAsText) {
    const ByteCase& c = GetParam();
    testing::FakeKeyLookup lookup;
    if (c.present) lookup.Set(kKey, kValue, c.type, c.bytes);
    std::string keyVal = c.before;
    EXPECT_EQ(GetKeyValue(lookup, kHKeyLocalMachine, kKey, kValue, keyVal), c.found);
    EXPECT_EQ(keyVal, c.after);
}

const std::string k1023 = std::string(1023, 'a');

INSTANTIATE_TEST_SUITE_P(
    Cases, GetKeyValueBytes,
    ::testing::Values(
        ByteCase{"TextWithClosingNul", true, kRegSz, "C:\\tool.exe\0"s, "", true, "C:\\tool.exe"},
        ByteCase{"TextWithoutClosingNulKeepsLastChar", true, kRegSz, "abc", "", true, "abc"},
        ByteCase{"TwoClosingNulsKeepOne", true, kRegSz, "abc\0\0"s, "", true, "abc\0"s},
        ByteCase{"InnerNulStays", true, kRegSz, "a\0b\0"s, "", true, "a\0b"s},
        ByteCase{"OnlyANulGivesEmptyText", true, kRegSz, "\0"s, "old", true, ""},
        ByteCase{"FullBufferIsFound", true, kRegSz, k1023 + '\0', "", true, k1023},
        ByteCase{"OverBufferCountsAsMissing", true, kRegSz, std::string(1025, 'a'), "old", false,
                 ""},
        ByteCase{"MissingEmptiesText", false, kRegSz, "", "old", false, ""},
        ByteCase{"ExpandSzFoundButLeavesTextAlone", true, kRegExpandSz, "%SystemRoot%\\x\0"s, "old",
                 true, "old"},
        ByteCase{"BinaryFoundButLeavesTextAlone", true, kRegBinary, "\x01\x02"s, "", true, ""},
        ByteCase{"DwordReadsHighByteFirstLessClosingNul", true, kRegDword, "\x2A\x00\x01\x00"s, "",
                 true, "&h01002A"},
        ByteCase{"DwordIgnoresEarlierText", true, kRegDword, "\xFF\x10\x00\x00"s, "old", true,
                 "&h0010FF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetKeyValue, ValueWithoutDataIsAnError) {
    testing::FakeKeyLookup lookup;
    lookup.Set(kKey, kValue, kRegSz, "");
    std::string keyVal;
    EXPECT_THROW(GetKeyValue(lookup, kHKeyLocalMachine, kKey, kValue, keyVal), KeyValueError);
}

}  // namespace
}  // namespace ondrix
