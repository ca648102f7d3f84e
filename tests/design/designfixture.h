#pragma once

#include "chipdesign.h"
#include "chipmodel.h"

#include <QRegularExpression>

// The first-start design on both chips (empty settings store): V+ 5 V, LED supply 5 V, signal
// slider 500 of 5 V, R1 slider 700, R2 slider 360, RHi on "Ref Inp", RLo on "0V", bar mode,
// red LEDs of 2 V.
inline kestrelon::ChipInputs firstStartChip() {
    kestrelon::ChipInputs c;
    c.txtLED = QStringLiteral("5");
    c.Text1 = QStringLiteral("5");
    c.txtVin = QStringLiteral("5");
    c.txtRLo = QStringLiteral("0");
    c.txtRHi = QStringLiteral("5");
    c.vsVin = 500;
    c.vsRLo = 360;
    c.vsRHi = 500;
    c.optRLo = {true, false};
    c.optRHi = {true, false};
    c.optMode = {true, false};
    return c;
}

struct DesignPanel {
    kestrelon::ChipModel model;
    kestrelon::PanelInputs in;
    DesignPanel() {
        in.chip = {firstStartChip(), firstStartChip()};
        for (int k = 0; k < 2; ++k) {
            model.ledColour[k] = kestrelon::kRed;
            model.ledVf[k] = 2.0;
        }
        setSliders(0, 700, 360);
        setSliders(1, 700, 360);
    }
    void setSliders(int chip, int hsR1, int vsR2) {
        model.setR1FromSlider(chip, hsR1);
        model.setR2FromSlider(chip, vsR2);
        recalc();
    }
    // Both chips, chip #1 first, as the mode options and the slave box do.
    void recalc() {
        model.calcChip1(in);
        model.calcChip2(in);
    }
    kestrelon::ChipDesign design(int chip, QStringView colour = u"Red") const {
        return kestrelon::designChip(model, in, chip, colour);
    }
};

// A text that shows an overflowed number as one: "inf", "nan" in any case, as a word.
inline bool showsBrokenNumber(const QString& text) {
    static const QRegularExpression broken(QStringLiteral("\\b(inf|infinity|nan)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    return broken.match(text).hasMatch();
}
