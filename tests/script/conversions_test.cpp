// Number <-> text conversions: CStr forms, the 15-digit writer against printf,
// reading text as numbers, and the decimal separator.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "script/number_text.h"
#include "tests/script/script_test_support.h"

namespace ondrix::script::testing {
namespace {

// CStr writes a Double with at most 15 significant digits, rounded from the
// exact binary value, trailing zeros dropped, in exponent form from 1E+15 up
// and where the fixed form would need more than 15 places after the point.
class CStrTest : public ::testing::TestWithParam<ExprCase> {};

TEST_P(CStrTest, WritesVBScriptNumberText) {
    Engine engine;
    EXPECT_EQ(Describe(engine, GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Doubles, CStrTest,
    ::testing::Values(
        ExprCase{"CStr(1E20)", "String 1E+20"}, ExprCase{"CStr(1E15)", "String 1E+15"},
        ExprCase{"CStr(999999999999999)", "String 999999999999999"},
        ExprCase{"CStr(1234567890123456)", "String 1.23456789012346E+15"},
        ExprCase{"CStr(1/3)", "String 0.333333333333333"}, ExprCase{"CStr(-0.5)", "String -0.5"},
        ExprCase{"CStr(0.00001)", "String 0.00001"},
        ExprCase{"CStr(1/30)", "String 3.33333333333333E-02"},
        ExprCase{"CStr(1E-16)", "String 1E-16"},
        ExprCase{"CStr(1E-15)", "String 0.000000000000001"}, ExprCase{"CStr(-0.0)", "String 0"},
        ExprCase{"CStr(0.1 + 0.2)", "String 0.3"}, ExprCase{"CStr(-16.68)", "String -16.68"},
        ExprCase{"CStr(1E100)", "String 1E+100"}, ExprCase{"CStr(-1.5E-300)", "String -1.5E-300"},
        ExprCase{"CStr(123456.789)", "String 123456.789"},
        ExprCase{"CStr(0.1234567890123456)", "String 0.123456789012346"},
        ExprCase{"CStr(999999999999999.9)", "String 1E+15"},
        ExprCase{"CStr(1.7976931348623157E+308)", "String 1.79769313486232E+308"},
        ExprCase{"CStr(4.9406564584124654E-324)", "String 4.94065645841247E-324"}));

// A Single shows at most 7 digits.
INSTANTIATE_TEST_SUITE_P(Singles, CStrTest,
                         ::testing::Values(ExprCase{"CStr(CSng(1/3))", "String 0.3333333"},
                                           ExprCase{"CStr(CSng(1E7))", "String 1E+07"},
                                           ExprCase{"CStr(CSng(1/30))", "String 3.333334E-02"},
                                           ExprCase{"CStr(CSng(0.001))", "String 0.001"},
                                           ExprCase{"CStr(CSng(3.4E+38))", "String 3.4E+38"}));

// Seven digits of any finite Double are its own value rounded, also beyond
// the Single range and below its smallest subnormal.
TEST(SevenDigitText, WritesAnyFiniteDouble) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {3.4028235E+38, "3.402823E+38"},
        {-3.4028235E+38, "-3.402823E+38"},
        {3.5E+38, "3.5E+38"},
        {1E+300, "1E+300"},
        {5.602654E+42, "5.602654E+42"},
        {1.40129846E-45, "1.401298E-45"},
        {1E-300, "1E-300"},
        {-1.7976931348623157E+308, "-1.797693E+308"},
        {4.9406564584124654E-324, "4.940656E-324"},
    };
    for (const Case& c : cases) {
        char buf[kMaxRealTextLength];
        EXPECT_EQ(std::string(buf, WriteRealText(buf, c.value, kSingleDigits, '.', nullptr)),
                  c.text);
    }
}

// The value printf's correctly rounded 15 digits stand for: the C library's
// digits, an oracle independent of the writer's own exact-scaling fast path.
double PrintfFifteen(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", x);
    return std::strtod(buf, nullptr);
}

// The 15-digit rounding must follow the exact binary value, also where the
// shortest decimal form of the number ends exactly on a half.
TEST(DoubleText, RoundsTheExactValueAtHalves) {
    for (const char* tie : {"0.1000000000000005", "1.0000000000000025", "2.0000000000000015",
                            "123456.7890123455", "9.9999999999999995", "4.4444444444444445e-100"}) {
        double x = std::strtod(tie, nullptr);
        EXPECT_EQ(std::strtod(DoubleText(x, '.').c_str(), nullptr), PrintfFifteen(x)) << tie;
    }
    double x = -16.68;
    for (int i = 0; i < 5000; ++i, x += 33.36 / 997.0) {
        ASSERT_EQ(std::strtod(DoubleText(x, '.').c_str(), nullptr), PrintfFifteen(x)) << x;
    }
}

// Random Doubles over the whole exponent range, and numbers close to halves
// of the 15th digit, agree with printf's correctly rounded digits.
TEST(DoubleText, AgreesWithPrintfEverywhere) {
    std::mt19937_64 random(2024);
    for (int i = 0; i < 200000; ++i) {
        double x;
        if (i % 2) {
            std::uint64_t bits = random();
            std::memcpy(&x, &bits, sizeof x);
            if (!std::isfinite(x)) continue;
        } else {
            // 15 digits and a half, nudged by a few units of the last place.
            double base = std::ldexp(static_cast<double>(random() % 1000000000000000ull) + 0.5,
                                     static_cast<int>(random() % 40) - 20);
            x = std::nextafter(base, (random() & 1) ? 1e300 : -1e300);
        }
        ASSERT_EQ(std::strtod(DoubleText(x, '.').c_str(), nullptr), PrintfFifteen(x)) << x;
    }
}

// Text read as a number, as CDbl reads it: blanks around, a sign, the
// decimal separator of the setting, E or D exponents, the &H and &O forms;
// error 13 for what is no number, 6 beyond the Double range.
struct TextCase {
    const char* text;
    char separator;
    const char* expected;
};

class TextToNumberTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToNumberTest, ReadsLikeCDbl) {
    Engine engine;
    engine.SetDecimalSeparator(GetParam().separator);
    EXPECT_EQ(Describe(engine, std::string("CDbl(\"") + GetParam().text + "\")"),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToNumberTest,
    ::testing::Values(
        TextCase{"  12.5  ", '.', "Double 12.5"}, TextCase{"-0.5", '.', "Double -0.5"},
        TextCase{"+.5", '.', "Double 0.5"}, TextCase{" - .4 ", '.', "Double -0.4"},
        TextCase{"1.", '.', "Double 1"}, TextCase{"1.5E-7", '.', "Double 0.00000015"},
        TextCase{"1e+3", '.', "Double 1000"}, TextCase{"2D2", '.', "Double 200"},
        TextCase{"&HFF", '.', "Double 255"}, TextCase{"&hFFFF", '.', "Double -1"},
        TextCase{"&HFFFF&", '.', "Double 65535"}, TextCase{"&o17", '.', "Double 15"},
        TextCase{"&H100000000", '.', "Error 6"}, TextCase{"&HG", '.', "Error 13"},
        TextCase{"&O8", '.', "Error 13"},
        TextCase{"0.523598775598299", '.', "Double 0.523598775598299"},
        TextCase{"12,5", ',', "Double 12,5"}, TextCase{"12.5", ',', "Error 13"},
        TextCase{"12,5", '.', "Error 13"}, TextCase{"", '.', "Error 13"},
        TextCase{"   ", '.', "Error 13"}, TextCase{"True", '.', "Error 13"},
        TextCase{"inf", '.', "Error 13"}, TextCase{"nan", '.', "Error 13"},
        TextCase{"1e", '.', "Error 13"}, TextCase{"1 2", '.', "Error 13"},
        TextCase{".", '.', "Error 13"}, TextCase{"1e400", '.', "Error 6"},
        TextCase{"1e99999999999999999999", '.', "Error 6"}, TextCase{"1e-400", '.', "Double 0"},
        TextCase{"0.000001e-320", '.', "Double 0"},
        TextCase{"1e-99999999999999999999", '.', "Double 0"},
        TextCase{"123456789012345678901234567890", '.', "Double 1.23456789012346E+29"}));

// Every Double survives text and back at 15 digits, the promise the x
// statement relies on.
TEST(NumberText, RoundTripsAtFifteenDigits) {
    double x = -16.68;
    for (int i = 0; i < 3000; ++i, x += 0.0333600000000001) {
        std::string text = DoubleText(x, '.');
        double back = 0;
        ASSERT_EQ(ParseNumberText(text, '.', back), TextNumber::kOk) << text;
        EXPECT_EQ(DoubleText(back, '.'), text);
    }
}

class ConversionTest : public ::testing::TestWithParam<ExprCase> {};

TEST_P(ConversionTest, ConvertsLikeVBScript) {
    Engine engine;
    EXPECT_EQ(Describe(engine, GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Functions, ConversionTest,
    ::testing::Values(
        ExprCase{"CStr(1/3)", "String 0.333333333333333"}, ExprCase{"CStr(True)", "String True"},
        ExprCase{"CStr(Empty)", "String "}, ExprCase{"CStr(Null)", "Error 94"},
        ExprCase{"CDbl(\" 1.5E+2 \")", "Double 150"}, ExprCase{"CDbl(\"TRUE\")", "Error 13"},
        ExprCase{"CDbl(\"\")", "Error 13"}, ExprCase{"CDbl(\"1e999\")", "Error 6"},
        ExprCase{"CSng(\"1e39\")", "Error 6"}, ExprCase{"CSng(1e39)", "Error 6"},
        ExprCase{"CSng(0.1)", "Single 0.1"}, ExprCase{"CInt(2.5)", "Integer 2"},
        ExprCase{"CInt(3.5)", "Integer 4"}, ExprCase{"CInt(-32768.5)", "Integer -32768"},
        ExprCase{"CInt(32767.5)", "Error 6"}, ExprCase{"CInt(40000)", "Error 6"},
        ExprCase{"CInt(\"-1\")", "Integer -1"}, ExprCase{"CLng(1.5)", "Long 2"},
        ExprCase{"CLng(0.5)", "Long 0"}, ExprCase{"CLng(3e9)", "Error 6"},
        ExprCase{"CByte(255)", "Byte 255"}, ExprCase{"CByte(256)", "Error 6"},
        ExprCase{"CByte(-1)", "Error 6"}, ExprCase{"CBool(\"true\")", "Boolean True"},
        ExprCase{"CBool(0.1)", "Boolean True"}, ExprCase{"CBool(\"0\")", "Boolean False"},
        ExprCase{"CBool(\"yes\")", "Error 13"}, ExprCase{"CBool(Empty)", "Boolean False"}));

TEST(DecimalSeparator, TextUsesTheSettingAndCodeKeepsThePoint) {
    Engine engine;
    EXPECT_EQ(engine.DecimalSeparator(), '.');
    engine.SetDecimalSeparator(',');
    EXPECT_EQ(Describe(engine, "1.5 + 1"), "Double 2,5");
    EXPECT_EQ(Describe(engine, "CDbl(\"2,25\") * 2"), "Double 4,5");
    EXPECT_EQ(Describe(engine, "\"0,5\" + 1"), "Double 1,5");
    EXPECT_EQ(Describe(engine, "CDbl(\"2.25\")"), "Error 13");
    EXPECT_EQ(Describe(engine, "\"x\" & 0.25"), "String x0,25");
    EXPECT_EQ(Describe(engine, "1/30"), "Double 3,33333333333333E-02");
    EXPECT_EQ(Describe(engine, "IsNumeric(\"1,5\")"), "Boolean True");
}

}  // namespace
}  // namespace ondrix::script::testing
