#include "targetsolver.h"

#include "conversions.h"
#include "figuretext.h"
#include "resistorsliders.h"

#include <algorithm>
#include <array>
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

// Figures of one pair of positions in the model the target is matched in.
struct Figures {
    double volts = 0;
    double milliamps = 0;
};

// Evaluates slider positions for one chip: the model's figures and whether a position is a
// design at all.
class Positions {
public:
    Positions(const ChipModel& model, const PanelInputs& panel, int chip, TargetModel mode,
              const Corner& corner)
        : m_probe(model, panel, chip), m_mode(mode), m_corner(corner),
          m_circuit(targetCircuit(model, panel, chip, kR1Min, kR2Min)), m_vplus(m_circuit.vplus),
          m_headroom(headroom(m_circuit)) {}

    Figures at(int hsR1, int vsR2) {
        if (m_mode == TargetModel::Window) {
            m_probe.runSliders(hsR1, vsR2);
            return {m_probe.state().Vref, m_probe.state().Iled};
        }
        const RealFigures f = real(hsR1, vsR2);
        return {f.reference, f.ledCurrent};
    }

    RealFigures real(int hsR1, int vsR2) {
        m_circuit.R1 = hsR1 * kR1Ohms;
        m_circuit.R2 = vsR2 * kR2Ohms;
        return realFigures(m_circuit, m_corner);
    }

    // The largest admissible R2 position for R1, or -1: one where the window shows the
    // reference unlimited and the model's reference fits under V+ - 1.5 V. Both references rise
    // with R2.
    int lastAdmissible(int hsR1) {
        int last = lastUnlimited(hsR1);
        if (last < 0 || !fits(hsR1, kR2Min))
            return -1;
        int low = kR2Min, high = last + 1; // fits at low, not known at high
        while (high - low > 1) {
            const int mid = (low + high) / 2;
            (fits(hsR1, mid) ? low : high) = mid;
        }
        return low;
    }

    double headroomVolts() const { return m_headroom; }

private:
    bool limited(int hsR1, int vsR2) {
        m_probe.runSliders(hsR1, vsR2);
        return m_probe.view().Label9BackColor == kOrange;
    }

    // The last position the window shows unlimited: from its straight reference line, then
    // checked against the window itself.
    int lastUnlimited(int hsR1) {
        if (limited(hsR1, kR2Min))
            return -1;
        const double v0 = m_probe.state().Vref;
        m_probe.runSliders(hsR1, kR2Min + 1);
        const double slope = m_probe.state().Vref - v0;
        const double guess = slope > 0 ? (m_vplus - v0) / slope + kR2Min : double(kR2Max);
        int last = static_cast<int>(std::clamp(std::floor(guess), double(kR2Min), double(kR2Max)));
        while (last < kR2Max && !limited(hsR1, last + 1))
            ++last;
        while (last > kR2Min && limited(hsR1, last))
            --last;
        return last;
    }

    bool fits(int hsR1, int vsR2) {
        if (m_mode == TargetModel::Window) {
            m_probe.runSliders(hsR1, vsR2);
            return m_probe.state().Vref <= m_headroom;
        }
        return real(hsR1, vsR2).reference <= m_headroom;
    }

    WindowProbe m_probe;
    TargetModel m_mode;
    Corner m_corner;
    RealCircuit m_circuit;
    double m_vplus;
    double m_headroom;
};

struct Search {
    double targetV = 0;
    double targetI = 0;
    bool found = false;
    int hsR1 = 0;
    int vsR2 = 0;
    TargetCost cost{std::numeric_limits<double>::infinity(), 0};
    // What the admissible positions reach: the reference overall, the current where the
    // reference is on target.
    double vLow = std::numeric_limits<double>::infinity();
    double vHigh = -std::numeric_limits<double>::infinity();
    double iLow = std::numeric_limits<double>::infinity();
    double iHigh = -std::numeric_limits<double>::infinity();

    void consider(int r1, int r2, Figures f) {
        vLow = std::min(vLow, f.volts);
        vHigh = std::max(vHigh, f.volts);
        const TargetCost c = targetCost(f.volts, f.milliamps, targetV, targetI);
        if (c.referenceExcess == 0) {
            iLow = std::min(iLow, f.milliamps);
            iHigh = std::max(iHigh, f.milliamps);
        }
        if (!found || c < cost) {
            found = true;
            cost = c;
            hsR1 = r1;
            vsR2 = r2;
        }
    }
};

