// The window's state is one truth: what a script writes through a property, what Qt's own API
// and the accessibility layer report, and what the next recalculation reads and writes.
#include "formfixture.h"

#include <QAccessible>
#include <QAction>
#include <QSignalSpy>

using namespace kestrelon;

namespace {

// One step of chip #1's signal slider: a recalculation of chip #1 that leaves its read-outs
// other than the signal and the LEDs as they were.
void recalculateChipOne(const FormFixture& f) {
    ui::ScrollBar* signal = f.bar(QStringLiteral("vsVin_0"));
    signal->setValue(signal->value() + 1);
}

} // namespace

class TestControlState : public QObject {
    Q_OBJECT

private slots:
    void readOutWrittenFromOutsideIsSetAgain_data();
    void readOutWrittenFromOutsideIsSetAgain();
    void chainEndsAreReadBackFromTheirLabels();
    void slidersShowOneValueToEveryReader_data();
    void slidersShowOneValueToEveryReader();
    void sliderWrittenThroughAnyReaderRunsItsHandler_data();
    void sliderWrittenThroughAnyReaderRunsItsHandler();
    void optionButtonsAreRadioButtons();
    void codeMayEmptyAnOptionGroupButAClickNeverDoes();
    void textIsSavedAndRestoredWhole_data();
    void textIsSavedAndRestoredWhole();
};

void TestControlState::readOutWrittenFromOutsideIsSetAgain_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("foreign");
    QTest::newRow("bottom threshold caption")
        << "lblVmin_0" << QByteArray("caption") << QVariant(QStringLiteral("foo"));
    QTest::newRow("reference caption")
        << "lblRefo_0" << QByteArray("caption") << QVariant(QStringLiteral("9.99v"));
    QTest::newRow("LED fill") << "shpLED_1" << QByteArray("fillColor") << QVariant(0x123456u);
    QTest::newRow("over-range fill") << "shpLED_0" << QByteArray("fillColor") << QVariant(0xFFu);
    QTest::newRow("current text colour")
        << "lblmA_0" << QByteArray("foreColor") << QVariant(0x00FF00u);
    QTest::newRow("limit banner colour")
        << "Label9_0" << QByteArray("backColor") << QVariant(0x00FF00u);
    QTest::newRow("blink timer") << "Timer1" << QByteArray("enabled") << QVariant(true);
    QTest::newRow("limiting-resistor wire")
        << "lineRlim_0" << QByteArray("visible") << QVariant(false);
    QTest::newRow("limiting-resistor label")
        << "lblRlim_0" << QByteArray("visible") << QVariant(true);
}

void TestControlState::readOutWrittenFromOutsideIsSetAgain() {
    QFETCH(QString, control);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, foreign);
    FormFixture f;
    QObject* target = f.get(control);
    const QVariant shown = target->property(property);
    QVERIFY(shown != foreign);
    QVERIFY(target->setProperty(property, foreign));
    QCOMPARE(target->property(property), foreign);
    recalculateChipOne(f);
    QCOMPARE(target->property(property), shown);
}

void TestControlState::chainEndsAreReadBackFromTheirLabels() {
    FormFixture f;
    // Code may leave both groups empty; the labels then keep what was written into them.
    for (const char* option : {"optRLo_0", "optRHi_0"})
        QVERIFY(f.get(QString::fromLatin1(option))->setProperty("value", false));
    QVERIFY(f.get(QStringLiteral("lblRLo_0"))->setProperty("caption", QStringLiteral("2.0v")));
    QVERIFY(f.get(QStringLiteral("lblRHi_0"))->setProperty("caption", QStringLiteral("top")));
    recalculateChipOne(f);
    QCOMPARE(f.caption(QStringLiteral("lblRLo_0")), QStringLiteral("2.0v"));
    // Step 0.446 V on the first start's reference of 4.46 V: 2.0 + 0.446.
    QCOMPARE(f.caption(QStringLiteral("lblVmin_0")), QStringLiteral("2.45v"));
    QCOMPARE(f.caption(QStringLiteral("lblVmax_0")), QStringLiteral("top"));
}

void TestControlState::slidersShowOneValueToEveryReader_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    // The first start's values, from the store's defaults.
    for (int chip = 0; chip < 2; ++chip) {
        const auto row = [chip](const char* control, int value, int lowest, int highest) {
            const QString name = layout::controlName(control, chip);
            QTest::newRow(qPrintable(name)) << name << value << lowest << highest;
        };
        row("hsR1", 700, 50, 1100);
        row("vsR2", 360, 0, 1000);
        row("vsVin", 500, 0, 1000);
        row("vsRLo", 360, 0, 1000);
        row("vsRHi", 500, 0, 1000);
    }
}

