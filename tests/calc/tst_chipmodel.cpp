#include "chipmodel.h"
#include "chipreadouts.h"
#include "conversions.h"
#include "examplechip.h"

#include <QTest>

#include <limits>
#include <map>

using namespace kestrelon;

Q_DECLARE_METATYPE(kestrelon::ChipKind)

namespace {

// The chip between fixed ends: RLo at lo V, RHi at hi V, the signal at exactly v V.
void fixEnds(ChipInputs& c, double lo, double hi) {
    c.optRLo = {false, true};
    c.txtRLo = QString::number(lo);
    c.vsRLo = 1000;
    c.optRHi = {false, true};
    c.txtRHi = QString::number(hi);
    c.vsRHi = 1000;
    c.vsVin = 1000;
}

QList<int> litLeds(const ChipResult& r) {
    QList<int> lit;
    for (int i = 1; i <= 10; ++i)
        if (r.lit[i])
            lit << i;
    return lit;
}

QList<int> upTo(int n) {
    QList<int> list;
    for (int i = 1; i <= n; ++i)
        list << i;
    return list;
}

// The worked example on both chips, with R1 slider 700, R2 slider 220 and red LEDs.
struct Bench {
    ChipModel model;
    PanelInputs in;
    Bench() {
        in.chip = {exampleChip(), exampleChip()};
        for (int k = 0; k < 2; ++k) {
            model.setR1FromSlider(k, 700);
            model.setR2FromSlider(k, 220);
            model.ledColour[k] = kRed;
            model.ledVf[k] = 2;
        }
    }
    const ChipView& calc(int k) {
        if (k == 0)
            model.calcChip1(in);
        else
            model.calcChip2(in);
        return model.view[k];
    }
    int litCount(int k) const {
        int n = 0;
        for (int i = 1; i <= 10; ++i)
            n += model.view[k].shpLED[i] == model.ledColour[k] ? 1 : 0;
        return n;
    }
};

} // namespace

class TestChipModel : public QObject {
    Q_OBJECT

private slots:
    void workedExampleOnEitherChip_data();
    void workedExampleOnEitherChip();
    void resistorSliders_data();
    void resistorSliders();
    void currentWarningIsStrictlyAbove_data();
    void currentWarningIsStrictlyAbove();
    void referenceIsLimitedBelowSupply_data();
    void referenceIsLimitedBelowSupply();
    void dividerChainEnds();
    void bottomVoltageIsReadBackAsDisplayed();
    void unselectedGroupKeepsPreviousResult();
    void withoutR1TheCurrentStepIsSkipped();
    void barAndDotDisplay_data();
    void barAndDotDisplay();
    void overRangeIndicatorIsStrict();
    void equalEndsLightEverythingAtOnce();
    void limitingResistor_data();
    void limitingResistor();
    void dotModeProposesNoResistor();
    void slavedChipTakesChipOnesSignal();
    void cascadeGreysChipOnesTopLedOnlyWhenSlaved();
    void chipTwoBlinksOnItsOwnTimer();
    void overflowIsNeverShownAsANumber();
    void thresholdsFollowTheChipsDivider_data();
    void thresholdsFollowTheChipsDivider();
    void stackedChipsOfAnyKind_data();
    void stackedChipsOfAnyKind();
    void levelChipsShowTheirScale_data();
    void levelChipsShowTheirScale();
};

void TestChipModel::workedExampleOnEitherChip_data() {
    QTest::addColumn<int>("chip");
    QTest::newRow("chip 1") << 0;
    QTest::newRow("chip 2") << 1;
}

