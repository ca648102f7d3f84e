#include "designsentences.h"

#include "figuretext.h"
#include "standardvalues.h"

namespace kestrelon {

namespace {

QString band(const Band& b, QString (*unit)(double)) {
    return unit(b.low) + QStringLiteral(" to ") + unit(b.high);
}

QString leds(int n) {
    return QString::number(n) + (n == 1 ? QStringLiteral(" LED") : QStringLiteral(" LEDs"));
}

QString degrees(double celsius) {
    return figure(celsius, "#0", "°C");
}

} // namespace

QString referenceSentence(const ChipDesign& d) {
    if (!d.referenceWorks)
        return QStringLiteral("The chip cannot make this reference: R1 and R2 ask every chip "
                              "for more than its supply, V+ = ") +
               volts(d.vplus) +
               QStringLiteral(", so its currents, thresholds and heat are not the data "
                              "sheet's. Lower R2, raise R1 or raise V+.");
    return QStringLiteral("A real chip: ") + volts(d.vref.nominal) + QStringLiteral(" nominal, ") +
           band(d.vref, volts) +
           QStringLiteral(" over the data sheet's reference of 1.20 to 1.34 V and adjust-pin "
                          "current of 0 to 120 µA.");
}

QString ledCurrentSentence(const ChipDesign& d) {
    if (!d.referenceWorks)
        return {};
    return QStringLiteral("A real chip: ") + milliamps(d.iled.nominal) +
           QStringLiteral(" per LED, ") + band(d.iled, milliamps) +
           QStringLiteral(" with 7 to 13 mA per mA of reference current and the divider's ") +
           ohms(chipSheet(d.circuit.kind).dividerOhms.min) + QStringLiteral(" to ") +
           ohms(chipSheet(d.circuit.kind).dividerOhms.max) + QLatin1Char('.');
}

QString referenceLoadSentence(const ChipDesign& d) {
    if (!d.referenceWorks)
        return {};
    QString text =
        QStringLiteral("The reference supplies ") + figure(d.loadR1 + d.loadDivider, "#0.00", "mA");
    if (!d.inputs.optRHi[0])
        return text + QStringLiteral(" through R1.");
    return text + QStringLiteral(": ") + figure(d.loadR1, "#0.00", "mA") +
           QStringLiteral(" through R1 and ") + figure(d.loadDivider, "#0.00", "mA") +
           QStringLiteral(" into the LED divider.");
}

QString dissipationSentence(const ChipDesign& d) {
    if (!d.referenceWorks)
        return {};
    return QStringLiteral("Estimated chip dissipation: ") + watts(d.pchipNow) +
           QStringLiteral(" with ") + leds(d.litNow) + QStringLiteral(" lit now; at worst ") +
           watts(d.power.watts) + QStringLiteral(" with ") + leds(d.power.lit) +
           QStringLiteral(" lit, which a chip takes up to an ambient of ") + degrees(d.maxAmbient) +
           QLatin1Char('.');
}

QString limitingPartSentence(const ChipDesign& d) {
    const RealLimiter& r = d.limiter;
    if (!d.referenceWorks)
        return QStringLiteral("None is sized while the chip cannot make its reference.");
    if (!r.proposed)
        return d.inputs.optMode[1]
                   ? QStringLiteral("In dot mode no limiting resistor is proposed.")
                   : QStringLiteral("No limiting resistor is needed at this LED supply.");
    const QString sized = QStringLiteral(" for a real chip's ") + milliamps(r.highCurrent) +
                          QStringLiteral(" per LED at the high end");
    if (r.ohms <= 0)
        return QStringLiteral("The minimum limiting resistor") + sized + QStringLiteral(", ") +
               figure(r.minimum, "#0.0", "Ω") + QStringLiteral(", is no standard part.");
    QString text = QStringLiteral("Buy ") + ohms(r.ohms) + QStringLiteral(" (E24, at least ") +
                   figure(r.minimum, "#0.0", "Ω") + sized + QStringLiteral("); it dissipates ") +
                   watts(r.watts);
    if (r.rating > 0)
        text += QStringLiteral(": use a ") + rating(r.rating) + QStringLiteral(" part.");
    else
        text += QStringLiteral(", more than half of the ") + rating(kPowerRatings.back()) +
                QStringLiteral(" the largest common part is rated for: share it among parts or use "
                               "a power resistor.");
    if (r.starvedFrom > 0)
        text += QStringLiteral(" From ") + leds(r.starvedFrom) +
                QStringLiteral(" lit on it leaves the outputs less than their ") +
                volts(kFamily.dropout) + QStringLiteral(" dropout and the current falls, to ") +
                milliamps(r.currentAllLit) + QStringLiteral(" per LED with all ten lit.");
    return text;
}

QString resistorSentence(const char* name, double actual, double e24, double e96) {
    const QString lead = QLatin1StringView(name) + QLatin1Char(' ') + resistance(actual);
    if (actual == 0)
        return lead + QStringLiteral(": a wire link, no part to buy.");
    if (e24 <= 0 || e96 <= 0)
        return lead + QStringLiteral(": no standard part.");
    return lead + QStringLiteral(": standard parts ") + ohms(e24) + QStringLiteral(" (E24), ") +
           ohms(e96) + QStringLiteral(" (E96).");
}

QString standardPairSentence(const ChipDesign& d) {
    if (d.e24.lblmA.isEmpty() || d.e96.lblmA.isEmpty())
        return {};
    return QStringLiteral("With E24 parts for R1 and R2 the window shows ") + d.e24.lblmA +
           QStringLiteral(" and ") + d.e24.lblRefo + QStringLiteral("; with E96 parts, ") +
           d.e96.lblmA + QStringLiteral(" and ") + d.e96.lblRefo + QLatin1Char('.');
}

QString chosenPairSentence(const RealPair& p, const char* series) {
    if (p.R1 <= 0)
        return {};
    return QStringLiteral("Chosen together from ") + QLatin1StringView(series) +
           QStringLiteral(": R1 ") + ohms(p.R1) + QStringLiteral(" and R2 ") + ohms(p.R2) +
           QStringLiteral(" give a real chip ") + volts(p.reference) + QStringLiteral(" (") +
           percent(p.referenceError) + QStringLiteral(") and ") + milliamps(p.ledCurrent) +
           QStringLiteral(" (") + percent(p.currentError) + QStringLiteral("); with ") +
           QLatin1StringView(series) + QStringLiteral(" tolerance, ") +
           band(p.referenceBand, volts) + QStringLiteral(" and ") + band(p.currentBand, milliamps) +
           QLatin1Char('.');
}

QString trimmerSentence(const ChipDesign& d) {
    const TrimmedR2& t = d.trim;
    if (d.pairE96.R1 <= 0 || !d.referenceWorks || t.needHigh <= 0)
        return {};
    const QString lead = QStringLiteral("To set every chip to ") + volts(d.vref.nominal) +
                         QStringLiteral(" with R1 ") + ohms(d.pairE96.R1) +
                         QStringLiteral(", R2 must reach ") + ohms(std::max(0.0, t.needLow)) +
                         QStringLiteral(" to ") + ohms(t.needHigh);
    if (t.trimmer <= 0)
        return lead + QStringLiteral(": no standard trimmer up to 100 kΩ covers that.");
    if (t.fixed <= 0)
        return lead + QStringLiteral(": use a ") + ohms(t.trimmer) + QStringLiteral(" trimmer.");
    return lead + QStringLiteral(": use ") + ohms(t.fixed) + QStringLiteral(" fixed and a ") +
           ohms(t.trimmer) + QStringLiteral(" trimmer in series (E96).");
}

} // namespace kestrelon
