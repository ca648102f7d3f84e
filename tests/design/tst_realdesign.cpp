#include "chipdesign.h"
#include "chiphints.h"
#include "designfixture.h"
#include "designreport.h"
#include "figuretext.h"

#include <QTest>

using namespace kestrelon;

namespace {

const Check* checkOf(const ChipDesign& d, CheckId id) {
    const Check* c = d.check(id);
    if (!c)
        qWarning("no such check");
    return c;
}

QString chipReport(const DesignPanel& p) {
    return designReport(p.design(0), p.design(1));
}

// Chip #1's part of a report.
QString firstChip(const QString& report) {
    return report.section(QStringLiteral("Chip #2 (2nd"), 0, 0);
}

} // namespace

class TestRealDesign : public QObject {
    Q_OBJECT

private slots:
    void heatIsTakenAtTheWorstLitCount();
    void bandsAreBounds();
    void checkPassesOnlyWhenEveryCornerDoes_data();
    void checkPassesOnlyWhenEveryCornerDoes();
    void thresholdsAreTheRealChips();
    void limitsOfTheOutputsAndTheReference_data();
    void limitsOfTheOutputsAndTheReference();
    void ambientTemperatureSetsThePackageLimit();
    void limiterIsSizedFromTheRealCurrent();
    void aChipThatCannotWorkIsSaidSo();
    void partsReadAsTheWindowShowsThem();
    void standardPartsAndBuildNotes();
};

void TestRealDesign::heatIsTakenAtTheWorstLitCount() {
    DesignPanel p;
    p.in.chip[0].Text1 = QStringLiteral("15");
    p.in.chip[0].txtLED = QStringLiteral("24");
    p.setSliders(0, 124, 40);
    const ChipDesign d = p.design(0);
    // Through the proposed part a partial bar may heat the chip more than a full one: the worst
    // case covers every lit count.
    for (int lit = 0; lit <= 10; ++lit)
        QVERIFY(d.power.watts >= chipPower(d.circuit, lit, d.real.nominal));
    QVERIFY(d.circuit.seriesOhms > 0);
    QVERIFY(d.power.watts > 1.36);
    const Check* c = checkOf(d, CheckId::Dissipation);
    QVERIFY(c && !c->passed);
    QVERIFY2(c->sentence.contains(QStringLiteral("%1 LEDs lit").arg(d.power.lit)),
             qPrintable(c->sentence));
}

void TestRealDesign::bandsAreBounds() {
    const ChipDesign d = DesignPanel().design(0);
    // No adjust-pin current and a 1.20 V cell: 1.20 V x (1 + 9 / 3.5).
    QCOMPARE(volts(d.vref.low), QStringLiteral("4.29 V"));
    QCOMPARE(volts(d.vref.high), QStringLiteral("5.87 V"));
    // 7 x (1.20 V / 3.5 kΩ + 4.29 V / 17 kΩ) to 13 x (1.34 V / 3.5 kΩ + 5.87 V / 8 kΩ).
    QCOMPARE(milliamps(d.iled.low), QStringLiteral("4.2 mA"));
    QCOMPARE(milliamps(d.iled.high), QStringLiteral("14.5 mA"));
    const ChipHints h = chipHints(d);
    QVERIFY2(h.lblRefo.contains(QStringLiteral("4.29 V to 5.87 V")), qPrintable(h.lblRefo));
    QVERIFY2(h.lblmA.contains(QStringLiteral("4.2 mA to 14.5 mA")), qPrintable(h.lblmA));
}

void TestRealDesign::checkPassesOnlyWhenEveryCornerDoes_data() {
    QTest::addColumn<QString>("vplus");
    QTest::addColumn<int>("hsR1");
    QTest::addColumn<int>("vsR2");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QString>("says");
    // The nominal 5.14 V fits under 5.5 V, a chip with a 1.34 V cell and 120 uA does not.
    QTest::newRow("reference at 7 V")
        << "7" << 700 << 360 << int(CheckId::Reference) << false << "1.34 V";
    QTest::newRow("reference at 8 V")
        << "8" << 700 << 360 << int(CheckId::Reference) << true << "5.87 V";
    // 23.7 mA nominal with R1 600 Ω and R2 1 kΩ; 13 mA per mA of reference current takes it
    // past 30 mA.
    QTest::newRow("current past 30 mA at a corner")
        << "15" << 120 << 40 << int(CheckId::LedCurrent) << false << "13 mA";
}

