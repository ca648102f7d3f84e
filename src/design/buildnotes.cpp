#include "buildnotes.h"

#include "figuretext.h"

namespace kestrelon {

namespace {

bool cascadedDot(const ChipDesign& d) {
    return d.slave && d.chip == 0 && d.inputs.optMode[1];
}

QString capacitor() {
    return figure(kFamily.ledBypassMicrofarads, "#0.0", "µF") + QStringLiteral(" tantalum (or ") +
           figure(kFamily.ledBypassAluminium, "#0", "µF") + QStringLiteral(" aluminium)");
}

} // namespace

QStringList buildNotes(const ChipDesign& d) {
    QStringList notes;
    notes << (d.state.R2 > 0 ? QStringLiteral("R1 from pin 7 (REF OUT) to pin 8 (REF ADJ), R2 "
                                              "from pin 8 to ground.")
                             : QStringLiteral("R1 from pin 7 (REF OUT) to pin 8 (REF ADJ), pin "
                                              "8 straight to ground."));
    notes << (d.inputs.optRHi[0] ? QStringLiteral("Pin 6 (RHi) to pin 7, the reference.")
                                 : QStringLiteral("Pin 6 (RHi) to the divider's top voltage, ") +
                                       volts(d.state.VrHi) + QLatin1Char('.'));
    notes << (d.inputs.optRLo[0] ? QStringLiteral("Pin 4 (RLo) to ground.")
                                 : QStringLiteral("Pin 4 (RLo) to the divider's bottom voltage, ") +
                                       volts(d.state.VrLo) + QLatin1Char('.'));
    if (cascadedDot(d))
        notes << QStringLiteral("Pin 9 (Mode) to pin 1 of chip #2, its LED 1 and the eleventh "
                                "LED: when it lights it blanks this chip's LED 10, so one dot "
                                "shows.");
    else if (d.inputs.optMode[1])
        notes << QStringLiteral("Pin 9 (Mode) open for dot mode.");
    else
        notes << QStringLiteral("Pin 9 (Mode) to V+ for bar mode.");
    notes << (d.chip == 1 && d.slave ? QStringLiteral("The signal input takes chip #1's signal.")
                                     : QStringLiteral("The signal into the signal input."))
          << QStringLiteral("Where the signal may leave 0 V to V+ - 1.5 V, feed it through ") +
                 ohms(kFamily.signalSeriesResistor) +
                 QStringLiteral(": that keeps up to ±100 V within the pin's ±3 mA.");
    if (d.limiter.proposed && d.limiter.ohms > 0)
        notes << QStringLiteral("LED supply through the ") + ohms(d.limiter.ohms) +
                     QStringLiteral(" limiting resistor to the LEDs' anodes, each cathode to its "
                                    "output. ") +
                     capacitor() +
                     QStringLiteral(" from the chip end of that resistor to pin 2, near the "
                                    "chip, and another at the supply end.");
    else
        notes << QStringLiteral("LED supply to the LEDs' anodes, each cathode to its output. ") +
                     capacitor() + QStringLiteral(" from the LED supply to pin 2, near the chip.");
    return notes;
}

QString twoChipNote(const ChipDesign& chip1, const ChipDesign& chip2) {
    if (!chip1.slave)
        return {};
    QString text = QStringLiteral("Stacked: both chips take one signal. Chip #1's divider tops "
                                  "out at ") +
                   volts(chip1.real.rhi.nominal) + QStringLiteral(", chip #2's starts at ") +
                   volts(chip2.real.nominal.rlo) +
                   QStringLiteral(": tie chip #2's RLo to chip #1's RHi for one continuous "
                                  "scale.");
    if (chip1.inputs.optMode[1])
        text += QStringLiteral(" In dot mode chip #1's pin 9 goes to chip #2's pin 1.");
    return text;
}

} // namespace kestrelon
