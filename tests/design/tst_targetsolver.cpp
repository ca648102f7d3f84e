#include "designfixture.h"
#include "figuretext.h"
#include "targetsolver.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

using namespace kestrelon;

namespace {

constexpr double kTolerance = 0.005;

struct Shown {
    double vref;
    double iled;
};

// The window's reference (unlimited) and LED current for two slider positions, worked out by
// hand from its published formulas: the independent yardstick for the solver, which runs the
// window's own code.
Shown windowFormula(int hsR1, int vsR2) {
    const double r1 = hsR1 * 5, r2 = vsR2 * 25;
    const double iref = 1.25 / (r1 / 1000);
    return {1.25 + iref * (r2 / 1000), 10 * iref + 1 + iref * (r2 / 1000)};
}

// A real chip with RHi on its reference and RLo grounded, from the data sheet's equations.
Shown realFormula(int hsR1, int vsR2, const Corner& c) {
    const double r1 = hsR1 * 5, r2 = vsR2 * 25;
    const double vref = c.cell * (1 + r2 / r1) + c.adjustCurrent * r2;
    return {vref, c.outputRatio * (c.cell / r1 + vref / c.dividerOhms) * 1000};
}

// The reference first, within half a per cent, then the sum of both relative errors.
struct Cost {
    double excess;
    double sum;
};

Cost costOf(Shown s, double v, double i) {
    const double ev = std::fabs(s.vref - v) / v;
    return {std::max(0.0, ev - kTolerance), ev + std::fabs(s.iled - i) / i};
}

bool better(Cost a, Cost b) {
    return a.excess != b.excess ? a.excess < b.excess : a.sum < b.sum;
}

// The judged figures of a position, or nothing when the window limits its reference or the
// judged reference passes V+ - 1.5 V.
std::optional<Shown> judged(int p1, int p2, double vplus, const Corner* corner) {
    const Shown window = windowFormula(p1, p2);
    if (window.vref > vplus)
        return std::nullopt;
    const Shown s = corner ? realFormula(p1, p2, *corner) : window;
    if (s.vref > vplus - 1.5)
        return std::nullopt;
    return s;
}

// The lowest cost over every pair of slider positions.
Cost bestPossible(double v, double i, double vplus, const Corner* corner) {
    Cost best{std::numeric_limits<double>::infinity(), 0};
    for (int p1 = 50; p1 <= 1100; ++p1)
        for (int p2 = 0; p2 <= 1000; ++p2)
            if (const auto s = judged(p1, p2, vplus, corner); s && better(costOf(*s, v, i), best))
                best = costOf(*s, v, i);
    return best;
}

std::vector<Corner> everyCorner() {
    std::vector<Corner> corners{nominalCorner(ChipKind::LM3914)};
    for (int mask = 0; mask < 16; ++mask)
        corners.push_back({mask & 1 ? 1.34 : 1.20, mask & 2 ? 120e-6 : 0.0, mask & 4 ? 17e3 : 8e3,
                           mask & 8 ? 13.0 : 7.0, 1, 1});
    return corners;
}

} // namespace

class TestTargetSolver : public QObject {
    Q_OBJECT

private slots:
    void workedExample();
    void realChipIsTheDefault();
    void bestPositionsOverTheWholeSliderRange_data();
    void bestPositionsOverTheWholeSliderRange();
    void noPickIsLimited();
    void withinHalfAPerCentIsReached();
    void unreachableTargetsSayWhy_data();
    void unreachableTargetsSayWhy();
    void unusableTargets_data();
    void unusableTargets();
    void prefillIsWhatTheWindowShows();
};

void TestTargetSolver::workedExample() {
    DesignPanel p;
    p.in.chip[1].Text1 = QStringLiteral("15");
    const TargetSolution s = solveTarget(p.model, p.in, 1, u"5.00", u"10.0", TargetModel::Window);
    QVERIFY(s.usable);
    QVERIFY2(s.reached, qPrintable(s.reason));
    QCOMPARE(qRound(s.exactR1), 2381);
    QCOMPARE(qRound(s.exactR2), 7143);
    // Rounding the formulas' resistors would give 476 and 286; 475 and 285 come closer.
    QCOMPARE(s.hsR1, 475);
    QCOMPARE(s.vsR2, 285);
    QCOMPARE(s.lblR1, QStringLiteral("2.38k"));
    QCOMPARE(s.lblR2, QStringLiteral("7.13k"));
    QCOMPARE(s.lblRefo, QStringLiteral("5.00v"));
    QCOMPARE(s.lblmA, QStringLiteral("10.0 mA/LED"));
    QCOMPARE(s.e24.R1, 2400.0);
    QCOMPARE(s.e96.R1, 2370.0);
    QCOMPARE(s.e96.R2, 7150.0);
    const QString text = targetText(s);
    // The real chip at those positions: 1.25 V x 4 + 75 uA x 7.13 kΩ.
    for (const char* expected : {"hsR1 475", "vsR2 285", "5.00v and 10.0 mA/LED", "2.4 kΩ",
                                 "2.37 kΩ", "7.15 kΩ", "A real chip makes 5.53 V"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));
    QVERIFY(!text.contains(QLatin1String("Not reachable")));
}