void TestRealDesign::checkPassesOnlyWhenEveryCornerDoes() {
    QFETCH(QString, vplus);
    QFETCH(int, hsR1);
    QFETCH(int, vsR2);
    QFETCH(int, id);
    QFETCH(bool, passes);
    QFETCH(QString, says);
    DesignPanel p;
    p.in.chip[0].Text1 = vplus;
    p.setSliders(0, hsR1, vsR2);
    const ChipDesign d = p.design(0);
    const Check* c = checkOf(d, CheckId(id));
    QVERIFY(c);
    QVERIFY2(c->passed == passes, qPrintable(c->sentence));
    QVERIFY2(c->sentence.contains(says), qPrintable(c->sentence));
}

void TestRealDesign::thresholdsAreTheRealChips() {
    DesignPanel p;
    p.in.chip[0].Text1 = QStringLiteral("7");
    p.recalc();
    const ChipDesign d = p.design(0);
    // The window's RHi is 4.46 V; the real chip's is its reference, up to 5.87 V.
    const Check* rhi = checkOf(d, CheckId::RHi);
    QVERIFY(rhi && !rhi->passed);
    QVERIFY2(rhi->sentence.contains(QStringLiteral("5.87 V")), qPrintable(rhi->sentence));
    const QString report = firstChip(chipReport(p));
    for (const char* line : {"LED 10 at 5.14 V (4.29 V to 5.87 V)", "LED 1 at 0.51 V"})
        QVERIFY2(report.contains(QLatin1String(line)), qPrintable(report));
}

void TestRealDesign::limitsOfTheOutputsAndTheReference_data() {
    QTest::addColumn<QString>("ledSupply");
    QTest::addColumn<QString>("rlo");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QString>("says");
    QTest::newRow("30 V LED supply") << "30"
                                     << "" << int(CheckId::LedOutputs) << false << "25 V";
    QTest::newRow("25 V LED supply") << "25"
                                     << "" << int(CheckId::LedOutputs) << true << "25 V";
    // 60 V across an 8 kΩ divider besides R1's 0.38 mA.
    QTest::newRow("reference loaded past 10 mA")
        << "5"
        << "-80" << int(CheckId::ReferenceLoad) << false << "10 mA";
    QTest::newRow("first start's reference load")
        << "5"
        << "" << int(CheckId::ReferenceLoad) << true << "10 mA";
}

void TestRealDesign::limitsOfTheOutputsAndTheReference() {
    QFETCH(QString, ledSupply);
    QFETCH(QString, rlo);
    QFETCH(int, id);
    QFETCH(bool, passes);
    QFETCH(QString, says);
    DesignPanel p;
    p.in.chip[0].txtLED = ledSupply;
    p.in.chip[0].Text1 = QStringLiteral("20");
    if (!rlo.isEmpty()) {
        p.in.chip[0].optRLo = {false, true};
        p.in.chip[0].vsRLo = 1000;
        p.in.chip[0].txtRLo = rlo;
    }
    p.recalc();
    const ChipDesign d = p.design(0);
    const Check* c = checkOf(d, CheckId(id));
    QVERIFY(c);
    QVERIFY2(c->passed == passes, qPrintable(c->sentence));
    QVERIFY2(c->sentence.contains(says), qPrintable(c->sentence));
}

