#include "script/engine.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>

#include "script/errors.h"
#include "script/lexer.h"
#include "script/limits.h"
#include "script/parser.h"
#include "script/real_program.h"
#include "script/runtime.h"
#include "script/value.h"

namespace ondrix::script {
namespace {

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// A name a statement can assign: a letter, then letters, digits or "_", and
// no reserved word.
bool IsVariableName(std::string_view name) {
    return !name.empty() && IsLetter(name[0]) && std::ranges::all_of(name, IsNameChar) &&
           !IsReservedWord(name);
}

// Whether n characters, sizeof(Word) <= n <= 2 * sizeof(Word), are equal,
// compared as their first and last Word (which may overlap).
template <typename Word>
bool SameEnds(const char* a, const char* b, std::size_t n) {
    Word w[4];
    std::memcpy(&w[0], a, sizeof(Word));
    std::memcpy(&w[1], b, sizeof(Word));
    std::memcpy(&w[2], a + n - sizeof(Word), sizeof(Word));
    std::memcpy(&w[3], b + n - sizeof(Word), sizeof(Word));
    return w[0] == w[1] && w[2] == w[3];
}

// Equal texts; a name or formula of up to 16 characters, the usual case, is
// compared in a few word loads without a call.
[[gnu::always_inline]] inline bool SameText(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size() || n > 16) return n == b.size() && a == b;
    if (n >= 8) return SameEnds<std::uint64_t>(a.data(), b.data(), n);
    if (n >= 4) return SameEnds<std::uint32_t>(a.data(), b.data(), n);
    return n < 2 ? n == 0 || a[0] == b[0] : SameEnds<std::uint16_t>(a.data(), b.data(), n);
}

void CheckLength(std::string_view text) {
    if (text.size() > limits::kMaxSourceLength) Raise(kOutOfMemory);
}

}  // namespace

// One parsed Eval text and its Double program (null when it has none).
struct CachedExpression {
    ParsedExpression parsed;
    std::unique_ptr<RealProgram> program;
    std::uint64_t programGeneration = 0;
};

struct Engine::Impl {
    Runtime rt;
    std::unordered_map<std::string, std::unique_ptr<CachedExpression>, TextHash, std::equal_to<>>
        cache;
    // Counts AddCode and Reset calls: programs inline procedures as they were.
    std::uint64_t generation = 1;
    bool usedDoubleRoad = false;
    // The text Eval saw last and its parse: a redraw evaluates one formula at
    // every point, so most look-ups end here without hashing.
    std::string lastText;
    CachedExpression* lastParsed = nullptr;
    // Likewise the variable SetVariable set last (the abscissa).
    std::string lastName;
    Symbol* lastSymbol = nullptr;

    void Clear() {
        cache.clear();
        ++generation;
        lastParsed = nullptr;
        lastText.clear();
        lastName.clear();
        rt.Clear();
    }

    CachedExpression& Parsed(std::string_view text) {
        if (lastParsed && SameText(text, lastText)) [[likely]]
            return *lastParsed;
        return Look(text);
    }

    // The Double program of a text, built once per generation; none for a
    // text that failed to parse or is empty.
    [[gnu::noinline]] void Build(CachedExpression& entry) {
        const ParsedExpression& parsed = entry.parsed;
        entry.program = parsed.root && parsed.errorNumber == 0
                            ? RealProgram::Build(*parsed.root, rt.symbols)
                            : nullptr;
        entry.programGeneration = generation;
    }

    // Eval on the general road.
    [[gnu::noinline]] Value EvalGeneral(const ParsedExpression& parsed) {
        usedDoubleRoad = false;
        if (parsed.errorNumber != 0) throw ScriptError(parsed.errorNumber, parsed.errorText);
        if (!parsed.root) return Value();
        rt.BeginCall();
        return parsed.root->Evaluate(rt);
    }

    [[gnu::noinline]] CachedExpression& Look(std::string_view text) {
        auto it = cache.find(text);
        if (it == cache.end()) {
            auto entry = std::make_unique<CachedExpression>();
            ParsedExpression& parsed = entry->parsed;
            try {
                parsed = ParseExpressionText(text, rt.symbols);
            } catch (const ScriptError& e) {
                parsed.errorNumber = e.number();
                parsed.errorText = e.description();
            }
            if (cache.size() >= limits::kMaxCachedExpressions) {
                cache.clear();
                lastParsed = nullptr;
            }
            it = cache.emplace(std::string(text), std::move(entry)).first;
        }
        lastText.assign(text);
        lastParsed = it->second.get();
        return *lastParsed;
    }
};

Engine::Engine() : impl_(std::make_unique<Impl>()) {}
Engine::~Engine() = default;

void Engine::Reset() {
    impl_->Clear();
}

void Engine::AddCode(std::string_view code) {
    Impl& m = *impl_;
    CheckLength(code);
    ++m.generation;
    ParsedProgram program = ParseProgramText(code, m.rt.symbols);
    // Procedures exist before the global statements run, so those may call
    // procedures defined further down the same text.
    for (auto& proc : program.procedures) m.rt.symbols[proc->symbol].procedure = proc;
    m.rt.BeginCall();
    ExecuteBlock(program.statements, m.rt);
}

Value Engine::Eval(std::string_view expression) {
    Impl& m = *impl_;
    CheckLength(expression);
    CachedExpression& entry = m.Parsed(expression);
    if (entry.programGeneration != m.generation) m.Build(entry);
    if (entry.program && m.rt.context.doubleRoad) {
        m.usedDoubleRoad = true;  // also when the run raises
        double r;
        if (entry.program->Run(m.rt.context, r)) return Value::Double(r);
    }
    return m.EvalGeneral(entry.parsed);
}

void Engine::SetVariable(std::string_view name, Value value) {
    Impl& m = *impl_;
    if (m.lastName.empty() || !SameText(name, m.lastName)) {
        // The name must be one the statement could assign; the last one was.
        if (!IsVariableName(name)) Raise(kSyntaxError);
        m.lastSymbol = &m.rt.symbols[m.rt.symbols.Intern(name)];
        m.lastName.assign(name);
    }
    AssignGlobal(*m.lastSymbol, std::move(value));
}

void Engine::SetDecimalSeparator(char separator) {
    impl_->rt.context.decimalSeparator = separator;
}
const Context& Engine::Settings() const {
    return impl_->rt.context;
}
char Engine::DecimalSeparator() const {
    return impl_->rt.context.decimalSeparator;
}

void Engine::SetStepLimit(std::uint64_t steps) {
    impl_->rt.context.stepLimit = steps;
}

void Engine::SetDoubleRoad(bool enabled) {
    impl_->rt.context.doubleRoad = enabled;
}
bool Engine::UsedDoubleRoad() const {
    return impl_->usedDoubleRoad;
}

}  // namespace ondrix::script
