#include "formfixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolTip>

using namespace kestrelon;

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void firstStartCalculatesStoreDefaults_data();
    void firstStartCalculatesStoreDefaults();
    void workedExampleTypedIntoTheWindow();
    void supplyBoxIsCappedAt25_data();
    void supplyBoxIsCappedAt25();
    void inputsRecalculateOnlyTheirChip();
    void dragScrollsAndReleaseChanges();
    void verticalSlidersRiseTowardsTheTop();
    void overCurrentBlinksRedThenBlue();
    void colourChoiceIsPerChip_data();
    void colourChoiceIsPerChip();
    void slaveBoxHandsChipOnesSignalToChipTwo();
    void windowAsDesigned();
    void automationContract();
    void tabWalksEveryInputInDesignOrder();
    void everyKindOfInputWorksFromTheKeyboard();
    void everyCaptionFitsItsBox();
    void rendersAtScaleOneAndTwo();
    void chipTypeIsChosenShownAndKept();
    void unknownChipTypeReadsAsLM3914();
};

void TestForm1::firstStartCalculatesStoreDefaults_data() {
    QTest::addColumn<int>("chip");
    QTest::newRow("chip 1") << 0;
    QTest::newRow("chip 2") << 1;
}

void TestForm1::firstStartCalculatesStoreDefaults() {
    QFETCH(int, chip);
    FormFixture f;
    const auto n = [chip](const char* name) { return layout::controlName(name, chip); };
    const char* mode = chip == 0 ? "optMode_0" : "optMode1_0";
    QCOMPARE(f.box(n("txtVin"))->text(), QStringLiteral("5"));
    QCOMPARE(f.box(n("txtRLo"))->text(), QStringLiteral("0"));
    QCOMPARE(f.box(n("Text1"))->text(), QStringLiteral("5"));
    QCOMPARE(f.box(n("txtLED"))->text(), QStringLiteral("5"));
    QCOMPARE(f.bar(n("vsR2"))->value(), 360);
    QCOMPARE(f.bar(n("vsRLo"))->value(), 360);
    QVERIFY(f.option(QString::fromLatin1(mode))->isChecked());
    // R1 3.5k and R2 9k: 7.8 mA per LED, 4.46 V reference, five LEDs lit at 2.5 V.
    QCOMPARE(f.caption(n("lblR1")), QStringLiteral("3.50k"));
    QCOMPARE(f.caption(n("lblR2")), QStringLiteral("9.00k"));
    QCOMPARE(f.caption(n("lblmA")), QStringLiteral("7.8 mA/LED"));
    QCOMPARE(f.label(n("lblmA"))->foreColor(), 0xFF0000u);
    QCOMPARE(f.caption(n("lblRefo")), QStringLiteral("4.46v"));
    QCOMPARE(f.caption(n("lblVin")), QStringLiteral("2.50v"));
    QCOMPARE(f.caption(n("lblGap")), QStringLiteral("Steps= 0.45v"));
    QCOMPARE(f.caption(n("lblWatts")), QStringLiteral("Dissipating= < 1.0W"));
    for (int i = 1; i <= 10; ++i)
        QCOMPARE(f.fill(layout::controlName(chip == 0 ? "shpLED" : "shpLED2", i)),
                 i <= 5 ? kRed : kGrey);
    QCOMPARE(f.form->pos(), QPoint(0, 0));
}

void TestForm1::workedExampleTypedIntoTheWindow() {
    FormFixture f;
    f.type(QStringLiteral("Text1_0"), QStringLiteral("15"));
    f.type(QStringLiteral("txtLED_0"), QStringLiteral("15"));
    f.bar(QStringLiteral("vsR2_0"))->setValue(220);
    QCOMPARE(f.caption(QStringLiteral("lblR2_0")), QStringLiteral("5.50k"));
    QCOMPARE(f.caption(QStringLiteral("lblmA_0")), QStringLiteral("6.5 mA/LED"));
    QCOMPARE(f.caption(QStringLiteral("lblRefo_0")), QStringLiteral("3.21v"));
    QCOMPARE(f.caption(QStringLiteral("lblRadj_0")), QStringLiteral("1.96v"));
    QCOMPARE(f.caption(QStringLiteral("lblGap_0")), QStringLiteral("Steps= 0.32v"));
    QCOMPARE(f.caption(QStringLiteral("lblVmax_0")), QStringLiteral("3.21v"));
    QCOMPARE(f.caption(QStringLiteral("bug0")), QStringLiteral("0"));
}

