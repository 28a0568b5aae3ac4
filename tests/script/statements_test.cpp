// AddCode: assignments, Dim, Function and Sub with ByRef/ByVal, If forms,
// Exit, comments, continuation, redefinition and Reset.

#include <gtest/gtest.h>

#include "tests/script/script_test_support.h"

namespace ondrix::script::testing {
namespace {

struct ProgramCase {
    const char* code;        // added in one AddCode call
    const char* expression;  // evaluated afterwards
    const char* expected;
};

void PrintTo(const ProgramCase& c, std::ostream* os) {
    *os << c.code << " ? " << c.expression;
}

class ProgramTest : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(ProgramTest, RunsLikeVBScript) {
    Engine engine;
    engine.AddCode(GetParam().code);
    EXPECT_EQ(Describe(engine, GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, ProgramTest,
    ::testing::Values(
        ProgramCase{"a = 1 : b = a + 1", "b", "Integer 2"}, ProgramCase{"A = 5", "a", "Integer 5"},
        ProgramCase{"x = -16.68", "x", "Double -16.68"}, ProgramCase{"x =  2.5", "x", "Double 2.5"},
        ProgramCase{"x =  2", "x", "Integer 2"},
        ProgramCase{"x = -32768", "TypeName(x)", "String Long"},
        ProgramCase{"Dim a, b\na = 3", "a * 2", "Integer 6"},
        ProgramCase{"Const k = 2, m = 3", "k * m", "Integer 6"},
        ProgramCase{"x = 1 ' comment\nRem another\ny = 2 : Rem more", "x + y", "Integer 3"},
        ProgramCase{"x = 1 + _\n  2", "x", "Integer 3"},
        ProgramCase{"x = 3\r\ny = 4\r\n", "x * y", "Integer 12"},
        ProgramCase{"If 1 > 0 Then y = \"yes\" Else y = \"no\"", "y", "String yes"},
        ProgramCase{"If 1 < 0 Then y = 1 : y = 2 Else y = 3 : z = 4", "y & z", "String 34"},
        ProgramCase{"If False Then y = 1 Else y = 2 End If", "y", "Integer 2"},
        ProgramCase{"If Null Then y = 1 Else y = 2", "y", "Integer 2"},
        ProgramCase{"If \"0\" Then y = 1 Else y = 2", "y", "Integer 2"},
        ProgramCase{
            "x = 5\nIf x < 0 Then\n y = -1\nElseIf x = 0 Then\n y = 0\nElse\n y = 1\nEnd If", "y",
            "Integer 1"},
        ProgramCase{"x = 0\nIf x < 0 Then\n y = -1\nElseIf x = 0 Then y = 0\nEnd If", "y",
                    "Integer 0"},
        ProgramCase{"If True Then\nIf False Then y = 1 Else y = 2\nEnd If", "y", "Integer 2"},
        ProgramCase{"Function Twice(v)\nTwice = v * 2\nEnd Function", "Twice(21)", "Integer 42"},
        ProgramCase{"Function f(n): If n <= 1 Then f = 1 Else f = n * f(n - 1): End Function",
                    "f(10)", "Long 3628800"},
        ProgramCase{"Function f(n)\nf = 1\nIf n > 0 Then Exit Function\nf = 2\nEnd Function",
                    "f(1) & f(0)", "String 12"},
        ProgramCase{"Function NoResult()\nEnd Function", "IsEmpty(NoResult())", "Boolean True"},
        ProgramCase{"Function Seven\nSeven = 7\nEnd Function", "Seven + Seven()", "Integer 14"},
        ProgramCase{"y = Later(2)\nFunction Later(v)\nLater = v + 1\nEnd Function", "y",
                    "Integer 3"},
        ProgramCase{"Private Function P()\nP = 1\nEnd Function\nPublic Sub S()\nEnd Sub", "P()",
                    "Integer 1"},
        ProgramCase{"Function Sec(x) \r\nSec = 1 / Cos(X)\r\n  End Function\r\n", "sec(0)",
                    "Double 1"},
        // ByRef is the default and writes back to a variable argument.
        ProgramCase{"Sub Inc(v)\nv = v + 1\nEnd Sub\nn = 1\nInc n\nCall Inc(n)", "n", "Integer 3"},
        ProgramCase{"Sub Inc(ByVal v)\nv = v + 1\nEnd Sub\nn = 1\nInc n", "n", "Integer 1"},
        ProgramCase{"Sub Inc(ByRef v)\nv = v + 1\nEnd Sub\nn = 1\nInc (n)\nInc n + 0", "n",
                    "Integer 1"},
        ProgramCase{"Sub Inc(v)\nv = v + 1\nEnd Sub\nn = 1\nInc(n)", "n", "Integer 1"},
        ProgramCase{"Sub Two(a, b)\na = 1 : b = 2\nEnd Sub\nTwo p, q", "p & q", "String 12"},
        // Locals: parameters and Dim hide globals; implicit names use a
        // global when one exists.
        ProgramCase{"x = 1\nFunction f(x)\nx = x + 10\nf = x\nEnd Function\ny = f(5)", "x & y",
                    "String 115"},
        ProgramCase{"x = 1\nSub s()\nx = 2\nDim x\nEnd Sub\ns", "x", "Integer 1"},
        ProgramCase{"g = 1\nSub s()\ng = 5\nEnd Sub\ns", "g", "Integer 5"},
        ProgramCase{"Sub s()\nfresh = 5\nEnd Sub\ns", "IsEmpty(fresh)", "Boolean True"},
        ProgramCase{"Function Abs(v)\nAbs = 99\nEnd Function", "Abs(-1)", "Integer 99"}));

INSTANTIATE_TEST_SUITE_P(
    Forms, ProgramTest,
    ::testing::Values(
        ProgramCase{"Sub s(ByVal a, ByRef b)\nb = a\nEnd Sub\nx = 0\ns 5, x", "x", "Integer 5"},
        ProgramCase{"Sub s()\nt = 1\nExit Sub\nt = 2\nEnd Sub\nt = 0\ns", "t", "Integer 1"},
        ProgramCase{"If False Then\ny = 1\nElseIf False Then\ny = 2\nElseIf True Then\ny = 3\n"
                    "Else\ny = 4\nEnd If",
                    "y", "Integer 3"},
        ProgramCase{"If False Then\ny = 1\nElse\ny = 4\nEnd If", "y", "Integer 4"},
        ProgramCase{"If True Then : y = 1 : z = 2", "y + z", "Integer 3"},
        ProgramCase{"If True Then y = 1 End If : z = 2", "y + z", "Integer 3"},
        ProgramCase{"g = 0\nCall s()\nSub s()\ng = 7\nEnd Sub", "g", "Integer 7"},
        ProgramCase{"Const a = 1", "a", "Integer 1"},
        ProgramCase{"y = 0\nIf True Then If False Then y = 1 Else y = 2", "y", "Integer 2"}));

TEST(AddCode, RedefinitionReplacesTheOldProcedure) {
    Engine engine;
    engine.AddCode("Function f(v)\nf = v + 1\nEnd Function");
    EXPECT_EQ(Describe(engine, "f(1)"), "Integer 2");
    engine.AddCode("Function F(v)\nF = v * 10\nEnd Function");
    EXPECT_EQ(Describe(engine, "f(1)"), "Integer 10");
}

TEST(AddCode, GlobalStatementsRunAtOnceAndStopAtTheFirstError) {
    Engine engine;
    EXPECT_EQ(AddCodeError(engine, "a = 1\nb = 1/0\nc = 3"), 11);
    EXPECT_EQ(Describe(engine, "a"), "Integer 1");
    EXPECT_EQ(Describe(engine, "c"), "Empty");
}

TEST(AddCode, ProceduresOfAFailedRunStayDefined) {
    Engine engine;
    EXPECT_EQ(AddCodeError(engine, "Function f()\nf = 1\nEnd Function\nz = 1/0"), 11);
    EXPECT_EQ(Describe(engine, "f()"), "Integer 1");
}

TEST(Reset, ForgetsCodeVariablesAndParsedTexts) {
    Engine engine;
    engine.AddCode("v = 5\nFunction f()\nf = 1\nEnd Function");
    EXPECT_EQ(Describe(engine, "v + f()"), "Integer 6");
    engine.Reset();
    EXPECT_EQ(Describe(engine, "v"), "Empty");
    EXPECT_EQ(Describe(engine, "v + f()"), "Error 13");
}

TEST(Eval, SeesTheCurrentValuesThroughTheCache) {
    Engine engine;
    for (int i = 0; i < 5; ++i) {
        engine.AddCode("x = " + std::to_string(i));
        EXPECT_EQ(Describe(engine, "x * x"), "Integer " + std::to_string(i * i));
    }
}

TEST(Eval, IsAnExpressionNotAStatement) {
    Engine engine;
    engine.AddCode("x = 2");
    EXPECT_EQ(Describe(engine, "x = 2"), "Boolean True");
    EXPECT_EQ(Describe(engine, "x"), "Integer 2");
}

TEST(AddCode, AssigningToAFunctionNameIsIllegal) {
    Engine engine;
    engine.AddCode("Function f()\nf = 1\nEnd Function");
    EXPECT_EQ(AddCodeError(engine, "f = 2"), 501);
}

}  // namespace
}  // namespace ondrix::script::testing
