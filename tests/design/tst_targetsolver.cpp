#include "designfixture.h"
#include "targetsolver.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace kestrelon;

namespace {

struct Shown {
    double vref;
    double iled;
};

// The window's reference and LED current for two slider positions, worked out by hand from its
// published formulas: the independent yardstick for the solver, which runs the window's own code.
Shown windowFormula(int hsR1, int vsR2, double vplus) {
    const double r1 = hsR1 * 5, r2 = vsR2 * 25;
    const double iref = 1.25 / (r1 / 1000);
    double vref = 1.25 + iref * (r2 / 1000);
    if (vref > vplus)
        vref = vplus - 1.5;
    return {vref, 10 * iref + 1 + iref * (r2 / 1000)};
}

double error(Shown s, double v, double i) {
    return std::fabs(s.vref - v) / v + std::fabs(s.iled - i) / i;
}

// The smallest error sum over every pair of slider positions.
double bestPossible(double v, double i, double vplus) {
    double best = std::numeric_limits<double>::infinity();
    for (int p1 = 50; p1 <= 1100; ++p1)
        for (int p2 = 0; p2 <= 1000; ++p2)
            best = std::min(best, error(windowFormula(p1, p2, vplus), v, i));
    return best;
}

} // namespace

class TestTargetSolver : public QObject {
    Q_OBJECT

private slots:
    void workedExample();
    void bestPositionsOverTheWholeSliderRange_data();
    void bestPositionsOverTheWholeSliderRange();
    void unreachableTargetsSayWhy_data();
    void unreachableTargetsSayWhy();
    void unusableTargets_data();
    void unusableTargets();
    void prefillIsWhatTheWindowShows();
};

void TestTargetSolver::workedExample() {
    DesignPanel p;
    p.in.chip[1].Text1 = QStringLiteral("15");
    const TargetSolution s = solveTarget(p.model, p.in, 1, u"5.00", u"10.0");
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
    for (const char* expected :
         {"hsR1 475", "vsR2 285", "5.00v and 10.0 mA/LED", "2.4 kΩ", "2.37 kΩ", "7.15 kΩ"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));
    QVERIFY(!text.contains(QLatin1String("Not reachable")));
}

void TestTargetSolver::bestPositionsOverTheWholeSliderRange_data() {
    QTest::addColumn<QString>("volts");
    QTest::addColumn<QString>("milliamps");
    QTest::addColumn<QString>("vplus");
    const auto row = [](const char* name, const char* v, const char* mA, const char* vplus) {
        QTest::newRow(name) << QString::fromLatin1(v) << QString::fromLatin1(mA)
                            << QString::fromLatin1(vplus);
    };
    row("worked example", "5", "10", "15");
    row("on the first start's supply", "5", "10", "5");
    row("low reference, bright", "1.5", "25", "15");
    row("current too low for the reference", "5", "3", "15");
    row("above the supply limit", "6", "15", "5");
    row("just above the supply", "5.1", "10", "5");
    row("far above the supply", "9", "12", "5");
    row("above a 12 V supply", "12.5", "20", "12");
    row("R1 beyond its slider", "1.5", "2.25", "15");
    row("R2 beyond its slider", "30", "39.75", "40");
    row("below 1.25 V", "1", "10", "15");
    row("huge current", "3", "500", "15");
}

void TestTargetSolver::bestPositionsOverTheWholeSliderRange() {
    QFETCH(QString, volts);
    QFETCH(QString, milliamps);
    QFETCH(QString, vplus);
    DesignPanel p;
    p.in.chip[0].Text1 = vplus;
    const TargetSolution s = solveTarget(p.model, p.in, 0, volts, milliamps);
    QVERIFY(s.usable);
    QVERIFY(s.hsR1 >= 50 && s.hsR1 <= 1100);
    QVERIFY(s.vsR2 >= 0 && s.vsR2 <= 1000);
    const double v = volts.toDouble(), i = milliamps.toDouble();
    const double got = error(windowFormula(s.hsR1, s.vsR2, vplus.toDouble()), v, i);
    const double best = bestPossible(v, i, vplus.toDouble());
    QVERIFY2(
        got <= best + 1e-12,
        qPrintable(
            QStringLiteral("%1/%2 misses the best by %3").arg(s.hsR1).arg(s.vsR2).arg(got - best)));
    QVERIFY(!showsBrokenNumber(targetText(s)));
}

void TestTargetSolver::unreachableTargetsSayWhy_data() {
    QTest::addColumn<QString>("volts");
    QTest::addColumn<QString>("milliamps");
    QTest::addColumn<QString>("vplus");
    QTest::addColumn<QString>("reason");
    QTest::newRow("I_ref not positive") << "5"
                                        << "3"
                                        << "15"
                                        << "always above 4.8 mA (1 mA plus the volts across R2)";
    QTest::newRow("I_ref exactly zero") << "5"
                                        << "4.75"
                                        << "15"
                                        << "always above";
    QTest::newRow("below the bandgap") << "1"
                                       << "10"
                                       << "15"
                                       << "cannot go below 1.25 V";
    QTest::newRow("R1 above 5.5k") << "1.5"
                                   << "2.25"
                                   << "15"
                                   << "R1 would be 12.5 kΩ, outside the slider's 250 Ω to 5.5 kΩ.";
    QTest::newRow("R1 below 250 ohm") << "1.25"
                                      << "80"
                                      << "15"
                                      << "R1 would be 158 Ω";
    QTest::newRow("R2 above 25k") << "30"
                                  << "39.75"
                                  << "40"
                                  << "R2 would be 28.8 kΩ, above the slider's 25 kΩ.";
    QTest::newRow("clamped above V+") << "6"
                                      << "15"
                                      << "5"
                                      << "Above V+ (5.00 V)";
}

void TestTargetSolver::unreachableTargetsSayWhy() {
    QFETCH(QString, volts);
    QFETCH(QString, milliamps);
    QFETCH(QString, vplus);
    QFETCH(QString, reason);
    DesignPanel p;
    p.in.chip[0].Text1 = vplus;
    const TargetSolution s = solveTarget(p.model, p.in, 0, volts, milliamps);
    QVERIFY(s.usable);
    QVERIFY(!s.reached);
    QVERIFY2(s.reason.contains(reason), qPrintable(s.reason));
    const QString text = targetText(s);
    QVERIFY2(text.startsWith(QLatin1String("Not reachable: ")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("Nearest design: R1 ")), qPrintable(text));
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