void TestForm1::supplyBoxIsCappedAt25_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("reference"); // R2 slider at 1000 asks for 10.18 V
    QTest::newRow("30 on chip 1") << "Text1_0"
                                  << "30"
                                  << "25"
                                  << "10.18v";
    QTest::newRow("25.5 on chip 2") << "Text1_1"
                                    << "25.5"
                                    << "25"
                                    << "10.18v";
    QTest::newRow("25 passes") << "Text1_0"
                               << "25"
                               << "25"
                               << "10.18v";
    QTest::newRow("24.9 passes") << "Text1_0"
                                 << "24.9"
                                 << "24.9"
                                 << "10.18v";
    QTest::newRow("25 with letters") << "Text1_0"
                                     << "25V"
                                     << "25V"
                                     << "10.18v";
    QTest::newRow("10 limits the reference") << "Text1_0"
                                             << "10"
                                             << "10"
                                             << "8.50v";
    QTest::newRow("no lower limit") << "Text1_0"
                                    << "-3"
                                    << "-3"
                                    << "-4.50v";
    QTest::newRow("letters read as 0") << "Text1_1"
                                       << "abc"
                                       << "abc"
                                       << "-1.50v";
}

void TestForm1::supplyBoxIsCappedAt25() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, reference);
    FormFixture f;
    const QString chip = box.right(1);
    f.bar(QStringLiteral("vsR2_") + chip)->setValue(1000);
    QSignalSpy changes(f.box(box), &ui::TextBox::Change);
    f.type(box, typed);
    QCOMPARE(f.box(box)->text(), shown);
    // One change for clearing the box, one per key, and one more, nested, for the cap.
    const bool capped = shown != typed;
    QCOMPARE(changes.count(), 1 + int(typed.size()) + (capped ? 1 : 0));
    QCOMPARE(f.caption(QStringLiteral("lblRefo_") + chip), reference);
}

void TestForm1::inputsRecalculateOnlyTheirChip() {
    FormFixture f;
    const QString chip1Low = f.caption(QStringLiteral("lblRLo_0"));
    f.type(QStringLiteral("txtRLo_1"), QStringLiteral("2"));
    f.click(QStringLiteral("optRLo1_1"));
    QVERIFY(f.option(QStringLiteral("optRLo1_1"))->isChecked());
    QVERIFY(!f.option(QStringLiteral("optRLo1_0"))->isChecked());
    QCOMPARE(f.caption(QStringLiteral("lblRLo_1")),
             QStringLiteral("0.72v")); // 360 per mille of 2 V
    QCOMPARE(f.caption(QStringLiteral("lblRLo_0")), chip1Low);
    f.click(QStringLiteral("optRHi1_1"));
    QCOMPARE(f.caption(QStringLiteral("lblRHi_1")), QStringLiteral("2.50v"));
    QCOMPARE(f.caption(QStringLiteral("lblRHi_0")), QStringLiteral("4.46v"));
    f.type(QStringLiteral("txtLED_1"), QStringLiteral("40"));
    QCOMPARE(f.box(QStringLiteral("txtLED_1"))->text(), QStringLiteral("40"));
}

