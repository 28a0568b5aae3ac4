#pragma once

#include <string>

namespace ondrix::draw {

// The combination modes, in the order of the mode list.
enum CombineMode : int {
    kDrawSum = 0,
    kDontDrawSum = 1,
    kDrawSumOnly = 2,
    kDrawMult = 3,
    kDrawMultOnly = 4,
};

inline constexpr int kFormulaCount = 3;

// What drawing reads from the main window's controls, read when it is needed.
// The window answers from its widgets; tests answer with plain values.
class Controls {
  public:
    virtual ~Controls() = default;
    // The text of formula box k (0 to 2), unchanged.
    virtual std::string FormulaText(int k) const = 0;
    // "Don't clear the screen" is checked.
    virtual bool DontClearScreen() const = 0;
    // "Dots, not lines" is checked.
    virtual bool DotsNotLines() const = 0;
    // The selected combination mode; -1 when nothing is selected.
    virtual int Mode() const = 0;
    // Empties the three formula boxes, first to last.
    virtual void ClearFormulas() = 0;
};

}  // namespace ondrix::draw
