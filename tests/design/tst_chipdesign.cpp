#include "chipdesign.h"
#include "chiphints.h"
#include "designfixture.h"
#include "designreport.h"
#include "figuretext.h"

#include <QTest>

using namespace kestrelon;

namespace {

bool failed(const ChipDesign& d, CheckId id) {
    const Check* c = d.check(id);
    return c && !c->passed;
}

QString sentence(const ChipDesign& d, CheckId id) {
    const Check* c = d.check(id);
    return c ? c->sentence : QString();
}

QString hintsText(const ChipHints& h) {
    return QStringList{h.lblmA,    h.lblRefo, h.lblRLo, h.lblRHi, h.lblGap,
                       h.lblWatts, h.lblWarn, h.hsR1,   h.vsR2}
        .join(QLatin1Char('\n'));
}

// Bar mode at 15 V with R1 1.25 kΩ and R2 5 kΩ: the window shows 16.0 mA/LED and proposes a
// 42.2 Ω minimum limiting resistor.
void useResistorCase(DesignPanel& p) {
    p.in.chip[0].Text1 = QStringLiteral("15");
    p.in.chip[0].txtLED = QStringLiteral("15");
    p.setSliders(0, 250, 200);
}

} // namespace

class TestChipDesign : public QObject {
    Q_OBJECT

private slots:
    void otherKindsFollowTheirDivider();
    void firstStartDataSheetFigures();
    void firstStartChecks_data();
    void firstStartChecks();
    void firstStartStandardParts();
    void lastDesignServesOnlyForTheSameParts();
    void checksFromTheLastDesignMatchFreshOnes_data();
    void checksFromTheLastDesignMatchFreshOnes();
    void realisticDissipation_data();
    void realisticDissipation();
    void limitingResistorPart();
    void windowsExampleResistor();
    void rhiExternalLeavesTheDividerOutOfTheCurrent();
    void limitChecks_data();
    void limitChecks();
    void hintsCarryTheirFigures_data();
    void hintsCarryTheirFigures();
    void sliderEndsGiveSensibleTexts_data();
    void sliderEndsGiveSensibleTexts();
    void overflowingInputsReadOutOfRange_data();
    void overflowingInputsReadOutOfRange();
    void reportOfTheFirstStart();
    void reportInSlaveModeWithTwoColours();
};

void TestChipDesign::firstStartDataSheetFigures() {
    const DesignPanel p;
    const ChipDesign d = p.design(0);
    QCOMPARE(d.view.lblRefo, QStringLiteral("4.46v"));
    QCOMPARE(volts(d.vref.nominal), QStringLiteral("5.14 V"));
    QCOMPARE(volts(d.vref.low), QStringLiteral("4.96 V"));
    QCOMPARE(volts(d.vref.high), QStringLiteral("5.87 V"));
    QCOMPARE(figure(d.loadR1, "#0.000", "mA"), QStringLiteral("0.357 mA"));
    QCOMPARE(figure(d.loadDivider, "#0.000", "mA"), QStringLiteral("0.514 mA"));
    QCOMPARE(d.view.lblmA, QStringLiteral("7.8 mA/LED"));
    QCOMPARE(milliamps(d.iled.nominal), QStringLiteral("8.7 mA"));
    QCOMPARE(milliamps(d.iled.low), QStringLiteral("6.1 mA"));
    QCOMPARE(milliamps(d.iled.high), QStringLiteral("11.3 mA"));
}

void TestChipDesign::firstStartChecks_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QStringList>("figures");
    const auto row = [](const char* name, CheckId id, bool passes, QStringList figures) {
        QTest::newRow(name) << static_cast<int>(id) << passes << figures;
    };
    row("reference above V+ - 1.5 V", CheckId::Reference, false, {"5.14 V", "3.50 V"});
    row("RHi end above V+ - 1.5 V", CheckId::RHi, false, {"4.46 V", "3.50 V"});
    row("signal's full scale above V+ - 1.5 V", CheckId::SignalFullScale, false,
        {"5.00 V", "3.50 V"});
    row("RLo end at 0 V", CheckId::RLo, true, {"0.00 V"});
    row("V+ 5 V specified", CheckId::Supply, true, {"5.00 V"});
    row("LED current 8.7 mA", CheckId::LedCurrent, true, {"8.7 mA"});
    row("LED supply covers red LED", CheckId::LedSupply, true, {"5.00 V", "2.00 V", "3.50 V"});
    row("span 4.46 V", CheckId::Span, true, {"4.46 V"});
    row("package takes 0.27 W", CheckId::Dissipation, true, {"0.27 W", "1.36 W"});
}

