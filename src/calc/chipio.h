#pragma once

#include "chipsheet.h"
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
    ChipKind kind = ChipKind::LM3914;

    bool operator==(const ChipInputs&) const = default;
};

struct PanelInputs {
    std::array<ChipInputs, 2> chip;
    bool slave = false; // chkSlave checked
};

// What one run of a chip's calculation found, as numbers and flags; the figures themselves are
// in the chip's ChipState. A step that a run skips leaves its flags as they were.
struct ChipResult {
    ChipKind kind = ChipKind::LM3914;
    bool currentSet = false;       // R1 > 0: current, reference and its limit were worked out
    bool overCurrent = false;      // LED current above kLedCurrentWarning
    bool referenceLimited = false; // reference pulled to V+ less the dropout
    bool rLoSet = false;           // an RLo option was selected, so VrLo is this run's
    bool rHiSet = false;
    double firstStep = 0;       // V, LED 1's threshold above RLo
    bool ledsSet = false;       // a mode was selected, so `lit` is this run's
    std::array<bool, 11> lit{}; // LEDs 1..10; 0 is the over-range indicator
    bool overRange = false;
    bool resistorSized = false;    // bar mode proposed a resistor: Rlim, PRlim, Pchip are new
    bool resistorDecided = false;  // a mode was selected, so `resistorProposed` is this run's
    bool resistorProposed = false; // the limiting resistor is shown

    int litCount() const {
        int n = 0;
        for (std::size_t i = 1; i < lit.size(); ++i)
            n += lit[i] ? 1 : 0;
        return n;
    }

    bool operator==(const ChipResult&) const = default;
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
    QString Label3;                         // the chip's title, "1st LM3914"
    QString lblWarn;                        // "Rlim for LM3914 = 1Wmax"
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