void TestChipModel::workedExampleOnEitherChip() {
    QFETCH(int, chip);
    Bench b;
    const ChipView& v = b.calc(chip);
    const ChipState& s = b.model.state[chip];
    QCOMPARE(s.R1, 3500.0);
    QCOMPARE(s.R2, 5500.0);
    QCOMPARE(v.lblR1, QStringLiteral("3.50k"));
    QCOMPARE(v.lblR2, QStringLiteral("5.50k"));
    QCOMPARE(v.lblVin, QStringLiteral("2.50v"));
    QCOMPARE(v.lblmA, QStringLiteral("6.5 mA/LED"));
    QCOMPARE(v.lblmAForeColor, kBlue);
    QVERIFY(!v.timerEnabled);
    QCOMPARE(v.lblRefo, QStringLiteral("3.21v"));
    QCOMPARE(v.Label9, QString(21, QLatin1Char(' ')));
    QCOMPARE(v.Label9BackColor, kInactiveCaption);
    QCOMPARE(v.lblRadj, QStringLiteral("1.96v"));
    QCOMPARE(v.lblRLo, QStringLiteral("0.0v"));
    QCOMPARE(v.lblRHi, QStringLiteral("3.21v"));
    QCOMPARE(v.lblVmax, v.lblRHi);
    QCOMPARE(v.lblVmin, QStringLiteral("0.32v"));
    QCOMPARE(v.lblGap, QStringLiteral("Steps= 0.32v"));
    QVERIFY(qAbs(s.Itotal - 0.0654) < 0.0001);
    // 2.5 V against steps of 0.321 V: seven LEDs reach their thresholds.
    QCOMPARE(b.litCount(chip), 7);
    QCOMPARE(v.shpLED[7], kRed);
    QCOMPARE(v.shpLED[8], kGrey);
    QCOMPARE(v.shpLED[0], kGrey);
    // 15 V supply less 2 V leaves less than the chip's 1 W voltage: no resistor.
    QVERIFY(!v.lblRlimVisible);
    QVERIFY(!v.lblWarnVisible);
    QVERIFY(v.lineRlimVisible);
    QCOMPARE(v.lblWatts, QStringLiteral("Dissipating= < 1.0W"));
}

void TestChipModel::resistorSliders_data() {
    QTest::addColumn<int>("r1Slider");
    QTest::addColumn<int>("r2Slider");
    QTest::addColumn<QString>("r1Caption");
    QTest::addColumn<QString>("r2Caption");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("reference");
    QTest::newRow("lowest R1, no R2") << 50 << 0 << "0.25k"
                                      << "0.00k"
                                      << "51.0 mA/LED"
                                      << "1.25v";
    QTest::newRow("highest R1, highest R2") << 1100 << 1000 << "5.50k"
                                            << "25.00k"
                                            << "9.0 mA/LED"
                                            << "6.93v";
}

void TestChipModel::resistorSliders() {
    QFETCH(int, r1Slider);
    QFETCH(int, r2Slider);
    Bench b;
    b.in.chip[0].Text1 = QStringLiteral("25");
    b.model.setR1FromSlider(0, r1Slider);
    b.model.setR2FromSlider(0, r2Slider);
    const ChipView& v = b.calc(0);
    QCOMPARE(b.model.state[0].R1, r1Slider * 5.0);
    QCOMPARE(b.model.state[0].R2, r2Slider * 25.0);
    QTEST(v.lblR1, "r1Caption");
    QTEST(v.lblR2, "r2Caption");
    QTEST(v.lblmA, "current");
    QTEST(v.lblRefo, "reference");
}

void TestChipModel::currentWarningIsStrictlyAbove_data() {
    QTest::addColumn<double>("r1");
    QTest::addColumn<double>("r2");
    QTest::addColumn<bool>("warn");
    // 525 ohm and 84.2 ohm give exactly 25.01 mA in double arithmetic.
    QTest::newRow("exactly 25.01") << 525.0 << 84.2 << false;
    QTest::newRow("just above") << 525.0 << 85.0 << true;
    QTest::newRow("25.02") << 525.0 << 105.0 << true;
    QTest::newRow("well below") << 3500.0 << 5500.0 << false;
}

void TestChipModel::currentWarningIsStrictlyAbove() {
    QFETCH(double, r1);
    QFETCH(double, r2);
    QFETCH(bool, warn);
    Bench b;
    b.in.chip[0].Text1 = QStringLiteral("25");
    b.model.state[0].R1 = r1;
    b.model.state[0].R2 = r2;
    const ChipView& v = b.calc(0);
    QCOMPARE(v.lblmAForeColor, warn ? kRed : kBlue);
    QCOMPARE(v.timerEnabled, warn);
    QVERIFY(v.lblmA.endsWith(QLatin1String(" mA/LED")));
}

