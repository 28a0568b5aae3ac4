#include "plotter/form/readout.h"

#include <cmath>

#include "script/number_text.h"

namespace ondrix::window {

std::optional<std::string> ReadoutText(double x, double y, char decimalSeparator) {
    if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    return script::SevenDigitText(x, decimalSeparator) + " " +
           script::SevenDigitText(y, decimalSeparator);
}

}  // namespace ondrix::window
