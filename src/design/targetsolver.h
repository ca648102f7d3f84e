#pragma once

#include "chipmodel.h"
#include "windowprobe.h"

#include <QString>
#include <QStringView>

// Choosing R1 and R2 for a wanted reference (RHi on "Ref Inp") and LED current: the slider
// positions whose window results come closest, judged by the sum of the two relative errors.
namespace kestrelon {

struct TargetSolution {
    double volts = 0; // the targets as the program's lenient parse reads them
    double milliamps = 0;
    bool usable = false;  // the positions below are a design that may be applied
    bool reached = false; // the formulas' R1 and R2 fit the sliders and the window shows them
    QString reason;       // why the target is not reached; empty when it is
    double exactR1 = 0;   // ohm, from R1 = reference / I_ref (may lie outside the slider)
    double exactR2 = 0;   // ohm, from R2 = V_adj / I_ref
    int hsR1 = 0;         // best positions
    int vsR2 = 0;
    QString lblR1; // what the window shows at those positions
    QString lblR2;
    QString lblRefo;
    QString lblmA;
    StandardPair e24; // nearest parts to the positions' resistances
    StandardPair e96;
};

// Solves for chip (0 or 1) with its other inputs as the window holds them.
TargetSolution solveTarget(const ChipModel& model, const PanelInputs& panel, int chip,
                           QStringView volts, QStringView milliamps);

// The dialog's text: the positions and what the window will show, the nearest E24 and E96
// parts, or why the target cannot be reached and the nearest design that can.
QString targetText(const TargetSolution& solution);

// The dialog's starting texts: the chip's reference and LED current as the window shows them.
struct TargetPrefill {
    QString volts;
    QString milliamps;
};
TargetPrefill targetPrefill(const ChipModel& model, int chip);

} // namespace kestrelon
