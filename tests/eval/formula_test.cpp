// The plotter's side: the preamble, the x statement and EvaluateFormula.

#include "plotter/eval/formula.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/script/script_test_support.h"

namespace ondrix::eval {
namespace {

using script::Engine;
using script::testing::Describe;

struct PointCase {
    const char* formula;
    double x;
    const char* text;  // ResultText
    double point;
};

class EvaluateFormulaTest : public ::testing::TestWithParam<PointCase> {};

TEST_P(EvaluateFormulaTest, GivesResultTextAndPointValue) {
    Engine engine;
    PrepareScriptEngine(engine);
    std::string text = "stale";
    const PointValue point = EvaluateFormula(engine, GetParam().formula, GetParam().x, &text);
    EXPECT_EQ(text, GetParam().text);
    EXPECT_DOUBLE_EQ(point.value, GetParam().point);
    // Without the text the point is the same: a value exactly where a text is.
    const PointValue textless = EvaluateFormula(engine, GetParam().formula, GetParam().x);
    EXPECT_EQ(textless.hasValue, !text.empty());
    EXPECT_EQ(textless.value, point.value);
}

INSTANTIATE_TEST_SUITE_P(
    Points, EvaluateFormulaTest,
    ::testing::Values(PointCase{"pi", 0, "3.141592", 3.141592}, PointCase{"x", 2.5, "2.5", 2.5},
                      PointCase{"x", -16.68, "-16.68", -16.68},
                      PointCase{"Arcsin(0.5)", 0, "0.523598775598299", 0.523598775598299},
                      PointCase{"Arcsin(x)", 0.5, "0.523598775598299", 0.523598775598299},
                      PointCase{"Sin(x)*x^2/10", 2, "0.363718970730273", 0.363718970730273},
                      // The value is the text read as a Double, beyond what a Single keeps.
                      PointCase{"1 + x", 1e-9, "1.000000001", 1.000000001},
                      PointCase{"0.04+0.6*x", 0.1000000001, "0.10000000006", 0.10000000006},
                      PointCase{"3.4E+38", 0, "3.4E+38", 3.4e38},
                      // Beyond the Single range: no value. A text or Boolean that reads as
                      // no number in that range keeps its text and counts as 0.
                      PointCase{"1E+300", 0, "", 0}, PointCase{"-3.5E+38", 0, "", 0},
                      PointCase{"x > 0", 1, "True", 0}, PointCase{"\"12\"", 0, "12", 12},
                      PointCase{"\"abc\"", 0, "abc", 0}, PointCase{"\"1E+300\"", 0, "1E+300", 0},
                      PointCase{"", 1, "", 0}, PointCase{"Empty", 1, "", 0},
                      PointCase{"Null", 1, "", 0}, PointCase{"Sqr(x)", -1, "", 0},
                      PointCase{"Arcsin(1)", 0, "", 0}, PointCase{"1/0", 0, "", 0},
                      PointCase{"1 +", 0, "", 0}, PointCase{"x", 1e-17, "1E-17", 1e-17}));

// A Date has a text that is no number: its point lies at 0. A Currency
// reads back as its number.
INSTANTIATE_TEST_SUITE_P(Subtypes, EvaluateFormulaTest,
                         ::testing::Values(PointCase{"#1/1/2000#", 0, "1/1/2000", 0},
                                           PointCase{"#1/1/2000# + x", 1.5, "1/2/2000 12:00:00 PM",
                                                     0},
                                           PointCase{"CCur(x)", 2.5, "2.5", 2.5},
                                           PointCase{"CCur(x) * 2", -0.25, "-0.5", -0.5},
                                           PointCase{"CSng(x)/3", 1, "0.3333333", 0.3333333},
                                           PointCase{"CCur(x)", 1E+15, "", 0}));

TEST(Preamble, DefinesPiAndTheFourFunctionsIgnoringCase) {
    Engine engine;
    PrepareScriptEngine(engine);
    EXPECT_EQ(Describe(engine, "pi"), "Double 3.141592");
    for (const char* f : {"sec(0.7)", "SEC(0.7)", "Sec(0.7)"})
        EXPECT_EQ(Describe(engine, f), Describe(engine, "1 / Cos(0.7)")) << f;
    EXPECT_EQ(Describe(engine, "Cosec(0.7)"), Describe(engine, "1 / Sin(0.7)"));
    EXPECT_EQ(Describe(engine, "Cotan(0.7)"), Describe(engine, "1 / Tan(0.7)"));
    EXPECT_EQ(Describe(engine, "Arcsin(0.5)"), "Double 0.523598775598299");
    // Arcsin(1) divides by Sqr(0); beyond 1 the square root fails.
    EXPECT_EQ(Describe(engine, "Arcsin(1)"), "Error 11");
    EXPECT_EQ(Describe(engine, "Arcsin(1.5)"), "Error 5");
}

TEST(Preamble, SecAndCosecDoNotTouchTheGlobalX) {
    Engine engine;
    PrepareScriptEngine(engine);
    engine.AddCode("x = 3");
    EXPECT_EQ(Describe(engine, "Sec(0) + x"), "Double 4");
    EXPECT_EQ(Describe(engine, "x"), "Integer 3");
}

TEST(Preamble, ResetsWhatCameBefore) {
    Engine engine;
    engine.AddCode("leftover = 1\npi = 3");
    PrepareScriptEngine(engine);
    EXPECT_EQ(Describe(engine, "leftover"), "Empty");
    EXPECT_EQ(Describe(engine, "pi"), "Double 3.141592");
}

TEST(XStatement, UsesTheStrFormWithAPoint) {
    EXPECT_EQ(XStatement(-16.68), "x = -16.68");
    EXPECT_EQ(XStatement(2.5), "x =  2.5");
    EXPECT_EQ(XStatement(0), "x =  0");
    EXPECT_EQ(XStatement(-0.0), "x =  0");
    EXPECT_EQ(XStatement(1e-17), "x =  1E-17");
    EXPECT_EQ(XStatement(-8.881784197001252e-15), "x = -8.88178419700125E-15");
    EXPECT_EQ(XStatement(123456.78901234567), "x =  123456.789012346");
}

TEST(EvaluateFormula, ACommaSeparatorStillUsesThePointForX) {
    Engine engine;
    engine.SetDecimalSeparator(',');
    PrepareScriptEngine(engine);
    std::string text;
    EXPECT_DOUBLE_EQ(EvaluateFormula(engine, "x / 4", 2.5, &text).value, 0.625);
    EXPECT_EQ(text, "0,625");
    EXPECT_DOUBLE_EQ(EvaluateFormula(engine, "Arcsin(x)", 0.5, &text).value, 0.523598775598299);
    EXPECT_EQ(text, "0,523598775598299");
}

TEST(EvaluateFormula, AFailedPointLeavesNoStaleText) {
    Engine engine;
    PrepareScriptEngine(engine);
    std::string text;
    EvaluateFormula(engine, "x", 2, &text);
    EXPECT_EQ(text, "2");
    EXPECT_EQ(EvaluateFormula(engine, "Sqr(x)", -2, &text).value, 0.0);
    EXPECT_EQ(text, "");
}

TEST(EvaluateFormula, MatchesTheEngineAcrossASweep) {
    Engine engine;
    PrepareScriptEngine(engine);
    std::string text;
    double x = -16.68;
    for (int i = 0; i < 1002; ++i, x += 33.36 / 1000) {
        const double point = EvaluateFormula(engine, "Sin(x)*x^2/10", x, &text).value;
        const double xs = std::strtod(XStatement(x).c_str() + 4, nullptr);
        EXPECT_NEAR(point, std::sin(xs) * xs * xs / 10, 1e-13) << x;
    }
}

}  // namespace
}  // namespace ondrix::eval
