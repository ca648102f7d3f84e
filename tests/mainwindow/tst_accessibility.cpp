// What a screen reader finds in the main window: names, what values mean, read-outs with their
// captions, and the LEDs' states, kept current by every recalculation.
#include "formfixture.h"

#include <QAccessible>

using namespace kestrelon;

namespace {

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// Walks the accessible tree from the window, as a screen reader does, to the object named so.
QAccessibleInterface* findByName(QAccessibleInterface* from, const QString& name) {
    if (from->text(QAccessible::Name) == name)
        return from;
    for (int i = 0; i < from->childCount(); ++i)
        if (QAccessibleInterface* child = from->child(i))
            if (QAccessibleInterface* found = findByName(child, name))
                return found;
    return nullptr;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void slidersSayWhatTheirValueMeans_data();
    void slidersSayWhatTheirValueMeans();
    void readOutsSayWhatTheyAreAndWhatTheyShow_data();
    void readOutsSayWhatTheyAreAndWhatTheyShow();
    void bannerAndResistorGroupFollowTheCalculation();
    void ledsTellWhetherTheyAreLit_data();
    void ledsTellWhetherTheyAreLit();
    void noLabelIsAnnouncedByItsNumberAlone();
};

void TestAccessibility::slidersSayWhatTheirValueMeans_data() {
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<QString>("meaning");
    QTest::newRow("R1 at 700") << "hsR1_0" << 700 << ""
                               << "" << QStringLiteral("R1 3.50 kΩ");
    QTest::newRow("R1 at its lowest") << "hsR1_1" << 50 << ""
                                      << "" << QStringLiteral("R1 0.25 kΩ");
    QTest::newRow("R2 at 220") << "vsR2_0" << 220 << ""
                               << "" << QStringLiteral("R2 5.50 kΩ");
    QTest::newRow("R2 at 1000") << "vsR2_1" << 1000 << ""
                                << "" << QStringLiteral("R2 25.00 kΩ");
    QTest::newRow("signal at 500 of 5 V") << "vsVin_0" << 500 << "txtVin_0"
                                          << "5"
                                          << "signal 2.50 V";
    QTest::newRow("signal follows its box") << "vsVin_1" << 500 << "txtVin_1"
                                            << "8"
                                            << "signal 4.00 V";
    QTest::newRow("signal of an empty box") << "vsVin_0" << 700 << "txtVin_0"
                                            << ""
                                            << "signal 0.00 V";
    QTest::newRow("RLo at 250 of 2 V") << "vsRLo_0" << 250 << "txtRLo_0"
                                       << "2"
                                       << "external low 0.50 V";
    QTest::newRow("RHi at 900 of 5 V") << "vsRHi_1" << 900 << "txtRHi_1"
                                       << "5"
                                       << "external high 4.50 V";
}

void TestAccessibility::slidersSayWhatTheirValueMeans() {
    QFETCH(QString, slider);
    QFETCH(int, value);
    QFETCH(QString, box);
    QFETCH(QString, boxText);
    QFETCH(QString, meaning);
    FormFixture f;
    ui::ScrollBar* bar = f.bar(slider);
    // The box first, the slider after, and the other way round: either change is reflected.
    if (!box.isEmpty())
        f.box(box)->setText(boxText);
    bar->setValue(value);
    QAccessibleInterface* a = accessible(bar);
    QVERIFY(a->text(QAccessible::Description).startsWith(meaning));
    QCOMPARE(a->valueInterface()->currentValue().toInt(), value);
    if (box.isEmpty())
        return;
    bar->setValue(value == 1000 ? 0 : 1000);
    f.box(box)->setText(QStringLiteral("1"));
    bar->setValue(value);
    f.box(box)->setText(boxText);
    QVERIFY2(a->text(QAccessible::Description).startsWith(meaning),
             qPrintable(a->text(QAccessible::Description)));
}

void TestAccessibility::readOutsSayWhatTheyAreAndWhatTheyShow_data() {
    QTest::addColumn<QString>("readOut");
    QTest::addColumn<QString>("what");
    QTest::newRow("reference voltage") << "lblRefo_0"
                                       << "Chip 1 reference voltage";
    QTest::newRow("chip 2 reference voltage") << "lblRefo_1"
                                              << "Chip 2 reference voltage";
    QTest::newRow("LED current") << "lblmA_0"
                                 << "Chip 1 LED current";
    QTest::newRow("R1") << "lblR1_1"
                        << "Chip 2 R1 value";
    QTest::newRow("R2") << "lblR2_0"
                        << "Chip 1 R2 value";
    QTest::newRow("signal") << "lblVin_0"
                            << "Chip 1 signal voltage";
    QTest::newRow("reference adjust") << "lblRadj_0"
                                      << "Chip 1 reference adjust voltage";
    QTest::newRow("RLo") << "lblRLo_1"
                         << "Chip 2 RLo pin voltage";
    QTest::newRow("RHi") << "lblRHi_0"
                         << "Chip 1 RHi pin voltage";
    QTest::newRow("lowest threshold") << "lblVmin_0"
                                      << "Chip 1 LED 1 threshold";
    QTest::newRow("highest threshold") << "lblVmax_0"
                                       << "Chip 1 LED 10 threshold";
    QTest::newRow("step") << "lblGap_0"
                          << "Chip 1 step between thresholds";
    QTest::newRow("dissipation") << "lblWatts_0"
                                 << "Chip 1 chip dissipation";
}

void TestAccessibility::readOutsSayWhatTheyAreAndWhatTheyShow() {
    QFETCH(QString, readOut);
    QFETCH(QString, what);
    FormFixture f;
    ui::Label* label = f.label(readOut);
    QAccessibleInterface* a = accessible(label);
    QCOMPARE(a->role(), QAccessible::StaticText);
    const QString before = label->caption();
    QCOMPARE(a->text(QAccessible::Name), what + QStringLiteral(": ") + before);
    QCOMPARE(a->text(QAccessible::Value), before);
    // Every input of the chip moved: the caption changes, and so does what is announced.
    const int chip = readOut.endsWith(QLatin1String("_1")) ? 1 : 0;
    const QString k = QStringLiteral("_%1").arg(chip);
    f.type(QStringLiteral("txtLED") + k, QStringLiteral("24"));
    f.bar(QStringLiteral("hsR1") + k)->setValue(300);
    f.bar(QStringLiteral("vsR2") + k)->setValue(100);
    f.bar(QStringLiteral("vsVin") + k)->setValue(900);
    f.type(QStringLiteral("txtRLo") + k, QStringLiteral("2"));
    f.bar(QStringLiteral("vsRLo") + k)->setValue(800);
    f.option(chip == 0 ? QStringLiteral("optRHi_1") : QStringLiteral("optRHi1_1"))->setValue(true);
    f.option(chip == 0 ? QStringLiteral("optRLo_1") : QStringLiteral("optRLo1_1"))->setValue(true);
    QVERIFY2(label->caption() != before, qPrintable(before));
    QCOMPARE(a->text(QAccessible::Name), what + QStringLiteral(": ") + label->caption());
    QCOMPARE(a->text(QAccessible::Value), label->caption());
}

void TestAccessibility::bannerAndResistorGroupFollowTheCalculation() {
    FormFixture f;
    QAccessibleInterface* banner = accessible(f.label(QStringLiteral("Label9_0")));
    QAccessibleInterface* resistor = accessible(f.label(QStringLiteral("lblRlim_0")));
    QAccessibleInterface* note = accessible(f.label(QStringLiteral("lblWarn_0")));
    QAccessibleInterface* window = accessible(f.form.get());
    QAccessibleInterface* supply = findByName(window, QStringLiteral("Chip 1 LED supply"));
    QVERIFY(supply);

    // A low LED supply needs no limiting resistor: the wire runs straight through.
    f.type(QStringLiteral("txtLED_0"), QStringLiteral("5"));
    QCOMPARE(banner->text(QAccessible::Name),
             QStringLiteral("Chip 1 reference limit warning: none"));
    QVERIFY(resistor->state().invisible);
    QVERIFY(note->state().invisible);
    QCOMPARE(supply->text(QAccessible::Description),
             QStringLiteral("direct, no limiting resistor needed"));

    // A high one needs it; a chip supply below the reference raises the banner.
    f.type(QStringLiteral("txtLED_0"), QStringLiteral("24"));
    f.type(QStringLiteral("Text1_0"), QStringLiteral("3"));
    QCOMPARE(banner->text(QAccessible::Name),
             QStringLiteral("Chip 1 reference limit warning: Vref Limit =(+V-1.5v)"));
    QVERIFY(!resistor->state().invisible);
    QVERIFY(!note->state().invisible);
    QCOMPARE(resistor->text(QAccessible::Name),
             QStringLiteral("Chip 1 limiting resistor: ") +
                 f.caption(QStringLiteral("lblRlim_0")).simplified());
    QCOMPARE(note->text(QAccessible::Name),
             QStringLiteral("Chip 1 limiting resistor note: Rlim for LM3914 = 1Wmax"));
    QCOMPARE(supply->text(QAccessible::Description),
             QStringLiteral("through the limiting resistor"));
}

void TestAccessibility::ledsTellWhetherTheyAreLit_data() {
    QTest::addColumn<int>("chip");
    QTest::addColumn<QString>("colourOption");
    QTest::addColumn<QString>("lit");
    QTest::addColumn<QByteArray>("store");
    QTest::newRow("chip 1, red") << 0 << "optLED_0"
                                 << "lit, red" << QByteArray();
    QTest::newRow("chip 1, green") << 0 << "optLED_1"
                                   << "lit, green" << QByteArray();
    QTest::newRow("chip 2, blue") << 1 << "optLED2_3"
                                  << "lit, blue" << QByteArray();
    QTest::newRow("chip 2, white") << 1 << "optLED2_4"
                                   << "lit, white" << QByteArray();
    // A colour group stored without a selection keeps chip #2's start colour, a true blue.
    QTest::newRow("chip 2, no colour chosen")
        << 1 << QString() << "lit, blue" << QByteArray("[Properties]\noptLED10=False\n");
}

void TestAccessibility::ledsTellWhetherTheyAreLit() {
    QFETCH(int, chip);
    QFETCH(QString, colourOption);
    QFETCH(QString, lit);
    QFETCH(QByteArray, store);
    FormFixture f(store);
    const QString k = QStringLiteral("_%1").arg(chip);
    if (!colourOption.isEmpty())
        f.option(colourOption)->setValue(true);
    QAccessibleInterface* window = accessible(f.form.get());
    const auto states = [&] {
        QStringList all;
        for (int led = 1; led <= 10; ++led) {
            QAccessibleInterface* a =
                findByName(window, QStringLiteral("Chip %1 LED %2").arg(chip + 1).arg(led));
            all << (a ? a->text(QAccessible::Description) : QStringLiteral("missing"));
        }
        return all;
    };
    QAccessibleInterface* overRange =
        findByName(window, QStringLiteral("Chip %1 over-range").arg(chip + 1));
    QVERIFY(overRange);

    // The signal at zero lights nothing.
    f.bar(QStringLiteral("vsVin") + k)->setValue(0);
    QCOMPARE(states(), QStringList(10, QStringLiteral("unlit")));
    QCOMPARE(overRange->text(QAccessible::Description), QStringLiteral("unlit"));

    // Half of the span in bar mode: the lower LEDs lit, the upper ones not.
    f.option(chip == 0 ? QStringLiteral("optMode_0") : QStringLiteral("optMode1_0"))
        ->setValue(true);
    f.option(chip == 0 ? QStringLiteral("optRLo_0") : QStringLiteral("optRLo1_0"))->setValue(true);
    f.option(chip == 0 ? QStringLiteral("optRHi_1") : QStringLiteral("optRHi1_1"))->setValue(true);
    f.type(QStringLiteral("txtRHi") + k, QStringLiteral("10"));
    f.bar(QStringLiteral("vsRHi") + k)->setValue(1000);
    f.type(QStringLiteral("txtVin") + k, QStringLiteral("10"));
    f.bar(QStringLiteral("vsVin") + k)->setValue(550);
    QCOMPARE(states(), QStringList(5, lit) + QStringList(5, QStringLiteral("unlit")));
    QCOMPARE(overRange->text(QAccessible::Description), QStringLiteral("unlit"));

    // Above the top: every LED and the over-range indicator lit.
    f.type(QStringLiteral("txtVin") + k, QStringLiteral("20"));
    f.bar(QStringLiteral("vsVin") + k)->setValue(1000);
    QCOMPARE(states(), QStringList(10, lit));
    QCOMPARE(overRange->text(QAccessible::Description), QStringLiteral("lit"));
}

void TestAccessibility::noLabelIsAnnouncedByItsNumberAlone() {
    FormFixture f;
    QAccessibleInterface* canvas = accessible(f.form->centralWidget());
    QVERIFY(!canvas->text(QAccessible::Name).isEmpty());
    int labels = 0;
    for (int i = 0; i < canvas->childCount(); ++i) {
        QAccessibleInterface* child = canvas->child(i);
        auto* label = qobject_cast<ui::Label*>(child->object());
        if (!label || label->caption().trimmed().isEmpty())
            continue;
        ++labels;
        // The chip titles say what they are by themselves.
        if (label->objectName().startsWith(QLatin1String("Label3_")))
            continue;
        QVERIFY2(child->text(QAccessible::Name) != label->caption(),
                 qPrintable(label->objectName()));
    }
    QVERIFY(labels >= 30);
    // The pin names, pin numbers and LED numbers are drawn, not announced: no child is one.
    for (int i = 0; i < canvas->childCount(); ++i)
        QVERIFY(!qobject_cast<ui::DrawnLabel*>(canvas->child(i)->object()));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
