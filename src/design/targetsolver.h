#pragma once

#include "chipmodel.h"
#include "realchip.h"
#include "windowprobe.h"

#include <QString>
#include <QStringView>

// Choosing R1 and R2 for a wanted reference (RHi on "Ref Inp") and LED current: the slider
// positions whose figures come closest, on a real chip or as the window shows them. The reference
// comes first: within half a per cent it counts as on target, and among those the smaller sum of
// both relative errors wins (targetCost). A position is a design only while the window shows its
// reference unlimited and the reference judged stays within V+ - 1.5 V.
namespace kestrelon {

// Whose figures the solver matches to the target.
enum class TargetModel { RealChip, Window };

struct TargetSolution {
    double volts = 0; // the targets as the program's lenient parse reads them
    double milliamps = 0;
    TargetModel model = TargetModel::RealChip;
    bool usable = false;  // the positions below are a design that may be applied
    bool reached = false; // both figures within half a per cent of the target
    QString reason;       // why the target is not reached; empty when it is
    double exactR1 = 0;   // ohm, from R1 = 1.25 V / I_ref (may lie outside the slider)
    double exactR2 = 0;   // ohm, from R2 = V_adj / I_ref
    int hsR1 = 0;         // best positions
    int vsR2 = 0;
    QString lblR1; // what the window shows at those positions
    QString lblR2;
    QString lblRefo;
    QString lblmA;
    StandardPair e24; // nearest parts to the positions' resistances
    StandardPair e96;

    TargetCost cost;        // of the positions, in the model's figures
    double windowVolts = 0; // what the window shows at the positions
    double windowMilliamps = 0;
    Band realVolts; // what a real chip does there (nominal and band)
    Band realMilliamps;
    RealPair pairE24; // parts chosen together for the target on a real chip
    RealPair pairE96;
};

// Solves for chip (0 or 1) with its other inputs as the window holds them. corner, when given,
// is the real chip to match instead of the nominal one.
TargetSolution solveTarget(const ChipModel& model, const PanelInputs& panel, int chip,
                           QStringView volts, QStringView milliamps,
                           TargetModel targetModel = TargetModel::RealChip,
                           const Corner* corner = nullptr);

// The chip's circuit as the solver sees it, with R1 and R2 from the slider positions.
RealCircuit targetCircuit(const ChipModel& model, const PanelInputs& panel, int chip, int hsR1,
                          int vsR2);

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
