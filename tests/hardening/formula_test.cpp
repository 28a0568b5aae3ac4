// Hostile formulas and the engine's bounds: whatever is typed, a point gets a
// value, or no value and a quiet gap, and the engine answers with VBScript's
// errors (28 for nesting and recursion too deep, 14 for strings too long, 7
// for a text too long). Nothing may crash, hang, or grow without bound.
#include "plotter/eval/formula.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "script/engine.h"

namespace ondrix::eval {
namespace {

using namespace std::string_literals;

std::string Repeat(const std::string& piece, int times, std::string out = "") {
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

// A point's outcome as the sweep sees it.
struct Point {
    std::string text;
    double y;
};

Point Evaluate(script::Engine& engine, const std::string& formula, double x = 1.5) {
    std::string text = "stale";
    const double y = EvaluateFormula(engine, formula, x, &text).value;
    return {text, y};
}

int EvalError(script::Engine& engine, const std::string& text) {
    try {
        engine.Eval(text);
        return 0;
    } catch (const script::ScriptError& e) {
        return e.number();
    }
}

int AddCodeError(script::Engine& engine, const std::string& code) {
    try {
        engine.AddCode(code);
        return 0;
    } catch (const script::ScriptError& e) {
        return e.number();
    }
}

struct Prepared : ::testing::Test {
    script::Engine engine;
    void SetUp() override { PrepareScriptEngine(engine); }

    // After any hostile input the engine still answers an ordinary formula.
    void ExpectStillWorks() {
        const Point p = Evaluate(engine, "x * 2", 1.5);
        EXPECT_EQ(p.text, "3");
        EXPECT_EQ(p.y, 3.0);
    }
};

TEST_F(Prepared, HugeAndDeepFormulasEndInAValueOrAnError) {
    struct Case {
        const char* name;
        std::string formula;
        const char* text;  // nullptr: any text, as long as the point is sound
        int error;         // what Eval raises, 0 for a value, -1 for any
    };
    const Case cases[] = {
        {"100 000 characters of sums", Repeat("x+", 49'999) + "x", "75000", 0},
        {"100 000 characters of one string", Repeat("a", 99'990, "Len(\"") + "\")", "99990", 0},
        {"100 000 blanks", std::string(100'000, ' ') + "x", "1.5", 0},
        {"a name of 100 000 letters", std::string(100'000, 'q'), "", 0},
        {"10 000 parentheses", Repeat("(", 10'000) + Repeat(")", 10'000, "x"), "", 28},
        {"10 000 unclosed parentheses", Repeat("(", 10'000) + "x", "", 28},
        {"10 000 closing parentheses", Repeat(")", 10'000, "x"), "", 1025},
        {"10 000 nested calls", Repeat("Abs(", 10'000) + Repeat(")", 10'000, "x"), "", 28},
        {"10 000 signs", Repeat("-", 10'000) + "x", "", 28},
        {"10 000 Nots", Repeat("Not ", 10'000) + "x", "", 28},
        {"10 000 powers", Repeat("x^", 10'000) + "x", nullptr, -1},
        {"50 parentheses", Repeat("(", 50) + Repeat(")", 50, "x"), "1.5", 0},
        {"just over the source bound", std::string(1'048'577, ' '), "", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Point p = Evaluate(engine, c.formula);
        if (c.text) {
            EXPECT_EQ(p.text, c.text);
        }
        EXPECT_TRUE(std::isfinite(p.y));
        if (p.text.empty()) {
            EXPECT_EQ(p.y, 0.0);
        }
        if (c.error >= 0) {
            EXPECT_EQ(EvalError(engine, c.formula), c.error);
        }
        ExpectStillWorks();
    }
    // Statements nest the same way, and a text too long is refused by AddCode.
    EXPECT_EQ(AddCodeError(engine, Repeat("If 1 Then\n", 5'000)), 28);
    EXPECT_EQ(AddCodeError(engine, std::string(1'048'577, ' ')), 7);
}

TEST_F(Prepared, NumbersAtTheEdgesOfTheTypes) {
    struct Case {
        const char* formula;
        const char* text;  // "" when the point has no value; nullptr: any sound outcome
        double y;
    };
    const Case cases[] = {
        {"Exp(1E308)", "", 0},
        {"1E308*10", "", 0},
        {"-1E308*10", "", 0},
        {"1E308+1E308", "", 0},
        {"Exp(709)*Exp(709)", "", 0},
        {"-0", "0", 0},
        {"-x*0", "0", 0},
        {"0*-1.5", "0", 0},
        {"3.4E+38", "3.4E+38", 3.4e38},
        // Beyond the Single range a number is a point without a value; a text
        // that spells one keeps its text and reads as 0.
        {"3.5E+38", "", 0},
        {"-1E+39", "", 0},
        {"1E+300*x", "", 0},
        {"\"-1E+39\"", "-1E+39", 0},
        {"CSng(3.5E+38)", "", 0},
        {"1E-46", "1E-46", 1e-46},
        {"CSng(1E-46)", nullptr, 0},
        {"32767+1", "32768", 32768},
        {"2147483647+1", "2147483648", 2147483648.0},
        {"CInt(32768)", "", 0},
        {"CLng(2147483648)", "", 0},
        {"0/0", "", 0},
        {"1/0", "", 0},
        {"Sqr(-1)", "", 0},
        {"Log(0)", "", 0},
        {"Arcsin(1)", "", 0},
        {"Hex(1E10)", "", 0},
        // Whole-number corners where a careless C++ operation is undefined.
        {"CInt(-32768) \\ -1", nullptr, 0},
        {"CLng(-2147483648) \\ -1", nullptr, 0},
        {"CLng(-2147483648) Mod -1", nullptr, 0},
        {"-CLng(-2147483648)", nullptr, 0},
        {"-CInt(-32768)", nullptr, 0},
        {"Abs(CLng(-2147483648))", nullptr, 0},
        {"CLng(-2147483648) * -1", nullptr, 0},
        {"CInt(-32768) - 1", nullptr, 0},
        {"&H80000000 \\ -1", nullptr, 0},
        {"Round(1E308)", nullptr, 0},
        {"Int(-1E308)", nullptr, 0},
        {"Fix(1.7E308)", nullptr, 0},
        {"CLng(1E308)", "", 0},
        {"CByte(-0.5)", nullptr, 0},
        {"Hex(-1)", nullptr, 0},
        {"Oct(-2147483648)", nullptr, 0},
        {"2^1024", "", 0},
        {"(-8)^(1/3)", "", 0},
        {"0^-1", "", 0},
        {"Round(2.5, 400)", nullptr, 0},
        {"Round(1E300, -5)", nullptr, 0},
        {"String(-1, \"a\")", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const Point p = Evaluate(engine, c.formula);
        if (c.text) {
            EXPECT_EQ(p.text, c.text);
            EXPECT_EQ(p.y, c.y);
        }
        EXPECT_TRUE(std::isfinite(p.y));
        if (p.text.empty()) {
            EXPECT_EQ(p.y, 0.0);
        }
        EXPECT_FALSE(std::signbit(p.y) && p.y == 0) << "a negative zero reached the sweep";
    }
}

TEST_F(Prepared, StringsStopAtTheLengthBound) {
    engine.AddCode(
        "Function grow(s, n)\nIf n = 0 Then grow = s Else grow = grow(s & s, n - 1)\nEnd Function");
    EXPECT_EQ(Evaluate(engine, "Len(grow(\"ab\", 10))").text, "2048");
    EXPECT_EQ(Evaluate(engine, "Len(String(1000, \"x\"))").text, "1000");
    EXPECT_EQ(EvalError(engine, "Len(grow(\"ab\", 40))"), 14);
    EXPECT_EQ(EvalError(engine, "Space(2000000000)"), 14);

    // A chain of "&" doubles a global until it would pass the bound; from then
    // on every step fails and the text keeps its last length.
    engine.AddCode("s = \"ab\"");
    int failures = 0;
    for (int i = 0; i < 30; ++i) {
        try {
            engine.AddCode("s = s & s");
        } catch (const script::ScriptError& error) {
            EXPECT_EQ(error.number(), 14);
            ++failures;
        }
    }
    EXPECT_GT(failures, 0);
    const Point length = Evaluate(engine, "Len(s)");
    EXPECT_FALSE(length.text.empty());
    EXPECT_LE(std::stod(length.text), 1'048'576.0);  // the bound: 1 MiB

    const struct {
        const char* name;
        std::string formula;
        int error;
    } cases[] = {
        {"one long chain", Repeat("Space(40000) & ", 40) + "x", 14},
        {"a chain of the doubled global", Repeat("s & ", 100) + "s", 14},
        {"String() past the bound", "String(2000000, \"z\")", 14},
        {"Space() past the bound", "Space(1E9)", 14},
        {"a count beyond the Long range", "Space(1E300)", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Evaluate(engine, c.formula).text, "");
        EXPECT_EQ(EvalError(engine, c.formula), c.error);
        ExpectStillWorks();
    }
}

TEST_F(Prepared, RunawayRecursionIsAnErrorNotACrash) {
    const struct {
        const char* name;
        const char* code;
        const char* formula;
    } cases[] = {
        {"endless", "Function f(n)\r\n  f = f(n + 1)\r\nEnd Function\r\n", "f(x)"},
        {"mutual",
         "Function f(n)\r\n  f = g(n) + 1\r\nEnd Function\r\n"
         "Function g(n)\r\n  g = f(n) + 1\r\nEnd Function\r\n",
         "f(x)"},
        {"exponential",
         "Function f(n)\r\n  If n > 0 Then f = f(n - 1) + f(n - 1) Else f = 1\r\nEnd Function\r\n",
         "f(60)"},
        {"through a Sub",
         "Sub s(n)\r\n  s n + 1\r\nEnd Sub\r\nFunction f(n)\r\n  s n\r\n  f = 1\r\nEnd "
         "Function\r\n",
         "f(x)"},
        {"through ByRef", "Function f(ByRef n)\r\n  n = n + 1\r\n  f = f(n)\r\nEnd Function\r\n",
         "f(x)"},
        {"a preamble name redefined", "Function Sec(x)\r\n  Sec = Sec(x) * 2\r\nEnd Function\r\n",
         "Sec(x)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PrepareScriptEngine(engine);
        engine.AddCode(c.code);
        for (double x : {-1.0, 0.0, 2.5}) {
            const Point p = Evaluate(engine, c.formula, x);
            EXPECT_EQ(p.text, "");
            EXPECT_EQ(p.y, 0.0);
        }
        EXPECT_EQ(AddCodeError(engine, std::string("y = ") + c.formula), 28);
        try {
            engine.Eval(c.formula);
            ADD_FAILURE() << "no error";
        } catch (const script::ScriptError& error) {
            EXPECT_EQ(error.number(), 28);
        }
        ExpectStillWorks();
    }
}

// Deep but finite recursion works up to the bound; the engine stays usable
// after one that passes it.
TEST_F(Prepared, DeepRecursionWithinTheBoundWorks) {
    engine.AddCode("Function f(n)\nIf n = 0 Then f = 0 Else f = 1 + f(n - 1)\nEnd Function");
    EXPECT_EQ(Evaluate(engine, "f(100)").text, "100");
    EXPECT_EQ(EvalError(engine, "f(1000000)"), 28);
    EXPECT_EQ(Evaluate(engine, "f(10)").text, "10");
}

// The work one call may do is a setting: 2047 calls are too many for a limit
// of 100 steps, and fine for the default.
TEST(StepLimit, IsASetting) {
    const char* kDoubling =
        "Function h(n)\nIf n = 0 Then h = 1 Else h = h(n - 1) + h(n - 1)\nEnd Function";
    script::Engine limited, ordinary;
    limited.AddCode(kDoubling);
    ordinary.AddCode(kDoubling);
    limited.SetStepLimit(100);
    EXPECT_EQ(EvalError(limited, "h(10)"), 28);
    EXPECT_EQ(ordinary.Eval("h(10)").whole(), 1024);
}

TEST_F(Prepared, NulBytesAndInvalidUtf8) {
    const struct {
        const char* name;
        std::string formula;
        const char* text;
    } cases[] = {
        {"a NUL alone", "\0"s, ""},
        {"a NUL after the formula", "x\0"s, ""},
        {"a NUL inside the formula", "x\0+1"s, ""},
        {"a NUL inside a string", "Len(\"a\0b\")"s, "3"},
        {"a lone continuation byte", "x+\x80", ""},
        {"an overlong encoding", "x\xC0\xAF", ""},
        {"a truncated sequence", "\xE2\x82", ""},
        {"bytes no encoding uses",
         "\xFF\xFE"
         "x",
         ""},
        {"an encoded surrogate", "\xED\xA0\x80", ""},
        {"invalid bytes inside a string", "Len(\"\xFF\xC3\")", "2"},
        {"non-ASCII letters in a name", "x\xC3\xA9", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Point p = Evaluate(engine, c.formula);
        EXPECT_EQ(p.text, c.text);
        ExpectStillWorks();
    }
}

}  // namespace
}  // namespace ondrix::eval
