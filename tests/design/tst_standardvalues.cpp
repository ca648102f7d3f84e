#include "figuretext.h"
#include "standardvalues.h"

#include <QTest>

#include <limits>

using namespace kestrelon;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

class TestStandardValues : public QObject {
    Q_OBJECT

private slots:
    void nearestByRatio_data();
    void nearestByRatio();
    void limitingResistorIsNeverBelowTheMinimum_data();
    void limitingResistorIsNeverBelowTheMinimum();
    void ratingAtLeastTwiceTheDissipation_data();
    void ratingAtLeastTwiceTheDissipation();
    void partValuesRead_data();
    void partValuesRead();
};

void TestStandardValues::nearestByRatio_data() {
    QTest::addColumn<double>("ohms");
    QTest::addColumn<bool>("e96");
    QTest::addColumn<double>("expected");
    QTest::newRow("R1 3.5k in E24") << 3500.0 << false << 3600.0;
    QTest::newRow("R1 3.5k in E96") << 3500.0 << true << 3480.0;
    QTest::newRow("R2 9k in E24") << 9000.0 << false << 9100.0;
    QTest::newRow("R2 9k in E96") << 9000.0 << true << 9090.0;
    QTest::newRow("a series value stays") << 4700.0 << false << 4700.0;
    // 1.049k is nearer 1.0k by difference but nearer 1.1k by ratio.
    QTest::newRow("ratio, not difference") << 1049.0 << false << 1100.0;
    QTest::newRow("just under the ratio midpoint") << 1048.0 << false << 1000.0;
    QTest::newRow("over the top of a decade") << 9600.0 << false << 10000.0;
    QTest::newRow("E96 over the top of a decade") << 9900.0 << true << 10000.0;
    QTest::newRow("R1 slider bottom 250") << 250.0 << false << 240.0;
    QTest::newRow("R1 slider top 5.5k") << 5500.0 << false << 5600.0;
    QTest::newRow("R1 slider top 5.5k E96") << 5500.0 << true << 5490.0;
    QTest::newRow("R2 slider top 25k") << 25000.0 << false << 24000.0;
    QTest::newRow("R2 slider top 25k E96") << 25000.0 << true << 24900.0;
    QTest::newRow("R2 slider step 25") << 25.0 << false << 24.0;
    QTest::newRow("zero has no part") << 0.0 << false << 0.0;
    QTest::newRow("negative has no part") << -3500.0 << true << 0.0;
    QTest::newRow("infinity has no part") << kInf << false << 0.0;
    QTest::newRow("not a number has no part") << kNaN << true << 0.0;
    QTest::newRow("beyond any shop") << 1e300 << false << 0.0;
}

void TestStandardValues::nearestByRatio() {
    QFETCH(double, ohms);
    QFETCH(bool, e96);
    QFETCH(double, expected);
    const double got = nearestStandard(ohms, e96 ? Series::E96 : Series::E24);
    QVERIFY2(qAbs(got - expected) <= 1e-9 * expected, qPrintable(QString::number(got, 'g', 17)));
}

void TestStandardValues::limitingResistorIsNeverBelowTheMinimum_data() {
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("expected");
    QTest::newRow("window's 40.0 ohm") << 40.0 << 43.0;
    QTest::newRow("a series value is enough") << 43.0 << 43.0;
    QTest::newRow("a hair above by rounding") << 43.0 * (1 + 1e-12) << 43.0;
    QTest::newRow("just above a series value") << 43.1 << 47.0;
    QTest::newRow("nearer below still goes up") << 30.5 << 33.0;
    QTest::newRow("into the next decade") << 95.0 << 100.0;
    QTest::newRow("under an ohm") << 0.505 << 0.51;
    QTest::newRow("infinity has no part") << kInf << 0.0;
    QTest::newRow("not a number has no part") << kNaN << 0.0;
}

void TestStandardValues::limitingResistorIsNeverBelowTheMinimum() {
    QFETCH(double, minimum);
    QFETCH(double, expected);
    const double got = e24AtOrAbove(minimum);
    QVERIFY2(qAbs(got - expected) <= 1e-9 * expected, qPrintable(QString::number(got, 'g', 17)));
}

void TestStandardValues::ratingAtLeastTwiceTheDissipation_data() {
    QTest::addColumn<double>("watts");
    QTest::addColumn<double>("expected");
    QTest::newRow("43 ohm at 0.2 A: 1.72 W") << 1.72 << 5.0;
    QTest::newRow("exactly half a rating") << 0.0625 << 0.125;
    QTest::newRow("a little more") << 0.07 << 0.25;
    QTest::newRow("half of 1 W") << 0.5 << 1.0;
    QTest::newRow("1.1 W needs 3 W") << 1.1 << 3.0;
    QTest::newRow("2.5 W needs 5 W") << 2.5 << 5.0;
    QTest::newRow("2.6 W: no common part") << 2.6 << 0.0;
    QTest::newRow("infinity: none") << kInf << 0.0;
    QTest::newRow("not a number: none") << kNaN << 0.0;
}

void TestStandardValues::ratingAtLeastTwiceTheDissipation() {
    QFETCH(double, watts);
    QFETCH(double, expected);
    QCOMPARE(powerRating(watts), expected);
}

void TestStandardValues::partValuesRead_data() {
    QTest::addColumn<double>("ohmsValue");
    QTest::addColumn<QString>("expected");
    QTest::newRow("E96 in kilohms") << 3480.0 << QStringLiteral("3.48 kΩ");
    QTest::newRow("E24 drops the zero") << 3600.0 << QStringLiteral("3.6 kΩ");
    QTest::newRow("whole kilohms") << 9000.0 << QStringLiteral("9 kΩ");
    QTest::newRow("tens of kilohms") << 24900.0 << QStringLiteral("24.9 kΩ");
    QTest::newRow("ohms") << 43.0 << QStringLiteral("43 Ω");
    QTest::newRow("under an ohm") << 0.51 << QStringLiteral("0.51 Ω");
    QTest::newRow("three digits at most") << 2375.0 << QStringLiteral("2.38 kΩ");
    QTest::newRow("rounds up into kilohms") << 999.7 << QStringLiteral("1 kΩ");
    QTest::newRow("megohms") << 1.5e6 << QStringLiteral("1.5 MΩ");
    QTest::newRow("infinity") << kInf << QStringLiteral("out of range");
    QTest::newRow("not a number") << kNaN << QStringLiteral("out of range");
    QTest::newRow("absurdly large") << 1e300 << QStringLiteral("out of range");
}

void TestStandardValues::partValuesRead() {
    QFETCH(double, ohmsValue);
    QFETCH(QString, expected);
    QCOMPARE(ohms(ohmsValue), expected);
}

QTEST_GUILESS_MAIN(TestStandardValues)
#include "tst_standardvalues.moc"