void TestChipModel::referenceIsLimitedBelowSupply_data() {
    QTest::addColumn<QString>("supply");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("limited");
    QTest::newRow("3.0 V clamps to 1.5") << "3.0"
                                         << "1.50v" << true;
    QTest::newRow("4.0 V is enough") << "4.0"
                                     << "3.21v" << false;
    QTest::newRow("1.0 V goes negative") << "1.0"
                                         << "-0.50v" << true;
    QTest::newRow("letters read as 0") << "abc"
                                       << "-1.50v" << true;
}

void TestChipModel::referenceIsLimitedBelowSupply() {
    QFETCH(QString, supply);
    QFETCH(QString, reference);
    QFETCH(bool, limited);
    Bench b;
    b.in.chip[0].Text1 = supply;
    const ChipView& v = b.calc(0);
    QCOMPARE(v.lblRefo, reference);
    QCOMPARE(v.lblRHi, reference);
    QCOMPARE(v.lblVmax, reference);
    QCOMPARE(v.Label9BackColor, limited ? kOrange : kInactiveCaption);
    QCOMPARE(v.Label9,
             limited ? QStringLiteral("Vref Limit =(+V-1.5v)") : QString(21, QLatin1Char(' ')));
    QCOMPARE(b.model.state[0].VrHi, b.model.state[0].Vref);
    QCOMPARE(v.lblRadj, QStringLiteral("%1v").arg(b.model.state[0].Vref - 1.25, 0, 'f', 2));
}

void TestChipModel::dividerChainEnds() {
    Bench b;
    ChipInputs& c = b.in.chip[0];
    c.optRLo = {false, true};
    c.optRHi = {false, true};
    c.txtRLo = QStringLiteral("4");
    c.vsRLo = 1000; // 4 V at the bottom
    c.txtRHi = QStringLiteral("2");
    c.vsRHi = 500; // 1 V at the top, below the bottom
    const ChipView& v = b.calc(0);
    QCOMPARE(b.model.state[0].Step, -0.3);
    QCOMPARE(v.lblRLo, QStringLiteral("4.0v"));
    QCOMPARE(v.lblRHi, QStringLiteral("1.00v"));
    QCOMPARE(v.lblGap, QStringLiteral("Steps= -0.3v"));
    QCOMPARE(v.lblVmin, QStringLiteral("3.70v"));
    QVERIFY(b.model.state[0].Threshold[1] > b.model.state[0].Threshold[10]);
}

void TestChipModel::bottomVoltageIsReadBackAsDisplayed() {
    Bench b;
    ChipInputs& c = b.in.chip[0];
    c.optRLo = {false, true};
    c.optRHi = {false, true};
    c.vsRLo = c.vsRHi = 1000;
    c.txtRLo = QStringLiteral("0.123");
    c.txtRHi = QStringLiteral("1.123");
    QCOMPARE(b.calc(0).lblRLo, QStringLiteral("0.12v"));
    // 0.1249 shows as 0.12; one step of 0.001 above it is 0.121 as displayed (0.12) but 0.1259
    // exactly (0.13).
    c.txtRLo = QStringLiteral("0.1249");
    c.txtRHi = QStringLiteral("0.1349");
    const ChipView& v = b.calc(0);
    QCOMPARE(v.lblRLo, QStringLiteral("0.12v"));
    QCOMPARE(v.lblVmin, QStringLiteral("0.12v"));
}

void TestChipModel::unselectedGroupKeepsPreviousResult() {
    Bench b;
    b.in.chip[0].optRLo = {false, true};
    b.in.chip[0].txtRLo = QStringLiteral("2");
    b.calc(0);
    QCOMPARE(b.model.view[0].lblRLo, QStringLiteral("1.0v"));
    b.in.chip[0].optRLo = {false, false};
    b.in.chip[0].txtRLo = QStringLiteral("4");
    b.in.chip[0].optRHi = {false, false};
    b.in.chip[0].Text1 = QStringLiteral("3");
    const ChipView& v = b.calc(0);
    QCOMPARE(v.lblRLo, QStringLiteral("1.0v"));
    QCOMPARE(b.model.state[0].VrLo, 1.0);
    QCOMPARE(v.lblRHi, QStringLiteral("3.21v"));
    QCOMPARE(b.model.state[0].VrHi, 3.2142857142857144);
    QCOMPARE(v.lblRefo, QStringLiteral("1.50v"));
}

