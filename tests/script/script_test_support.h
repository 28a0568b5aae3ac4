#pragma once

// Helpers for the engine tests: evaluate a text and describe the outcome as
// "TypeName text" or "Error number", which reads well in tables.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "script/conversions.h"
#include "script/engine.h"

namespace ondrix::script::testing {

// "TypeName text" or "Error n"; `bits` receives a real value's bit pattern.
inline std::string DescribeOnce(Engine& engine, std::string_view expression,
                                std::uint64_t* bits = nullptr) {
    try {
        Value v = engine.Eval(expression);
        std::string out(TypeName(v));
        if (!v.IsNull() && !v.IsEmpty()) {
            out += ' ';
            out += ToText(v, engine.Settings());
        }
        if (bits && v.IsReal()) *bits = std::bit_cast<std::uint64_t>(v.real());
        return out;
    } catch (const ScriptError& e) {
        std::string out = "Error ";
        out += std::to_string(e.number());
        return out;
    }
}

// Every expression a test describes that takes the Double road is evaluated
// again on the general road, which defines the language: subtype, text, value
// to the last bit and error must agree. (A Double program has no side
// effects, so evaluating twice changes nothing.)
inline std::string Describe(Engine& engine, std::string_view expression) {
    std::uint64_t bits = 0, generalBits = 0;
    std::string out = DescribeOnce(engine, expression, &bits);
    if (engine.UsedDoubleRoad()) {
        engine.SetDoubleRoad(false);
        EXPECT_EQ(out, DescribeOnce(engine, expression, &generalBits)) << "roads: " << expression;
        EXPECT_EQ(bits, generalBits) << "roads: " << expression;
        engine.SetDoubleRoad(true);
    }
    return out;
}

// The error number AddCode raises, or 0.
inline int AddCodeError(Engine& engine, std::string_view code) {
    try {
        engine.AddCode(code);
        return 0;
    } catch (const ScriptError& e) {
        return e.number();
    }
}

struct ExprCase {
    const char* expression;
    const char* expected;  // "Type text" or "Error n"
};

inline void PrintTo(const ExprCase& c, std::ostream* os) {
    *os << c.expression;
}

}  // namespace ondrix::script::testing
