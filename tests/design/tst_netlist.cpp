#include "realchip.h"
#include "spicenetlist.h"
#include "storeddesign.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace kestrelon;

namespace {

// One chip's sweep as ngspice printed it: the signal and each LED's current in amperes.
struct Sweep {
    std::vector<double> signal;
    std::array<std::vector<double>, 10> led;
};

// The tables of the .control block's print commands, one per chip in order.
std::vector<Sweep> parsePrinted(const QString& output) {
    std::vector<Sweep> sweeps;
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (line.startsWith(QLatin1String("Index")))
            sweeps.emplace_back();
        bool isRow = false;
        fields.value(0).toInt(&isRow);
        if (sweeps.empty() || !isRow || fields.size() < 13)
            continue;
        sweeps.back().signal.push_back(fields[2].toDouble());
        for (int i = 0; i < 10; ++i)
            sweeps.back().led[static_cast<std::size_t>(i)].push_back(fields[3 + i].toDouble());
    }
    return sweeps;
}

// The signal at which the current first reaches half of on, interpolated between two steps.
std::optional<double> switchingPoint(const Sweep& s, std::size_t led, double on) {
    const std::vector<double>& current = s.led[led];
    for (std::size_t i = 1; i < current.size(); ++i) {
        if (current[i] < on / 2)
            continue;
        const double t = (on / 2 - current[i - 1]) / (current[i] - current[i - 1]);
        return s.signal[i - 1] + t * (s.signal[i] - s.signal[i - 1]);
    }
    return std::nullopt;
}

} // namespace

class TestNetlist : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void ngspiceSwitchesEveryLedWhereTheRealChipDoes_data();
    void ngspiceSwitchesEveryLedWhereTheRealChipDoes();

private:
    QString m_ngspice;
};

void TestNetlist::initTestCase() {
    m_ngspice = QStandardPaths::findExecutable(QStringLiteral("ngspice"));
    QVERIFY2(!m_ngspice.isEmpty(), "ngspice is not installed (./dev installs it)");
}

void TestNetlist::ngspiceSwitchesEveryLedWhereTheRealChipDoes_data() {
    QTest::addColumn<QByteArray>("store");
    // The signals' full scale reaches past every threshold.
    const QByteArray supplies = "Vsup=12\nVsup1=12\nVsLED0=5\nVsLED1=5\nVin0=6\nVin1=6\n";
    QTest::newRow("bar, RHi on the reference") << supplies;
    QTest::newRow("dot mode, green")
        << supplies + "optMode0=0\noptMode1=1\noptMode20=0\noptMode21=1\noptLED00=0\n"
                      "optLED01=1\noptLED10=0\noptLED11=1\nhsR1val1=300\nvsR2val1=120\n";
    QTest::newRow("RHi and RLo external")
        << supplies + "optRHi0=0\noptRHi1=1\nRHi=4\nvsRHi=900\noptRLo0=0\noptRLo1=1\nRLo=2\n"
                      "vsRLo=500\n";
    QTest::newRow("limiting resistor")
        << QByteArray("Vsup=12\nVsup1=12\nVsLED0=20\nVsLED1=24\nhsR1val0=200\nvsR2val0=80\n"
                      "optLED04=1\noptLED00=0\nVin0=6\nVin1=6\n");
    // Chip #2's divider continues where chip #1's ends: one signal over twenty LEDs.
    QTest::newRow("two chips stacked") << supplies + "optRHi0=0\noptRHi1=1\nRHi=5\nvsRHi=500\n"
                                                     "optRHi10=0\noptRHi11=1\nRHi1=5\nvsRHi1=1000\n"
                                                     "optRLo10=0\noptRLo11=1\nRLo1=5\nvsRLo1=500\n";
    QTest::newRow("small R2, wide span") << supplies + "vsR2val0=40\nvsR2val1=0\nVin0=2\nVin1=2\n";
    QTest::newRow("LM3915 and LM3916") << supplies + "chipType0=3915\nchipType1=3916\n";
    QTest::newRow("LM3916 over LM3915, dot, stacked")
        << supplies +
               "chipType0=3915\nchipType1=3916\noptMode0=0\noptMode1=1\noptMode20=0\n"
               "optMode21=1\noptRHi0=0\noptRHi1=1\nRHi=5\nvsRHi=500\noptRHi10=0\n"
               "optRHi11=1\nRHi1=5\nvsRHi1=1000\noptRLo10=0\noptRLo11=1\nRLo1=5\nvsRLo1=500\n";
}

void TestNetlist::ngspiceSwitchesEveryLedWhereTheRealChipDoes() {
    QFETCH(QByteArray, store);
    QTemporaryDir dir;
    const QString storePath = dir.filePath(QStringLiteral("design.kestrelon"));
    QFile file(storePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Properties]\n" + store);
    file.close();
    const StoredDesign design = storedDesign(SettingsStore(storePath));

    const QString netlistPath = dir.filePath(QStringLiteral("design.cir"));
    QFile netlist(netlistPath);
    QVERIFY(netlist.open(QIODevice::WriteOnly));
    netlist.write(spiceNetlist(design.chips[0], design.chips[1]).toUtf8());
    netlist.close();

    QProcess ngspice;
    ngspice.start(m_ngspice, {QStringLiteral("-b"), netlistPath});
    QVERIFY(ngspice.waitForFinished(60000));
    const QString output = QString::fromUtf8(ngspice.readAllStandardOutput());
    QCOMPARE(ngspice.exitCode(), 0);
    const std::vector<Sweep> sweeps = parsePrinted(output);
    QCOMPARE(sweeps.size(), std::size_t{2});

    for (int k = 0; k < 2; ++k) {
        const Sweep& sweep = sweeps[static_cast<std::size_t>(k)];
        QCOMPARE(sweep.signal.size(), std::size_t{1001});
        const RealCircuit& circuit = design.chips[static_cast<std::size_t>(k)].circuit;
        const RealFigures real = realFigures(circuit, nominalCorner(circuit.kind));
        const double span = std::fabs(real.rhi - real.rlo);
        const double full = real.ledCurrent / 1000;
        for (std::size_t n = 0; n < 10; ++n) {
            const QString where = QStringLiteral("chip %1 LED %2").arg(k + 1).arg(n + 1);
            const std::optional<double> at = switchingPoint(sweep, n, full);
            QVERIFY2(at, qPrintable(where + QStringLiteral(" never lights")));
            QVERIFY2(std::fabs(*at - real.thresholds[n]) <= 0.01 * span,
                     qPrintable(where + QStringLiteral(" lights at %1 V, the real chip at %2 V")
                                            .arg(*at)
                                            .arg(real.thresholds[n])));
            const double lit = *std::max_element(sweep.led[n].begin(), sweep.led[n].end());
            const double expected =
                outputCurrent(circuit, circuit.dot ? 1 : 10, real.ledCurrent) / 1000;
            QVERIFY2(std::fabs(lit - expected) <= 0.02 * expected,
                     qPrintable(where + QStringLiteral(" draws %1 mA, the real chip %2 mA")
                                            .arg(lit * 1000)
                                            .arg(expected * 1000)));
        }
    }
}

QTEST_GUILESS_MAIN(TestNetlist)
#include "tst_netlist.moc"
