#pragma once

// Helpers for the engine tests: evaluate a text and describe the outcome as
// "TypeName text" or "Error number", which reads well in tables.

#include <string>
#include <string_view>

#include "script/conversions.h"
#include "script/engine.h"

namespace ondrix::script::testing {

inline std::string Describe(Engine& engine, std::string_view expression) {
    try {
        Value v = engine.Eval(expression);
        std::string out(TypeName(v));
        if (!v.IsNull() && !v.IsEmpty()) {
            out += ' ';
            out += ToText(v, engine.Settings());
        }
        return out;
    } catch (const ScriptError& e) {
        std::string out = "Error ";
        out += std::to_string(e.number());
        return out;
    }
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
