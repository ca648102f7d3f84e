#pragma once

#include "layouttypes.h"

#include <QString>

namespace kestrelon {

namespace ui {
class Canvas;
}

// Turns the design table into widgets, shapes and lines on the canvas, each named after its
// control ("hsR1_0", "chkSlave"), and sets the tab order. Connects nothing.
void buildForm(const layout::Table& table, ui::Canvas* canvas);

} // namespace kestrelon
