#pragma once

#include <functional>
#include <optional>

class QAccessibleInterface;

// Sliders as screen readers meet them: a slider, not a scroll bar, whose value is the design
// value.
namespace kestrelon::ui {

class ScrollBar;

// While `followed` gives a value, the slider stands for another control's setting: that value is
// its accessible value, and a screen reader cannot set it.
void setSliderFollows(ScrollBar* bar, std::function<std::optional<int>()> followed);

QAccessibleInterface* accessibleSlider(ScrollBar* bar);

} // namespace kestrelon::ui
