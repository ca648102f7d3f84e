#include "conversions.h"
#include "dlgrange.h"
#include "dlgtarget.h"
#include "formfixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QSvgRenderer>

using namespace kestrelon;

namespace {

// The hints are brought up to date once the window's pending events are handled.
void idle() {
    QCoreApplication::processEvents();
}

QStringList actionNames(const QList<QAction*>& actions) {
    QStringList names;
    for (const QAction* a : actions)
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

QAction* action(const FormFixture& f, const char* name) {
    return f.get<QAction>(QLatin1String(name));
}

} // namespace

class TestDesignAssistant : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void hintsAtFirstStart_data();
    void hintsAtFirstStart();
    void hintsFollowEveryRecalculation_data();
    void hintsFollowEveryRecalculation();
    void designTooltipsStayAsDesigned();
    void contextMenuServesTheChipAsked_data();
    void contextMenuServesTheChipAsked();
    void targetDialogMovesTheSlidersThroughTheirHandlers_data();
    void targetDialogMovesTheSlidersThroughTheirHandlers();
    void targetDialogCancelChangesNothing();
    void copyDesignPutsTheCurrentDesignOnTheClipboard();
    void rangeDesignSetsTheWindowAsAUserWould();
    void rangeDesignCancelChangesNothing();
    void rangeDesignSetsTheChipType();
    void savedImagesReadBack_data();
    void savedImagesReadBack();
    void anImageThatCannotBeWrittenIsToldPlainly();
    void failedChecksShowBelowTheDrawing();
    void ambientTemperatureIsKeptOnlyOnceSet();
};

void TestDesignAssistant::cleanup() {
    // A menu or dialog a failing check left open must not reach the next test.
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

void TestDesignAssistant::hintsAtFirstStart_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("figure");
    for (int k = 0; k < 2; ++k) {
        const auto row = [k](const char* control, const char* figure) {
            const QString name = layout::controlName(control, k);
            QTest::addRow("%s %s", qPrintable(name), figure) << name << QString::fromUtf8(figure);
        };
        row("lblRefo", "5.14 V");  // data-sheet reference, window 4.46v
        row("lblRefo", "4.29 V");  // its band
        row("lblmA", "7.9 mA");    // a real chip's LED current, window 7.8 mA/LED
        row("lblmA", "14.5 mA");   // its band
        row("lblRHi", "3.50 V");   // V+ - 1.5 V, exceeded by the RHi end
        row("lblWatts", "0.45 W"); // all ten LEDs lit at the band's top
        row("hsR1", "3.48 kΩ");    // E96
        row("hsR1", "3.6 kΩ");     // E24
        row("vsR2", "9.09 kΩ");
        row("vsR2", "9.1 kΩ");
    }
}

void TestDesignAssistant::hintsAtFirstStart() {
    QFETCH(QString, control);
    QFETCH(QString, figure);
    FormFixture f;
    idle();
    auto* widget = f.get<QWidget>(control);
    QVERIFY2(widget->toolTip().contains(figure), qPrintable(widget->toolTip()));
    QVERIFY2(widget->accessibleDescription().contains(figure),
             qPrintable(widget->accessibleDescription()));
}

void TestDesignAssistant::hintsFollowEveryRecalculation_data() {
    QTest::addColumn<int>("chip");
    QTest::addColumn<bool>("slave");
    QTest::newRow("chip 1") << 0 << false;
    QTest::newRow("chip 2") << 1 << false;
    QTest::newRow("chip 1, chip 2 slaved") << 0 << true;
}