void TestChipDesign::firstStartChecks() {
    QFETCH(int, id);
    QFETCH(bool, passes);
    QFETCH(QStringList, figures);
    const ChipDesign d = DesignPanel().design(0);
    const Check* c = d.check(static_cast<CheckId>(id));
    QVERIFY(c);
    QCOMPARE(c->passed, passes);
    for (const QString& f : figures)
        QVERIFY2(c->sentence.contains(f), qPrintable(c->sentence));
    QVERIFY2(!d.check(CheckId::DotStep), "no dot-step check in bar mode");
}

void TestChipDesign::firstStartStandardParts() {
    const ChipDesign d = DesignPanel().design(0);
    QCOMPARE(d.e24.R1, 3600.0);
    QCOMPARE(d.e24.R2, 9100.0);
    QCOMPARE(d.e96.R1, 3480.0);
    QCOMPARE(d.e96.R2, 9090.0);
    // 3.6k/9.1k: 10 x 0.347 + 1 + 3.16 mA and 1.25 + 3.16 V; 3.48k/9.09k: 7.86 mA, 4.515 V.
    QCOMPARE(d.e24.lblmA, QStringLiteral("7.6 mA/LED"));
    QCOMPARE(d.e24.lblRefo, QStringLiteral("4.41v"));
    QCOMPARE(d.e96.lblmA, QStringLiteral("7.9 mA/LED"));
    QCOMPARE(d.e96.lblRefo, QStringLiteral("4.52v"));
}

void TestChipDesign::lastDesignServesOnlyForTheSameParts() {
    DesignPanel p;
    const ChipDesign first = p.design(0);
    // One step of R1 keeps the nearest parts: the last design's figures hold.
    p.setSliders(0, 701, 360);
    const ChipDesign step = designChip(p.model, p.in, 0, u"Red", &first);
    QCOMPARE(step.e96.lblRefo, p.design(0).e96.lblRefo);
    // Far enough for other parts: they are worked out anew (3.9k and 9.1k: 4.17v).
    p.setSliders(0, 780, 360);
    const ChipDesign moved = designChip(p.model, p.in, 0, u"Red", &first);
    QCOMPARE(moved.e24.R1, 3900.0);
    QCOMPARE(moved.e24.lblRefo, QStringLiteral("4.17v"));
    // A lower supply limits the E96 pair's 4.52 V reference to 4 - 1.5 V on the window.
    p.setSliders(0, 700, 360);
    p.in.chip[0].Text1 = QStringLiteral("4.5");
    p.recalc();
    const ChipDesign lower = designChip(p.model, p.in, 0, u"Red", &first);
    QCOMPARE(first.e96.lblRefo, QStringLiteral("4.52v"));
    QCOMPARE(lower.e96.lblRefo, QStringLiteral("3.00v"));
}

void TestChipDesign::checksFromTheLastDesignMatchFreshOnes_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("R1 one step") << "R1";
    QTest::newRow("supply lowered to 4 V") << "V+";
    QTest::newRow("LED supply lowered to 3 V") << "LED supply";
    QTest::newRow("white LEDs of 3.5 V") << "colour";
    QTest::newRow("dot mode") << "dot";
    QTest::newRow("signal full scale 3 V") << "signal";
}

