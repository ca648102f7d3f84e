#include "realchip.h"

#include <QTest>

#include <cmath>

using namespace kestrelon;

namespace {

// The first-start circuit: R1 3.5 kΩ, R2 9 kΩ, RHi on the reference, RLo grounded, bar mode.
RealCircuit firstStart() {
    RealCircuit c;
    c.R1 = 3500;
    c.R2 = 9000;
    c.vplus = 5;
    c.ledSupply = 5;
    c.ledVf = 2;
    return c;
}

// A 24 V LED supply through 82 Ω into red LEDs at about 23 mA, on a 15 V chip supply.
RealCircuit hotBar() {
    RealCircuit c;
    c.R1 = 620;
    c.R2 = 1000;
    c.vplus = 15;
    c.ledSupply = 24;
    c.ledVf = 2;
    c.seriesOhms = 82;
    return c;
}

} // namespace

class TestRealChip : public QObject {
    Q_OBJECT

private slots:
    void bandsFollowTheDataSheetCorners_data();
    void bandsFollowTheDataSheetCorners();
    void thresholdsFollowEachChipsDivider();
    void heatPeaksAtAPartialBar();
    void limiterIsSizedForTheHighEndOfTheCurrent();
    void standardPairIsChosenTogether();
    void trimmerCoversEveryChip_data();
    void trimmerCoversEveryChip();
};

void TestRealChip::bandsFollowTheDataSheetCorners_data() {
    QTest::addColumn<double>("rhiVolts"); // negative: RHi on the reference
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<QList<double>>("reference"); // low, nominal, high
    QTest::addColumn<QList<double>>("current");
    // 1.20 V x (1 + 9/3.5) with no adjust-pin current; 1.34 V x 3.571 + 120 uA x 9 kΩ.
    // Current: (cell / R1 + reference / divider) x ratio, 17 kΩ and 7 at the low end.
    QTest::newRow("first start") << -1.0 << 0.0 << QList{4.2857, 5.1393, 5.8657}
                                 << QList{4.1647, 7.8542, 14.5089};
    // The divider hangs elsewhere: only R1 sets the current.
    QTest::newRow("RHi external") << 2.0 << 0.0 << QList{4.2857, 5.1393, 5.8657}
                                  << QList{2.4000, 3.5714, 4.9771};
    // 1 % parts: R1 3.465 kΩ and R2 9.09 kΩ at the high end.
    QTest::newRow("1 % resistors")
        << -1.0 << 0.01 << QList{4.2246, 5.1393, 5.9461} << QList{4.1158, 7.8542, 14.6899};
}

void TestRealChip::bandsFollowTheDataSheetCorners() {
    QFETCH(double, rhiVolts);
    QFETCH(double, tolerance);
    QFETCH(QList<double>, reference);
    QFETCH(QList<double>, current);
    RealCircuit c = firstStart();
    c.rhiOnReference = rhiVolts < 0;
    c.rhiVolts = rhiVolts;
    c.resistorTolerance = tolerance;
    const RealBands b = realBands(c);
    const auto near = [](double a, double b) { return std::fabs(a - b) < 5e-4; };
    QVERIFY2(near(b.reference.low, reference[0]), qPrintable(QString::number(b.reference.low)));
    QVERIFY2(near(b.reference.nominal, reference[1]),
             qPrintable(QString::number(b.reference.nominal)));
    QVERIFY2(near(b.reference.high, reference[2]), qPrintable(QString::number(b.reference.high)));
    QVERIFY2(near(b.ledCurrent.low, current[0]), qPrintable(QString::number(b.ledCurrent.low)));
    QVERIFY2(near(b.ledCurrent.nominal, current[1]),
             qPrintable(QString::number(b.ledCurrent.nominal)));
    QVERIFY2(near(b.ledCurrent.high, current[2]), qPrintable(QString::number(b.ledCurrent.high)));
    QCOMPARE(b.referenceHighest.cell, 1.34);
    QCOMPARE(b.referenceLowest.adjustCurrent, 0.0);
}