// R1 2375 ohm and R2 7125 ohm: data sheet 1.25 x 4 + 75 uA x 7125 = 5.53 V; the window shows
// 5.00v. Every hinted control of the moved chip is rewritten; the other chip's are not.
void TestDesignAssistant::hintsFollowEveryRecalculation() {
    QFETCH(int, chip);
    QFETCH(bool, slave);
    FormFixture f;
    if (slave)
        f.get<ui::CheckBox>(QStringLiteral("chkSlave"))->setValue(1);
    idle();
    const int other = 1 - chip;
    const char* hinted[] = {"lblmA",    "lblRefo", "lblRLo", "lblRHi", "lblGap",
                            "lblWatts", "lblWarn", "hsR1",   "vsR2"};
    QStringList before[2];
    for (int k = 0; k < 2; ++k)
        for (const char* name : hinted)
            before[k] << f.get<QWidget>(layout::controlName(name, k))->toolTip();

    f.bar(layout::controlName("hsR1", chip))->setValue(475);
    f.bar(layout::controlName("vsR2", chip))->setValue(285);
    idle();
    const QString refo = f.get<QWidget>(layout::controlName("lblRefo", chip))->toolTip();
    QVERIFY2(refo.contains(QStringLiteral("5.53 V")), qPrintable(refo));
    QVERIFY(!refo.contains(QStringLiteral("5.14 V")));
    QCOMPARE(f.caption(layout::controlName("lblRefo", chip)), QStringLiteral("5.00v"));
    const QString r1 = f.get<QWidget>(layout::controlName("hsR1", chip))->toolTip();
    QVERIFY2(r1.contains(QStringLiteral("2.37 kΩ")), qPrintable(r1)); // E96 of 2375 ohm
    int i = 0;
    for (const char* name : hinted) {
        const QString now = f.get<QWidget>(layout::controlName(name, chip))->toolTip();
        QVERIFY2(!now.isEmpty(), name);
        QCOMPARE(f.get<QWidget>(layout::controlName(name, other))->toolTip(), before[other][i]);
        ++i;
    }

    // A slaved chip #2 follows chip #1's full scale: 3 V is now below V+ - 1.5 V.
    if (slave) {
        f.type(QStringLiteral("txtVin_0"), QStringLiteral("3"));
        idle();
        const QString rhi2 = f.get<QWidget>(QStringLiteral("lblRHi_1"))->toolTip();
        QVERIFY2(rhi2.contains(QStringLiteral("3.00 V")), qPrintable(rhi2));
        QVERIFY(rhi2 != before[1][3]);
    }
}

void TestDesignAssistant::designTooltipsStayAsDesigned() {
    FormFixture f;
    f.bar(QStringLiteral("hsR1_0"))->setValue(300);
    idle();
    QCOMPARE(f.get<QWidget>(QStringLiteral("lblR1_0"))->toolTip(),
             QStringLiteral("Set LED current"));
    QCOMPARE(f.get<QWidget>(QStringLiteral("lblVin_0"))->toolTip(), QStringLiteral("Actual Vinp"));
    QCOMPARE(f.get<QWidget>(QStringLiteral("lblRlim_1"))->toolTip(),
             QStringLiteral("Minimum Resistor Value"));
    QCOMPARE(f.get<QWidget>(QStringLiteral("Text1_0"))->toolTip(),
             QStringLiteral("Enter Supply Voltage 25Vmax"));
    QCOMPARE(actionNames(f.form->menuBar()->actions()),
             QStringList({QStringLiteral("mnuExit"), QStringLiteral("mnuAbout"),
                          QStringLiteral("mnuHelp")}));
}

void TestDesignAssistant::contextMenuServesTheChipAsked_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("how"); // 0 right-click, 1 menu key's event, 2 Shift+F10
    QTest::addColumn<QString>("choose");
    QTest::newRow("right-click on chip #2's body") << "lblmA_1" << 0 << "mnuChooseR1R2_1";
    QTest::newRow("right-click on chip #1's drawing") << "canvas" << 0 << "mnuChooseR1R2_0";
    QTest::newRow("menu key in chip #2's supply box") << "Text1_1" << 1 << "mnuChooseR1R2_0";
    QTest::newRow("Shift+F10 on chip #2's R1 slider") << "hsR1_1" << 2 << "mnuChooseR1R2_0";
}