void TestForm1::dragScrollsAndReleaseChanges() {
    FormFixture f;
    ui::ScrollBar* r2 = f.bar(QStringLiteral("vsR2_1"));
    ui::Label* bug0 = f.label(QStringLiteral("bug0"));
    bug0->setCaption(QStringLiteral("x"));
    r2->setSliderDown(true);
    r2->setSliderPosition(r2->value() + 40); // 40 steps up the track
    QCOMPARE(r2->value(), 400);
    QCOMPARE(f.caption(QStringLiteral("lblR2_1")), QStringLiteral("10.00k"));
    QCOMPARE(bug0->caption(), QStringLiteral("x")); // Scroll leaves bug0 alone
    r2->setSliderDown(false);
    QCOMPARE(bug0->caption(), QStringLiteral("1")); // the end of the drag is a Change
    bug0->setCaption(QStringLiteral("x"));
    f.bar(QStringLiteral("vsR2_0"))->setValue(100);
    QCOMPARE(bug0->caption(), QStringLiteral("0"));
    bug0->setCaption(QStringLiteral("x"));
    f.bar(QStringLiteral("vsR2_0"))->setValue(100); // unchanged: no event
    QCOMPARE(bug0->caption(), QStringLiteral("x"));
}

void TestForm1::verticalSlidersRiseTowardsTheTop() {
    FormFixture f;
    ui::ScrollBar* signal = f.bar(QStringLiteral("vsVin_0"));
    QCOMPARE(signal->min(), 1000);
    QCOMPARE(signal->max(), 0);
    QTest::mouseClick(signal, Qt::LeftButton, {}, QPoint(signal->width() / 2, 3));
    QCOMPARE(signal->value(), 501);
    QCOMPARE(f.caption(QStringLiteral("lblVin_0")), QStringLiteral("2.51v"));
    signal->setFocus();
    QTest::keyClick(signal, Qt::Key_Up);
    QCOMPARE(signal->value(), 502);
    QTest::keyClick(signal, Qt::Key_Down);
    QTest::keyClick(signal, Qt::Key_Down);
    QCOMPARE(signal->value(), 500);
    // The trough above the thumb, and Home, lead up as well.
    QTest::mouseClick(signal, Qt::LeftButton, {}, QPoint(signal->width() / 2, signal->width() + 3));
    QCOMPARE(signal->value(), 501);
    QTest::keyClick(signal, Qt::Key_Home);
    QCOMPARE(signal->value(), 1000);
    ui::ScrollBar* r1 = f.bar(QStringLiteral("hsR1_0"));
    r1->setFocus();
    QTest::keyClick(r1, Qt::Key_Right);
    QCOMPARE(r1->value(), 701);
    QCOMPARE(f.caption(QStringLiteral("lblR1_0")), QStringLiteral("3.51k"));
}

void TestForm1::overCurrentBlinksRedThenBlue() {
    FormFixture f;
    ui::Label* current = f.label(QStringLiteral("lblmA_0"));
    auto* timer1 = f.get<QTimer>(QStringLiteral("Timer1"));
    auto* timer2 = f.get<QTimer>(QStringLiteral("Timer2"));
    QVERIFY(!timer1->isActive());
    f.bar(QStringLiteral("hsR1_0"))->setValue(100); // 500 ohm: over 25 mA
    QCOMPARE(current->foreColor(), 0x0000FFu);
    QVERIFY(timer1->isActive());
    QVERIFY(!timer2->isActive());
    f.tick("Timer1");
    QCOMPARE(current->foreColor(), 0x0000FFu);
    f.tick("Timer1");
    QCOMPARE(current->foreColor(), 0xFF0000u);
    f.tick("Timer1");
    QCOMPARE(current->foreColor(), 0x0000FFu);
    QCOMPARE(f.label(QStringLiteral("lblmA_1"))->foreColor(), 0xFF0000u);
    f.bar(QStringLiteral("hsR1_0"))->setValue(700);
    QCOMPARE(current->foreColor(), 0xFF0000u);
    QVERIFY(!timer1->isActive());
    QCOMPARE(current->property("foreColor").toUInt(), 0xFF0000u);
}

void TestForm1::colourChoiceIsPerChip_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("chip");
    QTest::addColumn<uint>("lit");
    QTest::newRow("chip 1 blue is cyan") << "optLED_3" << 0 << 0xFFFF00u;
    QTest::newRow("chip 1 green") << "optLED_1" << 0 << 0x00FF00u;
    QTest::newRow("chip 2 yellow") << "optLED2_2" << 1 << 0x00FFFFu;
    QTest::newRow("chip 2 white") << "optLED2_4" << 1 << 0xFFFFFFu;
}

