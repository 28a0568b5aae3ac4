#pragma once

#include <array>
#include <string>

#include "plotter/draw/controls.h"

namespace ondrix::testing {

// Controls answered with plain values.
struct FakeControls : draw::Controls {
    std::array<std::string, draw::kFormulaCount> formulas{"x", "", ""};
    bool dontClear = false;
    bool dots = false;
    int mode = draw::kDontDrawSum;

    std::string FormulaText(int k) const override { return formulas[k]; }
    bool DontClearScreen() const override { return dontClear; }
    bool DotsNotLines() const override { return dots; }
    int Mode() const override { return mode; }
    void ClearFormulas() override { formulas = {"", "", ""}; }
};

}  // namespace ondrix::testing
