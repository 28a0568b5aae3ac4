#pragma once

#include <optional>
#include <string>

namespace ondrix::window {

// The status bar's read-out of a plane point: x, one blank, y, each in the
// form a 32-bit float prints (at most 7 significant digits, trailing zeros
// dropped, no leading blank) with the given decimal separator, whatever the
// magnitude ("5.602654E+42"). Empty when a coordinate is not a finite number:
// such a value is never shown as one.
std::optional<std::string> ReadoutText(double x, double y, char decimalSeparator);

}  // namespace ondrix::window