void TestControlState::slidersShowOneValueToEveryReader() {
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    FormFixture f;
    QAbstractSlider* slider = f.bar(name);
    QCOMPARE(slider->value(), value);
    QCOMPARE(slider->property("value").toInt(), value);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(slider);
    QVERIFY(accessible && accessible->valueInterface());
    QCOMPARE(accessible->valueInterface()->currentValue().toInt(), value);
    QCOMPARE(accessible->valueInterface()->minimumValue().toInt(), lowest);
    QCOMPARE(accessible->valueInterface()->maximumValue().toInt(), highest);
    QSignalSpy changed(slider, &QAbstractSlider::valueChanged);
    QVERIFY(slider->setProperty("value", lowest + 1));
    QCOMPARE(slider->value(), lowest + 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), lowest + 1);
    slider->setValue(highest);
    QCOMPARE(slider->property("value").toInt(), highest);
    QCOMPARE(accessible->valueInterface()->currentValue().toInt(), highest);
}

void TestControlState::sliderWrittenThroughAnyReaderRunsItsHandler_data() {
    QTest::addColumn<QString>("through");
    QTest::newRow("QAbstractSlider::setValue") << "slider";
    QTest::newRow("value property") << "property";
    QTest::newRow("accessible value") << "accessible";
}

void TestControlState::sliderWrittenThroughAnyReaderRunsItsHandler() {
    QFETCH(QString, through);
    FormFixture f;
    QAbstractSlider* r2 = f.bar(QStringLiteral("vsR2_0"));
    if (through == QLatin1String("slider"))
        r2->setValue(220);
    else if (through == QLatin1String("property"))
        QVERIFY(r2->setProperty("value", 220));
    else
        QAccessible::queryAccessibleInterface(r2)->valueInterface()->setCurrentValue(220);
    QCOMPARE(r2->value(), 220);
    // R2 = 220 x 25 ohm.
    QCOMPARE(f.caption(QStringLiteral("lblR2_0")), QStringLiteral("5.50k"));
    QCOMPARE(f.caption(QStringLiteral("lblRefo_0")), QStringLiteral("3.21v"));
}

void TestControlState::optionButtonsAreRadioButtons() {
    FormFixture f;
    const QList<ui::OptionButton*> options = f.form->findChildren<ui::OptionButton*>();
    QCOMPARE(options.size(), 22);
    for (ui::OptionButton* option : options) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(option);
        QVERIFY(accessible);
        QVERIFY2(accessible->role() == QAccessible::RadioButton, qPrintable(option->objectName()));
        QCOMPARE(accessible->state().checked, option->isChecked());
        QVERIFY(accessible->state().checkable);
    }
}

void TestControlState::codeMayEmptyAnOptionGroupButAClickNeverDoes() {
    FormFixture f;
    ui::OptionButton* bar = f.option(QStringLiteral("optMode1_0"));
    ui::OptionButton* dot = f.option(QStringLiteral("optMode1_1"));
    QVERIFY(bar->isChecked());
    f.click(QStringLiteral("optMode1_0"));
    QVERIFY(bar->isChecked());
    QVERIFY(f.get(QStringLiteral("optMode1_0"))->setProperty("value", false));
    QVERIFY(!bar->isChecked() && !dot->isChecked());
    QVERIFY(!QAccessible::queryAccessibleInterface(bar)->state().checked);
    f.click(QStringLiteral("optMode1_1"));
    QVERIFY(dot->isChecked() && !bar->isChecked());
    QVERIFY(QAccessible::queryAccessibleInterface(dot)->state().checked);
}

void TestControlState::textIsSavedAndRestoredWhole_data() {
    QTest::addColumn<QString>("text");
    QString longText;
    for (int i = 0; longText.size() < 100000; ++i)
        longText += QString::number(i % 10);
    QTest::newRow("100,000 characters") << longText;
    QTest::newRow("control characters and NUL") << QStringLiteral("5\x01\t\x1f") + QChar(0) + "v";
    QTest::newRow("line breaks") << QStringLiteral("5\r\n6\n");
    QTest::newRow("right-to-left marks") << QStringLiteral("\u200f5\u200e");
    QTest::newRow("byte-order mark first") << QStringLiteral("\ufeff5");
    QTest::newRow("emoji") << QStringLiteral("5 \U0001F4A1");
    QTest::newRow("blanks around") << QStringLiteral("  5  ");
    QTest::newRow("comment and quote characters") << QStringLiteral("5 ; # \"q\" 'r' \\ =");
    QTest::newRow("variant-like") << QStringLiteral("@Variant(5)");
    QTest::newRow("empty") << QString();
}

void TestControlState::textIsSavedAndRestoredWhole() {
    QFETCH(QString, text);
    QByteArray stored;
    {
        FormFixture f;
        f.box(QStringLiteral("txtVin_0"))->setText(text);
        QCOMPARE(f.box(QStringLiteral("txtVin_0"))->text(), text);
        f.get<QAction>(QStringLiteral("mnuExit"))->trigger();
        QCOMPARE(f.exitCode, 0);
        QFile file(f.store->fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        stored = file.readAll();
    }
    FormFixture again(stored);
    QCOMPARE(again.box(QStringLiteral("txtVin_0"))->text(), text);
}

QTEST_MAIN(TestControlState)
#include "tst_controlstate.moc"
