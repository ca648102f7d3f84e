#include "rangedesign.h"
#include "rangetext.h"

#include <QSet>
#include <QTest>

#include <cmath>

using namespace kestrelon;

Q_DECLARE_METATYPE(kestrelon::RangeRequest)

namespace {

RangeRequest request(double lo, double hi, int leds, double supply) {
    RangeRequest r;
    r.lo = lo;
    r.hi = hi;
    r.leds = leds;
    r.vplus = supply;
    r.vled = supply;
    r.ledMilliamps = 10;
    r.ledVf = 2;
    return r;
}

// Where LED n (from 0) ought to light, worked out from the request as a user states it.
double aimedThreshold(const RangeRequest& r, int n) {
    if (r.kind == ChipKind::LM3915) // 3 dB per step below the top
        return r.hi * std::pow(10.0, -3.0 * (9 - n) / 20);
    if (r.lo == 0) // a scale from 0 V: ten equal steps up to the top
        return r.hi * (n + 1) / r.leds;
    return r.lo + (r.hi - r.lo) * n / (r.leds - 1);
}

} // namespace

class tst_RangeDesign : public QObject {
    Q_OBJECT

private slots:
    void rangeIsMade_data();
    void rangeIsMade();
    void impossibleRangeGivesReasonAndNearest();
    void rhiBelowTheReferenceIsShownAsAnExternalVoltage();
};

void tst_RangeDesign::rangeIsMade_data() {
    QTest::addColumn<RangeRequest>("req");
    QTest::addColumn<bool>("divided");

    RangeRequest battery = request(10.5, 14.5, 20, 0);
    battery.fromMeasured = true;
    QTest::newRow("battery 10.5-14.5 V, 20 LEDs, powered by it") << battery << true;
    QTest::newRow("0-5 V, 10 LEDs, from 12 V") << request(0, 5, 10, 12) << false;
    QTest::newRow("0-20 V, 10 LEDs, from 15 V") << request(0, 20, 10, 15) << true;
    QTest::newRow("expanded 12-13 V, 10 LEDs, from 15 V") << request(12, 13, 10, 15) << true;
    RangeRequest audio = request(std::pow(10.0, -27.0 / 20), 1.0, 10, 12);
    audio.kind = ChipKind::LM3915;
    QTest::newRow("audio -27..0 dB at 1 V, LM3915") << audio << false;
}

void tst_RangeDesign::rangeIsMade() {
    QFETCH(RangeRequest, req);
    QFETCH(bool, divided);
    const RangeDesign d = designRange(req);
    QVERIFY2(d.made, qPrintable(d.why));
    QCOMPARE(d.inputTop > 0, divided);
    QCOMPARE(int(d.thresholds.size()), req.leds);
    const QString answer = rangeAnswer(d);
    qDebug().noquote() << rangeReport(d);
    for (int n = 0; n < req.leds; ++n) {
        const Band& t = d.thresholds[n].measured;
        const double aimed = aimedThreshold(req, n);
        QVERIFY2(std::fabs(t.nominal / aimed - 1) <= 0.01,
                 qPrintable(QStringLiteral("LED %1 at %2 V, aimed at %3 V")
                                .arg(n + 1)
                                .arg(t.nominal)
                                .arg(aimed)));
        // Untrimmed, the chip's corners spread every threshold both ways; the trimmer takes
        // some of that away and never adds any.
        const Band& u = d.thresholds[n].untrimmed;
        QVERIFY(u.low < t.nominal && t.nominal < u.high);
        QVERIFY(u.low <= t.low && t.low <= t.nominal && t.nominal <= t.high && t.high <= u.high);
    }
    for (const RangeChip& c : d.chips) {
        // The output ratio's own 7 to 13 mA per mA is inside the LED current's band.
        const Band& i = c.ledMilliamps;
        QVERIFY(i.low <= 0.7 * i.nominal * 1.0001 && i.high >= 1.3 * i.nominal * 0.9999);
        QVERIFY(std::fabs(i.nominal / req.ledMilliamps - 1) < 0.03);
    }
    for (const RangeCheck& c : d.checks)
        if (!c.passed)
            QVERIFY2(answer.contains(c.sentence), qPrintable(c.sentence));
}

void tst_RangeDesign::impossibleRangeGivesReasonAndNearest() {
    // 12.0 V to 12.1 V spans about 0.11 V across the divider, half the 0.2 V bar mode needs.
    const RangeDesign d = designRange(request(12.0, 12.1, 10, 15));
    QVERIFY(!d.made);
    QVERIFY(d.why.contains(QStringLiteral("0.20 V")));
    QVERIFY(d.hasNearest);
    QVERIFY(rangeAnswer(d).contains(QStringLiteral("Nearest range")));
    QVERIFY(designRange(request(d.nearestLo, d.nearestHi, 10, 15)).made);
    QVERIFY(!designRange(request(d.nearestLo, d.nearestHi * 0.999, 10, 15)).made);
}

// A 1 V top is below the reference's 1.25 V: RHi hangs on a string from REF OUT, which the
// window shows as "+Vext Hi" at that voltage; RLo stays on "0V".
void tst_RangeDesign::rhiBelowTheReferenceIsShownAsAnExternalVoltage() {
    RangeRequest audio = request(std::pow(10.0, -27.0 / 20), 1.0, 10, 12);
    audio.kind = ChipKind::LM3915;
    const RangeDesign d = designRange(audio);
    QVERIFY(d.made);
    QVERIFY(d.chips[0].Rx > 0);
    QString rhiText;
    QSet<QString> selected;
    for (const WindowEdit& e : rangeWindowEdits(d)) {
        const QString name = QString::fromLatin1(e.control.data(), qsizetype(e.control.size()));
        if (e.kind == WindowEdit::Kind::Option)
            selected << name + QString::number(e.index);
        if (name == QLatin1String("txtRHi"))
            rhiText = e.text;
        QVERIFY(e.kind != WindowEdit::Kind::Check); // one chip: the slave box stays
    }
    QCOMPARE(selected, QSet<QString>({"optRHi1", "optRLo0", "optMode0"}));
    QCOMPARE(rhiText, QStringLiteral("1.01"));
}

QTEST_GUILESS_MAIN(tst_RangeDesign)
#include "tst_rangedesign.moc"