// A design handed its predecessor reuses the checks whose figures stayed: every check must
// still read as a fresh design's does.
void TestChipDesign::checksFromTheLastDesignMatchFreshOnes() {
    QFETCH(QString, change);
    DesignPanel p;
    const ChipDesign last = p.design(0);
    if (change == QLatin1String("R1"))
        p.setSliders(0, 701, 360);
    if (change == QLatin1String("V+"))
        p.in.chip[0].Text1 = QStringLiteral("4");
    if (change == QLatin1String("LED supply"))
        p.in.chip[0].txtLED = QStringLiteral("3");
    if (change == QLatin1String("colour"))
        p.model.ledVf[0] = 3.5;
    if (change == QLatin1String("dot"))
        p.in.chip[0].optMode = {false, true};
    if (change == QLatin1String("signal"))
        p.in.chip[0].txtVin = QStringLiteral("3");
    p.recalc();
    const ChipDesign fresh = p.design(0);
    const ChipDesign next = designChip(p.model, p.in, 0, u"Red", &last);
    QCOMPARE(next.checks.size(), fresh.checks.size());
    for (std::size_t i = 0; i < fresh.checks.size(); ++i) {
        QCOMPARE(next.checks[i].id, fresh.checks[i].id);
        QCOMPARE(next.checks[i].passed, fresh.checks[i].passed);
        QCOMPARE(next.checks[i].sentence, fresh.checks[i].sentence);
    }
}

void TestChipDesign::realisticDissipation_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("litNow");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("worst");
    QTest::addColumn<bool>("withinPackage");
    // 5 x 8.71 mA x (5 - 2) V + 5 V x 2.4 mA; ten LEDs twice the first term.
    QTest::newRow("first start, bar, 5 lit") << "first" << 5 << "0.14 W"
                                             << "0.27 W" << true;
    // One LED: 8.71 mA x 3 V + 12 mW.
    QTest::newRow("dot mode lights one") << "dot" << 1 << "0.04 W"
                                         << "0.04 W" << true;
    // 16.6 mA per LED from 15 V through the proposed 43 Ω: 4 lit 0.71 W, ten 1.01 W.
    QTest::newRow("resistor takes its share") << "resistor" << 4 << "0.71 W"
                                              << "1.01 W" << true;
    // The same LEDs straight from 15 V: 10 x 16.6 mA x 13 V is far over the package's limit.
    QTest::newRow("dot mode proposes none") << "resistor dot" << 1 << "0.25 W"
                                            << "0.25 W" << true;
    QTest::newRow("signal below LED 1") << "dark" << 0 << "0.01 W"
                                        << "0.27 W" << true;
}

void TestChipDesign::realisticDissipation() {
    QFETCH(QString, setup);
    QFETCH(int, litNow);
    QFETCH(QString, now);
    QFETCH(QString, worst);
    QFETCH(bool, withinPackage);
    DesignPanel p;
    if (setup.startsWith(QLatin1String("resistor")))
        useResistorCase(p);
    if (setup.endsWith(QLatin1String("dot")))
        p.in.chip[0].optMode = {false, true};
    if (setup == QLatin1String("dark"))
        p.in.chip[0].vsVin = 0;
    p.recalc();
    const ChipDesign d = p.design(0);
    QCOMPARE(d.litNow, litNow);
    QCOMPARE(watts(d.pchipNow), now);
    QCOMPARE(watts(d.pchipWorst), worst);
    QCOMPARE(!failed(d, CheckId::Dissipation), withinPackage);
}

void TestChipDesign::limitingResistorPart() {
    DesignPanel p;
    useResistorCase(p);
    const ChipDesign d = p.design(0);
    QCOMPARE(d.view.lblmA, QStringLiteral("16.0 mA/LED"));
    QVERIFY(d.rlim.proposed);
    QCOMPARE(figure(d.rlim.minimum, "#0.0", "Ω"), QStringLiteral("42.2 Ω"));
    QCOMPARE(d.rlim.ohms, 43.0);
    QCOMPARE(watts(d.rlim.watts), QStringLiteral("1.10 W")); // 0.16 A squared x 43 Ω
    QCOMPARE(d.rlim.rating, 3.0);
    const QString hint = chipHints(d).lblWarn;
    QVERIFY2(hint.contains(QStringLiteral("43 Ω")) && hint.contains(QStringLiteral("3 W part")),
             qPrintable(hint));

    p.in.chip[0].optMode = {false, true};
    p.recalc();
    QVERIFY(!p.design(0).rlim.proposed);
}

