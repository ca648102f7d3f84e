#pragma once

#include "chipdesign.h"
#include "chipmodel.h"
#include "settingsstore.h"

#include <QHash>
#include <QString>

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

// The window's controls as designed, before anything is restored, by object name ("hsR1_0"):
// a text box's text, a slider's value, an option's 1 or 0. An entry that does not restore
// leaves its control so; a control missing here starts as an empty store leaves it.
using DesignedValues = QHash<QString, QString>;

// The ambient temperature a design's checks assume, °C: the stored one or the default.
double designAmbient(const SettingsStore& store);

StoredDesign storedDesign(const SettingsStore& store, const DesignedValues& designed = {});

} // namespace kestrelon
