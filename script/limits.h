#pragma once

// Bounds that keep any input, however hostile, from crashing, hanging or
// exhausting memory. Each one turns into an ordinary script error.

#include <cstddef>
#include <cstdint>

namespace ondrix::script::limits {

// Deepest nesting the parser accepts (parentheses, unary operators, nested
// If blocks, argument lists). The parser is recursive; beyond this it stops
// with error 28 instead of running off the C++ stack.
inline constexpr int kMaxParseNesting = 200;

// Deepest run-time recursion: every operator, call and nested block counts one
// level. Script recursion (a Function calling itself) reaches this through
// its calls; error 28 "Out of stack space" is raised beyond it, as VBScript
// does when its own stack runs out.
inline constexpr int kMaxEvalDepth = 3000;

// Work allowed for one AddCode or Eval call, in evaluation steps (operators,
// calls, statements). Without loops in the language, only runaway recursion
// such as f = f(n - 1) + f(n - 1) can exceed it; it stands in for VBScript's
// "Out of stack space" (28) rather than a new error number, so callers see
// one familiar error for "this recursion went too far". About ten to fifty
// milliseconds of work on a desktop machine.
inline constexpr std::uint64_t kDefaultStepLimit = 1'000'000;

// Longest string value (in bytes). Concatenation or String()/Space() beyond
// it raise error 14 "Out of string space".
inline constexpr std::size_t kMaxStringLength = 1u << 20;

// Longest code text that AddCode or Eval accepts, in bytes; longer texts
// raise error 7 "Out of memory" before anything is parsed.
inline constexpr std::size_t kMaxSourceLength = 1u << 20;

// Parsed Eval texts kept between calls; the cache is emptied when full so
// that a stream of distinct texts cannot grow memory without bound.
inline constexpr std::size_t kMaxCachedExpressions = 256;

}  // namespace ondrix::script::limits