void TestChipDesign::windowsExampleResistor() {
    // The window's own example: Rlim 40.0 Ω at a total of 0.2 A.
    DesignPanel p;
    p.model.state[0].Rlim = 40.0;
    p.model.state[0].Itotal = 0.2;
    p.model.result[0].resistorProposed = true;
    const ChipDesign d = p.design(0);
    QCOMPARE(d.rlim.ohms, 43.0);
    QCOMPARE(watts(d.rlim.watts), QStringLiteral("1.72 W"));
    QCOMPARE(d.rlim.rating, 5.0);
}

void TestChipDesign::rhiExternalLeavesTheDividerOutOfTheCurrent() {
    DesignPanel p;
    p.in.chip[0].optRHi = {false, true};
    p.in.chip[0].txtRHi = QStringLiteral("3");
    p.recalc();
    const ChipDesign d = p.design(0);
    QCOMPARE(d.loadDivider, 0.0);
    QCOMPARE(milliamps(d.iled.nominal), QStringLiteral("3.6 mA")); // 10 x 1.25 V / 3.5 kΩ
    QCOMPARE(volts(d.state.VrHi), QStringLiteral("1.50 V"));
    QVERIFY(!failed(d, CheckId::RHi));
    QVERIFY(chipHints(d).lblmA.contains(QStringLiteral("0.36 mA through R1.")));
}

void TestChipDesign::limitChecks_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QString>("says");
    const auto row = [](const char* name, const char* field, const char* value, CheckId id,
                        bool passes, const char* says) {
        QTest::newRow(name) << field << value << static_cast<int>(id) << passes << says;
    };
    row("V+ 2 V under the specified range", "Text1", "2", CheckId::Supply, false, "3 to 20 V");
    row("V+ 3 V is specified", "Text1", "3", CheckId::Supply, true, "within");
    row("V+ 20 V is specified", "Text1", "20", CheckId::Supply, true, "within");
    row("V+ 22 V above specified, below maximum", "Text1", "22", CheckId::Supply, false,
        "25 V is the absolute maximum");
    row("V+ 30 V above the absolute maximum", "Text1", "30", CheckId::Supply, false,
        "above the 25 V absolute maximum");
    row("V+ 15 V gives the reference room", "Text1", "15", CheckId::Reference, true, "13.50 V");
    row("LED supply 3.4 V under red's 3.5 V", "txtLED", "3.4", CheckId::LedSupply, false, "below");
    row("LED supply 3.5 V is just enough", "txtLED", "3.5", CheckId::LedSupply, true, "covers");
    row("signal full scale 3 V fits", "txtVin", "3", CheckId::SignalFullScale, true, "3.00 V");
    row("negative signal full scale", "txtVin", "-1", CheckId::SignalFullScale, false, "below 0 V");
    row("span 0.15 V too small", "rhi", "0.15", CheckId::Span, false, "200 mV");
    row("span 0.2 V enough", "rhi", "0.2", CheckId::Span, true, "at least 200 mV");
    row("RHi below RLo", "rlo", "2", CheckId::Span, false, "RHi is below RLo");
    row("RLo above the headroom", "rlo", "4", CheckId::RLo, false, "4.00 V");
    row("dot mode 30 mV per step", "dot", "0.3", CheckId::DotStep, false, "50 mV");
    row("dot mode 50 mV per step", "dot", "0.5", CheckId::DotStep, true, "0.050 V");
    row("LED current above 30 mA", "hsR1", "50", CheckId::LedCurrent, false, "2 to 30 mA");
}

