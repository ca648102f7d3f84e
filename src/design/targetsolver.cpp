#include "targetsolver.h"

#include "conversions.h"
#include "figuretext.h"
#include "resistorsliders.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrelon {

namespace {

constexpr int kR1Min = kR1Slider.low;
constexpr int kR1Max = kR1Slider.high;
constexpr int kR1Ohms = kR1Slider.ohmsPerStep;
constexpr int kR2Min = kR2Slider.low;
constexpr int kR2Max = kR2Slider.high;
constexpr int kR2Ohms = kR2Slider.ohmsPerStep;
constexpr double kReference = kFamily.referenceNominal; // V

struct Best {
    int hsR1 = kR1Min;
    int vsR2 = kR2Min;
    double error = std::numeric_limits<double>::infinity();
};

// For one R1 the window's reference and current are straight lines in R2, and the error sum
// bends only where one of them meets its target or where the supply limit cuts in: the best R2
// position is next to one of those points or at an end of the slider.
void tryR1(int hsR1, double targetV, double targetI, double vplus, WindowProbe& probe, Best& best) {
    const double iref = kReference / (hsR1 * kR1Ohms / 1000.0); // mA
    const double bends[] = {
        (targetV - kReference) / iref * 1000,    // reference on target
        (targetI - 1 - 10 * iref) / iref * 1000, // current on target
        (vplus - kReference) / iref * 1000,      // reference reaches V+
    };
    int candidates[8] = {kR2Min, kR2Max};
    int n = 2;
    for (const double ohms : bends) {
        if (!std::isfinite(ohms))
            continue;
        const double at = std::clamp(ohms / kR2Ohms, double(kR2Min), double(kR2Max));
        candidates[n++] = static_cast<int>(std::floor(at));
        candidates[n++] = static_cast<int>(std::ceil(at));
    }
    for (int i = 0; i < n; ++i) {
        probe.runSliders(hsR1, candidates[i]);
        const double error = std::fabs(probe.state().Vref - targetV) / targetV +
                             std::fabs(probe.state().Iled - targetI) / targetI;
        if (error < best.error)
            best = {hsR1, candidates[i], error};
    }
}

void addReason(QString& reason, const QString& sentence) {
    if (!reason.isEmpty())
        reason += QLatin1Char(' ');
    reason += sentence;
}

// Why the formulas' design is not what the window will show, if it is not.
QString unreachedReason(const TargetSolution& s, double vplus) {
    QString reason;
    const double vadj = s.volts - kReference;
    const double iref = (s.milliamps - 1 - vadj) / 10;
    if (vadj < 0)
        addReason(reason, QStringLiteral("The reference cannot go below ") + volts(kReference) +
                              QLatin1Char('.'));
    if (!(iref > 0))
        addReason(reason, QStringLiteral("At ") + volts(s.volts) +
                              QStringLiteral(" the window's LED current is always above ") +
                              milliamps(1 + std::max(0.0, vadj)) +
                              QStringLiteral(" (1 mA plus the volts across R2)."));
    if (iref > 0 && vadj >= 0) {
        if (s.exactR1 < kR1Min * kR1Ohms || s.exactR1 > kR1Max * kR1Ohms)
            addReason(reason, QStringLiteral("R1 would be ") + ohms(s.exactR1) +
                                  QStringLiteral(", outside the slider's ") +
                                  ohms(kR1Min * kR1Ohms) + QStringLiteral(" to ") +
                                  ohms(kR1Max * kR1Ohms) + QLatin1Char('.'));
        if (s.exactR2 > kR2Max * kR2Ohms)
            addReason(reason, QStringLiteral("R2 would be ") + ohms(s.exactR2) +
                                  QStringLiteral(", above the slider's ") + ohms(kR2Max * kR2Ohms) +
                                  QLatin1Char('.'));
    }
    if (s.volts > vplus)
        addReason(reason, QStringLiteral("Above V+ (") + volts(vplus) +
                              QStringLiteral(") the window limits the reference to V+ - ") +
                              figure(kFamily.dropout, "#0.0", "V") + QLatin1Char('.'));
    return reason;
}

} // namespace

TargetSolution solveTarget(const ChipModel& model, const PanelInputs& panel, int chip,
                           QStringView voltsText, QStringView milliampsText) {
    TargetSolution s;
    s.volts = parse(voltsText);
    s.milliamps = parse(milliampsText);
    if (!showable(s.volts) || !showable(s.milliamps)) {
        s.reason = QStringLiteral("The target is out of range.");
        return s;
    }
    if (s.volts <= 0 || s.milliamps <= 0) {
        s.reason = QStringLiteral("Enter a reference above ") + volts(kReference) +
                   QStringLiteral(" and an LED current above 0 mA.");
        return s;
    }
    const double vplus = parse(panel.chip[chip].Text1);
    const double vadj = s.volts - kReference;
    const double iref = (s.milliamps - 1 - vadj) / 10; // mA
    s.exactR1 = kReference / iref * 1000;
    s.exactR2 = vadj / iref * 1000;

    WindowProbe probe(model, panel, chip);
    Best best;
    for (int hsR1 = kR1Min; hsR1 <= kR1Max; ++hsR1)
        tryR1(hsR1, s.volts, s.milliamps, vplus, probe, best);

    s.usable = true;
    s.hsR1 = best.hsR1;
    s.vsR2 = best.vsR2;
    probe.runSliders(s.hsR1, s.vsR2);
    s.lblR1 = probe.view().lblR1;
    s.lblR2 = probe.view().lblR2;
    s.lblRefo = probe.view().lblRefo;
    s.lblmA = probe.view().lblmA;
    const double r1 = s.hsR1 * kR1Ohms;
    const double r2 = s.vsR2 * kR2Ohms;
    s.e24 = standardPair(probe, r1, r2, Series::E24);
    s.e96 = standardPair(probe, r1, r2, Series::E96);

    s.reason = unreachedReason(s, vplus);
    s.reached = s.reason.isEmpty();
    return s;
}

namespace {

QString partsLine(const StandardPair& p, const char* series) {
    if (p.R1 <= 0)
        return {};
    return QStringLiteral("R1 ") + ohms(p.R1) + QStringLiteral(" and R2 ") + ohms(p.R2) +
           QStringLiteral(" (") + QLatin1StringView(series) +
           QStringLiteral("): the window shows ") + p.lblRefo + QStringLiteral(" and ") + p.lblmA +
           QLatin1Char('.');
}

} // namespace

QString targetText(const TargetSolution& s) {
    if (!s.usable)
        return s.reason;
    QString text;
    if (!s.reached)
        text = QStringLiteral("Not reachable: ") + s.reason + QStringLiteral("\nNearest design: ");
    text += QStringLiteral("R1 ") + s.lblR1 + QStringLiteral(" (hsR1 ") + QString::number(s.hsR1) +
            QStringLiteral("), R2 ") + s.lblR2 + QStringLiteral(" (vsR2 ") +
            QString::number(s.vsR2) + QStringLiteral("). The window will show ") + s.lblRefo +
            QStringLiteral(" and ") + s.lblmA + QLatin1Char('.');
    for (const QString& line : {partsLine(s.e24, "E24"), partsLine(s.e96, "E96")})
        if (!line.isEmpty())
            text += QLatin1Char('\n') + line;
    return text;
}

TargetPrefill targetPrefill(const ChipModel& model, int chip) {
    const ChipState& s = model.state[chip];
    return {showable(s.Vref) ? Format(s.Vref, "#0.00") : QString(),
            showable(s.Iled) ? Format(s.Iled, "#0.0") : QString()};
}

} // namespace kestrelon