void TestRealChip::thresholdsFollowEachChipsDivider() {
    RealCircuit c = firstStart();
    c.kind = ChipKind::LM3915;
    c.rhiOnReference = false;
    c.rhiVolts = 10;
    c.rloVolts = 0;
    const RealBands b = realBands(c);
    // -3 dB below 10 V, and LED 1 at -27 dB; an external RHi has no spread.
    QCOMPARE(b.nominal.thresholds[8], 7.07);
    QCOMPARE(b.thresholds[0].low, b.thresholds[0].high);
    QVERIFY(std::fabs(b.nominal.thresholds[0] - 0.442) < 1e-12);
    // On the reference, LED 10 lights at the real reference, spread and all.
    c.rhiOnReference = true;
    const RealBands onReference = realBands(c);
    QCOMPARE(onReference.thresholds[9].high, onReference.reference.high);
    QCOMPARE(onReference.thresholds[9].low, onReference.reference.low);
}

void TestRealChip::heatPeaksAtAPartialBar() {
    const RealCircuit c = hotBar();
    const RealFigures f = realFigures(c, nominalCorner(c.kind));
    // 22.9 mA per LED: n x I x (22 V - 82 Ω x n x I), most at six lit, plus 73 mW standby and
    // 27 mW in the reference.
    QVERIFY(std::fabs(chipPower(c, 6, f) - 1.5743) < 1e-3);
    QVERIFY(std::fabs(chipPower(c, 10, f) - 0.8305) < 1e-3);
    const WorstPower worst = worstChipPower(c);
    QVERIFY(worst.lit > 1 && worst.lit < 10);
    QVERIFY(worst.watts >= chipPower(c, 6, f));
    // At 55 °C/W the junction reaches 100 °C below room temperature.
    QVERIFY(maxAmbient(worst.watts) < 25);

    RealCircuit dot = c;
    dot.dot = true;
    QCOMPARE(worstChipPower(dot).lit, 1);
}

void TestRealChip::limiterIsSizedForTheHighEndOfTheCurrent() {
    RealCircuit c = hotBar();
    c.seriesOhms = 0;
    const RealBands b = realBands(c);
    const RealLimiter r = sizeLimiter(c, b);
    QVERIFY(r.proposed);
    QCOMPARE(r.highCurrent, b.ledCurrent.high);
    // Ten LEDs at the high end leave 1 W in the chip: (22 V - 1 W / I) / I.
    const double total = 10 * b.ledCurrent.high / 1000;
    QVERIFY(std::fabs(r.minimum - (22 - 1 / total) / total) < 1e-9);
    QVERIFY(r.ohms >= r.minimum && standardAtOrBelow(r.ohms * 0.999, Series::E24) < r.minimum);
    QVERIFY(std::fabs(r.watts - total * total * r.ohms) < 1e-9);
    // 62 Ω, the part above 56.1 Ω, leaves ten LEDs at 33.8 mA less than 1.5 V: 20.5 V / 62 Ω.
    QCOMPARE(r.ohms, 62.0);
    QCOMPARE(r.starvedFrom, 10);
    QVERIFY(std::fabs(r.currentAllLit - 20.5 / 62 / 10 * 1000) < 1e-9);
    c.ledSupply = 12;
    const RealLimiter lower = sizeLimiter(c, b);
    QCOMPARE(lower.ohms, 22.0);
    QCOMPARE(lower.starvedFrom, 0);
    QCOMPARE(lower.currentAllLit, lower.highCurrent);

    // A 5 V LED supply: the resistor leaves the outputs less than 1.5 V from some lit count on.
    c.ledSupply = 6;
    RealCircuit starved = c;
    starved.seriesOhms = 10;
    // 2.5 V over 10 Ω is 250 mA: 25 mA for each of ten.
    QCOMPARE(outputCurrent(starved, 10, 30), 25.0);
    QCOMPARE(outputCurrent(starved, 5, 30), 30.0);
}

