#include "windowprobe.h"

namespace kestrelon {

WindowProbe::WindowProbe(const ChipModel& model, const PanelInputs& panel, int chip) {
    // The chip runs alone as chip #1: reference and current do not depend on the other chip,
    // and a run without slave mode never touches it.
    m_panel.chip[0] = panel.chip[chip];
    m_model.ledColour[0] = model.ledColour[chip];
    m_model.ledVf[0] = model.ledVf[chip];
}

void WindowProbe::run(double R1, double R2) {
    m_model.state[0].R1 = R1;
    m_model.state[0].R2 = R2;
    m_model.calcChip1(m_panel);
}

void WindowProbe::runSliders(int hsR1, int vsR2) {
    m_model.setR1FromSlider(0, hsR1);
    m_model.setR2FromSlider(0, vsR2);
    m_model.calcChip1(m_panel);
}

StandardPair standardPair(WindowProbe& probe, double R1, double R2, Series series,
                          const StandardPair* known) {
    StandardPair pair{nearestStandard(R1, series), nearestStandard(R2, series), {}, {}};
    if (known && known->R1 == pair.R1 && known->R2 == pair.R2)
        return *known;
    if (pair.R1 > 0) {
        probe.run(pair.R1, pair.R2);
        pair.lblmA = probe.view().lblmA;
        pair.lblRefo = probe.view().lblRefo;
    }
    return pair;
}

} // namespace kestrelon
