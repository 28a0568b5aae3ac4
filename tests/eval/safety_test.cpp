// Bounds: deep nesting, deep and runaway recursion, long strings and random
// or malformed input end in script errors, never in a crash or a hang.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "plotter/eval/formula.h"
#include "script/errors.h"
#include "script/limits.h"
#include "tests/script/script_test_support.h"

namespace ondrix::script::testing {
namespace {

int EvalError(Engine& engine, const std::string& text) {
    try {
        engine.Eval(text);
        return 0;
    } catch (const ScriptError& e) {
        return e.number();
    }
}

TEST(Nesting, DeepParenthesesAreAnErrorNotAStackOverflow) {
    Engine engine;
    std::string deep = std::string(10000, '(') + "1" + std::string(10000, ')');
    EXPECT_EQ(EvalError(engine, deep), kOutOfStackSpace);
    EXPECT_EQ(EvalError(engine, std::string(10000, '-') + "1"), kOutOfStackSpace);
    EXPECT_EQ(EvalError(engine, std::string(5000, '(')), kOutOfStackSpace);
    std::string nots;
    for (int i = 0; i < 5000; ++i) nots += "Not ";
    EXPECT_EQ(EvalError(engine, nots + "1"), kOutOfStackSpace);
    std::string ifs;
    for (int i = 0; i < 5000; ++i) ifs += "If 1 Then\n";
    EXPECT_EQ(AddCodeError(engine, ifs), kOutOfStackSpace);
    // Moderate nesting is fine.
    std::string fine = std::string(50, '(') + "1" + std::string(50, ')');
    EXPECT_EQ(Describe(engine, fine), "Integer 1");
}

TEST(Nesting, LongFlatChainsEvaluateWithoutRecursion) {
    Engine engine;
    std::string sum = "0";
    for (int i = 0; i < 100000; ++i) sum += "+1";
    EXPECT_EQ(Describe(engine, sum), "Long 100000");
}

TEST(Recursion, DeepRecursionIsOutOfStackSpace) {
    Engine engine;
    engine.AddCode("Function f(n)\nIf n = 0 Then f = 0 Else f = 1 + f(n - 1)\nEnd Function");
    EXPECT_EQ(Describe(engine, "f(100)"), "Integer 100");
    EXPECT_EQ(Describe(engine, "f(1000000)"), "Error 28");
    // The engine is usable afterwards.
    EXPECT_EQ(Describe(engine, "f(10)"), "Integer 10");
}

TEST(Recursion, RunawayWorkStopsQuickly) {
    Engine engine;
    engine.AddCode("Function g(n)\ng = g(n - 1) + g(n - 1)\nEnd Function");
    engine.AddCode("Function h(n)\nIf n = 0 Then h = 1 Else h = h(n - 1) + h(n - 1)\nEnd Function");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Describe(engine, "g(40)"), "Error 28");
    EXPECT_EQ(Describe(engine, "h(40)"), "Error 28");
    EXPECT_EQ(AddCodeError(engine, "y = h(40)"), kOutOfStackSpace);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(5));
    EXPECT_EQ(Describe(engine, "h(10)"), "Integer 1024");
}

TEST(Recursion, StepLimitIsASetting) {
    Engine engine;
    engine.AddCode("Function h(n)\nIf n = 0 Then h = 1 Else h = h(n - 1) + h(n - 1)\nEnd Function");
    engine.SetStepLimit(100);
    EXPECT_EQ(Describe(engine, "h(10)"), "Error 28");
    engine.SetStepLimit(limits::kDefaultStepLimit);
    EXPECT_EQ(Describe(engine, "h(10)"), "Integer 1024");
}

TEST(Strings, LongStringsAreOutOfStringSpace) {
    Engine engine;
    engine.AddCode(
        "Function grow(s, n)\nIf n = 0 Then grow = s Else grow = grow(s & s, n - 1)\nEnd Function");
    EXPECT_EQ(Describe(engine, "Len(grow(\"ab\", 10))"), "Long 2048");
    EXPECT_EQ(Describe(engine, "Len(grow(\"ab\", 40))"), "Error 14");
    EXPECT_EQ(Describe(engine, "Space(2000000000)"), "Error 14");
    EXPECT_EQ(Describe(engine, "Len(String(1000, \"x\"))"), "Long 1000");
}

TEST(Input, OversizedSourceIsRefused) {
    Engine engine;
    std::string huge(limits::kMaxSourceLength + 1, ' ');
    EXPECT_EQ(EvalError(engine, huge), kOutOfMemory);
    EXPECT_EQ(AddCodeError(engine, huge), kOutOfMemory);
}

// Random and mutated texts must end in a value or a ScriptError.
TEST(Input, RandomAndMalformedTextNeverCrashes) {
    const std::string pieces[] = {
        "x",
        "1",
        "2.5",
        "1e308",
        "-",
        "+",
        "*",
        "/",
        "\\",
        "^",
        "&",
        "=",
        "<>",
        "<",
        ">=",
        "(",
        ")",
        ",",
        ":",
        "\n",
        " ",
        "\"",
        "\"a\"",
        "Not ",
        " And ",
        " Or ",
        " Mod ",
        "If ",
        " Then ",
        " Else ",
        "End If",
        "Function f(a)",
        "End Function",
        "Sub s(b)",
        "End Sub",
        "f(",
        "s ",
        "Dim ",
        "Exit Function",
        "Sin(",
        "Sqr(",
        "Len(",
        "Null",
        "Empty",
        "True",
        "&H",
        "&HFFFF",
        "_",
        "'",
        "Rem ",
        "Call ",
        "ByRef ",
        "ByVal ",
        "CInt(",
        "Hex(",
        "1/0",
        "0/0",
        "Arcsin(",
        "\"\"",
        "f(f(",
        "Const ",
        "Randomize",
        "Rnd",
        "#",
        "\x01",
        "\xff",
        "=>",
    };
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(1, 30);
    Engine engine;
    ondrix::eval::PrepareScriptEngine(engine);
    std::string resultText;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
        try {
            if (round % 2)
                engine.AddCode(text);
            else
                engine.Eval(text);
        } catch (const ScriptError&) {
        }
        ondrix::eval::EvaluateFormula(engine, text, round * 0.01, resultText);
        if (round % 1000 == 0) ondrix::eval::PrepareScriptEngine(engine);
    }
    // Random bytes too.
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n) text += static_cast<char>(byte(random));
        ondrix::eval::EvaluateFormula(engine, text, 1.0, resultText);
        try {
            engine.AddCode(text);
        } catch (const ScriptError&) {
        }
    }
    SUCCEED();
}

}  // namespace
}  // namespace ondrix::script::testing