void TestRealDesign::ambientTemperatureSetsThePackageLimit() {
    DesignPanel p;
    p.in.chip[0].Text1 = QStringLiteral("15");
    p.in.chip[0].txtLED = QStringLiteral("15");
    p.setSliders(0, 250, 200);
    const ChipDesign room = designChip(p.model, p.in, 0, u"Red", nullptr, 25);
    const ChipDesign warm = designChip(p.model, p.in, 0, u"Red", nullptr, 60);
    QCOMPARE(room.power.watts, warm.power.watts);
    // The junction's 100 °C at 55 °C/W: the highest ambient follows from the worst power.
    QVERIFY(std::fabs(room.maxAmbient - (100 - 55 * room.power.watts)) < 1e-9);
    QVERIFY(room.maxAmbient > 25 && room.maxAmbient < 60);
    QVERIFY(room.check(CheckId::Dissipation)->passed);
    const Check* c = warm.check(CheckId::Dissipation);
    QVERIFY2(!c->passed && c->sentence.contains(QStringLiteral("60 °C")), qPrintable(c->sentence));
}

void TestRealDesign::limiterIsSizedFromTheRealCurrent() {
    DesignPanel p;
    p.in.chip[0].Text1 = QStringLiteral("15");
    p.in.chip[0].txtLED = QStringLiteral("15");
    p.setSliders(0, 250, 200);
    const ChipDesign d = p.design(0);
    QVERIFY(d.limiter.proposed);
    QCOMPARE(d.limiter.highCurrent, d.iled.high);
    // Ten LEDs at the high end of the band through the part.
    const double total = d.iled.high / 100;
    QVERIFY(std::fabs(d.limiter.watts - total * total * d.limiter.ohms) < 1e-9);
    const QString hint = chipHints(d).lblWarn;
    QVERIFY2(hint.contains(milliamps(d.iled.high)), qPrintable(hint));
    QVERIFY2(hint.contains(ohms(d.limiter.ohms)), qPrintable(hint));
}

void TestRealDesign::aChipThatCannotWorkIsSaidSo() {
    DesignPanel p;
    p.in.chip[0].Text1 = QStringLiteral("13.6");
    p.setSliders(0, 50, 401);
    const ChipDesign d = p.design(0);
    QVERIFY(!d.referenceWorks);
    const QString report = firstChip(chipReport(p));
    QVERIFY2(report.contains(QStringLiteral("cannot make")), qPrintable(report));
    QVERIFY2(!report.contains(QStringLiteral("V nominal")), qPrintable(report));
    QVERIFY2(!report.contains(QStringLiteral("with all ten lit")), qPrintable(report));
}

void TestRealDesign::partsReadAsTheWindowShowsThem() {
    DesignPanel p;
    p.setSliders(0, 700, 450);
    const ChipHints h = chipHints(p.design(0));
    QVERIFY2(h.vsR2.startsWith(QStringLiteral("R2 11.25 kΩ")), qPrintable(h.vsR2));

    p.in.chip[0].Text1 = QStringLiteral("20");
    p.in.chip[0].txtLED = QStringLiteral("24");
    p.setSliders(0, 50, 0);
    const QString warn = chipHints(p.design(0)).lblWarn;
    QVERIFY2(!warn.contains(QStringLiteral("too much for")), qPrintable(warn));
}

void TestRealDesign::standardPartsAndBuildNotes() {
    DesignPanel p;
    p.in.chip[0].Text1 = QStringLiteral("15");
    p.setSliders(0, 600, 500); // R1 3 kΩ, R2 12.5 kΩ
    const ChipDesign d = p.design(0);
    QVERIFY(d.pairE24.R1 > 0 && d.pairE96.R1 > 0);
    QVERIFY(std::fabs(d.pairE24.referenceError) <= 0.005);
    QVERIFY(d.trim.trimmer > 0);
    const QString report = firstChip(chipReport(p));
    for (const QString& text :
         {ohms(d.pairE24.R1) + QStringLiteral(" and ") + ohms(d.pairE24.R2),
          ohms(d.trim.fixed) + QStringLiteral(" fixed and a ") + ohms(d.trim.trimmer) +
              QStringLiteral(" trimmer"),
          QStringLiteral("2.2 µF"), QStringLiteral("39 kΩ"), QStringLiteral("Pin 9 (Mode)")})
        QVERIFY2(report.contains(text), qPrintable(text + QLatin1Char('\n') + report));
}

QTEST_GUILESS_MAIN(TestRealDesign)
#include "tst_realdesign.moc"
