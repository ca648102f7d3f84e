#include "commandline.h"
#include "partslist.h"
#include "settingsstore.h"
#include "storeddesign.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrelon;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The program as a shell runs it, with no display of any kind to reach.
Run runProgram(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1StringView(name));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KESTRELON_PROGRAM), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

const QByteArray kDesign = "; a voltmeter\n[Properties]\nVsup=12\nhsR1val0=400\noptMode0=0\n"
                           "optMode1=1\noptLED02=1\noptLED00=0\nVsLED1=20\n";

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void printsEachDocumentWithoutADisplay_data();
    void printsEachDocumentWithoutADisplay();
    void partsListReadsAsCsv();
    void refusalsGoToStandardError_data();
    void refusalsGoToStandardError();
    void helpAndVersion();
    void aFileAloneOpensInTheWindow_data();
    void aFileAloneOpensInTheWindow();

private:
    QTemporaryDir m_dir;
    QString m_design;
};

void TestCommandLine::initTestCase() {
    m_design = m_dir.filePath(QStringLiteral("voltmeter.kestrelon"));
    QFile file(m_design);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kDesign);
}

void TestCommandLine::printsEachDocumentWithoutADisplay_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("fromInput");
    using A = CommandLine::Action;
    QTest::newRow("report") << "--report" << int(A::Report) << false;
    QTest::newRow("parts list") << "--bom" << int(A::PartsList) << false;
    QTest::newRow("netlist") << "--netlist" << int(A::Netlist) << false;
    QTest::newRow("report from standard input") << "--report" << int(A::Report) << true;
    QTest::newRow("netlist from standard input") << "--netlist" << int(A::Netlist) << true;
}

void TestCommandLine::printsEachDocumentWithoutADisplay() {
    QFETCH(QString, option);
    QFETCH(int, action);
    QFETCH(bool, fromInput);
    const Run run = fromInput ? runProgram({option, QStringLiteral("-")}, kDesign)
                              : runProgram({option, m_design});
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    QCOMPARE(run.exitCode, 0);
    const QString expected =
        designDocument(static_cast<CommandLine::Action>(action), SettingsStore(m_design));
    QCOMPARE(QString::fromUtf8(run.out), expected);
    QVERIFY(expected.contains(QStringLiteral("12")));
}

// Python's csv module reads what a spreadsheet would: the same fields, commas and all.
void TestCommandLine::partsListReadsAsCsv() {
    const QString csvPath = m_dir.filePath(QStringLiteral("parts.csv"));
    const Run run = runProgram({QStringLiteral("--bom"), m_design});
    QCOMPARE(run.exitCode, 0);
    QFile csv(csvPath);
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write(run.out);
    csv.close();

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], encoding='utf-8', newline='') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f, strict=True))))\n"),
                  csvPath});
    QVERIFY(python.waitForFinished(30000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();

    const StoredDesign design = storedDesign(SettingsStore(m_design));
    const std::vector<PartRow> parts = partsList(design.chips[0], design.chips[1]);
    QCOMPARE(rows.size(), qsizetype(parts.size() + 1));
    QCOMPARE(rows[0].toArray().size(), 7);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const QJsonArray row = rows[qsizetype(i + 1)].toArray();
        const PartRow& p = parts[i];
        const QStringList expected{p.reference,  p.value, p.series,
                                   p.tolerance,  p.power, QString::number(p.quantity),
                                   p.description};
        QCOMPARE(row.toVariantList().size(), expected.size());
        for (qsizetype c = 0; c < expected.size(); ++c)
            QCOMPARE(row[c].toString(), expected[c]);
    }
}

void TestCommandLine::refusalsGoToStandardError_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::newRow("missing file") << QStringList{"--report", "/nonexistent/a.kestrelon"}
                                  << QByteArray() << 1 << "/nonexistent/a.kestrelon";
    QTest::newRow("not a design on standard input")
        << QStringList{"--bom", "-"} << QByteArray("hello\n") << 1 << "standard input";
    QTest::newRow("newer format") << QStringList{"--netlist", "-"}
                                  << QByteArray("[Properties]\ndesignFormat=7\n") << 1
                                  << "newer version";
    QTest::newRow("no file") << QStringList{"--report"} << QByteArray() << 2 << "needs a design";
    QTest::newRow("two documents")
        << QStringList{"--report", "a", "--bom", "b"} << QByteArray() << 2 << "only one of";
    QTest::newRow("unknown option") << QStringList{"--bom", "a", "--frobnicate"} << QByteArray()
                                    << 2 << "unknown option --frobnicate";
}

void TestCommandLine::refusalsGoToStandardError() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    const Run run = runProgram(arguments, input);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(QString::fromUtf8(run.err).contains(said), run.err.constData());
}

void TestCommandLine::helpAndVersion() {
    const Run help = runProgram({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    for (const char* option : {"--report FILE", "--bom FILE", "--netlist FILE", "--version"})
        QVERIFY2(help.out.contains(option), option);
    const Run version = runProgram({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray("Kestrelon " KESTRELON_VERSION "\n"));
}

void TestCommandLine::aFileAloneOpensInTheWindow_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("no arguments") << QStringList{} << QString();
    QTest::newRow("a design") << QStringList{"/home/me/battery monitor.kestrelon"}
                              << "/home/me/battery monitor.kestrelon";
}

void TestCommandLine::aFileAloneOpensInTheWindow() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    const CommandLine command = parseCommandLine(QStringList{"kestrelon"} + arguments);
    QCOMPARE(command.action, CommandLine::Action::Window);
    QCOMPARE(command.file, file);
    // Standard input holds a design only for the printed documents.
    QCOMPARE(parseCommandLine({"kestrelon", "-"}).action, CommandLine::Action::Error);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
