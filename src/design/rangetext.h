#pragma once

#include "rangedesign.h"

#include <QString>

#include <array>
#include <string_view>
#include <vector>

// What a range design says to the user, and what of it the main window can show.
namespace kestrelon {

// The answer in a few lines: the input divider, each chip's parts and connections, the checks'
// verdict; or why the range cannot be made and the nearest range that can.
QString rangeAnswer(const RangeDesign& d);

// One row of the thresholds table: LED number, asked, nominal, lowest and highest.
std::array<QString, 5> rangeThresholdCells(const RangeDesign& d, std::size_t led);

// The whole answer as text: the answer, every threshold, every check and the parts list.
QString rangeReport(const RangeDesign& d);

// One input of the main window set as a user would.
struct WindowEdit {
    enum class Kind { Text, Slider, Option, Check };
    Kind kind = Kind::Text;
    std::string_view control; // "txtRLo", "optRLo1"
    int index = 0;            // the control-array element; for options the option's element
    QString text;
    int value = 0; // slider position; 1 selects an option or checks the box
};

// The window's inputs that show the design: supplies, full scale, RHi and RLo, R1 and R2 on the
// sliders, the mode and, for twenty LEDs, the slave box. Empty when nothing was designed.
std::vector<WindowEdit> rangeWindowEdits(const RangeDesign& d);

} // namespace kestrelon