// One input changed from the first start, and the check it concerns.
void TestChipDesign::limitChecks() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, id);
    QFETCH(bool, passes);
    QFETCH(QString, says);
    DesignPanel p;
    ChipInputs& c = p.in.chip[0];
    if (field == QLatin1String("Text1")) {
        c.Text1 = value;
    } else if (field == QLatin1String("txtLED")) {
        c.txtLED = value;
    } else if (field == QLatin1String("txtVin")) {
        c.txtVin = value;
    } else if (field == QLatin1String("rhi") || field == QLatin1String("dot")) {
        // RHi from an external full scale at slider 1000, RLo at 0 V.
        c.optRHi = {false, true};
        c.vsRHi = 1000;
        c.txtRHi = value;
        if (field == QLatin1String("dot"))
            c.optMode = {false, true};
    } else if (field == QLatin1String("rlo")) {
        c.optRHi = {false, true};
        c.vsRHi = 1000;
        c.txtRHi = QStringLiteral("1");
        c.optRLo = {false, true};
        c.vsRLo = 1000;
        c.txtRLo = value;
    } else if (field == QLatin1String("hsR1")) {
        p.model.setR1FromSlider(0, value.toInt());
    }
    p.recalc();
    const ChipDesign d = p.design(0);
    const Check* check = d.check(static_cast<CheckId>(id));
    QVERIFY(check);
    QVERIFY2(check->passed == passes, qPrintable(check->sentence));
    QVERIFY2(check->sentence.contains(says), qPrintable(check->sentence));
}

void TestChipDesign::hintsCarryTheirFigures_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("figures");
    QTest::newRow("lblmA") << "lblmA" << QStringList{"8.7 mA", "6.1 mA", "11.3 mA", "0.87 mA"};
    QTest::newRow("lblRefo") << "lblRefo" << QStringList{"5.14 V", "4.96 V", "5.87 V", "3.50 V"};
    QTest::newRow("lblRLo") << "lblRLo" << QStringList{"0.00 V", "3.50 V"};
    QTest::newRow("lblRHi") << "lblRHi" << QStringList{"4.46 V", "5.00 V", "3.50 V"};
    QTest::newRow("lblGap") << "lblGap" << QStringList{"4.46 V", "200 mV"};
    QTest::newRow("lblWatts") << "lblWatts" << QStringList{"0.14 W", "0.27 W", "1.36 W"};
    QTest::newRow("lblWarn") << "lblWarn" << QStringList{"No limiting resistor"};
    QTest::newRow("hsR1") << "hsR1" << QStringList{"3.5 kΩ", "3.6 kΩ", "3.48 kΩ", "7.6 mA/LED"};
    QTest::newRow("vsR2") << "vsR2" << QStringList{"9 kΩ", "9.1 kΩ", "9.09 kΩ", "4.52v"};
}

void TestChipDesign::hintsCarryTheirFigures() {
    QFETCH(QString, control);
    QFETCH(QStringList, figures);
    const ChipHints h = chipHints(DesignPanel().design(0));
    const QString hint = control == QLatin1String("lblmA")      ? h.lblmA
                         : control == QLatin1String("lblRefo")  ? h.lblRefo
                         : control == QLatin1String("lblRLo")   ? h.lblRLo
                         : control == QLatin1String("lblRHi")   ? h.lblRHi
                         : control == QLatin1String("lblGap")   ? h.lblGap
                         : control == QLatin1String("lblWatts") ? h.lblWatts
                         : control == QLatin1String("lblWarn")  ? h.lblWarn
                         : control == QLatin1String("hsR1")     ? h.hsR1
                                                                : h.vsR2;
    for (const QString& f : figures)
        QVERIFY2(hint.contains(f), qPrintable(hint));
}

void TestChipDesign::sliderEndsGiveSensibleTexts_data() {
    QTest::addColumn<int>("hsR1");
    QTest::addColumn<int>("vsR2");
    QTest::addColumn<QString>("r1Hint");
    QTest::addColumn<QString>("r2Hint");
    QTest::newRow("R1 250 ohm, R2 wire") << 50 << 0 << "R1 250 Ω: standard parts 240 Ω (E24)"
                                         << "R2 0 Ω: a wire link";
    QTest::newRow("R1 5.5k, R2 25k") << 1100 << 1000 << "5.6 kΩ (E24), 5.49 kΩ (E96)"
                                     << "24 kΩ (E24), 24.9 kΩ (E96)";
    QTest::newRow("R1 250 ohm, R2 25k") << 50 << 1000 << "240 Ω (E24), 249 Ω (E96)"
                                        << "24 kΩ (E24)";
    QTest::newRow("R1 5.5k, R2 wire") << 1100 << 0 << "R1 5.5 kΩ"
                                      << "a wire link";
}