void TestTargetSolver::realChipIsTheDefault() {
    DesignPanel p;
    p.in.chip[0].Text1 = QStringLiteral("15");
    const TargetSolution s = solveTarget(p.model, p.in, 0, u"5", u"10");
    QCOMPARE(s.model, TargetModel::RealChip);
    QVERIFY2(s.reached, qPrintable(s.reason));
    QVERIFY(std::fabs(s.realVolts.nominal - 5) <= 5 * kTolerance);
    QVERIFY(std::fabs(s.realMilliamps.nominal - 10) <= 10 * kTolerance);
    // The window's own figures at the pick differ, and the dialog shows both.
    QVERIFY(std::fabs(s.windowVolts - 5) > 0.1);
    const QString text = targetText(s);
    QVERIFY2(text.contains(s.lblRefo) && text.contains(volts(s.realVolts.nominal)),
             qPrintable(text));
}

void TestTargetSolver::bestPositionsOverTheWholeSliderRange_data() {
    QTest::addColumn<QString>("volts");
    QTest::addColumn<QString>("milliamps");
    QTest::addColumn<QString>("vplus");
    QTest::addColumn<bool>("corners"); // every corner of a real chip as well
    const auto row = [](const char* name, const char* v, const char* mA, const char* vplus,
                        bool corners) {
        QTest::newRow(name) << QString::fromLatin1(v) << QString::fromLatin1(mA)
                            << QString::fromLatin1(vplus) << corners;
    };
    row("worked example", "5", "10", "15", true);
    row("on the first start's supply", "3.5", "10", "5", true);
    row("low reference, bright", "1.5", "25", "15", true);
    row("current too low for the reference", "5", "3", "15", true);
    row("above the supply limit", "6", "15", "5", false);
    row("above a 12 V supply", "12.5", "20", "12", false);
    row("R1 beyond its slider", "1.5", "2.25", "15", false);
    row("R2 beyond its slider", "30", "39.75", "40", false);
    row("below 1.25 V", "1", "10", "15", false);
    row("huge current", "3", "500", "15", false);
}

void TestTargetSolver::bestPositionsOverTheWholeSliderRange() {
    QFETCH(QString, volts);
    QFETCH(QString, milliamps);
    QFETCH(QString, vplus);
    QFETCH(bool, corners);
    DesignPanel p;
    p.in.chip[0].Text1 = vplus;
    p.recalc();
    const double v = volts.toDouble(), i = milliamps.toDouble(), supply = vplus.toDouble();
    std::vector<std::optional<Corner>> models{std::nullopt, nominalCorner(ChipKind::LM3914)};
    if (corners)
        for (const Corner& c : everyCorner())
            models.emplace_back(c);
    for (const std::optional<Corner>& corner : models) {
        const Corner* c = corner ? &*corner : nullptr;
        const TargetSolution s =
            solveTarget(p.model, p.in, 0, volts, milliamps,
                        corner ? TargetModel::RealChip : TargetModel::Window, c);
        QVERIFY(s.usable);
        const auto got = judged(s.hsR1, s.vsR2, supply, c);
        QVERIFY2(got, "the pick is limited or above V+ - 1.5 V");
        const Cost cost = costOf(*got, v, i);
        const Cost best = bestPossible(v, i, supply, c);
        QVERIFY2(std::fabs(cost.excess - best.excess) < 1e-12 &&
                     std::fabs(cost.sum - best.sum) < 1e-12,
                 qPrintable(QStringLiteral("%1/%2 misses the best by %3, %4")
                                .arg(s.hsR1)
                                .arg(s.vsR2)
                                .arg(cost.excess - best.excess)
                                .arg(cost.sum - best.sum)));
        QVERIFY(!showsBrokenNumber(targetText(s)));
    }
}

void TestTargetSolver::noPickIsLimited() {
    // 500/320 comes closest in the window's figures, but the window limits it ("Vref Limit").
    DesignPanel p;
    p.in.chip[0].Text1 = QStringLiteral("5");
    for (const TargetModel m : {TargetModel::Window, TargetModel::RealChip}) {
        const TargetSolution s = solveTarget(p.model, p.in, 0, u"3.5", u"10", m);
        QVERIFY(s.usable);
        p.setSliders(0, s.hsR1, s.vsR2);
        QVERIFY(p.model.view[0].Label9.trimmed().isEmpty());
        QVERIFY(s.realVolts.nominal <= 3.5 || m == TargetModel::Window);
        if (m == TargetModel::Window) {
            QVERIFY2(s.reached, qPrintable(s.reason));
            QVERIFY(s.windowVolts <= 3.5);
        }
    }
}

