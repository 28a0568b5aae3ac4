// Hostile formulas: whatever is typed, a point gets a value, or no value and a
// quiet gap. Nothing may crash, hang, or grow without bound.
#include "plotter/eval/formula.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

#include "script/engine.h"
#include "script/limits.h"

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
    float y;
};

Point Evaluate(script::Engine& engine, const std::string& formula, double x = 1.5) {
    std::string text = "stale";
    const float y = EvaluateFormula(engine, formula, x, text);
    return {text, y};
}

struct Prepared : ::testing::Test {
    script::Engine engine;
    void SetUp() override { PrepareScriptEngine(engine); }

    // After any hostile input the engine still answers an ordinary formula.
    void ExpectStillWorks() {
        const Point p = Evaluate(engine, "x * 2", 1.5);
        EXPECT_EQ(p.text, "3");
        EXPECT_EQ(p.y, 3.0f);
    }
};

TEST_F(Prepared, HugeAndDeepFormulasEndQuickly) {
    struct Case {
        const char* name;
        std::string formula;
        const char* text;  // nullptr: any text, as long as the point is sound
    };
    const Case cases[] = {
        {"100 000 characters of sums", Repeat("x+", 49'999) + "x", "75000"},
        {"100 000 characters of one string", Repeat("a", 99'990, "Len(\"") + "\")", "99990"},
        {"100 000 blanks", std::string(100'000, ' ') + "x", "1.5"},
        {"a name of 100 000 letters", std::string(100'000, 'q'), ""},
        {"10 000 parentheses", Repeat("(", 10'000) + Repeat(")", 10'000, "x"), ""},
        {"10 000 unclosed parentheses", Repeat("(", 10'000) + "x", ""},
        {"10 000 closing parentheses", Repeat(")", 10'000, "x"), ""},
        {"10 000 nested calls", Repeat("Abs(", 10'000) + Repeat(")", 10'000, "x"), ""},
        {"10 000 signs", Repeat("-", 10'000) + "x", ""},
        {"10 000 Nots", Repeat("Not ", 10'000) + "x", ""},
        {"10 000 powers", Repeat("x^", 10'000) + "x", nullptr},
        {"just over the source bound", std::string(script::limits::kMaxSourceLength + 1, ' '), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        const Point p = Evaluate(engine, c.formula);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        if (c.text) {
            EXPECT_EQ(p.text, c.text);
        }
        EXPECT_TRUE(std::isfinite(p.y));
        if (p.text.empty()) {
            EXPECT_EQ(p.y, 0.0f);
        }
        ExpectStillWorks();
    }
}

TEST_F(Prepared, NumbersAtTheEdgesOfTheTypes) {
    struct Case {
        const char* formula;
        const char* text;  // "" when the point has no value; nullptr: any sound outcome
        float y;
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
        {"3.4E+38", "3.4E+38", 3.4e38f},
        // Beyond the Single range the text stands but the point reads as 0.
        {"3.5E+38", "3.5E+38", 0},
        {"-1E+39", "-1E+39", 0},
        {"1E+300*x", "1.5E+300", 0},
        {"CSng(3.5E+38)", "", 0},
        {"1E-46", "1E-46", 0},
        {"CSng(1E-46)", nullptr, 0},
        {"32767+1", "32768", 32768},
        {"2147483647+1", "2147483648", 2147483648.0f},
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
            EXPECT_EQ(p.y, 0.0f);
        }
        EXPECT_FALSE(std::signbit(p.y) && p.y == 0) << "a negative zero reached the sweep";
    }
}

TEST_F(Prepared, StringsStopAtTheLengthBound) {
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
    EXPECT_LE(std::stod(length.text), static_cast<double>(script::limits::kMaxStringLength));

    const struct {
        const char* name;
        std::string formula;
    } cases[] = {
        {"one long chain", Repeat("Space(40000) & ", 40) + "x"},
        {"a chain of the doubled global", Repeat("s & ", 100) + "s"},
        {"String() past the bound", "String(2000000, \"z\")"},
        {"Space() past the bound", "Space(1E9)"},
        {"a huge count", "Space(1E300)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Evaluate(engine, c.formula).text, "");
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
        const auto start = std::chrono::steady_clock::now();
        for (double x : {-1.0, 0.0, 2.5}) {
            const Point p = Evaluate(engine, c.formula, x);
            EXPECT_EQ(p.text, "");
            EXPECT_EQ(p.y, 0.0f);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        try {
            engine.Eval(c.formula);
            ADD_FAILURE() << "no error";
        } catch (const script::ScriptError& error) {
            EXPECT_EQ(error.number(), 28);
        }
        ExpectStillWorks();
    }
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
