#pragma once

#include "chipdesign.h"

#include <QString>

namespace kestrelon {

// The whole two-chip design as an ngspice netlist, of each chip's real circuit
// (ChipDesign::circuit): each chip kind as a behavioural subcircuit (reference with its adjust-pin
// current, the internal divider, ten comparators, outputs at ten times the reference current that
// need their dropout, bar and dot mode), R1 and R2, the RHi and RLo connections, the supplies, any
// limiting resistor and the LEDs as diodes. A DC sweep moves both signals over their full scale
// together, as the signal sliders from 0 to 1000, and the .control block prints every LED's current
// against them.
//
// Nodes and sources the simulation's output names: the signals V(SIG1), V(SIG2); LED n of chip k
// has its current in I(VDk_n), positive while it is lit.
QString spiceNetlist(const ChipDesign& chip1, const ChipDesign& chip2);

} // namespace kestrelon
