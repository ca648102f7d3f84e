#include "chipmodel.h"

#include "chipreadouts.h"
#include "conversions.h"
#include "resistorsliders.h"

namespace kestrelon {

double sliderFraction(int perMille, const QString& fullScale) {
    return perMille * parse(fullScale) / 1000;
}

void ChipModel::setR1FromSlider(int chip, int sliderValue) {
    state[chip].R1 = sliderValue * kR1Slider.ohmsPerStep;
    showR1(state[chip], view[chip]);
}

void ChipModel::setR2FromSlider(int chip, int sliderValue) {
    state[chip].R2 = sliderValue * kR2Slider.ohmsPerStep;
}

void ChipModel::calcChip1(const PanelInputs& in) {
    calculate(0, in);
}

void ChipModel::calcChip2(const PanelInputs& in) {
    calculate(1, in);
}

void ChipModel::calculate(int k, const PanelInputs& panel) {
    ChipState& s = state[k];
    ChipResult& r = result[k];
    const ChipInputs& in = panel.chip[k];
    const ChipSheet& sheet = chipSheet(in.kind);
    const double reference = kFamily.referenceNominal;
    r.kind = in.kind;

    s.Vled = parse(in.txtLED);

    // Chip #2 follows chip #1's signal controls while slaved.
    const ChipInputs& signalSource = (k == 1 && panel.slave) ? panel.chip[0] : in;
    s.Vin = sliderFraction(signalSource.vsVin, signalSource.txtVin);

    if (k == 0 && panel.slave)
        calculate(1, panel);

    r.currentSet = s.R1 > 0;
    if (r.currentSet) {
        s.Iref = reference / (s.R1 / 1000);
        s.Iled = 10 * s.Iref + 1;
        // The voltage across R2 is added to the milliamperes as it stands: the design's formula.
        s.Iled = s.Iled + s.Iref * (s.R2 / 1000);
        s.Itotal = (10 * s.Iled) / 1000;
        r.overCurrent = s.Iled > kLedCurrentWarning;

        s.Vref = reference + s.Iref * (s.R2 / 1000);
        const double vplus = parse(in.Text1);
        r.referenceLimited = s.Vref > vplus;
        if (r.referenceLimited)
            s.Vref = vplus - kFamily.dropout;
    }

    r.rLoSet = in.optRLo[0] || in.optRLo[1];
    if (in.optRLo[0])
        s.VrLo = 0;
    if (in.optRLo[1])
        s.VrLo = sliderFraction(in.vsRLo, in.txtRLo);
    r.rHiSet = in.optRHi[0] || in.optRHi[1];
    if (in.optRHi[0])
        s.VrHi = s.Vref;
    if (in.optRHi[1])
        s.VrHi = sliderFraction(in.vsRHi, in.txtRHi);

    s.Span = s.VrHi - s.VrLo;
    s.Step = s.Span / 10;
    // The linear chip keeps its equal steps' own sum, so its thresholds stay as they always were.
    if (sheet.linear()) {
        for (int i = 1; i <= 10; ++i)
            s.Threshold[i] = s.VrLo + i * s.Step;
        r.firstStep = s.Step;
    } else {
        for (int i = 1; i <= 10; ++i)
            s.Threshold[i] = s.VrLo + s.Span * sheet.ratios[static_cast<std::size_t>(i - 1)];
        r.firstStep = s.Span * sheet.ratios[0];
    }

    lightLeds(k, in);
    sizeLimitingResistor(k, in);

    // Cascaded dot mode: chip #1's top LED gives way to chip #2 once the signal passes it.
    if (k == 0 && r.overRange && panel.slave && in.optMode[1])
        r.lit[10] = false;

    showResult(k, s, r, ledColour[k], view[k]);
}

void ChipModel::lightLeds(int k, const ChipInputs& in) {
    const ChipState& s = state[k];
    ChipResult& r = result[k];
    const double margin = s.Step / 25;

    r.overRange = s.Vin > s.Threshold[10] + s.Step;
    r.ledsSet = in.optMode[0] || in.optMode[1];
    if (in.optMode[0]) {
        for (int i = 1; i <= 10; ++i)
            r.lit[i] = s.Vin + margin >= s.Threshold[i];
    }
    if (in.optMode[1]) {
        // Only the highest LED whose threshold is reached stays lit.
        for (int i = 1; i <= 10; ++i) {
            r.lit[i] = s.Vin + margin >= s.Threshold[i];
            if (r.lit[i])
                for (int j = 1; j < i; ++j)
                    r.lit[j] = false;
        }
    }
}

void ChipModel::sizeLimitingResistor(int k, const ChipInputs& in) {
    ChipState& s = state[k];
    ChipResult& r = result[k];
    r.resistorSized = false;
    r.resistorDecided = in.optMode[0] || in.optMode[1];
    r.resistorProposed = false;

    if (in.optMode[0]) {
        if (s.Itotal > 0) {
            s.Vled = s.Vled - ledVf[k];
            s.Vchip = kDissipationTarget / s.Itotal;
            s.Rlim = (s.Vled - s.Vchip) / s.Itotal;
        }
        if (s.Rlim > 0.5) {
            r.resistorSized = true;
            r.resistorProposed = true;
            s.PRlim = s.Itotal * s.Itotal * s.Rlim;
            s.Pchip = s.Vchip * s.Itotal;
        }
    }
    // Dot mode never proposes a resistor.
    if (in.optMode[1])
        r.resistorProposed = false;
}

} // namespace kestrelon