// For one R1 both figures are straight lines in R2 and the cost bends only where the reference
// meets its target or either end of its tolerance, or the current meets its target: the best
// admissible R2 position is next to one of those points or at an end of the admissible range.
void tryR1(int hsR1, Positions& positions, Search& search) {
    const int last = positions.lastAdmissible(hsR1);
    if (last < 0)
        return;
    const Figures start = positions.at(hsR1, kR2Min);
    const Figures next = positions.at(hsR1, kR2Min + 1);
    const double dv = next.volts - start.volts;
    const double di = next.milliamps - start.milliamps;
    const double t = kTargetTolerance;
    const double bends[] = {
        (search.targetV - start.volts) / dv,
        (search.targetV * (1 - t) - start.volts) / dv,
        (search.targetV * (1 + t) - start.volts) / dv,
        (search.targetI - start.milliamps) / di,
    };
    std::array<int, 2 + 2 * std::size(bends)> candidates{kR2Min, last};
    std::size_t n = 2;
    for (const double at : bends) {
        if (!std::isfinite(at))
            continue;
        const double clamped = std::clamp(at + kR2Min, double(kR2Min), double(last));
        candidates[n++] = static_cast<int>(std::floor(clamped));
        candidates[n++] = static_cast<int>(std::ceil(clamped));
    }
    std::sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(n));
    const auto end =
        std::unique(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(n));
    for (auto it = candidates.begin(); it != end; ++it)
        search.consider(hsR1, *it, positions.at(hsR1, *it));
}

QString modelName(TargetModel m) {
    return m == TargetModel::Window ? QStringLiteral("in the window")
                                    : QStringLiteral("on a real chip");
}

// Why the best design misses the target, reference first.
QString unreachedReason(const TargetSolution& s, const Search& search, double headroomVolts) {
    if (s.volts > headroomVolts)
        return QStringLiteral("A reference above V+ - 1.5 V = ") + volts(headroomVolts) +
               QStringLiteral(" is more than the chip can hold on this supply.");
    if (search.cost.referenceExcess > 0)
        return QStringLiteral("The sliders reach a reference of ") + volts(search.vLow) +
               QStringLiteral(" to ") + volts(search.vHigh) + QLatin1Char(' ') +
               modelName(s.model) + QStringLiteral(" here; the nearest is kept.");
    return QStringLiteral("At ") + volts(s.volts) + QStringLiteral(" the LED current ") +
           modelName(s.model) + QStringLiteral(" can only be ") + milliamps(search.iLow) +
           QStringLiteral(" to ") + milliamps(search.iHigh) +
           QStringLiteral(": the reference is kept and the current given up.");
}

} // namespace

RealCircuit targetCircuit(const ChipModel& model, const PanelInputs& panel, int chip, int hsR1,
                          int vsR2) {
    const ChipInputs& in = panel.chip[chip];
    RealCircuit c;
    c.R1 = hsR1 * kR1Ohms;
    c.R2 = vsR2 * kR2Ohms;
    c.rhiOnReference = in.optRHi[0];
    c.rhiVolts = model.state[chip].VrHi;
    c.rloVolts = model.state[chip].VrLo;
    c.vplus = parse(in.Text1);
    c.ledSupply = parse(in.txtLED);
    c.ledVf = model.ledVf[chip];
    c.dot = in.optMode[1];
    return c;
}

