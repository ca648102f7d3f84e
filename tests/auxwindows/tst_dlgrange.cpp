#include "dlgrange.h"
#include "plotrange.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace kestrelon;

namespace {

RangePrefill battery() {
    RangePrefill p;
    p.lo = QStringLiteral("10.5");
    p.hi = QStringLiteral("14.5");
    p.milliamps = QStringLiteral("10");
    p.vplus = QStringLiteral("15");
    p.vled = QStringLiteral("15");
    p.twenty = true;
    return p;
}

double luminance(QRgb c) {
    return 0.2126 * qRed(c) + 0.7152 * qGreen(c) + 0.0722 * qBlue(c);
}

} // namespace

class TestDlgRange : public QObject {
    Q_OBJECT

private slots:
    void everyInputIsNamedAndReachedByTab();
    void answerTableAndCopyFollowTheBoxes();
    void anImpossibleRangeCannotBeApplied();
    void plotDrawsFromItsPalette_data();
    void plotDrawsFromItsPalette();
};

void TestDlgRange::everyInputIsNamedAndReachedByTab() {
    dlgRange dialog(battery());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList inputs{
        "txtRangeLo",  "txtRangeHi",    "optRangeLeds10", "optRangeLeds20",
        "txtRangeI",   "txtRangeVplus", "txtRangeVled",   "chkRangeFromMeasured",
        "optRangeBar", "optRangeDot",   "cboRangeChip",   "tblRangeThresholds"};
    for (const QString& name : inputs) {
        auto* widget = dialog.findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(name));
    }
    // Tab walks from the first box through every input, the answer and the table.
    dialog.findChild<QWidget*>(QStringLiteral("txtRangeLo"))->setFocus();
    QSet<QString> reached;
    for (int i = 0; i < 40; ++i) {
        reached << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QVERIFY(reached.contains(QStringLiteral("optRangeLeds10")) ||
            reached.contains(QStringLiteral("optRangeLeds20")));
    for (const char* name :
         {"txtRangeHi", "txtRangeI", "txtRangeVled", "chkRangeFromMeasured", "optRangeBar",
          "cboRangeChip", "lblRangeAnswer", "tblRangeThresholds", "btnRangeCopy"})
        QVERIFY2(reached.contains(QLatin1String(name)), name);
    // A screen reader reads the table cell by cell.
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("tblRangeThresholds"));
    QAccessibleInterface* cells = QAccessible::queryAccessibleInterface(table);
    QVERIFY(cells && cells->tableInterface());
    QAccessibleInterface* cell = cells->tableInterface()->cellAt(19, 1);
    QVERIFY(cell);
    QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("14.50 V"));
}

void TestDlgRange::answerTableAndCopyFollowTheBoxes() {
    dlgRange dialog(battery());
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("tblRangeThresholds"));
    auto* answer = dialog.findChild<QLabel*>(QStringLiteral("lblRangeAnswer"));
    QCOMPARE(table->rowCount(), 20);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("10.50 V"));
    QVERIFY(answer->text().contains(QStringLiteral("Chip #2")));

    dialog.findChild<QAbstractButton*>(QStringLiteral("optRangeLeds10"))->click();
    dialog.findChild<QLineEdit*>(QStringLiteral("txtRangeHi"))->setText(QStringLiteral("13v"));
    QCOMPARE(table->rowCount(), 10);
    QCOMPARE(table->item(9, 1)->text(), QStringLiteral("13.00 V"));
    QVERIFY(!answer->text().contains(QStringLiteral("Chip #2")));
    QCOMPARE(answer->accessibleDescription(), answer->text());

    dialog.findChild<QPushButton*>(QStringLiteral("btnRangeCopy"))->click();
    const QString copied = QApplication::clipboard()->text();
    QVERIFY(copied.contains(answer->text()));
    QVERIFY(copied.contains(QStringLiteral("Parts:")));
    QVERIFY(copied.contains(QStringLiteral("13.00 V")));

    QSignalSpy chosen(&dialog, &dlgRange::chosen);
    dialog.accept();
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.front().front().value<RangeDesign>().request.hi, 13.0);
}

void TestDlgRange::anImpossibleRangeCannotBeApplied() {
    RangePrefill p = battery();
    p.hi = QStringLiteral("10.55");
    dlgRange dialog(p);
    auto* answer = dialog.findChild<QLabel*>(QStringLiteral("lblRangeAnswer"));
    QVERIFY(answer->text().startsWith(QStringLiteral("Cannot be made")));
    QVERIFY(answer->text().contains(QStringLiteral("Nearest range")));
    QCOMPARE(dialog.findChild<QTableWidget*>(QStringLiteral("tblRangeThresholds"))->rowCount(), 0);
    QSignalSpy chosen(&dialog, &dlgRange::chosen);
    dialog.accept();
    QCOMPARE(chosen.count(), 0);
}

void TestDlgRange::plotDrawsFromItsPalette_data() {
    QTest::addColumn<bool>("dark");
    QTest::addColumn<qreal>("scale");
    QTest::newRow("light, scale 1") << false << 1.0;
    QTest::newRow("light, scale 2") << false << 2.0;
    QTest::newRow("dark, scale 1") << true << 1.0;
    QTest::newRow("dark, scale 2") << true << 2.0;
}

void TestDlgRange::plotDrawsFromItsPalette() {
    QFETCH(bool, dark);
    QFETCH(qreal, scale);
    dlgRange dialog(battery());
    RangePlot plot;
    plot.showDesign(dialog.design());
    QPalette palette = plot.palette();
    if (dark) {
        palette.setColor(QPalette::Base, QColor(0x20, 0x20, 0x24));
        palette.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
        palette.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    }
    plot.setPalette(palette);
    plot.resize(plot.sizeHint());
    QImage image(plot.size() * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    plot.render(&image);
    // The background is the palette's, the marks stand out from it, and the band is drawn.
    const QRgb background = image.pixel(2, 2);
    QCOMPARE(QColor(background), palette.color(QPalette::Base));
    int ink = 0;
    int band = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (std::abs(luminance(c) - luminance(background)) > 120)
                ++ink;
            if (qBlue(c) > qRed(c) + 40)
                ++band;
        }
    QVERIFY(ink > 200 * scale * scale);
    QVERIFY(band > 200 * scale * scale);
}

QTEST_MAIN(TestDlgRange)
#include "tst_dlgrange.moc"
