#pragma once

#include <string>

namespace ondrix::window {

// The status bar's read-out of a plane point: x, one blank, y, each as a
// 32-bit float prints (at most 7 significant digits) with the given decimal
// separator.
std::string ReadoutText(float x, float y, char decimalSeparator);

}  // namespace ondrix::window
