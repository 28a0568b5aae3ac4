// Number <-> text conversions: CStr forms, the Str form of the x statement,
// reading text as numbers, and the decimal separator.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "script/number_text.h"
#include "tests/script/script_test_support.h"

namespace ondrix::script::testing {
namespace {

struct RealTextCase {
    double value;
    const char* text;
};

class DoubleTextTest : public ::testing::TestWithParam<RealTextCase> {};

TEST_P(DoubleTextTest, WritesFifteenDigitsWithVBScriptExponentRules) {
    EXPECT_EQ(DoubleText(GetParam().value, '.'), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DoubleTextTest,
    ::testing::Values(RealTextCase{1e20, "1E+20"}, RealTextCase{1e15, "1E+15"},
                      RealTextCase{999999999999999.0, "999999999999999"},
                      RealTextCase{1234567890123456.0, "1.23456789012346E+15"},
                      RealTextCase{1.0 / 3.0, "0.333333333333333"}, RealTextCase{-0.5, "-0.5"},
                      RealTextCase{0.00001, "0.00001"},
                      RealTextCase{1.0 / 30.0, "3.33333333333333E-02"},
                      RealTextCase{1e-16, "1E-16"}, RealTextCase{1e-15, "0.000000000000001"},
                      RealTextCase{-0.0, "0"}, RealTextCase{0.1 + 0.2, "0.3"},
                      RealTextCase{2.5, "2.5"}, RealTextCase{-16.68, "-16.68"},
                      RealTextCase{1e100, "1E+100"}, RealTextCase{-1.5e-300, "-1.5E-300"},
                      RealTextCase{123456.789, "123456.789"},
                      RealTextCase{0.1234567890123456, "0.123456789012346"},
                      RealTextCase{9.999999999999999e14, "1E+15"},
                      RealTextCase{std::numeric_limits<double>::max(), "1.79769313486232E+308"},
                      RealTextCase{4.9406564584124654e-324, "4.94065645841247E-324"}));

// The value printf's correctly rounded 15 digits stand for.
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

TEST(SingleText, WritesSevenDigits) {
    EXPECT_EQ(SingleText(1.0f / 3.0f, '.'), "0.3333333");
    EXPECT_EQ(SingleText(1e7f, '.'), "1E+07");
    EXPECT_EQ(SingleText(1.0f / 30.0f, '.'), "3.333334E-02");  // 0.0333333350...
    EXPECT_EQ(SingleText(0.001f, '.'), "0.001");
    EXPECT_EQ(SingleText(3.4e38f, '.'), "3.4E+38");
}

TEST(StrText, PutsABlankForTheSignOfNonNegativeValues) {
    EXPECT_EQ(StrText(2.5), " 2.5");
    EXPECT_EQ(StrText(-16.68), "-16.68");
    EXPECT_EQ(StrText(0.0), " 0");
    EXPECT_EQ(StrText(-0.0), " 0");
    EXPECT_EQ(StrText(1e-17), " 1E-17");
}

struct ParseCase {
    const char* text;
    char separator;
    TextNumber status;
    double value;
};

class ParseNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, ReadsVBScriptNumberText) {
    double v = -12345;
    TextNumber status = ParseNumberText(GetParam().text, GetParam().separator, v);
    EXPECT_EQ(status, GetParam().status);
    if (status == TextNumber::kOk) {
        EXPECT_EQ(v, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseNumberTest,
                         ::testing::Values(ParseCase{"  12.5  ", '.', TextNumber::kOk, 12.5},
                                           ParseCase{"-0.5", '.', TextNumber::kOk, -0.5},
                                           ParseCase{"+.5", '.', TextNumber::kOk, 0.5},
                                           ParseCase{"1.", '.', TextNumber::kOk, 1.0},
                                           ParseCase{"1.5E-7", '.', TextNumber::kOk, 1.5e-7},
                                           ParseCase{"1e+3", '.', TextNumber::kOk, 1000.0},
                                           ParseCase{"2D2", '.', TextNumber::kOk, 200.0},
                                           ParseCase{"&HFF", '.', TextNumber::kOk, 255.0},
                                           ParseCase{"&hFFFF", '.', TextNumber::kOk, -1.0},
                                           ParseCase{"&o17", '.', TextNumber::kOk, 15.0},
                                           ParseCase{"0.523598775598299", '.', TextNumber::kOk,
                                                     0.523598775598299},
                                           ParseCase{"12,5", ',', TextNumber::kOk, 12.5},
                                           ParseCase{"12.5", ',', TextNumber::kNotNumber, 0},
                                           ParseCase{"12,5", '.', TextNumber::kNotNumber, 0},
                                           ParseCase{"", '.', TextNumber::kNotNumber, 0},
                                           ParseCase{"   ", '.', TextNumber::kNotNumber, 0},
                                           ParseCase{"True", '.', TextNumber::kNotNumber, 0},
                                           ParseCase{"inf", '.', TextNumber::kNotNumber, 0},
                                           ParseCase{"nan", '.', TextNumber::kNotNumber, 0},
                                           ParseCase{"1e", '.', TextNumber::kNotNumber, 0},
                                           ParseCase{"1 2", '.', TextNumber::kNotNumber, 0},
                                           ParseCase{".", '.', TextNumber::kNotNumber, 0},
                                           ParseCase{"1e400", '.', TextNumber::kOverflow, 0},
                                           ParseCase{"1e-400", '.', TextNumber::kOk, 0.0},
                                           ParseCase{"0.000001e-320", '.', TextNumber::kOk, 0.0},
                                           ParseCase{"123456789012345678901234567890", '.',
                                                     TextNumber::kOk, 1.2345678901234568e29}));

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
