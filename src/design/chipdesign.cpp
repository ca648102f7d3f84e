#include "chipdesign.h"

#include "conversions.h"
#include "designchecks.h"
#include "figuretext.h"
#include "standardvalues.h"
#include "windowprobe.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrelon {

namespace {

// The window's circuit as a real chip sees it; the LED supply gets its series part later.
RealCircuit circuitOf(const ChipDesign& d) {
    RealCircuit c;
    c.R1 = d.state.R1;
    c.R2 = d.state.R2;
    c.rhiOnReference = d.inputs.optRHi[0];
    c.rhiVolts = d.state.VrHi;
    c.rloVolts = d.state.VrLo;
    c.vplus = d.vplus;
    c.ledSupply = d.ledSupply;
    c.ledVf = d.ledVf;
    c.dot = d.inputs.optMode[1];
    return c;
}

} // namespace

const Check* ChipDesign::check(CheckId id) const {
    for (const Check& c : checks)
        if (c.id == id)
            return &c;
    return nullptr;
}

ChipDesign designChip(const ChipModel& model, const PanelInputs& panel, int chip,
                      QStringView ledColour, const ChipDesign* previous, double ambient) {
    ChipDesign d;
    d.chip = chip;
    d.slave = panel.slave;
    d.inputs = panel.chip[chip];
    d.state = model.state[chip];
    d.view = model.view[chip];
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

    d.circuit = circuitOf(d);
    d.real = realBands(d.circuit);
    d.referenceWorks = showable(d.vplus) && referenceWorks(d.circuit, d.real);
    d.vref = d.real.reference;
    d.loadR1 = d.real.nominal.r1Current;
    d.loadDivider = d.real.nominal.dividerCurrent;
    d.iled = d.real.ledCurrent;

    // The parts' captions depend on the supply besides R1 and R2 (the reference limit).
    const bool sameSupply =
        previous && previous->chip == chip && previous->inputs.Text1 == in.Text1;
    WindowProbe probe(model, panel, chip);
    d.e24 = standardPair(probe, s.R1, s.R2, Series::E24, sameSupply ? &previous->e24 : nullptr);
    d.e96 = standardPair(probe, s.R1, s.R2, Series::E96, sameSupply ? &previous->e96 : nullptr);

    d.rlim.proposed = d.view.lblRlimVisible && s.Rlim > 0.5;
    if (d.rlim.proposed) {
        d.rlim.minimum = s.Rlim;
        d.rlim.ohms = e24AtOrAbove(s.Rlim);
        d.rlim.watts = s.Itotal * s.Itotal * d.rlim.ohms;
        d.rlim.rating = powerRating(d.rlim.watts);
    }

    if (d.referenceWorks)
        d.limiter = sizeLimiter(d.circuit, d.real);
    d.circuit.seriesOhms = d.limiter.proposed ? d.limiter.ohms : 0;
    d.power = worstChipPower(d.circuit);
    d.ambient = ambient;
    d.maxAmbient = maxAmbient(d.power.watts);

    for (int i = 1; i <= 10; ++i)
        d.litNow += d.view.shpLED[static_cast<std::size_t>(i)] == d.litColour ? 1 : 0;
    d.litWorst = d.power.lit;
    d.pchipNow = chipPower(d.circuit, d.litNow, d.real.nominal);
    d.pchipWorst = d.power.watts;

    const double targetVolts = d.real.nominal.reference;
    const double targetMilliamps = d.real.nominal.ledCurrent;
    d.pairE24 = bestStandardPair(d.circuit, Series::E24, targetVolts, targetMilliamps);
    d.pairE96 = bestStandardPair(d.circuit, Series::E96, targetVolts, targetMilliamps);
    if (d.pairE96.R1 > 0) {
        RealCircuit built = d.circuit;
        built.R1 = d.pairE96.R1;
        built.resistorTolerance = seriesTolerance(Series::E96);
        d.trim = trimmedR2(built, Series::E96, targetVolts);
    }

    d.checks = designChecks(d, previous && previous->chip == chip ? previous : nullptr);
    return d;
}

} // namespace kestrelon
