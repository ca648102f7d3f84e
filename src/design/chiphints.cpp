#include "chiphints.h"

#include "designsentences.h"

namespace kestrelon {

namespace {

void addLine(QString& text, const QString& line) {
    if (line.isEmpty())
        return;
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    text += line;
}

void addCheck(QString& text, const ChipDesign& d, CheckId id) {
    if (const Check* c = d.check(id))
        addLine(text, c->sentence);
}

QString resistorHint(const char* name, double actual, double e24, double e96,
                     const QString& pairs) {
    QString text = resistorSentence(name, actual, e24, e96);
    addLine(text, pairs);
    return text;
}

// The checks from the one that hurts the chip most to the one that costs the least.
constexpr CheckId kSeverity[] = {
    CheckId::Supply,          CheckId::Reference,  CheckId::LedOutputs, CheckId::Dissipation,
    CheckId::ReferenceLoad,   CheckId::LedCurrent, CheckId::RHi,        CheckId::RLo,
    CheckId::SignalFullScale, CheckId::LedSupply,  CheckId::Span,       CheckId::DotStep,
};

} // namespace

QString checkSummary(const ChipDesign& d) {
    const QString name =
        QStringLiteral("Chip ") + QString::number(d.chip + 1) + QStringLiteral(": ");
    const Check* worst = nullptr;
    for (const CheckId id : kSeverity)
        if (const Check* c = d.check(id); c && !c->passed && !worst)
            worst = c;
    if (!worst)
        return name + QStringLiteral("all ") + QString::number(d.checks.size()) +
               QStringLiteral(" checks pass.");
    qsizetype failed = 0;
    for (const Check& c : d.checks)
        failed += c.passed ? 0 : 1;
    QString text = name + worst->sentence;
    if (failed > 1) {
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        text += QStringLiteral(", and ") + QString::number(failed - 1) +
                (failed == 2 ? QStringLiteral(" more failed check.")
                             : QStringLiteral(" more failed checks."));
    }
    return text;
}

QString checkList(const ChipDesign& d) {
    QString text;
    for (const Check& c : d.checks)
        addLine(text, (c.passed ? QStringLiteral("ok       ") : QStringLiteral("WARNING  ")) +
                          c.sentence);
    return text;
}

ChipHints chipHints(const ChipDesign& d) {
    ChipHints h;
    h.lblmA = ledCurrentSentence(d);
    addLine(h.lblmA, referenceLoadSentence(d));
    addCheck(h.lblmA, d, CheckId::LedCurrent);
    addCheck(h.lblmA, d, CheckId::ReferenceLoad);

    h.lblRefo = referenceSentence(d);
    addCheck(h.lblRefo, d, CheckId::Reference);
    addCheck(h.lblRefo, d, CheckId::Supply);

    addCheck(h.lblRLo, d, CheckId::RLo);
    addCheck(h.lblRHi, d, CheckId::RHi);
    addCheck(h.lblRHi, d, CheckId::SignalFullScale);
    addCheck(h.lblGap, d, CheckId::Span);
    addCheck(h.lblGap, d, CheckId::DotStep);

    h.lblWatts = dissipationSentence(d);
    addCheck(h.lblWatts, d, CheckId::Dissipation);
    addCheck(h.lblWatts, d, CheckId::LedSupply);
    addCheck(h.lblWatts, d, CheckId::LedOutputs);

    h.lblWarn = limitingPartSentence(d);
    QString pairs = standardPairSentence(d);
    addLine(pairs, chosenPairSentence(d.pairE24, "E24"));
    addLine(pairs, chosenPairSentence(d.pairE96, "E96"));
    h.hsR1 = resistorHint("R1", d.state.R1, d.e24.R1, d.e96.R1, pairs);
    h.vsR2 = resistorHint("R2", d.state.R2, d.e24.R2, d.e96.R2, pairs);
    addLine(h.vsR2, trimmerSentence(d));
    return h;
}

} // namespace kestrelon