void TestForm1::colourChoiceIsPerChip() {
    QFETCH(QString, option);
    QFETCH(int, chip);
    QFETCH(uint, lit);
    FormFixture f;
    f.click(option);
    const QString own = chip == 0 ? QStringLiteral("shpLED_1") : QStringLiteral("shpLED2_1");
    const QString other = chip == 0 ? QStringLiteral("shpLED2_1") : QStringLiteral("shpLED_1");
    QCOMPARE(f.fill(own), lit);
    QCOMPARE(f.fill(other), 0x0000FFu);
    QCOMPARE(f.form->model().ledColour[chip], lit);
}

void TestForm1::slaveBoxHandsChipOnesSignalToChipTwo() {
    FormFixture f;
    f.bar(QStringLiteral("vsVin_1"))->setValue(100);
    QCOMPARE(f.caption(QStringLiteral("lblVin_1")), QStringLiteral("0.50v"));
    f.click(QStringLiteral("chkSlave"));
    QCOMPARE(f.get<ui::CheckBox>(QStringLiteral("chkSlave"))->value(), 1);
    QCOMPARE(f.caption(QStringLiteral("lblVin_1")), QStringLiteral("2.50v"));
    f.bar(QStringLiteral("vsVin_0"))->setValue(900);
    QCOMPARE(f.caption(QStringLiteral("lblVin_0")), QStringLiteral("4.50v"));
    QCOMPARE(f.caption(QStringLiteral("lblVin_1")), QStringLiteral("4.50v"));
    QCOMPARE(f.fill(QStringLiteral("shpLED2_10")), 0x0000FFu);
    f.bar(QStringLiteral("vsVin_1"))->setValue(200);
    QCOMPARE(f.caption(QStringLiteral("lblVin_1")), QStringLiteral("4.50v"));
    f.click(QStringLiteral("chkSlave"));
    QCOMPARE(f.caption(QStringLiteral("lblVin_1")), QStringLiteral("1.00v"));
}

