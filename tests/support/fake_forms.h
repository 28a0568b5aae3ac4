#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "plotter/form/forms.h"

namespace ondrix::testing {

// The forms runtime answered with plain values: controls are fields, and
// every geometry, scroll limit, window box and status text set is kept.
struct FakeForms : window::Forms {
    std::array<std::string, draw::kFormulaCount> texts{"x", "", ""};
    bool check1 = false;
    bool check3 = false;
    int listIndex = -1;
    window::Size client{657, 761};
    window::Size screen{1024, 768};
    bool minimized = false;
    char separator = '.';

    std::map<window::Control, window::Box> boxes;
    struct Limits {
        int min = 0;
        int max = 0;
    };
    std::map<window::Control, Limits> limits;
    std::vector<window::Box> windowBoxes;
    std::string statusText;
    int aboutShown = 0;
    int ended = 0;

    std::string Text(int k) const override { return texts[k]; }
    void SetText(int k, const std::string& text) override { texts[k] = text; }
    bool Checked(window::Control box) const override {
        return box == window::Control::Check1 ? check1 : box == window::Control::Check3 && check3;
    }
    int ListIndex() const override { return listIndex; }
    void SetListIndex(int index) override { listIndex = index; }
    void SetGeometry(window::Control control, const window::Box& box) override {
        boxes[control] = box;
    }
    void SetScrollLimits(window::Control bar, int min, int max) override {
        limits[bar] = {min, max};
    }
    void SetStatusText(const std::string& text) override { statusText = text; }
    window::Size ClientSize() const override { return client; }
    window::Size ScreenSize() const override { return screen; }
    void SetWindowBox(const window::Box& outer) override { windowBoxes.push_back(outer); }
    bool Minimized() const override { return minimized; }
    char DecimalSeparator() const override { return separator; }
    void ShowAbout() override { ++aboutShown; }
    void End() override { ++ended; }
};

}  // namespace ondrix::testing