void TestDesignAssistant::contextMenuServesTheChipAsked() {
    QFETCH(QString, target);
    QFETCH(int, how);
    QFETCH(QString, choose);
    FormFixture f;
    auto* widget = f.get<QWidget>(target);
    // On the whole drawing, a point in its lower half.
    const QPoint at = target == QLatin1String("canvas") ? QPoint(20, widget->height() - 20)
                                                        : widget->rect().center();
    if (how == 2) {
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_F10, Qt::ShiftModifier);
    } else {
        const auto reason = how == 0 ? QContextMenuEvent::Mouse : QContextMenuEvent::Keyboard;
        QContextMenuEvent event(reason, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
    }
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QString chip = choose.right(1);
    QCOMPARE(actionNames(menu->actions()),
             QStringList({QStringLiteral("mnuCopyDesign"), QStringLiteral("mnuSaveImage"),
                          QStringLiteral("-"), choose, QStringLiteral("mnuDesignRange"),
                          QStringLiteral("mnuChipType") + chip, QStringLiteral("-"),
                          QStringLiteral("mnuSaveDesign"), QStringLiteral("mnuOpenDesign"),
                          QStringLiteral("mnuExportBom"), QStringLiteral("mnuExportNetlist")}));
    QMenu* types = menu->actions().at(5)->menu();
    QVERIFY(types);
    QCOMPARE(types->title(), QStringLiteral("Chip type"));
    QCOMPARE(actionNames(types->actions()),
             QStringList({QStringLiteral("mnuChipType%1_3914").arg(chip),
                          QStringLiteral("mnuChipType%1_3915").arg(chip),
                          QStringLiteral("mnuChipType%1_3916").arg(chip)}));
    QVERIFY(types->actions().first()->isChecked());
    for (QAction* a : menu->actions() + types->actions())
        if (!a->isSeparator() && !a->menu())
            QCOMPARE(a->parent(), f.form.get());
    // From the keyboard, the first item has the focus, as in any menu.
    QCOMPARE(menu->activeAction(), how == 0 ? nullptr : menu->actions().first());
    menu->close();
}

void TestDesignAssistant::targetDialogMovesTheSlidersThroughTheirHandlers_data() {
    QTest::addColumn<int>("chip");
    QTest::newRow("chip 1") << 0;
    QTest::newRow("chip 2") << 1;
}

// 5.00 V at 10.0 mA on 15 V in the window's figures: the best positions are 475 (2.38k) and
// 285 (7.13k).
void TestDesignAssistant::targetDialogMovesTheSlidersThroughTheirHandlers() {
    QFETCH(int, chip);
    FormFixture f;
    const auto n = [chip](const char* name) { return layout::controlName(name, chip); };
    f.type(n("Text1"), QStringLiteral("15"));
    // vsR2's Change handler writes its chip's index to bug0; start from the other one.
    f.bar(layout::controlName("vsR2", 1 - chip))->setValue(300);
    QCOMPARE(f.caption(QStringLiteral("bug0")), QString::number(1 - chip));

    action(f, chip == 0 ? "mnuChooseR1R2_0" : "mnuChooseR1R2_1")->trigger();
    auto* dialog = f.form->findChild<dlgTarget*>(QStringLiteral("dlgTarget"));
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowModality(), Qt::WindowModal);
    auto* volts = dialog->findChild<QLineEdit*>(QStringLiteral("txtTargetV"));
    auto* milliamps = dialog->findChild<QLineEdit*>(QStringLiteral("txtTargetI"));
    QCOMPARE(volts->text(), QStringLiteral("4.46"));
    QCOMPARE(milliamps->text(), QStringLiteral("7.8"));

    volts->setText(QStringLiteral("5v"));         // read leniently, as the window reads
    milliamps->setText(QStringLiteral("10.0mA")); // its own boxes
    auto* answer = dialog->findChild<QLabel*>(QStringLiteral("lblTargetAnswer"));
    // A real chip by default: its figures meet the target, the window shows others.
    auto* real = dialog->findChild<QRadioButton*>(QStringLiteral("optTargetReal"));
    auto* window = dialog->findChild<QRadioButton*>(QStringLiteral("optTargetWindow"));
    QVERIFY(real && window && real->isChecked());
    QCOMPARE(window->text(), QStringLiteral("What the window shows"));
    QVERIFY2(answer->text().contains(QStringLiteral("A real chip makes 5.0")) &&
                 answer->text().contains(QStringLiteral("The window will show")),
             qPrintable(answer->text()));
    window->click();
    QVERIFY2(answer->text().contains(QStringLiteral("5.00v")), qPrintable(answer->text()));
    QVERIFY(answer->text().contains(QStringLiteral("10.0 mA/LED")));
    QVERIFY(answer->text().contains(QStringLiteral("E24")));
    QCOMPARE(f.bar(n("hsR1"))->value(), 700); // nothing moves before OK

    dialog->accept();
    QCOMPARE(f.bar(n("hsR1"))->value(), 475);
    QCOMPARE(f.bar(n("vsR2"))->value(), 285);
    QCOMPARE(f.caption(n("lblR1")), QStringLiteral("2.38k"));
    QCOMPARE(f.caption(n("lblR2")), QStringLiteral("7.13k"));
    QCOMPARE(f.caption(n("lblRefo")), QStringLiteral("5.00v"));
    QCOMPARE(f.caption(n("lblmA")), QStringLiteral("10.0 mA/LED"));
    QCOMPARE(f.caption(QStringLiteral("bug0")), QString::number(chip));
    // The other chip stays where it was.
    QCOMPARE(f.bar(layout::controlName("hsR1", 1 - chip))->value(), 700);
}

