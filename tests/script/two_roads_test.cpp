// The Double road against the general road, which defines the language:
// random expressions over every subtype, operator and kind of call, with
// variables of every subtype, give the same subtype, text, value to the last
// bit and error on both roads. (Every table of the other engine tests goes
// through both roads as well: see Describe.)

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "script/limits.h"
#include "tests/script/script_test_support.h"

namespace ondrix::script::testing {
namespace {

// One-line functions the Double road inlines, and some it must not.
constexpr const char* kCode =
    "pi = 3.141592\n"
    "Function Sec(x) \r\nSec = 1 / Cos(X)\r\n  End Function\r\n"
    "Function Arcsin(X) \r\nArcsin = Atn(X / Sqr(-X * X + 1))\r\n  End Function\r\n"
    "Function Mix(a, b)\nMix = a * 2 - b / Twice(a)\nEnd Function\n"
    "Function Twice(a)\nTwice = a + a\nEnd Function\n"
    "Function Two(a)\nDim t\nt = a * 2\nTwo = t\nEnd Function\n"
    "Function Same(a)\nSame = a\nEnd Function\n"
    "Function Seven\nSeven = 7.5\nEnd Function\n";

class Generator {
  public:
    explicit Generator(std::uint32_t seed) : random_(seed) {}

    std::string Expression(int depth) {
        if (depth == 0 || Pick(4) == 0) return Leaf();
        switch (Pick(6)) {
            case 0:
                return Unary(depth);
            case 1:
                return Call(depth);
            case 2:  // no parentheses: precedence and chains
                return Join({Expression(depth - 1), Operator(), Expression(depth - 1)});
            default:
                return Join({"(", Expression(depth - 1), Operator(), Expression(depth - 1), ")"});
        }
    }

    // A random value for a variable: mostly a Double, any subtype now and then.
    std::string Assignment(const char* name) {
        static constexpr const char* kValues[] = {
            "CInt(3)",     "CSng(1.5)",  "\"2\"", "Empty", "True",   "CLng(70000)", "Null",
            "CCur(2.5)",   "#1/1/2000#", "0.0",   "-0.0",  "1E+308", "-1E-310",     "32767.5",
            "1.5E+38 * 3", "0.1",        "-2.5",  "1E+15", "123.456"};
        if (Pick(5) == 0) return Join({name, " = ", kValues[Pick(std::size(kValues))]});
        std::uniform_real_distribution<double> wide(-20, 20);
        return Join({name, " = CDbl(", std::to_string(wide(random_)), ")"});
    }

  private:
    static std::string Join(std::initializer_list<std::string> parts) {
        std::string out;
        for (const std::string& part : parts) out += part;
        return out;
    }

    std::size_t Pick(std::size_t n) { return random_() % n; }

    std::string Leaf() {
        static constexpr const char* kLeaves[] = {
            "x",    "x",     "x",     "y",    "z",      "pi",         "1",     "0",
            "2",    "-3",    "2.5",   "-0.5", "1E+300", "1E-300",     "32767", "2147483647",
            "True", "\"2\"", "Empty", "Null", "Seven",  "#1/1/2000#", "0.1",   "40000"};
        return kLeaves[Pick(std::size(kLeaves))];
    }

    std::string Operator() {
        static constexpr const char* kOperators[] = {
            " + ",   " - ", " * ", " / ", "^",    " + ",   " * ",  " / ",   " - ",   " \\ ",
            " Mod ", " & ", " = ", " < ", " >= ", " And ", " Or ", " Xor ", " Eqv ", " Imp "};
        return kOperators[Pick(std::size(kOperators))];
    }

    std::string Unary(int depth) {
        static constexpr const char* kUnary[] = {"-", "+", "Not ", "-"};
        return Join({kUnary[Pick(std::size(kUnary))], Expression(depth - 1)});
    }

    std::string Call(int depth) {
        static constexpr const char* kOne[] = {"Sin",  "Cos",   "Tan",      "Atn",   "Exp",  "Log",
                                               "Sqr",  "Sec",   "Arcsin",   "Twice", "Two",  "Same",
                                               "Abs",  "Int",   "Fix",      "Sgn",   "CDbl", "CSng",
                                               "CInt", "Round", "TypeName", "Sin",   "Sqr",  "Sec"};
        if (Pick(8) == 0)
            return Join({"Mix(", Expression(depth - 1), ", ", Expression(depth - 1), ")"});
        return Join({kOne[Pick(std::size(kOne))], "(", Expression(depth - 1), ")"});
    }

    std::mt19937 random_;
};

TEST(TwoRoads, AgreeOnRandomExpressions) {
    constexpr int kExpressions = 6000;
    constexpr int kValuesEach = 4;
    Engine engine;
    engine.AddCode(kCode);
    Generator generate(20261208);
    int doubleRoad = 0;
    for (int i = 0; i < kExpressions; ++i) {
        const std::string expression = generate.Expression(1 + i % 5);
        for (int k = 0; k < kValuesEach; ++k) {
            engine.SetStepLimit(limits::kDefaultStepLimit);
            for (const char* name : {"x", "y", "z"}) engine.AddCode(generate.Assignment(name));
            // Now and then a step limit the expression may exceed (error 28).
            if (k == 3) engine.SetStepLimit(1 + i % 9);
            std::uint64_t bits = 0, generalBits = 0;
            const std::string fast = DescribeOnce(engine, expression, &bits);
            doubleRoad += engine.UsedDoubleRoad();
            engine.SetDoubleRoad(false);
            const std::string general = DescribeOnce(engine, expression, &generalBits);
            engine.SetDoubleRoad(true);
            ASSERT_EQ(fast, general) << expression;
            ASSERT_EQ(bits, generalBits) << expression << " = " << fast;
        }
    }
    // The table must exercise the Double road, not only the general one.
    EXPECT_GT(doubleRoad, kExpressions * kValuesEach / 10);
}

struct SequenceCase {
    const char* code;  // added after a first Eval took the Double road
    const char* expression;
    const char* expected;
};

class CodeAddedLaterTest : public ::testing::TestWithParam<SequenceCase> {};

// A program inlines procedures as they were when it was built: added code
// that redefines them, or turns a name into something else, must be seen.
TEST_P(CodeAddedLaterTest, IsSeenByTheNextEval) {
    Engine engine;
    engine.AddCode(kCode);
    engine.AddCode("x = 0.5");
    DescribeOnce(engine, GetParam().expression);
    EXPECT_TRUE(engine.UsedDoubleRoad()) << GetParam().expression;
    engine.AddCode(GetParam().code);
    EXPECT_EQ(Describe(engine, GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Redefinitions, CodeAddedLaterTest,
    ::testing::Values(
        SequenceCase{"Function Sec(a)\nSec = a & \"!\"\nEnd Function", "Sec(x)", "String 0.5!"},
        SequenceCase{"Function Twice(a)\nTwice = 3\nEnd Function", "Twice(x) * 1.5", "Double 4.5"},
        SequenceCase{"Function pi(a)\npi = a\nEnd Function", "pi * 1.5", "Error 450"},
        SequenceCase{"x = 2", "x * 1.5", "Double 3"},
        SequenceCase{"x = \"1.5\"", "x * 1.5", "Double 2.25"},
        SequenceCase{"Function Rec(a)\nRec = Rec(a)\nEnd Function\n"
                     "Function Same(a)\nSame = Rec(a)\nEnd Function",
                     "Same(x) + 0.5", "Error 28"}));

}  // namespace
}  // namespace ondrix::script::testing
