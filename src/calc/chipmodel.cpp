#include "chipmodel.h"

#include "conversions.h"
#include "resistorsliders.h"

#include <cmath>

namespace kestrelon {

namespace {

void show(QString& caption, double value, std::string_view pattern, std::string_view suffix) {
    formatInto(caption, {}, value, pattern, suffix);
}

const QString& blankBanner() {
    static const QString banner(21, QLatin1Char(' '));
    return banner;
}

} // namespace

double sliderFraction(int perMille, const QString& fullScale) {
    return perMille * parse(fullScale) / 1000;
}

void ChipModel::setR1FromSlider(int chip, int sliderValue) {
    state[chip].R1 = sliderValue * kR1Slider.ohmsPerStep;
    show(view[chip].lblR1, state[chip].R1 / 1000, "#0.00k", {});
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
    ChipView& v = view[k];
    const ChipInputs& in = panel.chip[k];

    s.Vled = parse(in.txtLED);

    // Chip #2 follows chip #1's signal controls while slaved.
    const ChipInputs& signalSource = (k == 1 && panel.slave) ? panel.chip[0] : in;
    s.Vin = sliderFraction(signalSource.vsVin, signalSource.txtVin);
    show(v.lblVin, s.Vin, "#0.00", "v");

    if (k == 0 && panel.slave) {
        state[1].Vin = s.Vin;
        view[1].lblVin = v.lblVin;
        calculate(1, panel);
    }

    if (s.R1 > 0) {
        s.Iref = 1.25 / (s.R1 / 1000);
        s.Iled = 10 * s.Iref + 1;
        // The voltage across R2 is added to the milliamperes as it stands: the design's formula.
        s.Iled = s.Iled + s.Iref * (s.R2 / 1000);
        s.Itotal = (10 * s.Iled) / 1000;
        const bool overCurrent = s.Iled > 25.01;
        v.lblmAForeColor = overCurrent ? kRed : kBlue;
        show(v.lblmA, s.Iled, "#0.0", " mA/LED");
        v.timerEnabled = overCurrent;

        s.Vref = 1.25 + s.Iref * (s.R2 / 1000);
        show(v.lblRefo, s.Vref, "#0.00", "v");
        const double vplus = parse(in.Text1);
        if (s.Vref > vplus) {
            s.Vref = vplus - 1.5;
            show(v.lblRefo, s.Vref, "#0.00", "v");
            v.Label9BackColor = kOrange;
            v.Label9 = QStringLiteral("Vref Limit =(+V-1.5v)");
        } else {
            v.Label9BackColor = kInactiveCaption;
            v.Label9 = blankBanner();
        }
    }

    show(v.lblR2, s.R2 / 1000, "#0.00k", {});
    show(v.lblRadj, s.Vref - 1.25, "#0.00", "v");

    if (in.optRLo[0]) {
        s.VrLo = 0;
        show(v.lblRLo, s.VrLo, "#0.0#", "v");
    }
    if (in.optRLo[1]) {
        s.VrLo = sliderFraction(in.vsRLo, in.txtRLo);
        show(v.lblRLo, s.VrLo, "#0.0#", "v");
    }
    if (in.optRHi[0]) {
        s.VrHi = s.Vref;
        show(v.lblRHi, s.Vref, "#0.00", "v");
    }
    if (in.optRHi[1]) {
        s.VrHi = sliderFraction(in.vsRHi, in.txtRHi);
        show(v.lblRHi, s.VrHi, "#0.00", "v");
    }

    s.Span = s.VrHi - s.VrLo;
    s.Step = s.Span / 10;
    for (int i = 1; i <= 10; ++i)
        s.Threshold[i] = s.VrLo + i * s.Step;

    // The bottom is read back as displayed, so LED 1's voltage matches the rounded RLo label.
    show(v.lblVmin, parse(v.lblRLo) + s.Step, "#0.00", "v");
    v.lblVmax = v.lblRHi;
    formatInto(v.lblGap, "Steps= ", s.Step, "#0.0#", "v");

    lightLeds(k, in);
    sizeLimitingResistor(k, in);

    // Cascaded dot mode: chip #1's top LED gives way to chip #2 once the signal passes it.
    if (k == 0 && s.Vin > s.Threshold[10] + s.Step && panel.slave && in.optMode[1])
        v.shpLED[10] = kGrey;
}

void ChipModel::lightLeds(int k, const ChipInputs& in) {
    const ChipState& s = state[k];
    ChipView& v = view[k];
    const std::uint32_t lit = ledColour[k];
    const double margin = s.Step / 25;

    v.shpLED[0] = s.Vin > s.Threshold[10] + s.Step ? kRed : kGrey;

    if (in.optMode[0]) {
        for (int i = 1; i <= 10; ++i)
            v.shpLED[i] = s.Vin + margin >= s.Threshold[i] ? lit : kGrey;
    }
    if (in.optMode[1]) {
        for (int i = 1; i <= 10; ++i) {
            if (s.Vin + margin >= s.Threshold[i]) {
                v.shpLED[i] = lit;
                for (int j = 1; j < i; ++j)
                    v.shpLED[j] = kGrey;
            } else {
                v.shpLED[i] = kGrey;
            }
        }
    }
}

void ChipModel::sizeLimitingResistor(int k, const ChipInputs& in) {
    ChipState& s = state[k];
    ChipView& v = view[k];
    const auto noResistor = [&v] {
        v.lblRlimVisible = false;
        v.lblWarnVisible = false;
        v.lineRlimVisible = true;
        v.lblWatts = QStringLiteral("Dissipating= < 1.0W");
    };

    if (in.optMode[0]) {
        if (s.Itotal > 0) {
            s.Vled = s.Vled - ledVf[k];
            s.Vchip = 1 / s.Itotal;
            s.Rlim = (s.Vled - s.Vchip) / s.Itotal;
        }
        if (s.Rlim > 0.5) {
            v.lblRlimVisible = true;
            v.lblWarnVisible = true;
            v.lineRlimVisible = false;
            v.lblWattsVisible = true;
            s.PRlim = s.Itotal * s.Itotal * s.Rlim;
            s.Pchip = s.Vchip * s.Itotal;
            if (std::isfinite(s.Rlim) && std::isfinite(s.PRlim))
                v.lblRlim =
                    Format(s.Rlim, "##0.0R") + QStringLiteral("  ") + Format(s.PRlim, "0.0W");
            else
                v.lblRlim = QString::fromLatin1(kOverflowText);
            formatInto(v.lblWatts, "Dissipating= ", s.Pchip, "#0.00W", {});
        } else {
            noResistor();
        }
    }
    if (in.optMode[1])
        noResistor();
}

} // namespace kestrelon