void TestRealChip::standardPairIsChosenTogether() {
    // The sliders' 3 kΩ and 12.5 kΩ: rounded one at a time they give 3 kΩ and 13 kΩ.
    RealCircuit c;
    c.R1 = 3000;
    c.R2 = 12500;
    const RealFigures want = realFigures(c, nominalCorner(c.kind));
    const RealPair pair = bestStandardPair(c, Series::E24, want.reference, want.ledCurrent);
    QVERIFY(pair.R1 > 0);
    c.R2 = 13000;
    const RealFigures oneAtATime = realFigures(c, nominalCorner(c.kind));
    const TargetCost rounded =
        targetCost(oneAtATime.reference, oneAtATime.ledCurrent, want.reference, want.ledCurrent);
    const TargetCost chosen =
        targetCost(pair.reference, pair.ledCurrent, want.reference, want.ledCurrent);
    QVERIFY(chosen < rounded);
    QVERIFY(std::fabs(pair.referenceError) <= kTargetTolerance);
    // No pair of E24 parts between 100 Ω and 1 MΩ does better.
    const std::vector<double> values = standardValuesBetween(100, 1e6, Series::E24);
    for (const double r1 : values)
        for (const double r2 : values) {
            c.R1 = r1;
            c.R2 = r2;
            const RealFigures f = realFigures(c, nominalCorner(c.kind));
            QVERIFY2(
                !(targetCost(f.reference, f.ledCurrent, want.reference, want.ledCurrent) < chosen),
                qPrintable(QStringLiteral("%1 / %2").arg(r1).arg(r2)));
        }
    // The band is worked out with the series' 5 %.
    QVERIFY(pair.referenceBand.high > pair.referenceBand.nominal * 1.1);
}

void TestRealChip::trimmerCoversEveryChip_data() {
    QTest::addColumn<double>("R1");
    QTest::addColumn<double>("target");
    QTest::addColumn<int>("series");
    QTest::newRow("5 V on 2.4 kΩ, E96") << 2400.0 << 5.0 << int(Series::E96);
    QTest::newRow("5 V on 2.4 kΩ, E24") << 2400.0 << 5.0 << int(Series::E24);
    QTest::newRow("1.6 V on 1 kΩ") << 1000.0 << 1.6 << int(Series::E24);
    QTest::newRow("12 V on 620 Ω") << 620.0 << 12.0 << int(Series::E96);
}

void TestRealChip::trimmerCoversEveryChip() {
    QFETCH(double, R1);
    QFETCH(double, target);
    QFETCH(int, series);
    RealCircuit c;
    c.R1 = R1;
    c.resistorTolerance = 0.01;
    const TrimmedR2 t = trimmedR2(c, Series(series), target);
    QVERIFY(t.trimmer > 0);
    const double tol = seriesTolerance(Series(series));
    // Every corner's R2 lies between the fixed part at its highest and the part at its lowest
    // with the whole trimmer.
    for (const Corner& corner : dataSheetCorners(c.kind, c.resistorTolerance)) {
        const double r1 = R1 * corner.r1Factor;
        const double need = (target - corner.cell) / (corner.cell / r1 + corner.adjustCurrent);
        QVERIFY(t.fixed * (1 + tol) <= need + 1e-9);
        QVERIFY(t.fixed * (1 - tol) + t.trimmer >= need - 1e-9);
    }
    // The next smaller trimmer (1, 2, 5 in each decade) would not do.
    const double decade = std::pow(10, std::floor(std::log10(t.trimmer)));
    const double smaller = t.trimmer / (std::lround(t.trimmer / decade) == 5 ? 2.5 : 2);
    QVERIFY(t.needHigh - t.fixed * (1 - tol) > smaller);
}

QTEST_GUILESS_MAIN(TestRealChip)
#include "tst_realchip.moc"