void TestDesignAssistant::failedChecksShowBelowTheDrawing() {
    FormFixture f;
    QTest::qWait(1);
    auto* line = f.get<QLabel>(QStringLiteral("lblChecks_0"));
    // At first start the real reference, 5.14 V, is far above V+ - 1.5 V on a 5 V supply.
    const QString said = line->accessibleName();
    QVERIFY2(
        said.startsWith(QStringLiteral("Chip 1: 3 failed checks: The real reference is 5.14 V")),
        qPrintable(said));
    QVERIFY(said.startsWith(line->text().chopped(1))); // shown whole or cut short with "…"
    QVERIFY(line->toolTip().startsWith(said));
    QVERIFY(f.get<QLabel>(QStringLiteral("lblChecks_1"))->accessibleName().startsWith(u"Chip 2: "));
    // The line lies below the drawing.
    QVERIFY(line->mapTo(f.form.get(), QPoint()).y() >=
            f.get<QWidget>(QStringLiteral("canvas"))->geometry().bottom());

    line->setFocus();
    QTest::keyClick(line, Qt::Key_Return);
    auto* checks = f.form->findChild<QDialog*>(QStringLiteral("dlgChecks_0"));
    QVERIFY(checks && checks->isVisible());
    const QString all = checks->findChild<QPlainTextEdit*>()->toPlainText();
    QVERIFY2(all.contains(QStringLiteral("WARNING  The real reference")) &&
                 all.contains(QStringLiteral("ok       V+, 5.00 V")),
             qPrintable(all));
    checks->close();

    // A supply with room: chip #1's checks all pass.
    f.type(QStringLiteral("Text1_0"), QStringLiteral("9"));
    f.type(QStringLiteral("txtVin_0"), QStringLiteral("5"));
    QTest::qWait(1);
    QVERIFY2(line->accessibleName().startsWith(QStringLiteral("Chip 1: all ")),
             qPrintable(line->accessibleName()));
}