void TestChipModel::withoutR1TheCurrentStepIsSkipped() {
    ChipModel model;
    model.view[0].lblmA = QStringLiteral("ii.dmA");
    model.view[0].lblRefo = QStringLiteral("Vref");
    model.view[0].Label9 = QString();
    model.view[0].timerEnabled = true;
    PanelInputs in;
    in.chip[0] = exampleChip();
    model.calcChip1(in);
    QCOMPARE(model.view[0].lblmA, QStringLiteral("ii.dmA"));
    QCOMPARE(model.view[0].lblRefo, QStringLiteral("Vref"));
    QCOMPARE(model.view[0].Label9, QString());
    QVERIFY(model.view[0].timerEnabled);
    QCOMPARE(model.view[0].lblRadj, QStringLiteral("-1.25v"));
    QCOMPARE(model.view[0].lblR2, QStringLiteral("0.00k"));
}

void TestChipModel::barAndDotDisplay_data() {
    QTest::addColumn<bool>("dot");
    QTest::addColumn<int>("signalPerMille"); // of 10 V, with a 0..10 V chain: 1 V per step
    QTest::addColumn<QString>("lit");        // '1' lit, '0' grey, LEDs 1..10
    // Margin is step/25 = 0.04 V: 3.96 V reaches LED 4's threshold exactly.
    QTest::newRow("bar, equal lights") << false << 396 << "1111000000";
    QTest::newRow("bar, just below") << false << 395 << "1110000000";
    QTest::newRow("bar, all") << false << 1000 << "1111111111";
    QTest::newRow("bar, none") << false << 0 << "0000000000";
    QTest::newRow("dot, between 4 and 5") << true << 450 << "0001000000";
    QTest::newRow("dot, below the first") << true << 50 << "0000000000";
    QTest::newRow("dot, top") << true << 1000 << "0000000001";
}

void TestChipModel::barAndDotDisplay() {
    QFETCH(bool, dot);
    QFETCH(int, signalPerMille);
    QFETCH(QString, lit);
    Bench b;
    ChipInputs& c = b.in.chip[0];
    c.optMode = {!dot, dot};
    c.optRHi = {false, true};
    c.txtRHi = QStringLiteral("10");
    c.vsRHi = 1000;
    c.txtVin = QStringLiteral("10");
    c.vsVin = signalPerMille;
    b.model.ledColour[0] = 0x00FF00;
    const ChipView& v = b.calc(0);
    QString shown;
    for (int i = 1; i <= 10; ++i) {
        QVERIFY(v.shpLED[i] == 0x00FF00 || v.shpLED[i] == kGrey);
        shown += v.shpLED[i] == 0x00FF00 ? QLatin1Char('1') : QLatin1Char('0');
    }
    QCOMPARE(shown, lit);
}

void TestChipModel::overRangeIndicatorIsStrict() {
    Bench b;
    ChipInputs& c = b.in.chip[0];
    c.optRHi = {false, true};
    c.txtRHi = QStringLiteral("10");
    c.vsRHi = 1000; // top threshold 10 V, step 1 V: over range above 11 V
    c.txtVin = QStringLiteral("11");
    c.vsVin = 1000;
    QCOMPARE(b.calc(0).shpLED[0], kGrey);
    c.txtVin = QStringLiteral("11.001");
    QCOMPARE(b.calc(0).shpLED[0], kRed);
}

void TestChipModel::equalEndsLightEverythingAtOnce() {
    Bench b;
    ChipInputs& c = b.in.chip[0];
    c.optRLo = {false, true};
    c.optRHi = {false, true};
    c.txtRLo = QStringLiteral("2");
    c.txtRHi = QStringLiteral("2");
    c.vsRLo = c.vsRHi = 1000;
    c.txtVin = QStringLiteral("2");
    c.vsVin = 1000;
    const ChipView& v = b.calc(0);
    QCOMPARE(b.model.state[0].Step, 0.0);
    QCOMPARE(b.litCount(0), 10);
    QCOMPARE(v.shpLED[0], kGrey);
    c.vsVin = 999;
    QCOMPARE(b.calc(0).shpLED[1], kGrey);
    c.txtVin = QStringLiteral("3");
    QCOMPARE(b.calc(0).shpLED[0], kRed);
}

