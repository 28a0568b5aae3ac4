#pragma once

// The engine's settings, in one object that the runtime carries to every
// operator, conversion and built-in.

#include <cstdint>

#include "script/limits.h"

namespace ondrix::script {

struct Context {
    // Stands between the whole and the fractional part when numbers become
    // text and when text is read as a number.
    char decimalSeparator = '.';
    // Evaluation steps one AddCode or Eval call may take (see limits.h).
    std::uint64_t stepLimit = limits::kDefaultStepLimit;
    // Formulas that are Double in, Double out run as Double programs.
    bool doubleRoad = true;
};

}  // namespace ondrix::script