void TestChipDesign::sliderEndsGiveSensibleTexts() {
    QFETCH(int, hsR1);
    QFETCH(int, vsR2);
    QFETCH(QString, r1Hint);
    QFETCH(QString, r2Hint);
    DesignPanel p;
    p.setSliders(0, hsR1, vsR2);
    const ChipDesign d = p.design(0);
    const ChipHints h = chipHints(d);
    QVERIFY2(h.hsR1.contains(r1Hint), qPrintable(h.hsR1));
    QVERIFY2(h.vsR2.contains(r2Hint), qPrintable(h.vsR2));
    // The standard pair's figures are the window's, so they read like its captions.
    QVERIFY(d.e24.lblmA.endsWith(QLatin1String(" mA/LED")));
    QVERIFY(d.e96.lblRefo.endsWith(QLatin1Char('v')));
    const QString all = hintsText(h) + designReport(d, p.design(1));
    QVERIFY2(!showsBrokenNumber(all), qPrintable(all));
    QVERIFY(!all.contains(QLatin1String(kOutOfRange)));
}

void TestChipDesign::overflowingInputsReadOutOfRange_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("id");
    QTest::newRow("V+ beyond double range") << "Text1"
                                            << "1e999" << int(CheckId::Supply);
    QTest::newRow("V+ absurdly large") << "Text1"
                                       << "1e300" << int(CheckId::Supply);
    QTest::newRow("LED supply beyond double range") << "txtLED"
                                                    << "1e999" << int(CheckId::LedSupply);
    QTest::newRow("negative LED supply beyond range") << "txtLED"
                                                      << "-1e999" << int(CheckId::LedSupply);
    QTest::newRow("signal beyond double range") << "txtVin"
                                                << "1e999" << int(CheckId::SignalFullScale);
    // 0 x infinity: the RLo end is not a number at all.
    QTest::newRow("RLo slider 0 of an infinite scale") << "txtRLo"
                                                       << "1e999" << int(CheckId::RLo);
    QTest::newRow("RLo external beyond range") << "txtRLo"
                                               << "1e400" << int(CheckId::LedCurrent);
    QTest::newRow("RHi external beyond range") << "txtRHi"
                                               << "1e999" << int(CheckId::Span);
}

void TestChipDesign::overflowingInputsReadOutOfRange() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, id);
    DesignPanel p;
    ChipInputs& c = p.in.chip[0];
    if (field == QLatin1String("Text1"))
        c.Text1 = value;
    if (field == QLatin1String("txtLED"))
        c.txtLED = value;
    if (field == QLatin1String("txtVin"))
        c.txtVin = value;
    if (field == QLatin1String("txtRLo")) {
        c.optRLo = {false, true};
        c.vsRLo = value == QLatin1String("1e999") ? 0 : 500;
        c.txtRLo = value;
    }
    if (field == QLatin1String("txtRHi")) {
        c.optRHi = {false, true};
        c.txtRHi = value;
    }
    p.recalc();
    const ChipDesign d = p.design(0);
    const Check* check = d.check(static_cast<CheckId>(id));
    QVERIFY(check);
    QVERIFY2(!check->passed, qPrintable(check->sentence));
    QVERIFY2(check->sentence.contains(QLatin1String(kOutOfRange)), qPrintable(check->sentence));
    const QString all = hintsText(chipHints(d)) + designReport(d, p.design(1));
    QVERIFY2(!showsBrokenNumber(all), qPrintable(all));
}