void TestForm1::windowAsDesigned() {
    FormFixture f;
    QCOMPARE(f.form->windowTitle(), QStringLiteral("Kestrelon V3.0"));
    QCOMPARE(f.form->centralWidget()->size(), QSize(571, 682));
    QVERIFY(!(f.form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f.form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(f.form->minimumSize(), f.form->maximumSize());
    const QList<QAction*> menu = f.form->menuBar()->actions();
    QCOMPARE(menu.size(), 3);
    QCOMPARE(menu[0]->objectName(), QStringLiteral("mnuExit"));
    QCOMPARE(menu[0]->text(), QStringLiteral("Exit&&Save"));
    QVERIFY(QKeySequence::mnemonic(menu[0]->text()).isEmpty());
    QCOMPARE(menu[1]->text(), QStringLiteral("About"));
    QCOMPARE(menu[2]->text(), QStringLiteral("Help"));
    for (const char* hidden :
         {"lblNum_0", "lblNum_9", "lblNum_19", "lblNum_10", "lblNo_0", "lblNo_21"})
        QVERIFY2(!f.get(QString::fromLatin1(hidden))->property("visible").toBool(), hidden);
    QCOMPARE(f.get(QStringLiteral("lblVp_0"))->property("visible").toBool(), true);
    QCOMPARE(f.get(QStringLiteral("lblPin_9"))->property("caption").toString(),
             QStringLiteral("RefOut"));
    // A drawn label shows its tooltip like a widget.
    auto* r1 = f.get<ui::DrawnLabel>(QStringLiteral("Label1_1"));
    QWidget* canvas = f.form->centralWidget();
    QHelpEvent hover(QEvent::ToolTip, r1->rect().center(),
                     canvas->mapToGlobal(r1->rect().center()));
    QApplication::sendEvent(canvas, &hover);
    QCOMPARE(QToolTip::text(), QStringLiteral("Set LED current"));
    QToolTip::hideText();
    QCOMPARE(f.get<QWidget>(QStringLiteral("Text1_0"))->geometry(), QRect(516, 436, 35, 19));
    QCOMPARE(f.get<QWidget>(QStringLiteral("Text1_0"))->toolTip(),
             QStringLiteral("Enter Supply Voltage 25Vmax"));
    QCOMPARE(f.get<QWidget>(QStringLiteral("txtLED_1"))->accessibleName(),
             QStringLiteral("Chip 2 LED supply voltage"));
}

void TestForm1::automationContract() {
    FormFixture f;
    QCOMPARE(f.form->objectName(), QStringLiteral("Form1"));
    QObject* r2 = f.get(QStringLiteral("vsR2_0"));
    QCOMPARE(r2->property("min").toInt(), 1000);
    QCOMPARE(r2->property("max").toInt(), 0);
    QCOMPARE(r2->property("value").toInt(), 360);
    QVERIFY(r2->setProperty("value", 220));
    QCOMPARE(f.get(QStringLiteral("lblR2_0"))->property("caption").toString(),
             QStringLiteral("5.50k"));
    QCOMPARE(f.get(QStringLiteral("Label9_0"))->property("backColor").toUInt(), 0x80000003u);
    QCOMPARE(f.get(QStringLiteral("shpLED_0"))->property("fillColor").toUInt(), 0x808080u);
    QCOMPARE(f.get(QStringLiteral("lineRlim_0"))->property("visible").toBool(), true);
    QCOMPARE(f.get(QStringLiteral("lblRlim_0"))->property("visible").toBool(), false);
    QCOMPARE(f.get(QStringLiteral("Timer1"))->property("enabled").toBool(), false);
    QVERIFY(f.get(QStringLiteral("optMode1_1"))->setProperty("value", true));
    QCOMPARE(f.get(QStringLiteral("optMode1_0"))->property("value").toBool(), false);
    QVERIFY(f.get(QStringLiteral("Text1_1"))->setProperty("text", QStringLiteral("99")));
    QCOMPARE(f.get(QStringLiteral("Text1_1"))->property("text").toString(), QStringLiteral("25"));
    QVERIFY(f.get(QStringLiteral("mnuExit")));
}

void TestForm1::tabWalksEveryInputInDesignOrder() {
    FormFixture f;
    const QStringList expected =
        QStringLiteral(
            "Text1_0 vsR2_0 vsVin_0 txtVin_0 vsRHi_0 txtRLo_0 txtRHi_0 hsR1_0 optRLo_0 optRLo_1 "
            "optRHi_0 optRHi_1 optMode_0 optMode_1 vsRLo_0 optLED_0 optLED_1 optLED_2 optLED_3 "
            "optLED_4 txtLED_0 txtLED_1 vsRLo_1 hsR1_1 txtRHi_1 txtRLo_1 vsRHi_1 txtVin_1 vsVin_1 "
            "vsR2_1 Text1_1 optLED2_0 optLED2_1 optLED2_2 optLED2_3 optLED2_4 optMode1_0 "
            "optMode1_1 "
            "optRHi1_0 optRHi1_1 optRLo1_0 optRLo1_1 chkSlave")
            .split(QLatin1Char(' '));
    QApplication::setActiveWindow(f.form.get());
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    f.box(QStringLiteral("Text1_0"))->setFocus(Qt::TabFocusReason);
    QStringList walked;
    for (int i = 0; i < expected.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        walked << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(walked, expected);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Text1_0")); // round again
}

void TestForm1::everyKindOfInputWorksFromTheKeyboard() {
    FormFixture f;
    // An entry box: typed keys.
    ui::TextBox* vin = f.box(QStringLiteral("txtVin_0"));
    vin->setFocus();
    QTest::keyClick(vin, Qt::Key_End);
    QTest::keyClick(vin, Qt::Key_Backspace);
    QTest::keyClicks(vin, QStringLiteral("8"));
    QCOMPARE(f.caption(QStringLiteral("lblVin_0")), QStringLiteral("4.00v"));
    // A slider: Page keys step by one as well.
    ui::ScrollBar* vsVin = f.bar(QStringLiteral("vsVin_0"));
    vsVin->setFocus();
    QTest::keyClick(vsVin, Qt::Key_PageUp);
    QCOMPARE(vsVin->value(), 501);
    QTest::keyClick(vsVin, Qt::Key_PageDown);
    QTest::keyClick(vsVin, Qt::Key_PageDown);
    QCOMPARE(vsVin->value(), 499);
    // An option group: arrows move the selection, space selects the focused option.
    ui::OptionButton* bar = f.option(QStringLiteral("optMode_0"));
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Down);
    QVERIFY(f.option(QStringLiteral("optMode_1"))->isChecked());
    QVERIFY(!bar->isChecked());
    QCOMPARE(f.caption(QStringLiteral("lblWatts_0")), QStringLiteral("Dissipating= < 1.0W"));
    ui::OptionButton* green = f.option(QStringLiteral("optLED2_1"));
    green->setFocus();
    QTest::keyClick(green, Qt::Key_Space);
    QVERIFY(green->isChecked());
    QCOMPARE(f.form->model().ledColour[1], 0x00FF00u);
    QTest::keyClick(green, Qt::Key_Space); // space never clears a selected option
    QVERIFY(green->isChecked());
    // The menu: Alt, then the arrow keys and Return.
    QSignalSpy help(f.get<QAction>(QStringLiteral("mnuHelp")), &QAction::triggered);
    QTest::keyClick(f.form.get(), Qt::Key_Alt);
    QTest::keyClick(f.form->menuBar(), Qt::Key_Right);
    QTest::keyClick(f.form->menuBar(), Qt::Key_Right);
    QTest::keyClick(f.form->menuBar(), Qt::Key_Return);
    QCOMPARE(help.count(), 1);
    // The check box: space toggles it.
    auto* slave = f.get<ui::CheckBox>(QStringLiteral("chkSlave"));
    slave->setFocus();
    QTest::keyClick(slave, Qt::Key_Space);
    QCOMPARE(slave->value(), 1);
    QCOMPARE(f.caption(QStringLiteral("lblVin_1")), f.caption(QStringLiteral("lblVin_0")));
}

void TestForm1::everyCaptionFitsItsBox() {
    FormFixture f;
    // Captions as designed and as calculated, with a long limiting-resistor caption shown.
    f.type(QStringLiteral("Text1_0"), QStringLiteral("25"));
    f.type(QStringLiteral("txtLED_0"), QStringLiteral("25"));
    f.bar(QStringLiteral("hsR1_0"))->setValue(50);
    const auto fits = [](const QString& name, const QString& caption, const QFont& font,
                         const QRect& room, int flags) {
        if (caption.trimmed().isEmpty())
            return true;
        const QFontMetrics fm(font);
        const QRect needed = fm.boundingRect(room, Qt::TextWordWrap | flags, caption);
        // Leading may be cut where the design's box is as short as the font; ink may not.
        const bool oneLine = needed.height() < 2 * fm.lineSpacing();
        // The ink of one top-aligned line ends at the baseline plus whatever descends below it.
        const int inkHeight =
            oneLine ? fm.ascent() + std::max(0, fm.tightBoundingRect(caption).bottom())
                    : needed.height();
        const bool ok = inkHeight <= room.height() + 1 && needed.width() <= room.width();
        if (!ok)
            qWarning("%s \"%s\" needs %dx%d px, has %dx%d", qPrintable(name), qPrintable(caption),
                     needed.width(), needed.height(), room.width(), room.height());
        return ok;
    };
    for (ui::Label* label : f.form->findChildren<ui::Label*>()) {
        if (!label->isHidden())
            QVERIFY(fits(label->objectName(), label->caption(), label->font(),
                         label->contentsRect(), label->alignment()));
    }
    for (ui::DrawnLabel* label : f.form->findChildren<ui::DrawnLabel*>()) {
        if (label->isVisible())
            QVERIFY(fits(label->objectName(), label->caption(), label->look().font,
                         QRect(QPoint(), label->rect().size()), label->look().flags));
    }
    for (ui::OptionButton* option : f.form->findChildren<ui::OptionButton*>()) {
        QStyleOptionButton style;
        style.initFrom(option);
        const int needed =
            option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &style, option) +
            option->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &style, option) +
            option->fontMetrics().horizontalAdvance(option->text());
        QVERIFY2(needed <= option->width(), qPrintable(option->objectName()));
        // Nor may its frame cut it off.
        QVERIFY2(option->geometry().right() < option->parentWidget()->width(),
                 qPrintable(option->objectName()));
    }
}

