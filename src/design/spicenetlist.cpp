#include "spicenetlist.h"

#include "chipsheet.h"
#include "version.h"

#include <cmath>
#include <set>

namespace kestrelon {

namespace {

// Thermal voltage at ngspice's default 27 °C.
constexpr double kThermalVolts = 0.025865;
// Saturation current of the LED model; its emission coefficient then gives the forward voltage.
constexpr double kLedSaturation = 1e-18;
// How sharply a comparator switches: over about a millivolt, as steep as the simulation needs.
constexpr char kComparatorWidth[] = "1m";

QString num(double value) {
    return QString::number(value, 'g', 9);
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

class Netlist {
public:
    void line(const QString& text = {}) {
        m_text += text;
        m_text += QLatin1Char('\n');
    }
    void comment(const QString& text) { line(QStringLiteral("* ") + text); }
    QString text() const { return m_text; }

private:
    QString m_text;
};

void subcircuit(Netlist& n, const ChipSheet& sheet) {
    const QString name = latin1(sheet.name);
    const double total = sheet.dividerOhms.typ;
    n.comment(name + QStringLiteral(": behavioural model of the data sheet's typical chip"));
    n.line(QStringLiteral(".subckt ") + name +
           QStringLiteral(" VP VM REFOUT REFADJ RLO RHI SIG MODE L1 L2 L3 L4 L5 L6 L7 L8 L9 L10"));
    n.comment(QStringLiteral("Reference: REF OUT held ") + num(kFamily.referenceNominal) +
              QStringLiteral(" V above REF ADJ; VIREF senses the current drawn from it"));
    n.line(QStringLiteral("BREF REFI VM V=V(REFADJ,VM)+") + num(kFamily.referenceNominal));
    n.line(QStringLiteral("VIREF REFI REFOUT 0"));
    n.comment(QStringLiteral("Adjust-pin current out of REF ADJ, typical"));
    n.line(QStringLiteral("IADJ VP REFADJ ") + num(kFamily.adjustCurrent.typ));
    n.comment(QStringLiteral("Internal divider from RLO to RHI, ") + num(total) +
              QStringLiteral(" ohm typical; comparator n's tap Tn sits at its ratio of the span"));
    QString below = QStringLiteral("RLO");
    double ratioBelow = 0;
    for (int i = 0; i < 10; ++i) {
        const QString tap = i == 9 ? QStringLiteral("RHI") : QStringLiteral("T%1").arg(i + 1);
        const double ratio = sheet.ratios[static_cast<std::size_t>(i)];
        n.line(QStringLiteral("RDIV%1 %2 %3 ").arg(i + 1).arg(below, tap) +
               num((ratio - ratioBelow) * total));
        below = tap;
        ratioBelow = ratio;
    }
    n.comment(QStringLiteral("Mode: bar while MODE is within ") +
              num(kFamily.barModeWindow * 1000) +
              QStringLiteral(" mV of V+, dot while it is open (pulled down inside)"));
    n.line(QStringLiteral("RMODE MODE VM 1meg"));
    n.line(QStringLiteral("BBAR BAR VM V=V(MODE,VM) > V(VP,VM)-") + num(kFamily.barModeWindow) +
           QStringLiteral(" ? 1 : 0"));
    n.comment(QStringLiteral("Ten comparators: Cn is 1 while SIG is above tap n"));
    for (int i = 1; i <= 10; ++i) {
        const QString tap = i == 10 ? QStringLiteral("RHI") : QStringLiteral("T%1").arg(i);
        n.line(QStringLiteral("BC%1 C%1 VM V=0.5*(1+tanh((V(SIG)-V(%2))/%3))")
                   .arg(i)
                   .arg(tap, QLatin1StringView(kComparatorWidth)));
    }
    n.comment(QStringLiteral("Outputs: ") + num(kFamily.outputRatio.typ) +
              QStringLiteral(" times the reference current while lit (bar: Cn; dot: Cn and not "
                             "C(n+1)), falling off below ") +
              num(kFamily.dropout) + QStringLiteral(" V across the output"));
    for (int i = 1; i <= 10; ++i) {
        const QString lit =
            i == 10 ? QStringLiteral("V(C10)")
                    : QStringLiteral("V(C%1)*(V(BAR)+(1-V(BAR))*(1-V(C%2)))").arg(i).arg(i + 1);
        n.line(QStringLiteral("BOUT%1 L%1 VM I=").arg(i) + num(kFamily.outputRatio.typ) +
               QStringLiteral("*I(VIREF)*") + lit +
               QStringLiteral("*min(1,max(0,V(L%1,VM)/").arg(i) + num(kFamily.dropout) +
               QStringLiteral("))"));
    }
    n.line(QStringLiteral(".ends ") + name);
    n.line();
}

QString ledModel(int chip) {
    return QStringLiteral("DLED%1").arg(chip + 1);
}

void chipCircuit(Netlist& n, const ChipDesign& d) {
    const int k = d.chip + 1;
    const QString s = QString::number(k);
    const RealCircuit& c = d.circuit;
    n.comment(QStringLiteral("Chip #") + s);
    n.comment(QStringLiteral("Chip supply V+ and LED supply"));
    n.line(QStringLiteral("VPLUS%1 VP%1 0 DC ").arg(k) + num(c.vplus));
    n.line(QStringLiteral("VLED%1 VLED%1 0 DC ").arg(k) + num(c.ledSupply));
    n.comment(QStringLiteral("R1 from REF OUT to REF ADJ sets the LED current; R2 from REF ADJ "
                             "to ground the reference"));
    n.line(QStringLiteral("R1_%1 REFOUT%1 REFADJ%1 ").arg(k) + num(c.R1));
    // A wire link stands for R2 = 0, which no resistor can.
    if (c.R2 > 0)
        n.line(QStringLiteral("R2_%1 REFADJ%1 0 ").arg(k) + num(c.R2));
    else
        n.line(QStringLiteral("VR2_%1 REFADJ%1 0 DC 0").arg(k));

    QString rhi = QStringLiteral("RHI") + s;
    if (!c.rhiOnReference) {
        n.comment(QStringLiteral("RHi on an external voltage (+Vext Hi)"));
        n.line(QStringLiteral("VRHI%1 RHI%1 0 DC ").arg(k) + num(c.rhiVolts));
    } else {
        n.comment(QStringLiteral("RHi wired to REF OUT (Ref Inp)"));
        rhi = QStringLiteral("REFOUT") + s;
    }
    QString rlo = QStringLiteral("RLO") + s;
    if (d.inputs.optRLo[1]) {
        n.comment(QStringLiteral("RLo on an external voltage (Vext Lo)"));
        n.line(QStringLiteral("VRLO%1 RLO%1 0 DC ").arg(k) + num(c.rloVolts));
    } else {
        n.comment(QStringLiteral("RLo wired to ground (0V)"));
        rlo = QStringLiteral("0");
    }

    const bool bar = !c.dot;
    n.comment(bar ? QStringLiteral("MODE wired to V+: bar mode")
                  : QStringLiteral("MODE left open: dot mode"));
    const QString mode = bar ? QStringLiteral("VP") + s : QStringLiteral("MODE") + s;

    n.comment(QStringLiteral("The signal: its full scale times the slider's fraction"));
    n.line(QStringLiteral("BSIG%1 SIG%1 0 V=").arg(k) + num(d.signalFullScale) +
           QStringLiteral("*V(FRAC)"));

    QString anodes = QStringLiteral("VLED") + s;
    if (c.seriesOhms > 0) {
        n.comment(QStringLiteral("Limiting resistor from the LED supply to the LED anodes"));
        n.line(QStringLiteral("RLIM%1 VLED%1 ANODE%1 ").arg(k) + num(c.seriesOhms));
        anodes = QStringLiteral("ANODE") + s;
    }
    n.comment(QStringLiteral("LEDs: ") +
              (d.ledColour.isEmpty() ? QStringLiteral("no colour") : d.ledColour) +
              QStringLiteral(", ") + num(c.ledVf) +
              QStringLiteral(" V forward; VDk_n senses LED n's current"));
    for (int i = 1; i <= 10; ++i) {
        n.line(QStringLiteral("D%1_%2 %3 K%1_%2 ").arg(k).arg(i).arg(anodes) + ledModel(d.chip));
        n.line(QStringLiteral("VD%1_%2 K%1_%2 L%1_%2 DC 0").arg(k).arg(i));
    }
    QString pins;
    for (int i = 1; i <= 10; ++i)
        pins += QStringLiteral(" L%1_%2").arg(k).arg(i);
    n.line(QStringLiteral("XU%1 VP%1 0 REFOUT%1 REFADJ%1 %2 %3 SIG%1 %4").arg(s, rlo, rhi, mode) +
           pins + QLatin1Char(' ') + latin1(chipSheet(d.circuit.kind).name));
    n.line();
}

// A diode that drops the colour's forward voltage at the design's LED current.
void ledModelCard(Netlist& n, const ChipDesign& d) {
    const double amps =
        d.iled.nominal > 0 && std::isfinite(d.iled.nominal) ? d.iled.nominal / 1000 : 0.01;
    const double vf = d.ledVf > 0 ? d.ledVf : 2.0;
    const double emission = vf / (kThermalVolts * std::log(amps / kLedSaturation));
    n.line(QStringLiteral(".model ") + ledModel(d.chip) + QStringLiteral(" D(IS=") +
           num(kLedSaturation) + QStringLiteral(" N=") + num(emission) + QLatin1Char(')'));
}

} // namespace

QString spiceNetlist(const ChipDesign& chip1, const ChipDesign& chip2) {
    Netlist n;
    const QString first = QLatin1String(chipSheet(chip1.circuit.kind).name);
    const QString second = QLatin1String(chipSheet(chip2.circuit.kind).name);
    // SPICE reads the first line as the title.
    n.line(QStringLiteral("Kestrelon ") +
           (first == second ? first : first + QLatin1Char('/') + second) +
           QStringLiteral(" bar-graph design"));
    n.comment(QStringLiteral("Written by %1 %2.%3.%4 for ngspice: ngspice -b this-file")
                  .arg(QLatin1StringView(kAppTitle))
                  .arg(kVersionMajor)
                  .arg(kVersionMinor)
                  .arg(kVersionRevision));
    n.comment(QStringLiteral("Chip #1 is the lower schematic, chip #2 the upper."));
    n.line();

    std::set<ChipKind> kinds{chip1.circuit.kind, chip2.circuit.kind};
    for (ChipKind kind : kinds)
        subcircuit(n, chipSheet(kind));

    n.comment(QStringLiteral("FRAC is the signal sliders' position, 0 to 1 of full scale"));
    n.line(QStringLiteral("VFRAC FRAC 0 DC 0"));
    n.line();
    chipCircuit(n, chip1);
    chipCircuit(n, chip2);
    ledModelCard(n, chip1);
    ledModelCard(n, chip2);
    n.line();
    n.comment(QStringLiteral("The signals from 0 to full scale in the sliders' 1000 steps"));
    n.line(QStringLiteral(".dc VFRAC 0 1 0.001"));
    n.line(QStringLiteral(".control"));
    n.line(QStringLiteral("set width=1000"));
    n.line(QStringLiteral("set height=100000"));
    n.line(QStringLiteral("run"));
    for (int k = 1; k <= 2; ++k) {
        QString print = QStringLiteral("print v(sig%1)").arg(k);
        for (int i = 1; i <= 10; ++i)
            print += QStringLiteral(" i(vd%1_%2)").arg(k).arg(i);
        n.line(print);
    }
    // Batch runs report success only when the block ends them.
    n.line(QStringLiteral("quit 0"));
    n.line(QStringLiteral(".endc"));
    n.line(QStringLiteral(".end"));
    return n.text();
}

} // namespace kestrelon