void TestChipDesign::reportOfTheFirstStart() {
    const DesignPanel p;
    const QString report = designReport(p.design(0), p.design(1));
    const qsizetype chip1 = report.indexOf(QLatin1String("Chip #1 (1st LM3914, lower schematic)"));
    const qsizetype chip2 = report.indexOf(QLatin1String("Chip #2 (2nd LM3914, upper schematic)"));
    QVERIFY(chip1 > 0);
    QVERIFY(chip2 > chip1);
    QVERIFY(report.contains(QLatin1String("Slave to #1: off")));
    for (const QString& part : {report.mid(chip1, chip2 - chip1), report.mid(chip2)}) {
        for (const char* expected :
             {"Chip supply V+: 5 V", "R1: 3.50k (slider 700)", "R2: 9.00k (slider 360)",
              "RHi pin: Ref Inp", "RLo pin: 0V", "Mode: Bar/+V", "LED current: 7.8 mA/LED",
              "Reference: 4.46v", "Step: Steps= 0.45v", "LEDs lit: 1, 2, 3, 4, 5",
              "Dissipation: Dissipating= < 1.0W", "5.14 V nominal", "8.7 mA per LED",
              "WARNING  The data-sheet reference, 5.14 V", "ok       V+, 5.00 V",
              "3.6 kΩ (E24), 3.48 kΩ (E96)", "9.1 kΩ (E24), 9.09 kΩ (E96)", "No limiting resistor",
              "LEDs: 10 x Red"})
            QVERIFY2(part.contains(QString::fromUtf8(expected)), expected);
    }
    QCOMPARE(QString::fromUtf8(report.toUtf8()), report);
}

void TestChipDesign::reportInSlaveModeWithTwoColours() {
    DesignPanel p;
    p.in.slave = true;
    p.in.chip[1].txtVin = QStringLiteral("2"); // unused while slaved
    p.in.chip[1].optMode = {false, true};
    p.model.ledColour[1] = 0x00FF00;
    p.model.ledVf[1] = 3.0;
    useResistorCase(p);
    const ChipDesign chip2 = p.design(1, u"Green");
    // Chip #2's signal is chip #1's, so its full scale is chip #1's 5 V, not its own 2 V.
    QVERIFY2(sentence(chip2, CheckId::SignalFullScale).contains(QLatin1String("5.00 V")),
             qPrintable(sentence(chip2, CheckId::SignalFullScale)));
    const QString report = designReport(p.design(0, u"Red"), chip2);
    QVERIFY(report.contains(QLatin1String("Slave to #1: on")));
    const qsizetype split = report.indexOf(QLatin1String("Chip #2 ("));
    const QString first = report.left(split);
    const QString second = report.mid(split);
    QVERIFY(first.contains(QLatin1String("LEDs: 10 x Red")));
    QVERIFY(first.contains(QString::fromUtf8("Limiting resistor: Buy 43 Ω")));
    QVERIFY(first.contains(QLatin1String("LED current: 16.0 mA/LED")));
    QVERIFY(second.contains(QLatin1String("LEDs: 10 x Green")));
    QVERIFY(second.contains(QLatin1String("Signal: chip #1's (slave mode)")));
    QVERIFY(second.contains(QLatin1String("Mode: Dot/o.c")));
    QVERIFY(second.contains(QLatin1String("In dot mode no limiting resistor")));
    QVERIFY(second.contains(QLatin1String("The step in dot mode")));
}

void TestChipDesign::otherKindsFollowTheirDivider() {
    DesignPanel p;
    p.in.chip[0].kind = ChipKind::LM3915;
    p.in.chip[0].optMode = {false, true};
    p.recalc();
    const ChipDesign d = p.design(0);
    QCOMPARE(d.loadDivider, (d.vref.nominal - d.state.VrLo) / 22.63);
    // LED 1 to LED 2 is the LM3915's narrowest step.
    const Check* dot = d.check(CheckId::DotStep);
    QVERIFY(dot);
    QVERIFY2(dot->sentence.contains(figure(d.state.Span * (0.0623 - 0.0442), "#0.000", "V")),
             qPrintable(dot->sentence));
    const QString report = designReport(d, p.design(1));
    QVERIFY(report.startsWith(QLatin1String("LM3915/LM3914 bar-graph design")));
    QVERIFY(report.contains(QLatin1String("Chip #1 (1st LM3915, lower schematic)")));
    // 2.5 V of a 4.46 V span is above LED 8's 0.4998 in dot mode.
    QVERIFY2(report.contains(QLatin1String("LEDs lit: 8\n")), qPrintable(report));
    QVERIFY(report.contains(QLatin1String("Step: Steps= 3dB")));
}

QTEST_GUILESS_MAIN(TestChipDesign)
#include "tst_chipdesign.moc"
