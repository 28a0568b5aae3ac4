// Eval on arbitrary bytes, with both decimal separators, after the plotter's
// preamble and an x statement. Evaluating the same text twice must give the
// same outcome, whatever the engine keeps between calls.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "plotter/eval/formula.h"
#include "script/conversions.h"
#include "script/engine.h"

namespace {

using ondrix::script::Engine;
using ondrix::script::ScriptError;
using ondrix::script::Value;

// What one Eval gave: its type and text, or its error number.
std::string Outcome(Engine& engine, std::string_view expression) {
    try {
        const Value value = engine.Eval(expression);
        std::string out(ondrix::script::TypeName(value));
        if (!value.IsNull()) out += ":" + ondrix::script::ToText(value, engine.Settings());
        return out;
    } catch (const ScriptError& error) {
        return "error " + std::to_string(error.number());
    }
}

// Texts whose value may differ from one call to the next.
bool MayVary(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* word : {"rnd", "randomize", "timer", "now", "date", "time"})
        if (lower.find(word) != std::string::npos) return true;
    return false;
}

Engine& Prepared(char separator) {
    static Engine engine;
    static bool ready = false;
    if (!ready) {
        ondrix::eval::PrepareScriptEngine(engine);
        engine.AddCode(ondrix::eval::XStatement(2.5));
        ready = true;
    }
    engine.SetDecimalSeparator(separator);
    return engine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view expression(reinterpret_cast<const char*>(data), size);
    const bool stable = !MayVary(expression);
    for (const char separator : {'.', ','}) {
        Engine& engine = Prepared(separator);
        const std::string first = Outcome(engine, expression);
        const std::string second = Outcome(engine, expression);
        if (stable && first != second) std::abort();
    }
    return 0;
}
