// ondrix-script: drives the formula engine line by line from standard input,
// for trying formulas by hand and for scripted checks.
//
//   ondrix-script [--preamble] [--decimal C]
//
// A line starting with "?" is evaluated and prints "TypeName<TAB>text"; any
// other non-empty line is added as code and prints nothing. A failure prints
// "Error<TAB>number<TAB>description". The exit code is 0 at the end of input.

#include <iostream>
#include <string>
#include <string_view>

#include "plotter/eval/formula.h"
#include "script/conversions.h"
#include "script/engine.h"

namespace {

constexpr int kUsageExitCode = 2;

void PrintUsage() {
    std::cerr << "usage: ondrix-script [--preamble] [--decimal C]\n";
}

// The text of a value as CStr gives it; Null, which CStr refuses, shows as
// nothing after its type name.
std::string ValueText(const ondrix::script::Value& v, const ondrix::script::Context& context) {
    if (v.IsNull()) return {};
    return ondrix::script::ToText(v, context);
}

}  // namespace

int main(int argc, char** argv) {
    bool preamble = false;
    char separator = '.';
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--preamble") {
            preamble = true;
        } else if (arg == "--decimal" && i + 1 < argc &&
                   std::string_view(argv[i + 1]).size() == 1) {
            separator = argv[++i][0];
        } else {
            PrintUsage();
            return kUsageExitCode;
        }
    }

    ondrix::script::Engine engine;
    engine.SetDecimalSeparator(separator);
    try {
        if (preamble) ondrix::eval::PrepareScriptEngine(engine);
    } catch (const ondrix::script::ScriptError& e) {
        std::cout << "Error\t" << e.number() << '\t' << e.description() << '\n';
    }

    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        try {
            if (line[0] == '?') {
                ondrix::script::Value v = engine.Eval(std::string_view(line).substr(1));
                std::cout << ondrix::script::TypeName(v) << '\t' << ValueText(v, engine.Settings())
                          << '\n';
            } else {
                engine.AddCode(line);
            }
        } catch (const ondrix::script::ScriptError& e) {
            std::cout << "Error\t" << e.number() << '\t' << e.description() << '\n';
        }
        std::cout.flush();
    }
    return 0;
}