void TestChipModel::limitingResistor_data() {
    QTest::addColumn<int>("r1Slider");
    QTest::addColumn<int>("r2Slider");
    QTest::addColumn<QString>("ledSupply");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("resistor");
    QTest::addColumn<QString>("watts");
    // 1250 ohm and 9000 ohm give 20 mA per LED, 0.2 A in all: 5 V across the chip for 1 W.
    QTest::newRow("20 mA at 15 V") << 250 << 360 << "15" << true << "40.0R  1.6W"
                                   << "Dissipating= 1.00W";
    // 625 ohm and 2000 ohm give 25 mA, 0.25 A: 4 V for 1 W, so 6.125 V leaves exactly 0.5 ohm.
    QTest::newRow("exactly 0.5 ohm") << 125 << 80 << "6.125" << false << ""
                                     << "Dissipating= < 1.0W";
    QTest::newRow("just above 0.5 ohm") << 125 << 80 << "6.13" << true << "0.5R  0.0W"
                                        << "Dissipating= 1.00W";
    QTest::newRow("low supply") << 700 << 220 << "15" << false << ""
                                << "Dissipating= < 1.0W";
}

void TestChipModel::limitingResistor() {
    QFETCH(int, r1Slider);
    QFETCH(int, r2Slider);
    QFETCH(QString, ledSupply);
    QFETCH(bool, shown);
    QFETCH(QString, resistor);
    Bench b;
    b.in.chip[0].Text1 = QStringLiteral("25");
    b.in.chip[0].txtLED = ledSupply;
    b.model.setR1FromSlider(0, r1Slider);
    b.model.setR2FromSlider(0, r2Slider);
    b.model.view[0].lblRlim = QStringLiteral("R5");
    const ChipView& v = b.calc(0);
    QCOMPARE(v.lblRlimVisible, shown);
    QCOMPARE(v.lblWarnVisible, shown);
    QCOMPARE(v.lineRlimVisible, !shown);
    QVERIFY(v.lblWattsVisible);
    QCOMPARE(v.lblRlim, shown ? resistor : QStringLiteral("R5"));
    QTEST(v.lblWatts, "watts");
}

void TestChipModel::dotModeProposesNoResistor() {
    Bench b;
    b.in.chip[0].Text1 = QStringLiteral("25");
    b.in.chip[0].txtLED = QStringLiteral("24");
    b.model.setR1FromSlider(0, 250);
    b.model.setR2FromSlider(0, 360);
    QVERIFY(b.calc(0).lblRlimVisible);
    const double rlim = b.model.state[0].Rlim;
    b.in.chip[0].optMode = {false, true};
    const ChipView& v = b.calc(0);
    QVERIFY(!v.lblRlimVisible);
    QVERIFY(!v.lblWarnVisible);
    QVERIFY(v.lineRlimVisible);
    QCOMPARE(v.lblWatts, QStringLiteral("Dissipating= < 1.0W"));
    QCOMPARE(b.model.state[0].Rlim, rlim); // kept for the next bar-mode run
    QCOMPARE(b.model.state[0].Vled, 24.0); // not reduced outside bar mode
}

void TestChipModel::slavedChipTakesChipOnesSignal() {
    Bench b;
    b.in.chip[1].txtVin = QStringLiteral("2");
    b.in.chip[1].vsVin = 100;
    QCOMPARE(b.calc(1).lblVin, QStringLiteral("0.20v"));
    b.in.slave = true;
    b.in.chip[0].vsVin = 800;
    // Chip #1's run recalculates chip #2 with chip #1's signal.
    b.model.calcChip1(b.in);
    QCOMPARE(b.model.view[0].lblVin, QStringLiteral("4.00v"));
    QCOMPARE(b.model.view[1].lblVin, QStringLiteral("4.00v"));
    QCOMPARE(b.model.state[1].Vin, 4.0);
    QCOMPARE(b.litCount(1), 10);
    // Chip #2's own signal controls are ignored while slaved.
    b.in.chip[1].vsVin = 1000;
    QCOMPARE(b.calc(1).lblVin, QStringLiteral("4.00v"));
    b.in.slave = false;
    QCOMPARE(b.calc(1).lblVin, QStringLiteral("2.00v"));
}