void TestDesignAssistant::ambientTemperatureIsKeptOnlyOnceSet() {
    QByteArray saved;
    {
        FormFixture f;
        action(f, "mnuExit")->trigger();
        QFile file(f.store->fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        saved = file.readAll();
        QVERIFY(!saved.contains("Ambient"));
    }
    FormFixture f(saved);
    auto* ambient = f.get<QSpinBox>(QStringLiteral("spnAmbient"));
    QCOMPARE(ambient->value(), 25);
    ambient->setValue(60);
    QTest::qWait(1);
    QVERIFY2(f.get<QWidget>(QStringLiteral("lblWatts_0"))->toolTip().contains(u"at 60 °C"),
             qPrintable(f.get<QWidget>(QStringLiteral("lblWatts_0"))->toolTip()));
    action(f, "mnuExit")->trigger();
    QFile file(f.store->fileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray warm = file.readAll();
    QVERIFY(warm.contains("Ambient=60"));
    // Everything else stays byte for byte.
    QCOMPARE(QByteArray(warm).replace("Ambient=60\n", ""), saved);
    FormFixture again(warm);
    QCOMPARE(again.get<QSpinBox>(QStringLiteral("spnAmbient"))->value(), 60);
}

void TestDesignAssistant::targetDialogCancelChangesNothing() {
    FormFixture f;
    action(f, "mnuChooseR1R2_0")->trigger();
    auto* dialog = f.form->findChild<dlgTarget*>(QStringLiteral("dlgTarget"));
    QVERIFY(dialog);
    dialog->findChild<QLineEdit*>(QStringLiteral("txtTargetV"))->setText(QStringLiteral("6"));
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(f.bar(QStringLiteral("hsR1_0"))->value(), 700);
    QCOMPARE(f.bar(QStringLiteral("vsR2_0"))->value(), 360);
    QCOMPARE(f.caption(QStringLiteral("lblRefo_0")), QStringLiteral("4.46v"));
}

// The battery monitor on two stacked chips: OK types the supplies, full scale and RLo voltages,
// picks the options and moves the sliders, and every handler recalculates as for a user.
void TestDesignAssistant::rangeDesignSetsTheWindowAsAUserWould() {
    FormFixture f;
    action(f, "mnuDesignRange")->trigger();
    auto* dialog = f.form->findChild<dlgRange*>(QStringLiteral("dlgRange"));
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    dialog->findChild<QLineEdit*>(QStringLiteral("txtRangeLo"))->setText(QStringLiteral("10.5v"));
    dialog->findChild<QLineEdit*>(QStringLiteral("txtRangeHi"))->setText(QStringLiteral("14.5"));
    dialog->findChild<QLineEdit*>(QStringLiteral("txtRangeI"))->setText(QStringLiteral("10"));
    dialog->findChild<QAbstractButton*>(QStringLiteral("optRangeLeds20"))->click();
    dialog->findChild<QAbstractButton*>(QStringLiteral("chkRangeFromMeasured"))->click();
    const RangeDesign design = dialog->design();
    QVERIFY2(design.made, qPrintable(design.why));
    QCOMPARE(f.option(QStringLiteral("optRLo_0"))->isChecked(), true); // nothing moves before OK

    dialog->accept();
    QVERIFY(f.get<QAbstractButton>(QStringLiteral("chkSlave"))->isChecked());
    for (int chip = 0; chip < 2; ++chip) {
        const auto n = [chip](const char* name) { return layout::controlName(name, chip); };
        const RangeChip& c = design.chips[chip];
        QCOMPARE(f.box(n("Text1"))->text(), QStringLiteral("10.5"));
        QCOMPARE(f.box(n("txtLED"))->text(), QStringLiteral("10.5"));
        QCOMPARE(f.bar(n("hsR1"))->value(), qRound(c.R1 / 5));
        QCOMPARE(f.bar(n("vsR2"))->value(), qRound(c.R2 / 25));
        // RLo on its external voltage, shown as the window shows a typed one.
        QCOMPARE(f.caption(n("lblRLo")), Format(c.rlo.nominal, "#0.0#") + QLatin1Char('v'));
    }
    QVERIFY(f.option(QStringLiteral("optRLo_1"))->isChecked());
    QVERIFY(f.option(QStringLiteral("optRLo1_1"))->isChecked());
    QVERIFY(f.option(QStringLiteral("optRHi_0"))->isChecked());
    QVERIFY(f.option(QStringLiteral("optRHi1_0"))->isChecked());
}

void TestDesignAssistant::rangeDesignSetsTheChipType() {
    FormFixture f;
    action(f, "mnuDesignRange")->trigger();
    auto* dialog = f.form->findChild<dlgRange*>(QStringLiteral("dlgRange"));
    QVERIFY(dialog);
    dialog->findChild<QLineEdit*>(QStringLiteral("txtRangeLo"))->setText(QStringLiteral("0.0447"));
    dialog->findChild<QLineEdit*>(QStringLiteral("txtRangeHi"))->setText(QStringLiteral("1"));
    auto* kind = dialog->findChild<QComboBox*>(QStringLiteral("cboRangeChip"));
    kind->setCurrentIndex(kind->findText(QStringLiteral("LM3915")));
    QVERIFY2(dialog->design().made, qPrintable(dialog->design().why));
    dialog->accept();
    QCOMPARE(f.caption(QStringLiteral("Label3_0")), QStringLiteral("1st LM3915"));
    QCOMPARE(f.caption(QStringLiteral("Label3_1")), QStringLiteral("2nd LM3914"));
}

void TestDesignAssistant::rangeDesignCancelChangesNothing() {
    FormFixture f;
    action(f, "mnuDesignRange")->trigger();
    auto* dialog = f.form->findChild<dlgRange*>(QStringLiteral("dlgRange"));
    QVERIFY(dialog);
    dialog->findChild<QLineEdit*>(QStringLiteral("txtRangeHi"))->setText(QStringLiteral("20"));
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(f.box(QStringLiteral("Text1_0"))->text(), QStringLiteral("5"));
    QCOMPARE(f.bar(QStringLiteral("hsR1_0"))->value(), 700);
    QVERIFY(!f.get<QAbstractButton>(QStringLiteral("chkSlave"))->isChecked());
}

// Copied at once after a move, before the window is idle: the text is of the design on screen.
void TestDesignAssistant::copyDesignPutsTheCurrentDesignOnTheClipboard() {
    FormFixture f;
    f.get<ui::CheckBox>(QStringLiteral("chkSlave"))->setValue(1);
    f.bar(QStringLiteral("hsR1_0"))->setValue(475);
    QGuiApplication::clipboard()->clear();
    action(f, "mnuCopyDesign")->trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->hasText());
    QVERIFY(!data->hasHtml());
    const QString text = data->text();
    const qsizetype chip1 = text.indexOf(QStringLiteral("Chip #1 (1st LM3914"));
    const qsizetype chip2 = text.indexOf(QStringLiteral("Chip #2 (2nd LM3914"));
    QVERIFY(chip1 > 0 && chip2 > chip1);
    QVERIFY(text.contains(QStringLiteral("Slave to #1: on")));
    const QString first = text.mid(chip1, chip2 - chip1);
    QVERIFY2(first.contains(QStringLiteral("2.38k")), qPrintable(first));
    QVERIFY(first.contains(QStringLiteral("Red")));
    QVERIFY(text.mid(chip2).contains(QStringLiteral("3.50k")));
    QVERIFY(text.contains(QStringLiteral("kΩ"))); // UTF-8 survives the clipboard
}

void TestDesignAssistant::savedImagesReadBack_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("PNG") << "schematic.png";
    QTest::newRow("SVG") << "schematic.svg";
    QTest::newRow("PNG without a suffix") << "schematic";
}

