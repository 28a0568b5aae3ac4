// Operators: precedence, associativity, result subtypes and promotion.

#include <gtest/gtest.h>

#include "tests/script/script_test_support.h"

namespace ondrix::script::testing {
namespace {

class OperatorTest : public ::testing::TestWithParam<ExprCase> {};

TEST_P(OperatorTest, GivesVBScriptValueAndSubtype) {
    Engine engine;
    EXPECT_EQ(Describe(engine, GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, OperatorTest,
    ::testing::Values(ExprCase{"-2^2", "Double 4"}, ExprCase{"-3^2", "Double 9"},
                      ExprCase{"2^3^2", "Double 64"}, ExprCase{"2^-2", "Double 0.25"},
                      ExprCase{"2*3^2", "Double 18"}, ExprCase{"5\\4/2", "Long 2"},
                      ExprCase{"12/3\\2", "Long 2"}, ExprCase{"2+3\\4", "Integer 2"},
                      ExprCase{"7 Mod 4+2", "Integer 5"}, ExprCase{"10 Mod 4 * 2", "Integer 2"},
                      ExprCase{"7 \\ 2 Mod 3", "Integer 0"}, ExprCase{"10 Mod 4 \\ 2", "Integer 0"},
                      ExprCase{"1 + 2 & 3", "String 33"}, ExprCase{"1 = 1 < 0", "Boolean True"},
                      ExprCase{"Not 1 = 2", "Boolean True"},
                      // Not opens the right side of a comparison and takes
                      // the comparisons after it.
                      ExprCase{"true <> Not true", "Boolean True"},
                      ExprCase{"1 <> Not 0 = 0", "Boolean True"},
                      ExprCase{"1 > Not 5 > 3", "Boolean True"},
                      ExprCase{"True Or False And False", "Boolean True"},
                      ExprCase{"Not (True Xor False Or True)", "Boolean True"},
                      ExprCase{"--1", "Integer 1"}, ExprCase{"(((1+2)*3))", "Integer 9"}));

INSTANTIATE_TEST_SUITE_P(
    Promotion, OperatorTest,
    ::testing::Values(
        ExprCase{"32767 + 1", "Long 32768"}, ExprCase{"32767 * 2", "Long 65534"},
        ExprCase{"-32768 - 1", "Long -32769"}, ExprCase{"2147483647 + 1", "Double 2147483648"},
        ExprCase{"65536 * 65536", "Double 4294967296"}, ExprCase{"1 + 1", "Integer 2"},
        ExprCase{"40000 - 39999", "Long 1"}, ExprCase{"1 + 0.5", "Double 1.5"},
        ExprCase{"CSng(3) / 2", "Single 1.5"}, ExprCase{"CSng(1.5) + 1", "Single 2.5"},
        ExprCase{"CSng(1.5) + 40000", "Double 40001.5"},
        ExprCase{"CByte(200) + CByte(55)", "Byte 255"},
        ExprCase{"CByte(200) + CByte(56)", "Integer 256"}, ExprCase{"True + True", "Integer -2"},
        ExprCase{"False + 6 + True", "Integer 5"}, ExprCase{"Empty + Empty", "Integer 0"},
        ExprCase{"2 + Empty", "Integer 2"}, ExprCase{"-Empty", "Integer 0"},
        ExprCase{"-(-32768)", "Long 32768"}, ExprCase{"\"1\" + 2", "Double 3"},
        ExprCase{"\"1\" + \"2\"", "String 12"}, ExprCase{"\"a\" + Empty", "String a"},
        ExprCase{"\"3\" * \"4\"", "Double 12"}, ExprCase{"4 / 2", "Double 2"},
        ExprCase{"1 / 3", "Double 0.333333333333333"},
        ExprCase{"2 ^ 0.5", "Double 1.4142135623731"}, ExprCase{"(-8) ^ 3", "Double -512"},
        ExprCase{"2 + Null", "Null"}, ExprCase{"Null & Null", "Null"},
        ExprCase{"\"ab\" & Null", "String ab"}, ExprCase{"1 & 100000", "String 1100000"},
        ExprCase{"True & False", "String TrueFalse"}));

INSTANTIATE_TEST_SUITE_P(
    WholeDivision, OperatorTest,
    ::testing::Values(ExprCase{"5 \\ 2", "Integer 2"}, ExprCase{"4.6 \\ 1.5", "Long 2"},
                      ExprCase{"4.6 \\ 1.49", "Long 5"}, ExprCase{"2.5 \\ 1", "Long 2"},
                      ExprCase{"3.5 \\ 1", "Long 4"}, ExprCase{"-7 \\ 2", "Integer -3"},
                      ExprCase{"-32768 \\ -1", "Long 32768"}, ExprCase{"9 Mod 6", "Integer 3"},
                      ExprCase{"-7 Mod 3", "Integer -1"}, ExprCase{"11.6 Mod 5.5", "Long 0"},
                      ExprCase{"70000 Mod 3", "Long 1"}, ExprCase{"5 \\ 0", "Error 11"},
                      ExprCase{"5 Mod 0", "Error 11"}, ExprCase{"1E10 \\ 1", "Error 6"},
                      ExprCase{"2 Mod Null", "Null"}));

INSTANTIATE_TEST_SUITE_P(
    Comparison, OperatorTest,
    ::testing::Values(
        ExprCase{"1 < 2", "Boolean True"}, ExprCase{"2 => 2", "Boolean True"},
        ExprCase{"1 =< 2", "Boolean True"}, ExprCase{"2 >< 1", "Boolean True"},
        ExprCase{"0 = 0.0", "Boolean True"}, ExprCase{"\"abc\" < \"abd\"", "Boolean True"},
        ExprCase{"\"B\" < \"a\"", "Boolean True"}, ExprCase{"CInt(1) < CStr(0)", "Boolean True"},
        ExprCase{"Empty = 0", "Boolean True"}, ExprCase{"Empty = \"\"", "Boolean True"},
        ExprCase{"True = -1", "Boolean True"}, ExprCase{"\"\" = True = False", "Boolean True"},
        ExprCase{"0 > True", "Boolean True"}, ExprCase{"1 = Null", "Null"},
        ExprCase{"CSng(0.5) = 0.5", "Boolean True"}, ExprCase{"CSng(0.1) = 0.1", "Boolean True"},
        ExprCase{"CSng(0.001 * 0.001) = 0.000001", "Boolean True"}));

// A literal beside a text keeps its subtype: a number or date literal reads
// the text as its kind (error 13 when it is none), a text or Boolean literal
// compares the other side as text; two computed operands put every number
// before every text.
INSTANTIATE_TEST_SUITE_P(
    LiteralComparison, OperatorTest,
    ::testing::Values(
        ExprCase{"\"42\" = 42", "Boolean True"}, ExprCase{"\"0\" < 30", "Boolean True"},
        ExprCase{"30 > \"0\"", "Boolean True"}, ExprCase{"\"&hff\" = 255", "Boolean True"},
        ExprCase{"\"1e2\" = 100", "Boolean True"}, ExprCase{"\" 5\" = 5", "Boolean True"},
        ExprCase{"1 < \"0\"", "Boolean False"}, ExprCase{"CStr(42) = 42", "Boolean True"},
        ExprCase{"\"abc\" = 5", "Error 13"}, ExprCase{"\"\" > 0", "Error 13"},
        ExprCase{"\"abc\" = #1/15/2024#", "Error 13"}, ExprCase{"\"True\" = True", "Boolean True"},
        ExprCase{"\"5\" = CInt(5)", "Boolean True"}, ExprCase{"CCur(5) = \"5\"", "Boolean True"},
        ExprCase{"Len(\"ab\") > \"\"", "Boolean True"},
        ExprCase{"\"10\" > CDbl(5)", "Boolean False"},
        ExprCase{"CStr(5) = CInt(5)", "Boolean False"}, ExprCase{"\"1\" = Null", "Null"}));

INSTANTIATE_TEST_SUITE_P(
    Logic, OperatorTest,
    ::testing::Values(
        ExprCase{"Not True", "Boolean False"}, ExprCase{"Not 0", "Integer -1"},
        ExprCase{"Not 70000", "Long -70001"}, ExprCase{"Not 1.4", "Long -2"},
        ExprCase{"Not Null", "Null"}, ExprCase{"12 And 10", "Integer 8"},
        ExprCase{"12 Or 3", "Integer 15"}, ExprCase{"&h01 Or &h02", "Integer 3"},
        ExprCase{"12 Xor 10", "Integer 6"}, ExprCase{"True Eqv False", "Boolean False"},
        ExprCase{"False Imp False", "Boolean True"}, ExprCase{"True Imp False", "Boolean False"},
        ExprCase{"True And 5", "Integer 5"}, ExprCase{"Null And False", "Boolean False"},
        ExprCase{"Null And True", "Null"}, ExprCase{"Null Or True", "Boolean True"},
        ExprCase{"False Imp Null", "Boolean True"}, ExprCase{"False Eqv Null", "Null"},
        ExprCase{"\"True\" And True", "Boolean True"}, ExprCase{"Null Imp True", "Boolean True"},
        ExprCase{"Null Imp False", "Null"}, ExprCase{"True Imp Null", "Null"},
        ExprCase{"Null Or False", "Null"}, ExprCase{"True Xor Null", "Null"},
        ExprCase{"Null Eqv Null", "Null"}, ExprCase{"1 Or Null", "Integer 1"},
        ExprCase{"CByte(170) Imp Null", "Byte 85"}, ExprCase{"CByte(255) Imp Null", "Byte 0"},
        // Empty takes part as a Long.
        ExprCase{"Empty And Empty", "Long 0"}, ExprCase{"Not Empty", "Long -1"},
        ExprCase{"CInt(5) Imp Empty", "Long -6"}));

INSTANTIATE_TEST_SUITE_P(
    Literals, OperatorTest,
    ::testing::Values(ExprCase{".5", "Double 0.5"}, ExprCase{"1.", "Double 1"},
                      ExprCase{"1e3", "Double 1000"}, ExprCase{"1.5E-7", "Double 0.00000015"},
                      ExprCase{"56.789e-2", "Double 0.56789"}, ExprCase{"010", "Integer 10"},
                      ExprCase{"32768", "Long 32768"}, ExprCase{"2147483648", "Double 2147483648"},
                      ExprCase{"&hff", "Integer 255"}, ExprCase{"&hffff", "Integer -1"},
                      ExprCase{"&H7FFF", "Integer 32767"}, ExprCase{"&H8000", "Long -32768"},
                      ExprCase{"&H8000& = 32768", "Boolean True"},
                      ExprCase{"&hffff&", "Long 65535"}, ExprCase{"&hffffffff&", "Integer -1"},
                      ExprCase{"&h10000", "Long 65536"}, ExprCase{"&O17", "Integer 15"},
                      ExprCase{"\"say \"\"hi\"\"\"", "String say \"hi\""},
                      ExprCase{"True", "Boolean True"}, ExprCase{"Empty", "Empty"},
                      ExprCase{"Null", "Null"}, ExprCase{"1e-400", "Double 0"}));

// How text splits into tokens: quotes, operator spellings, "&" as an operator
// or a number prefix, keywords in any case, comments and continuations.
INSTANTIATE_TEST_SUITE_P(
    Tokens, OperatorTest,
    ::testing::Values(ExprCase{"\"\"", "String "}, ExprCase{"\"\"\"\"\"\"", "String \"\""},
                      ExprCase{"\"a\"\"\"", "String a\""}, ExprCase{"\"a\"\"", "Error 1033"},
                      ExprCase{"\"a\nb\"", "Error 1033"}, ExprCase{"1 <> 1", "Boolean False"},
                      ExprCase{"1 <= 1", "Boolean True"}, ExprCase{"2 =< 1", "Boolean False"},
                      ExprCase{"2 >= 3", "Boolean False"}, ExprCase{"3 => 2", "Boolean True"},
                      ExprCase{"2 >< 2", "Boolean False"}, ExprCase{"&H10 & \"x\"", "String 16x"},
                      ExprCase{"&H10&+1", "Integer 17"}, ExprCase{"2&3", "String 23"},
                      ExprCase{"1E+2", "Double 100"}, ExprCase{"1e+", "Error 1002"},
                      ExprCase{"TRUE And fAlSe", "Boolean False"}, ExprCase{"NOT 0", "Integer -1"},
                      ExprCase{"7 MOD 3", "Integer 1"}, ExprCase{"loop", "Error 1002"},
                      ExprCase{"xor", "Error 1002"},
                      ExprCase{"TypeName(#1/1/2000#)", "String Date"},
                      ExprCase{"CDbl(#1/1/2000#)", "Double 36526"},
                      ExprCase{"#1/1/2000", "Error 1002"}, ExprCase{"1 + 1 ' note", "Integer 2"},
                      ExprCase{"1 + 1 rem note", "Integer 2"}, ExprCase{"2 * _\n3", "Integer 6"},
                      ExprCase{"1 _ 2", "Error 1032"}, ExprCase{"a_b", "Empty"},
                      ExprCase{"-(2) ^ 2", "Double 4"}));

}  // namespace
}  // namespace ondrix::script::testing
