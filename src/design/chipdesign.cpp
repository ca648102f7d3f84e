#include "chipdesign.h"

#include "conversions.h"
#include "designchecks.h"
#include "standardvalues.h"
#include "windowprobe.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrelon {

namespace {

// Data-sheet reference: the tested band across R1 around the nominal, plus the adjust pin's
// current through R2.
Band referenceBand(double R1, double R2) {
    const double gain = R1 > 0 ? 1 + R2 / R1 : std::numeric_limits<double>::quiet_NaN();
    const Spread& v = kFamily.reference;
    const Spread& adj = kFamily.adjustCurrent;
    return {v.min * gain + adj.typ * R2, kFamily.referenceNominal * gain + adj.typ * R2,
            v.max * gain + adj.max * R2};
}

// Chip power with n LEDs of iled amperes lit from the LED supply through r ohms, plus standby.
double chipPower(int n, double iled, const ChipDesign& d, double r) {
    const double current = n * iled;
    const double acrossOutputs = std::max(0.0, d.ledSupply - d.ledVf - r * current);
    return current * acrossOutputs + std::max(0.0, d.vplus) * kStandbyCurrent;
}

} // namespace

const Check* ChipDesign::check(CheckId id) const {
    for (const Check& c : checks)
        if (c.id == id)
            return &c;
    return nullptr;
}

ChipDesign designChip(const ChipModel& model, const PanelInputs& panel, int chip,
                      QStringView ledColour, const ChipDesign* previous) {
    ChipDesign d;
    d.chip = chip;
    d.slave = panel.slave;
    d.inputs = panel.chip[chip];
    d.state = model.state[chip];
    d.view = model.view[chip];
    d.result = model.result[chip];
    d.ledColour = ledColour.toString();
    d.ledVf = model.ledVf[chip];
    d.litColour = model.ledColour[chip];

    const ChipInputs& in = d.inputs;
    const ChipState& s = d.state;
    d.vplus = parse(in.Text1);
    d.ledSupply = parse(in.txtLED);
    const ChipInputs& signalSource = chip == 1 && panel.slave ? panel.chip[0] : in;
    d.signalFullScale = parse(signalSource.txtVin);
    d.headroom = d.vplus - kDropout;

    d.vref = referenceBand(s.R1, s.R2);
    d.loadR1 = s.R1 > 0 ? kFamily.referenceNominal / s.R1 * 1000
                        : std::numeric_limits<double>::quiet_NaN();
    // The internal divider loads the reference only while RHi hangs on it.
    d.loadDivider =
        in.optRHi[0] ? (d.vref.nominal - s.VrLo) / (chipSpec(in.kind).dividerNominal / 1000) : 0;
    const double nominal = 10 * (d.loadR1 + d.loadDivider);
    d.iled = {0.7 * nominal, nominal, 1.3 * nominal};

    // The parts' captions depend on the supply besides R1 and R2 (the reference limit).
    const bool sameSupply =
        previous && previous->chip == chip && previous->inputs.Text1 == in.Text1;
    WindowProbe probe(model, panel, chip);
    d.e24 = standardPair(probe, s.R1, s.R2, Series::E24, sameSupply ? &previous->e24 : nullptr);
    d.e96 = standardPair(probe, s.R1, s.R2, Series::E96, sameSupply ? &previous->e96 : nullptr);

    d.rlim.proposed = d.result.resistorProposed && s.Rlim > 0.5;
    if (d.rlim.proposed) {
        d.rlim.minimum = s.Rlim;
        d.rlim.ohms = e24AtOrAbove(s.Rlim);
        d.rlim.watts = s.Itotal * s.Itotal * d.rlim.ohms;
        d.rlim.rating = powerRating(d.rlim.watts);
    }

    d.litNow = d.result.litCount();
    d.litWorst = in.optMode[1] ? 1 : 10;
    const double series = d.rlim.proposed ? d.rlim.ohms : 0;
    d.pchipNow = chipPower(d.litNow, d.iled.nominal / 1000, d, series);
    d.pchipWorst = chipPower(d.litWorst, d.iled.nominal / 1000, d, series);

    d.checks = designChecks(d, previous && previous->chip == chip ? previous : nullptr);
    return d;
}

} // namespace kestrelon