void TestDesignAssistant::savedImagesReadBack() {
    QFETCH(QString, name);
    FormFixture f;
    const QWidget* client = f.form->centralWidget();
    action(f, "mnuSaveImage")->trigger();
    auto* dialog = f.form->findChild<QFileDialog*>(QStringLiteral("dlgSaveImage"));
    QVERIFY(dialog);
    dialog->selectFile(f.dir.filePath(name));
    static_cast<QDialog*>(dialog)->accept(); // the dialog's own accept, as its Save button

    if (name.endsWith(QLatin1String(".svg"))) {
        const QString path = f.dir.filePath(name);
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox().size(), client->size());
        QVERIFY(QFile(path).size() > 10000); // the drawing, not an empty page
        return;
    }
    const QString path =
        f.dir.filePath(name.endsWith(QLatin1String(".png")) ? name : name + ".png");
    QImage image;
    QVERIFY(image.load(path, "png"));
    QCOMPARE(image.size(), client->size() * 2);
    // Drawn, not blank: chip #1's supply box is red at its place, twice as far from the corner.
    const QWidget* supply = f.get<QWidget>(QStringLiteral("Text1_0"));
    const QPoint inside = supply->mapTo(client, QPoint(3, 3)) * 2;
    QCOMPARE(image.pixelColor(inside), QColor(Qt::red));
}

void TestDesignAssistant::anImageThatCannotBeWrittenIsToldPlainly() {
    FormFixture f;
    const QString path = f.dir.filePath(QStringLiteral("missing/schematic.png"));
    action(f, "mnuSaveImage")->trigger();
    auto* dialog = f.form->findChild<QFileDialog*>(QStringLiteral("dlgSaveImage"));
    QVERIFY(dialog);
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
    QVERIFY(!QFile::exists(path));
    auto* box = f.form->findChild<QMessageBox*>(QStringLiteral("msgImageNotSaved"));
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QVERIFY2(box->text().contains(QDir::toNativeSeparators(path)), qPrintable(box->text()));
    box->close();
}

QTEST_MAIN(TestDesignAssistant)
#include "tst_designassistant.moc"
