#pragma once

#include "chipdesign.h"

#include <QString>

namespace kestrelon {

// Tooltip texts for the read-outs and sliders that carry none by design, named after the
// controls. Short plain sentences, one to a line, with figures and units; the window shows each
// as the control's tooltip and accessible description.
struct ChipHints {
    QString lblmA;    // data-sheet LED current, its spread and what loads the reference
    QString lblRefo;  // data-sheet reference and its band; reference and supply checks
    QString lblRLo;   // the RLo end against the chip's limits
    QString lblRHi;   // the RHi end and the signal's full scale against the chip's limits
    QString lblGap;   // span and step checks
    QString lblWatts; // realistic chip dissipation; LED supply check
    QString lblWarn;  // the limiting resistor to buy
    QString hsR1;     // R1's standard parts and what the window shows with them
    QString vsR2;     // R2's likewise
};

ChipHints chipHints(const ChipDesign& d);

// One line for the chip's failed checks: how many, and the worst in full ("Chip 1: The real
// reference is 5.14 V …, and 2 more failed checks."), or that all pass.
QString checkSummary(const ChipDesign& d);
// Every check of the chip, one to a line, each marked "ok" or "WARNING".
QString checkList(const ChipDesign& d);

} // namespace kestrelon
