// The Currency and Date subtypes and the corners of the other subtypes:
// "/" on Singles, Round and CByte on Booleans, CBool on "#TRUE#".

#include <gtest/gtest.h>

#include "tests/script/script_test_support.h"

namespace ondrix::script::testing {
namespace {

class SubtypeTest : public ::testing::TestWithParam<ExprCase> {};

TEST_P(SubtypeTest, GivesVBScriptValueAndSubtype) {
    Engine engine;
    EXPECT_EQ(Describe(engine, GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    SingleQuotient, SubtypeTest,
    ::testing::Values(
        ExprCase{"CSng(1)/3", "Single 0.3333333"}, ExprCase{"1/CSng(4)", "Single 0.25"},
        ExprCase{"CSng(1)/CSng(3)", "Single 0.3333333"}, ExprCase{"CSng(3)/True", "Single -3"},
        ExprCase{"CByte(1)/CSng(8)", "Single 0.125"}, ExprCase{"Empty/CSng(2)", "Single 0"},
        ExprCase{"CSng(1)/CLng(3)", "Double 0.333333333333333"},
        ExprCase{"CSng(1)/0.5", "Double 2"}, ExprCase{"CSng(1)/\"4\"", "Double 0.25"},
        ExprCase{"CSng(1)/CCur(4)", "Double 0.25"}, ExprCase{"1/3", "Double 0.333333333333333"},
        ExprCase{"CSng(2 ^ 127)/CSng(0.25)", "Double 6.80564733841877E+38"},
        ExprCase{"CSng(1)/Empty", "Error 11"}, ExprCase{"CSng(0)/0", "Error 6"},
        ExprCase{"CSng(1)/Null", "Null"}));

INSTANTIATE_TEST_SUITE_P(BooleanCorners, SubtypeTest,
                         ::testing::Values(ExprCase{"Round(True)", "Boolean True"},
                                           ExprCase{"Round(False)", "Boolean False"},
                                           ExprCase{"Round(True, 2)", "Boolean True"},
                                           ExprCase{"CByte(True)", "Byte 255"},
                                           ExprCase{"CByte(False)", "Byte 0"},
                                           ExprCase{"CByte(-1)", "Error 6"},
                                           ExprCase{"CBool(\"#TRUE#\")", "Boolean True"},
                                           ExprCase{"CBool(\"#FALSE#\")", "Boolean False"},
                                           ExprCase{"CBool(\" #true# \")", "Boolean True"},
                                           ExprCase{"CBool(\"#TRUE\")", "Error 13"},
                                           ExprCase{"CBool(\"TRUE#\")", "Error 13"}));

INSTANTIATE_TEST_SUITE_P(
    Currency, SubtypeTest,
    ::testing::Values(
        ExprCase{"CCur(1.5)", "Currency 1.5"}, ExprCase{"TypeName(CCur(1))", "String Currency"},
        ExprCase{"VarType(CCur(1))", "Integer 6"}, ExprCase{"CCur(1.23456)", "Currency 1.2346"},
        ExprCase{"CCur(-1.23454)", "Currency -1.2345"}, ExprCase{"CCur(0.00004)", "Currency 0"},
        ExprCase{"CCur(\"2.5\")", "Currency 2.5"}, ExprCase{"CCur(True)", "Currency -1"},
        ExprCase{"CCur(Empty)", "Currency 0"}, ExprCase{"CCur(Null)", "Error 94"},
        ExprCase{"CCur(\"abc\")", "Error 13"}, ExprCase{"CCur(1E+15)", "Error 6"},
        ExprCase{"CCur(922337203685477)", "Currency 922337203685477"},
        ExprCase{"CCur(-922337203685477)", "Currency -922337203685477"},
        ExprCase{"CCur(922337203685477) + 1", "Error 6"},
        ExprCase{"CCur(-922337203685477) - 1", "Error 6"},
        ExprCase{"CCur(900000000000000) * 2", "Error 6"},
        // The ends of the range: -922337203685477.5808 has no positive
        // counterpart, and rounding the largest amount up leaves the range.
        ExprCase{"CCur(-922337203685477) - CCur(0.5808)", "Currency -922337203685477.5808"},
        ExprCase{"-(CCur(-922337203685477) - CCur(0.5808))", "Error 6"},
        ExprCase{"Abs(CCur(-922337203685477) - CCur(0.5808))", "Error 6"},
        ExprCase{"Int(CCur(-922337203685477) - CCur(0.5808))", "Error 6"},
        ExprCase{"Round(CCur(922337203685477) + CCur(0.5807))", "Error 6"},
        ExprCase{"Fix(CCur(922337203685477) + CCur(0.5807))", "Currency 922337203685477"},
        // The product keeps four decimals, its halves rounded to even.
        ExprCase{"CCur(0.5) * CCur(0.0001)", "Currency 0"},
        ExprCase{"CCur(1.5) * CCur(0.0001)", "Currency 0.0002"},
        ExprCase{"CCur(2.5) * CCur(0.0001)", "Currency 0.0002"},
        ExprCase{"CCur(-1.5) * CCur(0.0001)", "Currency -0.0002"},
        ExprCase{"CCur(0.1) + CCur(0.2) = CCur(0.3)", "Boolean True"},
        ExprCase{"CCur(1) + 1", "Currency 2"}, ExprCase{"CCur(1) + 0.5", "Currency 1.5"},
        ExprCase{"CSng(0.25) + CCur(1)", "Currency 1.25"}, ExprCase{"CCur(1) - True", "Currency 2"},
        // A product with a Single, Double or text factor is a Double.
        ExprCase{"CCur(1) * 2.5", "Double 2.5"}, ExprCase{"CCur(2) * 1.5", "Double 3"},
        ExprCase{"CSng(0.5) * CCur(4)", "Double 2"}, ExprCase{"CCur(3) * \"2\"", "Double 6"},
        ExprCase{"CDbl(CCur(234.456784) * 8.2 * 0.01)", "Double 19.2254576"},
        ExprCase{"CCur(0.03125)", "Currency 0.0312"}, ExprCase{"CCur(1) + \"2\"", "Currency 3"},
        ExprCase{"CCur(1) + Null", "Null"}, ExprCase{"CCur(1) / 4", "Double 0.25"},
        ExprCase{"CCur(10) \\ 3", "Long 3"}, ExprCase{"CCur(7) Mod 4", "Long 3"},
        ExprCase{"CCur(2) ^ 2", "Double 4"}, ExprCase{"-CCur(5)", "Currency -5"},
        ExprCase{"CCur(1.5) & \"x\"", "String 1.5x"}, ExprCase{"CCur(1) = 1", "Boolean True"},
        ExprCase{"CCur(1) < CCur(1) + CCur(0.0001)", "Boolean True"},
        // Compared exactly, beyond the digits of a Double.
        ExprCase{"CCur(922337203685477) - CCur(0.0001) < CCur(922337203685477)", "Boolean True"},
        ExprCase{"Abs(CCur(-1.5))", "Currency 1.5"}, ExprCase{"Int(CCur(-1.5))", "Currency -2"},
        ExprCase{"Fix(CCur(-1.5))", "Currency -1"}, ExprCase{"Round(CCur(2.5))", "Currency 2"},
        ExprCase{"Round(CCur(3.5))", "Currency 4"},
        ExprCase{"Round(CCur(1.235), 2)", "Currency 1.24"},
        ExprCase{"Round(CCur(1.245), 2)", "Currency 1.24"},
        ExprCase{"CStr(CCur(-0.0001))", "String -0.0001"}, ExprCase{"CStr(CCur(12))", "String 12"},
        ExprCase{"CInt(CCur(2.5))", "Integer 2"}, ExprCase{"CDbl(CCur(1.5))", "Double 1.5"},
        ExprCase{"Hex(CCur(255))", "String FF"}, ExprCase{"IsNumeric(CCur(1))", "Boolean True"}));

INSTANTIATE_TEST_SUITE_P(
    DateLiterals, SubtypeTest,
    ::testing::Values(
        ExprCase{"#1/1/2000#", "Date 1/1/2000"}, ExprCase{"CDbl(#1/1/2000#)", "Double 36526"},
        ExprCase{"#2000-01-01#", "Date 1/1/2000"},
        ExprCase{"#1/1/2000 1:30:00 PM#", "Date 1/1/2000 1:30:00 PM"},
        ExprCase{"#2000-01-01 13:30#", "Date 1/1/2000 1:30:00 PM"},
        ExprCase{"#1/1/2000 1:30 am#", "Date 1/1/2000 1:30:00 AM"},
        ExprCase{"#1/1/2000 12:00 AM#", "Date 1/1/2000"},
        ExprCase{"#1/1/2000 12:00:05 PM#", "Date 1/1/2000 12:00:05 PM"},
        ExprCase{"#1:30:00 PM#", "Date 1:30:00 PM"},
        ExprCase{"# 12/31/1999 23:59:59 #", "Date 12/31/1999 11:59:59 PM"},
        ExprCase{"CDbl(#12/31/1899#)", "Double 1"}, ExprCase{"#2/29/2000#", "Date 2/29/2000"},
        ExprCase{"CDbl(#12/29/1899 6:00 AM#)", "Double -1.25"},
        ExprCase{"#1/1/99#", "Date 1/1/1999"}, ExprCase{"#1/1/29#", "Date 1/1/2029"},
        ExprCase{"TypeName(#1/1/2000#)", "String Date"},
        ExprCase{"VarType(#1/1/2000#)", "Integer 7"}, ExprCase{"#2/29/1900#", "Error 1002"},
        ExprCase{"#2/30/2000#", "Error 1002"}, ExprCase{"#13/1/2000#", "Error 1002"},
        ExprCase{"#1/1/2000 24:00#", "Error 1002"}, ExprCase{"#1/1/2000 13:00 PM#", "Error 1002"},
        ExprCase{"#1/1/2000 1:60#", "Error 1002"}, ExprCase{"#1/1/10000#", "Error 1002"},
        ExprCase{"#1/1/0099#", "Error 1002"}, ExprCase{"#1/1/2000", "Error 1002"},
        ExprCase{"#1/1/2000x#", "Error 1002"}, ExprCase{"##", "Error 1002"}));

INSTANTIATE_TEST_SUITE_P(DateArithmetic, SubtypeTest,
                         ::testing::Values(ExprCase{"#1/1/2000# + 1", "Date 1/2/2000"},
                                           ExprCase{"1 + #1/1/2000#", "Date 1/2/2000"},
                                           ExprCase{"#1/1/2000# + 0.5",
                                                    "Date 1/1/2000 12:00:00 PM"},
                                           ExprCase{"#1/1/2000# - 1", "Date 12/31/1999"},
                                           ExprCase{"#1/1/2000# + \"1\"", "Date 1/2/2000"},
                                           ExprCase{"#1/1/2000# + #1/1/1900#", "Date 1/3/2000"},
                                           ExprCase{"#1/2/2000# - #1/1/2000#", "Double 1"},
                                           ExprCase{"#1/1/2000 6:00# - #1/1/2000#", "Double 0.25"},
                                           ExprCase{"#1/1/2000# * 1", "Double 36526"},
                                           ExprCase{"#1/1/2000# / 2", "Double 18263"},
                                           ExprCase{"#12/31/9999# + 1", "Double 2958466"},
                                           ExprCase{"#1/1/2000# + Null", "Null"},
                                           ExprCase{"#1/1/2000# & \"!\"", "String 1/1/2000!"},
                                           ExprCase{"#1/1/2000# < #1/2/2000#", "Boolean True"},
                                           ExprCase{"#1/1/2000# = 36526", "Boolean True"},
                                           ExprCase{"#1/1/2000 6:00# > #1/1/2000#", "Boolean True"},
                                           ExprCase{"Int(#1/1/2000 6:00#)", "Date 1/1/2000"},
                                           ExprCase{"IsNumeric(#1/1/2000#)", "Boolean False"}));

INSTANTIATE_TEST_SUITE_P(
    DateConversions, SubtypeTest,
    ::testing::Values(
        ExprCase{"CDate(36526)", "Date 1/1/2000"},
        ExprCase{"CDate(36526.5)", "Date 1/1/2000 12:00:00 PM"},
        ExprCase{"CDate(36526.99999999)", "Date 1/2/2000"},
        ExprCase{"CDate(\"1/1/2000\")", "Date 1/1/2000"},
        ExprCase{"CDate(\"2000-01-01 13:30\")", "Date 1/1/2000 1:30:00 PM"},
        ExprCase{"CDate(\"1:30 PM\")", "Date 1:30:00 PM"},
        ExprCase{"CDate(-1.25)", "Date 12/29/1899 6:00:00 AM"},
        ExprCase{"CDate(0)", "Date 12:00:00 AM"}, ExprCase{"CDate(True)", "Date 12/29/1899"},
        ExprCase{"CStr(#1/1/2000#)", "String 1/1/2000"},
        ExprCase{"CLng(#1/1/2000 6:00#)", "Long 36526"}, ExprCase{"CDate(\"abc\")", "Error 13"},
        ExprCase{"CDate(\"2/30/2000\")", "Error 13"}, ExprCase{"CDate(\"\")", "Error 13"},
        ExprCase{"CDate(\"0:30 AM\")", "Error 13"}, ExprCase{"CDate(Null)", "Error 94"},
        ExprCase{"CDate(1E+10)", "Error 6"}, ExprCase{"IsDate(#1/1/2000#)", "Boolean True"},
        ExprCase{"IsDate(\"1/1/2000\")", "Boolean True"},
        ExprCase{"IsDate(\" 2000-01-01 13:30 \")", "Boolean True"},
        ExprCase{"IsDate(\"2/30/2000\")", "Boolean False"},
        ExprCase{"IsDate(\"abc\")", "Boolean False"}, ExprCase{"IsDate(36526)", "Boolean False"},
        // A number text is a day count to CDate, yet no date to IsDate.
        ExprCase{"CDate(\"1\")", "Date 12/31/1899"}, ExprCase{"IsDate(\"4\")", "Boolean False"},
        // English month names, whole or in three letters.
        ExprCase{"IsDate(\"October 19, 1962\")", "Boolean True"},
        ExprCase{"CDate(\"October 19, 1962\")", "Date 10/19/1962"},
        ExprCase{"CDate(\"Dec 30, 1991\")", "Date 12/30/1991"},
        ExprCase{"CDate(\"Jan 01 2020\")", "Date 1/1/2020"},
        ExprCase{"CDate(\"31 Dec 2050\")", "Date 12/31/2050"},
        ExprCase{"CDate(\"31-Jan-10\")", "Date 1/31/2010"},
        ExprCase{"IsDate(\"February 30, 2000\")", "Boolean False"},
        ExprCase{"IsDate(\"Octob 19, 1962\")", "Boolean False"},
        ExprCase{"IsDate(Null)", "Boolean False"}));

// The clock's value changes; its subtype and the relations between Now, Date
// and Time do not.
INSTANTIATE_TEST_SUITE_P(
    Clock, SubtypeTest,
    ::testing::Values(ExprCase{"TypeName(Now) & TypeName(Date) & TypeName(Time)",
                               "String DateDateDate"},
                      ExprCase{"Now > #1/1/2024#", "Boolean True"},
                      ExprCase{"Date <= Now And Now < Date + 1", "Boolean True"},
                      ExprCase{"CDbl(Date) = Fix(CDbl(Date))", "Boolean True"},
                      ExprCase{"Time >= 0 And Time < 1", "Boolean True"},
                      ExprCase{"Abs(Now - (Date + Time)) < 2 / 86400", "Boolean True"},
                      ExprCase{"Now(1)", "Error 450"}));

TEST(Currency, TextUsesTheDecimalSeparator) {
    Engine engine;
    engine.SetDecimalSeparator(',');
    EXPECT_EQ(Describe(engine, "CCur(\"1,25\")"), "Currency 1,25");
    EXPECT_EQ(Describe(engine, "CCur(\"1,25\") & \"\""), "String 1,25");
}

TEST(Date, AssignedByAStatementKeepsItsSubtype) {
    Engine engine;
    ASSERT_EQ(AddCodeError(engine, "d = #1/1/2000 1:30:00 PM#"), 0);
    EXPECT_EQ(Describe(engine, "d + 1"), "Date 1/2/2000 1:30:00 PM");
    EXPECT_EQ(AddCodeError(engine, "d = #2/30/2000#"), 1002);
}

}  // namespace
}  // namespace ondrix::script::testing