void TestTargetSolver::withinHalfAPerCentIsReached() {
    // The window shows 1.25 V and 3.27 mA/LED at R1 5.5 kΩ and no R2.
    DesignPanel p;
    p.in.chip[0].Text1 = QStringLiteral("15");
    const TargetSolution s = solveTarget(p.model, p.in, 0, u"1.25", u"3.2727", TargetModel::Window);
    QVERIFY2(s.reached, qPrintable(s.reason));
    QCOMPARE(s.hsR1, 1100);
    QCOMPARE(s.vsR2, 0);
}

void TestTargetSolver::unreachableTargetsSayWhy_data() {
    QTest::addColumn<QString>("volts");
    QTest::addColumn<QString>("milliamps");
    QTest::addColumn<QString>("vplus");
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("reason");
    const int window = int(TargetModel::Window), real = int(TargetModel::RealChip);
    // The smallest current the window shows at 5 V: R1 5.5 kΩ, 2.27 + 1 + 3.75 mA.
    QTest::newRow("window current too low") << "5"
                                            << "3"
                                            << "15" << window << "can only be 7.0 mA to";
    // A real chip: 10 x (1.25 V / 5.5 kΩ + 5 V / 12 kΩ).
    QTest::newRow("real current too low") << "5"
                                          << "3"
                                          << "15" << real << "can only be 6.4 mA to";
    QTest::newRow("below the bandgap") << "1"
                                       << "10"
                                       << "15" << real << "reference of 1.25 V to 13.50 V";
    QTest::newRow("above V+ - 1.5 V") << "4"
                                      << "10"
                                      << "5" << real << "V+ - 1.5 V = 3.50 V";
    QTest::newRow("above V+ in the window") << "6"
                                            << "15"
                                            << "5" << window << "V+ - 1.5 V = 3.50 V";
}

void TestTargetSolver::unreachableTargetsSayWhy() {
    QFETCH(QString, volts);
    QFETCH(QString, milliamps);
    QFETCH(QString, vplus);
    QFETCH(int, model);
    QFETCH(QString, reason);
    DesignPanel p;
    p.in.chip[0].Text1 = vplus;
    p.recalc();
    const TargetSolution s = solveTarget(p.model, p.in, 0, volts, milliamps, TargetModel(model));
    QVERIFY(s.usable);
    QVERIFY(!s.reached);
    QVERIFY2(s.reason.contains(reason), qPrintable(s.reason));
    const QString text = targetText(s);
    QVERIFY2(text.startsWith(QLatin1String("Not reachable: ")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("Nearest design: R1 ")), qPrintable(text));
    // The nearest design is one the window shows unlimited, within V+ - 1.5 V.
    const Corner nominal = nominalCorner(ChipKind::LM3914);
    QVERIFY(judged(s.hsR1, s.vsR2, vplus.toDouble(),
                   s.model == TargetModel::Window ? nullptr : &nominal));
}

void TestTargetSolver::unusableTargets_data() {
    QTest::addColumn<QString>("volts");
    QTest::addColumn<QString>("milliamps");
    QTest::addColumn<QString>("reason");
    QTest::newRow("letters read as 0 V") << "five"
                                         << "10"
                                         << "above 1.25 V";
    QTest::newRow("no current") << "5"
                                << "0"
                                << "above 0 mA";
    QTest::newRow("negative current") << "5"
                                      << "-10"
                                      << "above 0 mA";
    QTest::newRow("volts beyond double range") << "1e999"
                                               << "10"
                                               << "out of range";
    QTest::newRow("current beyond double range") << "5"
                                                 << "-1e999"
                                                 << "out of range";
    QTest::newRow("absurd volts") << "1e300"
                                  << "10"
                                  << "out of range";
}

void TestTargetSolver::unusableTargets() {
    QFETCH(QString, volts);
    QFETCH(QString, milliamps);
    QFETCH(QString, reason);
    const DesignPanel p;
    const TargetSolution s = solveTarget(p.model, p.in, 0, volts, milliamps);
    QVERIFY(!s.usable);
    QVERIFY(!s.reached);
    const QString text = targetText(s);
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY(!showsBrokenNumber(text));
}

void TestTargetSolver::prefillIsWhatTheWindowShows() {
    DesignPanel p;
    const TargetPrefill first = targetPrefill(p.model, 0);
    QCOMPARE(first.volts, QStringLiteral("4.46"));
    QCOMPARE(first.milliamps, QStringLiteral("7.8"));
    p.in.chip[1].Text1 = QStringLiteral("3"); // reference limited to 1.50 V
    p.recalc();
    QCOMPARE(targetPrefill(p.model, 1).volts, QStringLiteral("1.50"));
}

QTEST_GUILESS_MAIN(TestTargetSolver)
#include "tst_targetsolver.moc"