TargetSolution solveTarget(const ChipModel& model, const PanelInputs& panel, int chip,
                           QStringView voltsText, QStringView milliampsText,
                           TargetModel targetModel, const Corner* corner) {
    TargetSolution s;
    s.model = targetModel;
    s.volts = parse(voltsText);
    s.milliamps = parse(milliampsText);
    if (!showable(s.volts) || !showable(s.milliamps)) {
        s.reason = QStringLiteral("The target is out of range.");
        return s;
    }
    if (s.volts <= 0 || s.milliamps <= 0) {
        s.reason = QStringLiteral("Enter a reference above 1.25 V and an LED current above 0 mA.");
        return s;
    }
    const double vadj = s.volts - 1.25;
    const double iref = (s.milliamps - 1 - vadj) / 10; // mA
    s.exactR1 = 1.25 / iref * 1000;
    s.exactR2 = vadj / iref * 1000;

    const Corner nominal = nominalCorner(ChipKind::LM3914);
    Positions positions(model, panel, chip, targetModel, corner ? *corner : nominal);
    Search search;
    search.targetV = s.volts;
    search.targetI = s.milliamps;
    for (int hsR1 = kR1Min; hsR1 <= kR1Max; ++hsR1)
        tryR1(hsR1, positions, search);
    if (!search.found) {
        s.reason = QStringLiteral("No slider position keeps the reference within V+ - 1.5 V = ") +
                   volts(positions.headroomVolts()) + QLatin1Char(' ') + modelName(targetModel) +
                   QStringLiteral(": raise V+.");
        return s;
    }

    s.usable = true;
    s.hsR1 = search.hsR1;
    s.vsR2 = search.vsR2;
    s.cost = search.cost;
    WindowProbe probe(model, panel, chip);
    probe.runSliders(s.hsR1, s.vsR2);
    s.lblR1 = probe.view().lblR1;
    s.lblR2 = probe.view().lblR2;
    s.lblRefo = probe.view().lblRefo;
    s.lblmA = probe.view().lblmA;
    s.windowVolts = probe.state().Vref;
    s.windowMilliamps = probe.state().Iled;
    const RealCircuit circuit = targetCircuit(model, panel, chip, s.hsR1, s.vsR2);
    const RealBands bands = realBands(circuit);
    s.realVolts = bands.reference;
    s.realMilliamps = bands.ledCurrent;
    const double r1 = s.hsR1 * kR1Ohms;
    const double r2 = s.vsR2 * kR2Ohms;
    s.e24 = standardPair(probe, r1, r2, Series::E24);
    s.e96 = standardPair(probe, r1, r2, Series::E96);
    s.pairE24 = bestStandardPair(circuit, Series::E24, s.volts, s.milliamps);
    s.pairE96 = bestStandardPair(circuit, Series::E96, s.volts, s.milliamps);

    const Figures at = positions.at(s.hsR1, s.vsR2);
    s.reached = s.volts <= positions.headroomVolts() &&
                onTarget(at.volts, at.milliamps, s.volts, s.milliamps);
    if (!s.reached)
        s.reason = unreachedReason(s, search, positions.headroomVolts());
    return s;
}

namespace {

QString partsLine(const StandardPair& p, const char* series) {
    if (p.R1 <= 0)
        return {};
    return QStringLiteral("R1 ") + ohms(p.R1) + QStringLiteral(" and R2 ") + ohms(p.R2) +
           QStringLiteral(" (") + QLatin1StringView(series) +
           QStringLiteral(", nearest each): the window shows ") + p.lblRefo +
           QStringLiteral(" and ") + p.lblmA + QLatin1Char('.');
}

QString realPairLine(const RealPair& p, const char* series) {
    if (p.R1 <= 0)
        return {};
    return QStringLiteral("R1 ") + ohms(p.R1) + QStringLiteral(" and R2 ") + ohms(p.R2) +
           QStringLiteral(" (") + QLatin1StringView(series) +
           QStringLiteral(", chosen together): a real chip makes ") + volts(p.reference) +
           QStringLiteral(" (") + percent(p.referenceError) + QStringLiteral(") and ") +
           milliamps(p.ledCurrent) + QStringLiteral(" (") + percent(p.currentError) +
           QStringLiteral(").");
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
            QString::number(s.vsR2) + QStringLiteral(").\nThe window will show ") + s.lblRefo +
            QStringLiteral(" and ") + s.lblmA + QStringLiteral(".\nA real chip makes ") +
            volts(s.realVolts.nominal) + QStringLiteral(" (") + volts(s.realVolts.low) +
            QStringLiteral(" to ") + volts(s.realVolts.high) + QStringLiteral(") and ") +
            milliamps(s.realMilliamps.nominal) + QStringLiteral(" (") +
            milliamps(s.realMilliamps.low) + QStringLiteral(" to ") +
            milliamps(s.realMilliamps.high) + QStringLiteral(").");
    const QString lines[] = {partsLine(s.e24, "E24"), partsLine(s.e96, "E96"),
                             realPairLine(s.pairE24, "E24"), realPairLine(s.pairE96, "E96")};
    for (const QString& line : lines)
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
