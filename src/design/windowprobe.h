#pragma once

#include "chipmodel.h"
#include "standardvalues.h"

#include <QString>

namespace kestrelon {

// What the window would show for one chip with other resistors in place: the chip's own inputs
// run through the window's own calculation on a scratch model, so the figures always agree with
// the window.
class WindowProbe {
public:
    WindowProbe(const ChipModel& model, const PanelInputs& panel, int chip);

    // Runs the calculation with R1 and R2 in ohms; state() and view() then hold its results.
    void run(double R1, double R2);
    // The same for slider positions, as the sliders' handlers convert them.
    void runSliders(int hsR1, int vsR2);

    const ChipState& state() const { return m_model.state[0]; }
    const ChipView& view() const { return m_model.view[0]; }

private:
    ChipModel m_model;
    PanelInputs m_panel;
};

// R1 and R2 replaced by the nearest parts of one series, and what the window then shows.
struct StandardPair {
    double R1 = 0; // ohm; 0 when there is no such part
    double R2 = 0; // ohm; 0 also for R2 = 0, a wire link
    QString lblmA; // empty when R1 has no part
    QString lblRefo;
};

// The nearest parts of series to R1 and R2, and the window's captions with them. known, when
// given, is a pair worked out before on the same chip supply: for the same parts its captions
// serve again, which spares a run while a slider moves within one part's reach.
StandardPair standardPair(WindowProbe& probe, double R1, double R2, Series series,
                          const StandardPair* known = nullptr);

} // namespace kestrelon
