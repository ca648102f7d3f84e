#pragma once

#include "colours.h"

#include <QString>

#include <array>
#include <cstdint>

namespace kestrelon {

// A snapshot of one chip's input controls, as the window holds them.
struct ChipInputs {
    QString txtLED;
    QString Text1;
    QString txtVin;
    QString txtRLo;
    QString txtRHi;
    int vsVin = 0;
    int vsRLo = 0;
    int vsRHi = 0;
    std::array<bool, 2> optRLo{};  // "0V", "Vext Lo"
    std::array<bool, 2> optRHi{};  // "Ref Inp", "+Vext Hi"
    std::array<bool, 2> optMode{}; // "Bar/+V", "Dot/o.c"

    bool operator==(const ChipInputs&) const = default;
};

struct PanelInputs {
    std::array<ChipInputs, 2> chip;
    bool slave = false; // chkSlave checked
};

// Everything the window shows for one chip, named after the controls. The window loads it from
// what its read-outs show before each run and shows it again after; a run assigns only what
// its steps reach, so the rest keeps what was shown, and the RLo and RHi labels are read back
// as shown.
struct ChipView {
    QString lblR1;
    QString lblVin;
    QString lblmA;
    std::uint32_t lblmAForeColor = 0;
    bool timerEnabled = true;
    QString lblRefo;
    QString Label9;
    std::uint32_t Label9BackColor = kInactiveCaption;
    QString lblR2;
    QString lblRadj;
    QString lblRLo;
    QString lblRHi;
    QString lblVmin;
    QString lblVmax;
    QString lblGap;
    std::array<std::uint32_t, 11> shpLED{}; // 0 is the over-range indicator
    QString lblRlim;
    QString lblWatts;
    bool lblRlimVisible = true;
    bool lblWarnVisible = true;
    bool lineRlimVisible = true;
    bool lblWattsVisible = true;

    bool operator==(const ChipView&) const = default;
};

} // namespace kestrelon
