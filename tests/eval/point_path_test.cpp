// The per-point path takes short cuts past the text: the abscissa reaches the
// engine without its statement being written and parsed, and the value's
// number comes from its digits rather than from reading its text. These tests
// hold each short cut to the general road (the x statement parsed by AddCode,
// the value's text read back) and both roads to VBScript's literal types.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "plotter/eval/formula.h"
#include "script/conversions.h"
#include "script/engine.h"
#include "script/number_text.h"
#include "tests/script/script_test_support.h"

namespace ondrix::eval {
namespace {

using script::Engine;
using script::ScriptError;
using script::TextNumber;
using script::Value;
using script::VarKind;
using script::testing::AddCodeError;
using script::testing::Describe;

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Numbers of every sort the conversions could get wrong: random bit patterns
// (tiny, huge, subnormal, infinite, NaN), short decimals, whole numbers around
// the Integer, Long and 10^15 limits, numbers a few units of the last place
// from a half of the 15th digit, and the plotter's own sweep.
std::vector<double> Samples(int count) {
    std::mt19937_64 random(20240611);
    std::vector<double> out = {0.0,          -0.0,    kInf,     -kInf,        kNaN,
                               kMax,         -kMax,   4.9e-324, -2.2e-308,    1e-8,
                               9.9e-9,       1e36,    9.99e35,  1e15,         999999999999999.0,
                               32767.0,      32768.0, -32768.0, 2147483647.0, -2147483648.0,
                               2147483648.0, 0.5,     -16.68};
    for (double x = -16.68; x <= 16.68; x += 33.36 / 1000) out.push_back(x);
    std::uniform_int_distribution<int> exponent(-30, 40);
    while (static_cast<int>(out.size()) < count) {
        double x = 0;
        switch (random() % 5) {
            case 0: {
                std::uint64_t bits = random();
                std::memcpy(&x, &bits, sizeof x);
                break;
            }
            case 1: {
                // A decimal of 1 to 17 digits, exactly written or not.
                int digits = 1 + static_cast<int>(random() % 17);
                std::uint64_t m = random() % static_cast<std::uint64_t>(std::pow(10.0, digits));
                x = std::stod(std::to_string(m) + "e" + std::to_string(exponent(random)));
                break;
            }
            case 2: {
                // A 15-digit decimal and a half, nudged a few units either way.
                std::string text =
                    std::to_string(100000000000000ull + random() % 900000000000000ull) + "5e" +
                    std::to_string(exponent(random) - 15);
                x = std::stod(text);
                for (int n = static_cast<int>(random() % 4); n > 0; --n)
                    x = std::nextafter(x, (random() & 1) ? kInf : -kInf);
                break;
            }
            case 3: {
                // Whole numbers near the limits of the literal subtypes.
                constexpr double kEdges[] = {32767, 2147483647, 1e15, 1e14};
                x = kEdges[random() % 4] + static_cast<double>(random() % 7) - 3.0;
                break;
            }
            default:
                x = std::ldexp(static_cast<double>(random() % 1000000), exponent(random));
                break;
        }
        out.push_back((random() & 1) ? -x : x);
    }
    return out;
}

bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool IsWholeText(const std::string& text) {
    return text.find_first_of(".E") == std::string::npos;
}

// The one rounding both a point's abscissa and its value go through, held to
// the text road: the x statement's number text, read back, on a million
// numbers.
TEST(ReadBackDoubleText, GivesWhatTheTextReadsAs) {
    constexpr int kSamples = 1'000'000;
    for (double x : Samples(kSamples)) {
        script::ShownDouble shown = script::ReadBackDoubleText(x);
        std::string text = script::StrText(x);
        double read;
        TextNumber status = script::ParseNumberText(text, '.', read);
        if (status == TextNumber::kOverflow) {
            ASSERT_TRUE(std::isinf(shown.number)) << text;
            continue;
        }
        ASSERT_EQ(status, TextNumber::kOk) << text;
        ASSERT_TRUE(SameBits(shown.number, read)) << text << " " << shown.number;
        ASSERT_EQ(shown.whole, IsWholeText(text)) << text;
    }
}

// The number WriteRealText reports is the one its text reads back as, for
// both precisions and both separators, over every Double (seven digits
// included); a text beyond the range reports an infinity, which the plotter
// treats like unreadable text.
TEST(WriteRealText, ReportsWhatItsTextReadsAs) {
    for (double x : Samples(100000)) {
        for (int digits : {script::kDoubleDigits, script::kSingleDigits}) {
            for (char separator : {'.', ','}) {
                char buf[script::kMaxRealTextLength];
                double shown = 0;
                std::string text(buf, script::WriteRealText(buf, x, digits, separator, &shown));
                double read = 0;
                TextNumber status = script::ParseNumberText(text, separator, read);
                if (status == TextNumber::kOverflow) {
                    ASSERT_TRUE(std::isinf(shown)) << text;
                } else {
                    ASSERT_EQ(status, TextNumber::kOk) << text;
                    ASSERT_TRUE(SameBits(shown, read)) << text << " " << shown;
                }
            }
        }
    }
}

// The per-point path written the general way: the x statement as text through
// AddCode, the value's text form, and that text read as a Double. A real
// number whose text does not read as a number within the Single range has no
// value; any other text that does not counts as 0.
double ReferencePoint(Engine& engine, std::string_view formula, double x, std::string& text) {
    try {
        engine.AddCode(XStatement(x));
    } catch (const ScriptError&) {
    }
    text.clear();
    Value value;
    try {
        value = engine.Eval(formula);
    } catch (const ScriptError&) {
        return 0.0;
    }
    if (value.IsNull()) return 0.0;
    script::AppendText(text, value, engine.Settings());
    double number;
    if (script::ParseNumberText(text, engine.DecimalSeparator(), number) == TextNumber::kOk &&
        std::isfinite(static_cast<float>(number)))
        return number;
    if (value.IsReal()) text.clear();
    return 0.0;
}

// The subtype and exact payload of the engine's x.
std::string XState(Engine& engine) {
    Value v = engine.Eval("x");
    return std::to_string(static_cast<int>(v.kind())) + " " +
           std::to_string(std::bit_cast<std::uint64_t>(v.NumberOrZero()));
}

struct SweepCase {
    const char* formula;
    char separator;
};

class PointPathTest : public ::testing::TestWithParam<SweepCase> {};

TEST_P(PointPathTest, MatchesTheGeneralRoadDigitForDigit) {
    Engine fast, general;
    for (Engine* e : {&fast, &general}) {
        e->SetDecimalSeparator(GetParam().separator);
        PrepareScriptEngine(*e);
    }
    std::string fastText, generalText;
    for (double x : Samples(20000)) {
        const double fastPoint = EvaluateFormula(fast, GetParam().formula, x, &fastText).value;
        const double generalPoint = ReferencePoint(general, GetParam().formula, x, generalText);
        ASSERT_EQ(fastText, generalText) << x;
        ASSERT_TRUE(SameBits(fastPoint, generalPoint)) << x << " " << fastText;
        ASSERT_EQ(XState(fast), XState(general)) << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Formulas, PointPathTest,
                         ::testing::Values(SweepCase{"x", '.'}, SweepCase{"x", ','},
                                           SweepCase{"Sin(x)*x^2/10", '.'},
                                           SweepCase{"VarType(x)", '.'},
                                           SweepCase{"x * 1E+300", '.'}, SweepCase{"CSng(x)", ','},
                                           SweepCase{"x & \"\"", ','}, SweepCase{"1 / x", '.'}));

struct XCase {
    double x;
    const char* expected;  // TypeName and text of x after the statement
};

class XHandOverTest : public ::testing::TestWithParam<XCase> {};

// "x = 32767" makes an Integer, "x = 32768" a Long, "x = 2147483648" a
// Double; a minus sign negates the literal after it ("x = -32768" is the Long
// 32768 negated), and any text with a point or an exponent is a Double. The
// largest Doubles show 15 digits beyond the range: the statement fails with
// error 6 and x keeps its value.
TEST_P(XHandOverTest, GivesTheLiteralTypeOfTheStatement) {
    Engine handOver, statement;
    for (Engine* e : {&handOver, &statement}) {
        PrepareScriptEngine(*e);
        e->AddCode("x = 1");
    }
    std::string text;
    EvaluateFormula(handOver, "x", GetParam().x, &text);
    EXPECT_EQ(Describe(handOver, "x"), GetParam().expected) << "hand-over";
    AddCodeError(statement, XStatement(GetParam().x));
    EXPECT_EQ(Describe(statement, "x"), GetParam().expected) << XStatement(GetParam().x);
    EXPECT_EQ(XState(handOver), XState(statement));
}

INSTANTIATE_TEST_SUITE_P(
    Values, XHandOverTest,
    ::testing::Values(XCase{0.0, "Integer 0"}, XCase{-0.0, "Integer 0"}, XCase{1.0, "Integer 1"},
                      XCase{32767.0, "Integer 32767"}, XCase{-32767.0, "Integer -32767"},
                      XCase{32768.0, "Long 32768"}, XCase{-32768.0, "Long -32768"},
                      XCase{100000.0, "Long 100000"}, XCase{2147483647.0, "Long 2147483647"},
                      XCase{-2147483647.0, "Long -2147483647"},
                      XCase{2147483648.0, "Double 2147483648"},
                      XCase{-2147483648.0, "Double -2147483648"},
                      XCase{999999999999999.0, "Double 999999999999999"},
                      XCase{1e15, "Double 1E+15"}, XCase{-1e15, "Double -1E+15"},
                      XCase{1e-5, "Double 0.00001"}, XCase{-1e-5, "Double -0.00001"},
                      XCase{2.5, "Double 2.5"}, XCase{-16.68, "Double -16.68"},
                      XCase{32767.5, "Double 32767.5"}, XCase{0.1 + 0.2, "Double 0.3"},
                      XCase{1e-17, "Double 1E-17"}, XCase{-1.7976931348623157e308, "Integer 1"},
                      XCase{1.7976931348623157e308, "Integer 1"},
                      // Halves of the 15th digit, and the ends of Single and Double.
                      XCase{999999999999999.5, "Double 1E+15"},
                      XCase{99999999999999.25, "Double 99999999999999.2"},
                      XCase{-99999999999999.75, "Double -99999999999999.8"},
                      XCase{-0.5, "Double -0.5"}, XCase{32766.5, "Double 32766.5"},
                      XCase{3.4028234663852886e38, "Double 3.40282346638529E+38"},
                      XCase{-1.1754943508222875e-38, "Double -1.17549435082229E-38"},
                      XCase{2.2250738585072014e-308, "Double 2.2250738585072E-308"},
                      XCase{-4.9406564584124654e-324, "Double -4.94065645841247E-324"},
                      XCase{1.7976931348623155e308, "Integer 1"}));

struct OverflowCase {
    const char* formula;
    const char* text;
};

class OverflowingTextTest : public ::testing::TestWithParam<OverflowCase> {};

// The largest Doubles show 15 digits that round beyond the range; like any
// number beyond the Single range the point has no value: no text, a plain
// (positive) zero.
TEST_P(OverflowingTextTest, GivesNoValue) {
    Engine engine;
    PrepareScriptEngine(engine);
    std::string text = "stale";
    const double point = EvaluateFormula(engine, GetParam().formula, 0, &text).value;
    EXPECT_EQ(text, GetParam().text);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(point), 0u);
}

INSTANTIATE_TEST_SUITE_P(Largest, OverflowingTextTest,
                         ::testing::Values(OverflowCase{"1.7976931348623157E+308", ""},
                                           OverflowCase{"-1.7976931348623157E+308", ""},
                                           OverflowCase{"1.7976931348623155E+308", ""},
                                           OverflowCase{"\"1.79769313486232E+308\"",
                                                        "1.79769313486232E+308"}));

struct SetVariableCase {
    const char* name;
    int error;  // 0 when the value is set
};

class SetVariableTest : public ::testing::TestWithParam<SetVariableCase> {};

TEST_P(SetVariableTest, AssignsLikeTheStatement) {
    Engine engine;
    PrepareScriptEngine(engine);
    int error = 0;
    try {
        engine.SetVariable(GetParam().name, Value::Double(2.5));
    } catch (const ScriptError& e) {
        error = e.number();
    }
    EXPECT_EQ(error, GetParam().error);
    if (error == 0) {
        EXPECT_EQ(Describe(engine, GetParam().name), "Double 2.5");
    }
}

INSTANTIATE_TEST_SUITE_P(Names, SetVariableTest,
                         ::testing::Values(SetVariableCase{"x", 0}, SetVariableCase{"Y_2", 0},
                                           SetVariableCase{"Sec", 501}, SetVariableCase{"If", 1002},
                                           SetVariableCase{"", 1002}, SetVariableCase{"2x", 1002},
                                           SetVariableCase{"x y", 1002}));

TEST(SetVariable, NamesIgnoreCaseAndStayAfterAReset) {
    Engine engine;
    engine.SetVariable("x", Value::Integer(3));
    EXPECT_EQ(Describe(engine, "X"), "Integer 3");
    engine.SetVariable("X", Value::Long(70000));
    EXPECT_EQ(Describe(engine, "x"), "Long 70000");
    // After a reset the remembered name must not point into the old table.
    PrepareScriptEngine(engine);
    EXPECT_EQ(Describe(engine, "x"), "Empty");
    engine.SetVariable("x", Value::Double(-0.25));
    EXPECT_EQ(Describe(engine, "x"), "Double -0.25");
    EXPECT_EQ(AddCodeError(engine, "x = x * 2"), 0);
    EXPECT_EQ(Describe(engine, "x"), "Double -0.5");
}

}  // namespace
}  // namespace ondrix::eval
