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

} // namespace

QString referenceSentence(const ChipDesign& d) {
    return QStringLiteral("Data sheet: ") + volts(d.vref.nominal) + QStringLiteral(" nominal, ") +
           band(d.vref, volts) +
           QStringLiteral(" with the chip's tolerance and adjust-pin current.");
}

QString ledCurrentSentence(const ChipDesign& d) {
    return QStringLiteral("Data sheet: ") + milliamps(d.iled.nominal) +
           QStringLiteral(" per LED, ") + band(d.iled, milliamps) +
           QStringLiteral(" from chip to chip.");
}

QString referenceLoadSentence(const ChipDesign& d) {
    QString text =
        QStringLiteral("The reference supplies ") + figure(d.loadR1 + d.loadDivider, "#0.00", "mA");
    if (!d.inputs.optRHi[0])
        return text + QStringLiteral(" through R1.");
    return text + QStringLiteral(": ") + figure(d.loadR1, "#0.00", "mA") +
           QStringLiteral(" through R1 and ") + figure(d.loadDivider, "#0.00", "mA") +
           QStringLiteral(" into the LED divider.");
}

QString dissipationSentence(const ChipDesign& d) {
    return QStringLiteral("Estimated chip dissipation: ") + watts(d.pchipNow) +
           QStringLiteral(" with ") + leds(d.litNow) + QStringLiteral(" lit, ") +
           watts(d.pchipWorst) + QStringLiteral(" with ") +
           (d.litWorst == 1 ? QStringLiteral("one lit.") : QStringLiteral("all ten lit."));
}

QString limitingPartSentence(const ChipDesign& d) {
    const LimitingPart& r = d.rlim;
    if (!r.proposed)
        return d.inputs.optMode[1]
                   ? QStringLiteral("In dot mode no limiting resistor is proposed.")
                   : QStringLiteral("No limiting resistor is needed at this LED supply.");
    if (r.ohms <= 0)
        return QStringLiteral("The minimum limiting resistor, ") + figure(r.minimum, "#0.0", "Ω") +
               QStringLiteral(", is no standard part.");
    const QString text = QStringLiteral("Buy ") + ohms(r.ohms) +
                         QStringLiteral(" (E24, at least ") + figure(r.minimum, "#0.0", "Ω") +
                         QStringLiteral("); it dissipates ") + watts(r.watts);
    if (r.rating > 0)
        return text + QStringLiteral(": use a ") + rating(r.rating) + QStringLiteral(" part.");
    return text + QStringLiteral(", too much for a ") + rating(kPowerRatings.back()) +
           QStringLiteral(" part.");
}

QString resistorSentence(const char* name, double actual, double e24, double e96) {
    const QString lead = QLatin1StringView(name) + QLatin1Char(' ') + ohms(actual);
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

} // namespace kestrelon