void TestChipModel::cascadeGreysChipOnesTopLedOnlyWhenSlaved() {
    Bench b;
    for (ChipInputs& c : b.in.chip) {
        c.optMode = {false, true};
        c.optRHi = {false, true};
        c.txtRHi = QStringLiteral("4");
        c.vsRHi = 1000; // chip range 0..4 V, over range above 4.4 V
    }
    b.in.chip[0].txtVin = QStringLiteral("5");
    b.in.chip[0].vsVin = 1000;
    b.in.slave = true;
    b.model.calcChip1(b.in);
    QCOMPARE(b.model.view[0].shpLED[10], kGrey);
    QCOMPARE(b.model.view[0].shpLED[0], kRed);
    QCOMPARE(b.model.view[1].shpLED[10], kRed); // chip #2 has no such rule
    b.in.slave = false;
    b.model.calcChip1(b.in);
    QCOMPARE(b.model.view[0].shpLED[10], kRed);
    QCOMPARE(b.model.view[0].shpLED[0], kRed);
}

void TestChipModel::chipTwoBlinksOnItsOwnTimer() {
    Bench b;
    b.model.calcChip1(b.in);
    b.in.chip[1].Text1 = QStringLiteral("25");
    b.model.setR1FromSlider(1, 50);
    const ChipView& v = b.calc(1);
    QVERIFY(v.timerEnabled);
    QCOMPARE(v.lblmAForeColor, kRed);
    QVERIFY(!b.model.view[0].timerEnabled);
    QCOMPARE(b.model.view[0].lblmAForeColor, kBlue);
}

void TestChipModel::overflowIsNeverShownAsANumber() {
    Bench b;
    ChipInputs& c = b.in.chip[0];
    c.txtVin = QStringLiteral("1e308");
    c.vsVin = 1000; // the product overflows before the division
    c.txtLED = QStringLiteral("-1e999");
    c.Text1 = QStringLiteral("1e999");
    c.optRHi = {false, true};
    c.txtRHi = QStringLiteral("1e999");
    b.calc(0);
    const ChipView& v = b.model.view[0];
    QCOMPARE(v.lblVin, QStringLiteral("overflow"));
    for (const QString& caption : {v.lblVin, v.lblmA, v.lblRefo, v.lblRadj, v.lblRLo, v.lblRHi,
                                   v.lblVmin, v.lblVmax, v.lblGap, v.lblRlim, v.lblWatts}) {
        QVERIFY2(!caption.contains(QLatin1String("inf"), Qt::CaseInsensitive) &&
                     !caption.contains(QLatin1String("nan"), Qt::CaseInsensitive),
                 qPrintable(caption));
    }
    QCOMPARE(v.lblRHi, QStringLiteral("overflow"));
    QCOMPARE(v.lblGap, QStringLiteral("Steps= overflow"));
}

void TestChipModel::thresholdsFollowTheChipsDivider_data() {
    QTest::addColumn<ChipKind>("kind");
    QTest::addColumn<bool>("dot");
    for (ChipKind kind : kChipKinds)
        for (bool dot : {false, true})
            QTest::addRow("%s %s", chipSheet(kind).name.data(), dot ? "dot" : "bar") << kind << dot;
}

void TestChipModel::thresholdsFollowTheChipsDivider() {
    QFETCH(ChipKind, kind);
    QFETCH(bool, dot);
    // The data sheets' ratios, RLo to RHi.
    const std::map<ChipKind, std::array<double, 10>> ratios{
        {ChipKind::LM3914, {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1}},
        {ChipKind::LM3915,
         {0.0442, 0.0623, 0.0884, 0.1251, 0.1768, 0.2501, 0.3535, 0.4998, 0.7070, 1}},
        {ChipKind::LM3916,
         {0.0708, 0.2239, 0.3162, 0.3981, 0.5012, 0.6310, 0.7079, 0.7943, 0.8913, 1}}};
    Bench b;
    ChipInputs& c = b.in.chip[0];
    fixEnds(c, 1, 9);
    c.kind = kind;
    c.optMode = {!dot, dot};
    const double margin = 8.0 / 10 / 25;
    for (int n = 1; n <= 10; ++n) {
        const double threshold = 1 + 8 * ratios.at(kind)[n - 1];
        c.txtVin = QString::number(threshold - margin - 1e-3, 'f', 6);
        b.calc(0);
        QVERIFY(qAbs(b.model.state[0].Threshold[n] - threshold) < 1e-9);
        const QList<int> below = dot ? (n > 1 ? QList<int>{n - 1} : QList<int>{}) : upTo(n - 1);
        QCOMPARE(litLeds(b.model.result[0]), below);
        c.txtVin = QString::number(threshold + 1e-3, 'f', 6);
        b.calc(0);
        QCOMPARE(litLeds(b.model.result[0]), dot ? QList<int>{n} : upTo(n));
        QCOMPARE(b.model.view[0].shpLED[n], kRed);
        QCOMPARE(b.model.result[0].litCount(), dot ? 1 : n);
    }
}

