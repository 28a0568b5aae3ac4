#include "script/engine.h"

#include <functional>
#include <limits>
#include <string>
#include <unordered_map>

#include "script/errors.h"
#include "script/lexer.h"
#include "script/limits.h"
#include "script/number_text.h"
#include "script/parser.h"
#include "script/runtime.h"
#include "script/value.h"

namespace ondrix::script {
namespace {

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A name a statement can assign: a letter, then letters, digits or "_", and
// no reserved word.
bool IsVariableName(std::string_view name) {
    if (name.empty() || !IsLetter(name[0])) return false;
    for (char c : name)
        if (!IsNameChar(c)) return false;
    return !IsReservedWord(name);
}

// Recognises "name = [sign] number" exactly, the form of the statement that
// hands the abscissa to the engine at every point. Anything else (including a
// reserved word as the name) is left to the full parser.
bool MatchNumberAssignment(std::string_view s, std::string_view& name, Value& value) {
    std::size_t p = 0;
    while (p < s.size() && IsBlank(s[p])) ++p;
    std::size_t nameStart = p;
    if (p >= s.size() || !IsLetter(s[p])) return false;
    while (p < s.size() && IsNameChar(s[p])) ++p;
    name = s.substr(nameStart, p - nameStart);
    while (p < s.size() && IsBlank(s[p])) ++p;
    if (p >= s.size() || s[p] != '=') return false;
    ++p;
    while (p < s.size() && IsBlank(s[p])) ++p;
    bool negative = false;
    if (p < s.size() && (s[p] == '-' || s[p] == '+')) {
        negative = s[p] == '-';
        ++p;
        while (p < s.size() && IsBlank(s[p])) ++p;
    }
    // The number: digits, a point and a decimal exponent, nothing else (&H
    // forms and anything odd go to the parser).
    std::size_t numberStart = p;
    bool real = false;
    while (p < s.size()) {
        char c = s[p];
        if (c >= '0' && c <= '9') {
        } else if (c == '.' || c == 'e' || c == 'E') {
            real = true;
        } else if ((c == '+' || c == '-') && p > numberStart &&
                   (s[p - 1] == 'e' || s[p - 1] == 'E')) {
        } else {
            break;
        }
        ++p;
    }
    std::string_view number = s.substr(numberStart, p - numberStart);
    if (number.empty() || number[0] == '+' || number[0] == '-') return false;
    while (p < s.size() && IsBlank(s[p])) ++p;
    if (p != s.size()) return false;
    double v = 0;
    if (ParseNumberText(number, '.', v) != TextNumber::kOk) return false;
    // The name must not be a reserved word ("If = 1" is a syntax error).
    if (IsReservedWord(name)) return false;
    // The subtype a literal of this form has: whole numbers are Integer or
    // Long while they fit.
    if (real || v > std::numeric_limits<std::int32_t>::max()) {
        value = Value::Double(v);
    } else if (v <= std::numeric_limits<std::int16_t>::max()) {
        value = Value::Integer(static_cast<std::int16_t>(v));
    } else {
        value = Value::Long(static_cast<std::int32_t>(v));
    }
    if (negative) value = ApplyUnary(UnaryOp::kNegate, value, Context{});
    return true;
}

}  // namespace

struct Engine::Impl {
    Runtime rt;
    std::unordered_map<std::string, std::unique_ptr<ParsedExpression>, TextHash, std::equal_to<>>
        cache;
    // The text Eval saw last and its parse: a redraw evaluates one formula at
    // every point, so most look-ups end here without hashing.
    std::string lastText;
    const ParsedExpression* lastParsed = nullptr;
    // Likewise the variable the last number assignment set (the x statement).
    std::string lastName;
    std::uint32_t lastSymbol = 0;

    void Clear() {
        cache.clear();
        lastParsed = nullptr;
        lastText.clear();
        lastName.clear();
        rt.Clear();
    }

    void CheckLength(std::string_view text) const {
        if (text.size() > limits::kMaxSourceLength) Raise(kOutOfMemory);
    }

    const ParsedExpression& Parsed(std::string_view text) {
        if (lastParsed && text == lastText) return *lastParsed;
        const ParsedExpression& p = Lookup(text);
        lastText.assign(text);
        lastParsed = &p;
        return p;
    }

    const ParsedExpression& Lookup(std::string_view text) {
        auto it = cache.find(text);
        if (it != cache.end()) return *it->second;
        auto parsed = std::make_unique<ParsedExpression>();
        try {
            *parsed = ParseExpressionText(text, rt.symbols);
        } catch (const ScriptError& e) {
            parsed = std::make_unique<ParsedExpression>();
            parsed->errorNumber = e.number();
            parsed->errorText = e.description();
        }
        if (cache.size() >= limits::kMaxCachedExpressions) {
            cache.clear();
            lastParsed = nullptr;
        }
        return *cache.emplace(std::string(text), std::move(parsed)).first->second;
    }

    bool TryNumberAssignment(std::string_view text) {
        std::string_view name;
        Value value;
        if (!MatchNumberAssignment(text, name, value)) return false;
        Assign(name, std::move(value));
        return true;
    }

    void Assign(std::string_view name, Value value) {
        if (lastName.empty() || name != lastName) {
            lastSymbol = rt.symbols.Intern(name);
            lastName.assign(name);
        }
        Symbol& s = rt.symbols[lastSymbol];
        if (s.procedure) RaiseNamed(kIllegalAssignment, s.name);
        s.value = std::move(value);
        s.defined = true;
    }
};

Engine::Engine() : impl_(std::make_unique<Impl>()) {}
Engine::~Engine() = default;

void Engine::Reset() {
    impl_->Clear();
}

void Engine::AddCode(std::string_view code) {
    Impl& m = *impl_;
    m.CheckLength(code);
    if (m.TryNumberAssignment(code)) return;
    ParsedProgram program = ParseProgramText(code, m.rt.symbols);
    // Procedures exist before the global statements run, so those may call
    // procedures defined further down the same text.
    for (auto& proc : program.procedures) m.rt.symbols[proc->symbol].procedure = proc;
    m.rt.BeginCall();
    ExecuteBlock(program.statements, m.rt);
}

Value Engine::Eval(std::string_view expression) {
    Impl& m = *impl_;
    m.CheckLength(expression);
    const ParsedExpression& parsed = m.Parsed(expression);
    if (parsed.errorNumber != 0) throw ScriptError(parsed.errorNumber, parsed.errorText);
    if (!parsed.root) return Value();
    m.rt.BeginCall();
    return parsed.root->Evaluate(m.rt);
}

void Engine::SetVariable(std::string_view name, Value value) {
    Impl& m = *impl_;
    // The name must be one the statement could assign; the last one was.
    if ((m.lastName.empty() || name != m.lastName) && !IsVariableName(name)) Raise(kSyntaxError);
    m.Assign(name, std::move(value));
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

}  // namespace ondrix::script
