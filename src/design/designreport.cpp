#include "designreport.h"

#include "buildnotes.h"
#include "chipreadouts.h"
#include "designsentences.h"
#include "figuretext.h"
#include "resistorsliders.h"

namespace kestrelon {

namespace {

class Writer {
public:
    void line(const QString& text = {}) {
        m_text += text;
        m_text += QLatin1Char('\n');
    }
    void item(const char* name, const QString& value) { item(QString::fromLatin1(name), value); }
    void item(const QString& name, const QString& value) {
        line(QStringLiteral("  ") + name + QStringLiteral(": ") + value);
    }
    void heading(const char* name) { line(QLatin1StringView(name)); }
    QString text() const { return m_text; }

private:
    QString m_text;
};

// A full-scale box and its per-mille slider: "slider 500 of 1000 on a 5 V full scale".
QString scaled(int perMille, const QString& fullScale) {
    return QStringLiteral("slider ") + QString::number(perMille) +
           QStringLiteral(" of 1000 on a full scale of ") + fullScale + QStringLiteral(" V");
}

QString chipName(int chip, ChipKind kind) {
    return QStringLiteral("Chip #%1 (").arg(chip + 1) + chipTitle(chip, kind) +
           (chip == 0 ? QStringLiteral(", lower schematic)")
                      : QStringLiteral(", upper schematic)"));
}

void writeInputs(Writer& w, const ChipDesign& d) {
    const ChipInputs& in = d.inputs;
    w.heading("Inputs");
    w.item("Chip supply V+", in.Text1 + QStringLiteral(" V"));
    w.item("LED supply", in.txtLED + QStringLiteral(" V"));
    if (d.chip == 1 && d.slave)
        w.item("Signal", QStringLiteral("chip #1's (slave mode)"));
    else
        w.item("Signal", scaled(in.vsVin, in.txtVin));
    w.item("R1", d.view.lblR1 + QStringLiteral(" (slider ") +
                     QString::number(static_cast<int>(d.state.R1 / kR1Slider.ohmsPerStep)) +
                     QLatin1Char(')'));
    w.item("R2", d.view.lblR2 + QStringLiteral(" (slider ") +
                     QString::number(static_cast<int>(d.state.R2 / kR2Slider.ohmsPerStep)) +
                     QLatin1Char(')'));
    if (in.optRHi[0])
        w.item("RHi pin", QStringLiteral("Ref Inp"));
    else if (in.optRHi[1])
        w.item("RHi pin", QStringLiteral("+Vext Hi, ") + scaled(in.vsRHi, in.txtRHi));
    if (in.optRLo[0])
        w.item("RLo pin", QStringLiteral("0V"));
    else if (in.optRLo[1])
        w.item("RLo pin", QStringLiteral("Vext Lo, ") + scaled(in.vsRLo, in.txtRLo));
    w.item("Mode", in.optMode[0]   ? QStringLiteral("Bar/+V")
                   : in.optMode[1] ? QStringLiteral("Dot/o.c")
                                   : QStringLiteral("none chosen"));
    w.item("LED colour", d.ledColour.isEmpty()
                             ? QStringLiteral("none chosen")
                             : d.ledColour + QStringLiteral(", ") + volts(d.ledVf) +
                                   QStringLiteral(" forward voltage"));
}

QString litLeds(const ChipDesign& d) {
    QString list;
    for (int i = 1; i <= 10; ++i) {
        if (!d.result.lit[static_cast<std::size_t>(i)])
            continue;
        if (!list.isEmpty())
            list += QStringLiteral(", ");
        list += QString::number(i);
    }
    return list.isEmpty() ? QStringLiteral("none") : list;
}

void writeReadouts(Writer& w, const ChipDesign& d) {
    const ChipView& v = d.view;
    w.heading("Window");
    w.item("Signal", v.lblVin);
    w.item("LED current", d.result.overCurrent ? v.lblmA + QStringLiteral(" (above ") +
                                                     QString::number(kLedCurrentWarning) +
                                                     QStringLiteral(" mA: blinking)")
                                               : v.lblmA);
    w.item("Reference", v.lblRefo);
    if (!v.Label9.trimmed().isEmpty())
        w.item("Reference limit", v.Label9.trimmed());
    w.item("Across R2", v.lblRadj);
    w.item("RLo end", v.lblRLo);
    w.item("RHi end", v.lblRHi);
    w.item("LED 1 lights at", v.lblVmin);
    w.item("LED 10 lights at", v.lblVmax);
    w.item("Step", v.lblGap);
    w.item("LEDs lit", litLeds(d));
    w.item("Vin > Vmax", d.result.overRange ? QStringLiteral("on") : QStringLiteral("off"));
    if (d.result.resistorProposed)
        w.item(v.lblWarn, v.lblRlim);
    w.item("Dissipation", v.lblWatts);
}

void writeDataSheet(Writer& w, const ChipDesign& d) {
    w.heading("What a real chip does");
    for (const QString& sentence : {referenceSentence(d), ledCurrentSentence(d),
                                    referenceLoadSentence(d), dissipationSentence(d)})
        if (!sentence.isEmpty())
            w.line(QStringLiteral("  ") + sentence);
    if (d.referenceWorks) {
        w.line(QStringLiteral("  Thresholds over the data sheet's corners:"));
        for (std::size_t i = 0; i < d.real.thresholds.size(); ++i) {
            const Band& b = d.real.thresholds[i];
            QString line = QStringLiteral("    LED ") + QString::number(i + 1) +
                           QStringLiteral(" at ") + volts(b.nominal);
            if (b.low != b.high)
                line += QStringLiteral(" (") + volts(b.low) + QStringLiteral(" to ") +
                        volts(b.high) + QLatin1Char(')');
            w.line(line);
        }
    }
    w.heading("Checks");
    w.item("Ambient temperature", figure(d.ambient, "#0", "°C"));
    for (const Check& c : d.checks)
        w.line((c.passed ? QStringLiteral("  ok       ") : QStringLiteral("  WARNING  ")) +
               c.sentence);
}

void writeParts(Writer& w, const ChipDesign& d) {
    w.heading("Parts");
    for (const QString& sentence :
         {resistorSentence("R1", d.state.R1, d.e24.R1, d.e96.R1),
          resistorSentence("R2", d.state.R2, d.e24.R2, d.e96.R2), standardPairSentence(d),
          chosenPairSentence(d.pairE24, "E24"), chosenPairSentence(d.pairE96, "E96"),
          trimmerSentence(d),
          QString(QStringLiteral("Limiting resistor: ") + limitingPartSentence(d))})
        if (!sentence.isEmpty())
            w.line(QStringLiteral("  ") + sentence);
    w.item("LEDs", d.ledColour.isEmpty() ? QStringLiteral("10, colour not chosen")
                                         : QStringLiteral("10 x ") + d.ledColour);
}

void writeBuild(Writer& w, const ChipDesign& d) {
    w.heading("How to build it");
    for (const QString& line : buildNotes(d))
        w.line(QStringLiteral("  ") + line);
}

void writeChip(Writer& w, const ChipDesign& d) {
    const QString name = chipName(d.chip, d.inputs.kind);
    w.line(name);
    w.line(QString(name.size(), QLatin1Char('-')));
    writeInputs(w, d);
    writeReadouts(w, d);
    writeDataSheet(w, d);
    writeParts(w, d);
    writeBuild(w, d);
}

} // namespace

QString designReport(const ChipDesign& chip1, const ChipDesign& chip2) {
    Writer w;
    const QString first = QLatin1String(chipSheet(chip1.inputs.kind).name);
    const QString second = QLatin1String(chipSheet(chip2.inputs.kind).name);
    w.line((first == second ? first : first + QLatin1Char('/') + second) +
           QStringLiteral(" bar-graph design (Kestrelon)"));
    w.line(QStringLiteral("Chip #1 is the lower schematic, chip #2 the upper."));
    w.line(chip1.slave ? QStringLiteral("Slave to #1: on. Chip #2 takes chip #1's signal, so the "
                                        "two chips show one signal on twenty LEDs.")
                       : QStringLiteral("Slave to #1: off. Each chip has its own signal."));
    const QString together = twoChipNote(chip1, chip2);
    if (!together.isEmpty())
        w.line(together);
    w.line();
    writeChip(w, chip1);
    w.line();
    writeChip(w, chip2);
    return w.text();
}

} // namespace kestrelon