void TestChipModel::stackedChipsOfAnyKind_data() {
    QTest::addColumn<ChipKind>("lower");
    QTest::addColumn<ChipKind>("upper");
    QTest::addColumn<bool>("dot");
    for (ChipKind lower : kChipKinds)
        for (ChipKind upper : kChipKinds)
            for (bool dot : {false, true})
                QTest::addRow("%s under %s, %s", chipSheet(lower).name.data(),
                              chipSheet(upper).name.data(), dot ? "dot" : "bar")
                    << lower << upper << dot;
}

// Chip #1 spans 0 to 5 V, chip #2 5 to 10 V, slaved: one signal over twenty LEDs.
void TestChipModel::stackedChipsOfAnyKind() {
    QFETCH(ChipKind, lower);
    QFETCH(ChipKind, upper);
    QFETCH(bool, dot);
    Bench b;
    b.in.slave = true;
    fixEnds(b.in.chip[0], 0, 5);
    fixEnds(b.in.chip[1], 5, 10);
    b.in.chip[0].kind = lower;
    b.in.chip[1].kind = upper;
    for (ChipInputs& c : b.in.chip)
        c.optMode = {!dot, dot};
    for (int chip : {0, 1}) {
        const ChipSheet& sheet = chipSheet(chip == 0 ? lower : upper);
        for (int n = 1; n <= 10; ++n) {
            const double threshold = 5 * chip + 5 * sheet.ratios[n - 1];
            b.in.chip[0].txtVin = QString::number(threshold + 1e-3, 'f', 6);
            b.calc(0);
            const QList<int> one = litLeds(b.model.result[chip]);
            const QList<int> other = litLeds(b.model.result[1 - chip]);
            if (!dot) {
                QCOMPARE(one, upTo(n));
                QCOMPARE(other, chip == 0 ? QList<int>{} : upTo(10));
            } else {
                QCOMPARE(one, QList<int>{n});
                // Past chip #1's over-range point its top LED gives way to chip #2's dot.
                if (chip == 0 || b.model.result[0].overRange)
                    QCOMPARE(other, QList<int>{});
            }
        }
    }
}

void TestChipModel::levelChipsShowTheirScale_data() {
    QTest::addColumn<ChipKind>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("led3");
    QTest::newRow("LM3914") << ChipKind::LM3914 << "2nd LM3914"
                            << "Steps= 0.8v" << QString();
    QTest::newRow("LM3915") << ChipKind::LM3915 << "2nd LM3915"
                            << "Steps= 3dB"
                            << "LED 3 lights at 1.71 V, -21 dB";
    QTest::newRow("LM3916") << ChipKind::LM3916 << "2nd LM3916"
                            << "Steps= VU"
                            << "LED 3 lights at 3.53 V, -7 VU";
}

void TestChipModel::levelChipsShowTheirScale() {
    QFETCH(ChipKind, kind);
    Bench b;
    fixEnds(b.in.chip[1], 1, 9);
    b.in.chip[1].kind = kind;
    const ChipView& v = b.calc(1);
    QTEST(v.Label3, "title");
    QTEST(v.lblGap, "step");
    QCOMPARE(v.lblWarn, QStringLiteral("Rlim for ") + QLatin1String(chipSheet(kind).name) +
                            QStringLiteral(" = 1Wmax"));
    // LED 1's threshold in volts, from the RLo label as shown.
    QCOMPARE(v.lblVmin, Format(1 + 8 * chipSheet(kind).ratios[0], "#0.00") + QLatin1Char('v'));
    QTEST(ledThresholdText(b.model.state[1], b.model.result[1], 3), "led3");
}

QTEST_GUILESS_MAIN(TestChipModel)
#include "tst_chipmodel.moc"
