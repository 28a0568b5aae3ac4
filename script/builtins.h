#pragma once

// The built-in functions a formula can call: maths, conversions, type tests
// and string functions.

#include <cstdint>
#include <span>
#include <string_view>

#include "script/context.h"
#include "script/value.h"

namespace ondrix::script {

struct RandomState;

// What a built-in may use beside its arguments: the engine's settings and the
// Rnd generator.
struct BuiltinContext {
    const Context& context;
    RandomState& random;
};

using BuiltinFunction = Value (*)(std::span<const Value> args, BuiltinContext& ctx);

// A built-in's Double road: a Double argument gives this Double or raises.
using RealFunction = double (*)(double);

struct Builtin {
    std::string_view name;  // lower case
    std::uint8_t minArgs;
    std::uint8_t maxArgs;
    BuiltinFunction function;
    RealFunction real = nullptr;  // set for Sin, Cos, Tan, Atn, Exp, Log and Sqr
};

// Most arguments any built-in takes.
inline constexpr std::size_t kMaxBuiltinArgs = 4;

// The built-in with this lower-case name, or null.
const Builtin* FindBuiltin(std::string_view lowerName);

// Advances the generator and returns the next number in [0, 1), as Rnd does.
float NextRandom(RandomState& state);
// Mixes a number into the seed, as Randomize does.
void SeedRandom(RandomState& state, double seed);

}  // namespace ondrix::script