void TestForm1::rendersAtScaleOneAndTwo() {
    FormFixture f;
    const QString out = QDir::current().filePath(QStringLiteral("screenshots"));
    QDir().mkpath(out);
    for (const int scale : {1, 2}) {
        QImage image(f.form->size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::white);
        f.form->render(&image);
        QVERIFY(image.save(QStringLiteral("%1/form1@%2x.png").arg(out).arg(scale)));
        // The chip body is drawn: its centre is not the window background.
        const QColor body =
            image.pixelColor(QPoint(4500 / 15, 7100 / 15 + f.form->menuBar()->height()) * scale);
        QVERIFY(body != image.pixelColor(QPoint(5, f.form->height() - 5) * scale));
    }
}

void TestForm1::chipTypeIsChosenShownAndKept() {
    QByteArray stored;
    {
        FormFixture f;
        const QString chip1Gap = f.caption(QStringLiteral("lblGap_0"));
        f.get<QAction>(QStringLiteral("mnuChipType1_3915"))->trigger();
        QCOMPARE(f.caption(QStringLiteral("Label3_1")), QStringLiteral("2nd LM3915"));
        QCOMPARE(f.caption(QStringLiteral("lblGap_1")), QStringLiteral("Steps= 3dB"));
        QCOMPARE(f.caption(QStringLiteral("lblWarn_1")), QStringLiteral("Rlim for LM3915 = 1Wmax"));
        QCOMPARE(f.caption(QStringLiteral("Label3_0")), QStringLiteral("1st LM3914"));
        QCOMPARE(f.caption(QStringLiteral("lblGap_0")), chip1Gap);
        const auto tip = [&f](const char* led) {
            return f.get(QLatin1String(led))->property("toolTip");
        };
        QVERIFY2(tip("shpLED2_10").toString().endsWith(QLatin1String(", 0 dB")),
                 qPrintable(tip("shpLED2_10").toString()));
        QCOMPARE(tip("shpLED_10").toString(), QString());
        f.get<QAction>(QStringLiteral("mnuExit"))->trigger();
        QFile file(f.store->fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        stored = file.readAll();
    }
    QVERIFY(stored.contains("\nchipType1=3915\n"));
    QVERIFY(!stored.contains("chipType0"));

    stored.replace("chipType1=3915", "chipType1=3916");
    FormFixture again(stored);
    QCOMPARE(again.caption(QStringLiteral("Label3_1")), QStringLiteral("2nd LM3916"));
    QCOMPARE(again.caption(QStringLiteral("lblGap_1")), QStringLiteral("Steps= VU"));
    // Back to the LM3914: the entry, once in the file, keeps saying so.
    again.get<QAction>(QStringLiteral("mnuChipType1_3914"))->trigger();
    QCOMPARE(again.caption(QStringLiteral("Label3_1")), QStringLiteral("2nd LM3914"));
    again.get<QAction>(QStringLiteral("mnuExit"))->trigger();
    QFile file(again.store->fileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("\nchipType1=3914\n"));
}

void TestForm1::unknownChipTypeReadsAsLM3914() {
    FormFixture f("[Properties]\nchipType0=3915x\nchipType1=\n");
    QCOMPARE(f.caption(QStringLiteral("Label3_0")), QStringLiteral("1st LM3914"));
    QCOMPARE(f.caption(QStringLiteral("Label3_1")), QStringLiteral("2nd LM3914"));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
