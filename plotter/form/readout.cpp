#include "plotter/form/readout.h"

#include "script/number_text.h"

namespace ondrix::window {

std::string ReadoutText(float x, float y, char decimalSeparator) {
    return script::SingleText(x, decimalSeparator) + " " + script::SingleText(y, decimalSeparator);
}

}  // namespace ondrix::window
