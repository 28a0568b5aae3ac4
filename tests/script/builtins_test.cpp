// The built-in functions: values, subtypes, Null and domain errors.

#include <gtest/gtest.h>

#include "tests/script/script_test_support.h"

namespace ondrix::script::testing {
namespace {

class BuiltinTest : public ::testing::TestWithParam<ExprCase> {};

TEST_P(BuiltinTest, GivesVBScriptResult) {
    Engine engine;
    EXPECT_EQ(Describe(engine, GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Maths, BuiltinTest,
    ::testing::Values(ExprCase{"Abs(-2.5)", "Double 2.5"}, ExprCase{"Abs(-32768)", "Long 32768"},
                      ExprCase{"Abs(True)", "Integer 1"}, ExprCase{"Abs(\"-1\")", "Double 1"},
                      ExprCase{"Abs(Null)", "Null"}, ExprCase{"Abs(Empty)", "Integer 0"},
                      ExprCase{"Atn(1)*4", "Double 3.14159265358979"},
                      ExprCase{"Cos(0)", "Double 1"}, ExprCase{"Sin(Empty)", "Double 0"},
                      ExprCase{"Tan(0)", "Double 0"}, ExprCase{"Exp(1)", "Double 2.71828182845905"},
                      ExprCase{"Exp(1000)", "Error 6"}, ExprCase{"Log(Exp(2))", "Double 2"},
                      ExprCase{"Log(0)", "Error 5"}, ExprCase{"Log(-1)", "Error 5"},
                      ExprCase{"Sqr(16)", "Double 4"}, ExprCase{"Sqr(-1)", "Error 5"},
                      ExprCase{"Sqr(True)", "Error 5"}, ExprCase{"Sqr(Null)", "Error 94"},
                      ExprCase{"Fix(-1.99)", "Double -1"}, ExprCase{"Int(-1.99)", "Double -2"},
                      ExprCase{"Int(True)", "Integer -1"}, ExprCase{"Int(\"1.99\")", "Double 1"},
                      ExprCase{"Fix(CSng(2.5))", "Single 2"}, ExprCase{"Round(2.5)", "Double 2"},
                      ExprCase{"Round(3.5)", "Double 4"}, ExprCase{"Round(-2.5)", "Double -2"},
                      ExprCase{"Round(1.2345, 2)", "Double 1.23"},
                      ExprCase{"Round(7)", "Integer 7"}, ExprCase{"Round(1, -1)", "Error 5"},
                      ExprCase{"Sgn(-32769)", "Integer -1"}, ExprCase{"Sgn(0.5)", "Integer 1"},
                      ExprCase{"Sgn(Null)", "Error 94"}, ExprCase{"TypeName(Rnd)", "String Single"},
                      ExprCase{"Rnd(0) = Rnd(0)", "Boolean True"}));

INSTANTIATE_TEST_SUITE_P(
    TypesAndText, BuiltinTest,
    ::testing::Values(
        ExprCase{"TypeName(1)", "String Integer"}, ExprCase{"TypeName(32768)", "String Long"},
        ExprCase{"TypeName(0.5)", "String Double"}, ExprCase{"TypeName(CSng(1))", "String Single"},
        ExprCase{"TypeName(\"\")", "String String"}, ExprCase{"TypeName(Null)", "String Null"},
        ExprCase{"TypeName(Empty)", "String Empty"}, ExprCase{"TypeName(CByte(1))", "String Byte"},
        ExprCase{"VarType(True)", "Integer 11"}, ExprCase{"VarType(\"a\")", "Integer 8"},
        ExprCase{"IsEmpty(nothingAssigned)", "Boolean True"},
        ExprCase{"IsNull(Null)", "Boolean True"}, ExprCase{"IsNumeric(\" 12 \")", "Boolean True"},
        ExprCase{"IsNumeric(\"12a\")", "Boolean False"},
        ExprCase{"IsNumeric(Empty)", "Boolean True"}, ExprCase{"IsNumeric(Null)", "Boolean False"},
        ExprCase{"Hex(255)", "String FF"}, ExprCase{"Hex(-1)", "String FFFF"},
        ExprCase{"Hex(-40000)", "String FFFF63C0"}, ExprCase{"Oct(8)", "String 10"},
        ExprCase{"Hex(Null)", "Null"}, ExprCase{"Len(\"hello\")", "Long 5"},
        ExprCase{"Len(12.5)", "Long 4"}, ExprCase{"Len(Null)", "Null"},
        ExprCase{"Left(\"hello\", 2)", "String he"},
        ExprCase{"Right(\"hello\", 9)", "String hello"},
        ExprCase{"Mid(\"hello\", 2, 3)", "String ell"}, ExprCase{"Mid(\"hello\", 0)", "Error 5"},
        // The counts are read and checked before a Null text gives Null.
        ExprCase{"Right(Null, -1)", "Error 5"}, ExprCase{"Mid(Null, -1, -1)", "Error 5"},
        ExprCase{"Mid(\"test\", 0, Null)", "Error 94"}, ExprCase{"Left(Null, 1)", "Null"},
        ExprCase{"UCase(\"aB\") & LCase(\"aB\")", "String ABab"},
        ExprCase{"\"[\" & Trim(\"  a  \") & \"]\"", "String [a]"},
        ExprCase{"InStr(\"hello\", \"l\")", "Long 3"},
        ExprCase{"InStr(4, \"hello\", \"l\")", "Long 4"},
        ExprCase{"Chr(65) & Asc(\"a\")", "String A97"},
        ExprCase{"StrReverse(\"abc\")", "String cba"},
        ExprCase{"Replace(\"a-b-c\", \"-\", \"+\")", "String a+b+c"},
        ExprCase{"Space(3) & \"|\"", "String    |"}, ExprCase{"String(3, \"ab\")", "String aaa"},
        ExprCase{"StrComp(\"a\", \"A\", 1)", "Integer 0"}));

INSTANTIATE_TEST_SUITE_P(ArgumentCounts, BuiltinTest,
                         ::testing::Values(ExprCase{"Sin()", "Error 450"},
                                           ExprCase{"Sin(1, 2)", "Error 450"},
                                           ExprCase{"Sin", "Error 450"},
                                           ExprCase{"Left(\"a\")", "Error 450"},
                                           ExprCase{"sIN(0)", "Double 0"}));

TEST(Rnd, FollowsVBScriptSequenceAndReseeds) {
    Engine engine;
    std::string first = Describe(engine, "Rnd");
    std::string second = Describe(engine, "Rnd");
    EXPECT_NE(first, second);
    // A negative argument reseeds: the same number gives the same sequence.
    std::string a = Describe(engine, "Rnd(-1)");
    std::string b = Describe(engine, "Rnd");
    EXPECT_EQ(Describe(engine, "Rnd(-1)"), a);
    EXPECT_EQ(Describe(engine, "Rnd"), b);
    EXPECT_EQ(Describe(engine, "Rnd(0)"), b);
    // Reset restores the initial seed.
    engine.Reset();
    EXPECT_EQ(Describe(engine, "Rnd"), first);
}

}  // namespace
}  // namespace ondrix::script::testing
