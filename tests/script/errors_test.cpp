// Errors carry VBScript's numbers and descriptions; syntax errors leave the
// engine as it was.

#include <gtest/gtest.h>

#include <string>

#include "tests/script/script_test_support.h"

namespace ondrix::script::testing {
namespace {

class EvalErrorTest : public ::testing::TestWithParam<ExprCase> {};

TEST_P(EvalErrorTest, RaisesTheVBScriptError) {
    Engine engine;
    EXPECT_EQ(Describe(engine, GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Runtime, EvalErrorTest,
    ::testing::Values(ExprCase{"1/0", "Error 11"}, ExprCase{"1.5/0", "Error 11"},
                      ExprCase{"0/0", "Error 6"}, ExprCase{"1E308*10", "Error 6"},
                      ExprCase{"10^400", "Error 6"}, ExprCase{"(-8)^(1/3)", "Error 5"},
                      ExprCase{"0^-1", "Error 5"}, ExprCase{"\"abc\" * 2", "Error 13"},
                      ExprCase{"-\"abc\"", "Error 13"}, ExprCase{"NoSuchFunction(1)", "Error 13"},
                      ExprCase{"1 + 1e999", "Error 6"}));

INSTANTIATE_TEST_SUITE_P(
    Syntax, EvalErrorTest,
    ::testing::Values(ExprCase{"1 +", "Error 1002"}, ExprCase{"(1", "Error 1006"},
                      ExprCase{"1 2", "Error 1025"}, ExprCase{"\"open", "Error 1033"},
                      ExprCase{"1 $ 2", "Error 1032"}, ExprCase{"If", "Error 1002"},
                      ExprCase{"a.b", "Error 1025"}, ExprCase{"1e", "Error 1002"},
                      ExprCase{")", "Error 1002"}));

TEST(ErrorText, CarriesVBScriptDescriptions) {
    Engine engine;
    auto description = [&](std::string_view text) {
        try {
            engine.Eval(text);
        } catch (const ScriptError& e) {
            return e.description();
        }
        return std::string("no error");
    };
    EXPECT_EQ(description("1/0"), "Division by zero");
    EXPECT_EQ(description("0/0"), "Overflow");
    EXPECT_EQ(description("Sqr(-1)"), "Invalid procedure call or argument");
    EXPECT_EQ(description("\"a\" * 1"), "Type mismatch");
    EXPECT_EQ(description("Foo(1)"), "Type mismatch: 'Foo'");
    EXPECT_EQ(description("Sin(1, 2)"),
              "Wrong number of arguments or invalid property assignment: 'Sin'");
    EXPECT_EQ(description("1 +"), "Syntax error");
    EXPECT_EQ(description(std::string(1000, '(') + "1" + std::string(1000, ')')),
              "Out of stack space");
}

TEST(EvalErrors, EmptyTextAndEmptyValueAreNoErrors) {
    Engine engine;
    EXPECT_EQ(Describe(engine, ""), "Empty");
    EXPECT_EQ(Describe(engine, "   "), "Empty");
    EXPECT_EQ(Describe(engine, "' only a comment"), "Empty");
    EXPECT_EQ(Describe(engine, "neverAssigned"), "Empty");
}

TEST(EvalErrors, SameTextFailsAgainWhenCached) {
    Engine engine;
    EXPECT_EQ(Describe(engine, "1 +"), "Error 1002");
    EXPECT_EQ(Describe(engine, "1 +"), "Error 1002");
    EXPECT_EQ(Describe(engine, "1/x"), "Error 11");
    engine.AddCode("x = 4");
    EXPECT_EQ(Describe(engine, "1/x"), "Double 0.25");
}

TEST(AddCodeErrors, SyntaxErrorAddsNothing) {
    Engine engine;
    // The definition and the assignment come with a broken line: none is kept.
    EXPECT_EQ(AddCodeError(engine, "Function f(a)\nf = a\nEnd Function\ny = 1\nz = (2"), 1006);
    EXPECT_EQ(Describe(engine, "y"), "Empty");
    EXPECT_EQ(Describe(engine, "f(1)"), "Error 13");
}

struct CodeCase {
    const char* code;
    int error;
};

class AddCodeErrorTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(AddCodeErrorTest, RaisesTheVBScriptError) {
    Engine engine;
    EXPECT_EQ(AddCodeError(engine, GetParam().code), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, AddCodeErrorTest,
    ::testing::Values(
        CodeCase{"x = 1/0", 11}, CodeCase{"1 + 2", 1024}, CodeCase{"x = ", 1002},
        CodeCase{"If x Then", 1014}, CodeCase{"If x y = 1", 1017},
        CodeCase{"Function f(\nEnd Function", 1010}, CodeCase{"Function f()\nf = 1\nEnd Sub", 1015},
        CodeCase{"Sub s()\nEnd Function", 1016}, CodeCase{"Function f()\nf = 1", 1014},
        CodeCase{"Exit Function", 1039}, CodeCase{"Sub s()\nExit Function\nEnd Sub", 1039},
        CodeCase{"Dim", 1010}, CodeCase{"For i = 1 To 2", 1002}, CodeCase{"If = 1", 1002},
        CodeCase{"Function f(a, a)\nEnd Function", 1041},
        CodeCase{"Sub s(a, b)\nEnd Sub\ns(1, 2)", 1044}, CodeCase{"Sub s(a)\nEnd Sub\ns 1, 2", 450},
        CodeCase{"Function f()\nEnd Function\nf = 2", 501}, CodeCase{"y = 1 _\n+ 1 _", 0},
        CodeCase{"Rem all fine", 0}));

// The forms of Exit, If, Call, parameters and declarations, right and wrong.
INSTANTIATE_TEST_SUITE_P(
    Forms, AddCodeErrorTest,
    ::testing::Values(CodeCase{"Sub s()\nExit Sub\nEnd Sub\ns", 0},
                      CodeCase{"Function f()\nExit Sub\nEnd Function", 1039},
                      CodeCase{"Exit", 1039}, CodeCase{"Exit Sub", 1039},
                      CodeCase{"If True Then\ny = 1\nElse\ny = 2\nElseIf True Then\nEnd If", 1014},
                      CodeCase{"If True Then\ny = 1\nElse\nElse\nEnd If", 1014},
                      CodeCase{"If True Then\ny = 1\nEnd", 1012},
                      CodeCase{"Function f()\nf = 1\nEnd", 1015},
                      CodeCase{"Sub s(ByVal ByRef a)\nEnd Sub", 1010},
                      CodeCase{"Sub s()\nEnd Sub\nCall s 1", 1025},
                      CodeCase{"Sub s()\nPrivate x\nEnd Sub", 1002},
                      CodeCase{"Sub s(a)\nEnd Sub\ns((1), 2)", 1044},
                      CodeCase{"Function f(a, b)\nEnd Function\nSub s(a)\nEnd Sub\ns(f(1, 2))", 0},
                      CodeCase{"Sub s(a, b)\nEnd Sub\ns (1) + 1, 2", 0},
                      CodeCase{"If True Then Randomize Else x = 1", 0}, CodeCase{"Dim x, y, z", 0},
                      CodeCase{"Const", 1010}, CodeCase{"Const a", 1011},
                      CodeCase{"Sub s()\nFunction g()\nEnd Function\nEnd Sub", 1002},
                      CodeCase{"x = 1 y = 2", 1025}, CodeCase{"If True Then y = 1 z = 2", 1025},
                      CodeCase{"Sub s()\nEnd Sub\ns()", 0}, CodeCase{"With = 1", 1002}));

}  // namespace
}  // namespace ondrix::script::testing
