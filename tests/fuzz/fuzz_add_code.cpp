// AddCode on arbitrary bytes, then a few expressions that use what the code
// may have defined. Only a script error may come out; anything else (another
// exception, a crash, a sanitizer report, a hang) is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/conversions.h"
#include "script/engine.h"

namespace {

using ondrix::script::Engine;
using ondrix::script::ScriptError;

// Names the dictionary and the seeds define, so that calls reach the bodies.
constexpr std::string_view kProbes[] = {"x", "f(x)", "g(1, 2)", "f(f(2))", "a & b"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One engine for the whole run: Reset must forget everything of the input before.
    static Engine engine;
    engine.Reset();
    const std::string_view code(reinterpret_cast<const char*>(data), size);
    try {
        engine.AddCode(code);
    } catch (const ScriptError&) {
    }
    for (const std::string_view probe : kProbes) {
        try {
            const ondrix::script::Value value = engine.Eval(probe);
            if (!value.IsNull()) (void)ondrix::script::ToText(value, engine.Settings());
        } catch (const ScriptError&) {
        }
    }
    return 0;
}
