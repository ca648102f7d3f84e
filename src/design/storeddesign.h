#pragma once

#include "chipdesign.h"
#include "chipmodel.h"
#include "settingsstore.h"

#include <array>

namespace kestrelon {

// A stored design worked out without a window: the inputs a start-up would restore from the
// store, both chips calculated as the window calculates them once it has started, and the
// design assistant's figures. Slave mode is off, as after a start.
struct StoredDesign {
    PanelInputs panel;
    ChipModel model;
    std::array<ChipDesign, 2> chips;
};

StoredDesign storedDesign(const SettingsStore& store);

} // namespace kestrelon
