#include "commandline.h"
#include "formfixture.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

using namespace kestrelon;

namespace {

QAction* action(const FormFixture& f, const char* name) {
    return f.get<QAction>(QLatin1StringView(name));
}

// Runs a file command through its dialog, as a user picks the file and accepts.
void pickFile(const FormFixture& f, const char* command, const char* dialogName,
              const QString& path) {
    action(f, command)->trigger();
    auto* dialog = f.form->findChild<QFileDialog*>(QLatin1StringView(dialogName));
    QVERIFY(dialog);
    // Qt's own question before replacing a file would wait for an answer.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
}

QString report(const FormFixture& f) {
    action(f, "mnuCopyDesign")->trigger();
    return QGuiApplication::clipboard()->text();
}

QString messageShown(const FormFixture& f, const char* boxName) {
    auto* box = f.form->findChild<QMessageBox*>(QLatin1StringView(boxName));
    return box ? box->text() : QString();
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& data) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

} // namespace

class TestDesignFiles : public QObject {
    Q_OBJECT
private slots:
    void savedDesignOpensInAnotherWindow();
    void openingRefusesWhatIsNoDesign_data();
    void openingRefusesWhatIsNoDesign();
    void aFailedSaveLeavesNothingAndSaysWhy();
    void savingOverADesignKeepsItsOtherLines();
    void exitSaveStoreOpensAsADesign();
    void withoutAWindowTheDesignIsTheWindows_data();
    void withoutAWindowTheDesignIsTheWindows();
};

// Every input travels; the window stays where it is, and its title names the file.
void TestDesignFiles::savedDesignOpensInAnotherWindow() {
    FormFixture a;
    a.type(QStringLiteral("txtVin_1"), QStringLiteral("2,5 volts"));
    a.bar(QStringLiteral("hsR1_0"))->setValue(475);
    a.bar(QStringLiteral("vsRHi_1"))->setValue(250);
    a.option(QStringLiteral("optMode1_1"))->setValue(true);
    a.option(QStringLiteral("optRHi_1"))->setValue(true);
    a.option(QStringLiteral("optLED_3"))->setValue(true);
    a.form->move(40, 60);
    const QString path = a.dir.filePath(QStringLiteral("battery monitor.kestrelon"));
    pickFile(a, "mnuSaveDesign", "dlgSaveDesign", path);
    QCOMPARE(a.form->windowTitle(), QStringLiteral("Kestrelon V3.0 - battery monitor.kestrelon"));
    QVERIFY(read(path).contains("designFormat=1"));

    FormFixture b;
    b.form->move(300, 200);
    QVERIFY(report(b) != report(a));
    pickFile(b, "mnuOpenDesign", "dlgOpenDesign", path);
    QCOMPARE(report(b), report(a));
    QCOMPARE(b.box(QStringLiteral("txtVin_1"))->text(), QStringLiteral("2,5 volts"));
    QCOMPARE(b.form->pos(), QPoint(300, 200));
    QCOMPARE(b.form->windowTitle(), a.form->windowTitle());
}

void TestDesignFiles::openingRefusesWhatIsNoDesign_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // empty: nothing is written at the path
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "gone.kestrelon" << QByteArray() << "there is no such file";
    QTest::newRow("folder") << "folder.kestrelon" << QByteArray() << "it is a folder";
    QTest::newRow("empty") << "empty.kestrelon" << QByteArray("\n") << "not a Kestrelon design";
    QTest::newRow("other INI") << "other.conf" << QByteArray("[General]\nVin0=3\n")
                               << "not a Kestrelon design";
    QTest::newRow("binary") << "image.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                            << "not a Kestrelon design";
    QTest::newRow("newer") << "new.kestrelon"
                           << QByteArray("[Properties]\ndesignFormat=2\nVin0=3\n")
                           << "newer version of Kestrelon";
    QTest::newRow("huge") << "huge.kestrelon"
                          << QByteArray("[Properties]\nVin0=3\n") + QByteArray(2 << 20, ';')
                          << "far too large";
}

void TestDesignFiles::openingRefusesWhatIsNoDesign() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    FormFixture f;
    const QString path = f.dir.filePath(name);
    if (name.startsWith(QLatin1String("folder")))
        QVERIFY(QDir(f.dir.path()).mkdir(name));
    else if (!content.isEmpty())
        write(path, content);
    f.type(QStringLiteral("txtLED_0"), QStringLiteral("12"));
    const QString before = report(f);
    const QPoint where = f.form->pos();

    QVERIFY(!f.form->openDesign(path));
    const QString message = messageShown(f, "msgDesignNotOpened");
    QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
    QCOMPARE(report(f), before);
    QCOMPARE(f.form->pos(), where);
    QCOMPARE(f.form->windowTitle(), QStringLiteral("Kestrelon V3.0"));
}

// The folder cannot be made: a file stands where it should be.
void TestDesignFiles::aFailedSaveLeavesNothingAndSaysWhy() {
    FormFixture f;
    write(f.dir.filePath(QStringLiteral("plans")), "not a folder");
    const QString path = f.dir.filePath(QStringLiteral("plans/meter.kestrelon"));
    pickFile(f, "mnuSaveDesign", "dlgSaveDesign", path);
    const QString message = messageShown(f, "msgDesignNotSaved");
    QVERIFY2(message.contains(QStringLiteral("meter.kestrelon")), qPrintable(message));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plans"});
    QCOMPARE(f.form->windowTitle(), QStringLiteral("Kestrelon V3.0"));
}

void TestDesignFiles::savingOverADesignKeepsItsOtherLines() {
    FormFixture f;
    const QString path = f.dir.filePath(QStringLiteral("notes.kestrelon"));
    write(path, "; battery monitor, rev B\n[Properties]\nVin0=12 ; the pack\n[Notes]\nby=me\n");
    QVERIFY(f.form->openDesign(path));
    QCOMPARE(f.box(QStringLiteral("txtVin_0"))->text(), QStringLiteral("12"));
    f.type(QStringLiteral("txtVin_0"), QStringLiteral("14.4"));
    pickFile(f, "mnuSaveDesign", "dlgSaveDesign", path);
    const QByteArray saved = read(path);
    QVERIFY2(saved.startsWith("; battery monitor, rev B\n[Properties]\nVin0=14.4 ; the pack\n"),
             saved.constData());
    QVERIFY(saved.contains("[Notes]\nby=me\n"));
    QVERIFY(saved.contains("vsR2val1=360"));
}

void TestDesignFiles::exitSaveStoreOpensAsADesign() {
    FormFixture a;
    a.bar(QStringLiteral("vsR2_1"))->setValue(120);
    a.option(QStringLiteral("optLED2_4"))->setValue(true);
    action(a, "mnuExit")->trigger();
    QCOMPARE(a.exitCode, 0);
    FormFixture b;
    b.form->openDesign(a.store->fileName());
    QCOMPARE(b.bar(QStringLiteral("vsR2_1"))->value(), 120);
    QCOMPARE(report(b), report(a));
    QCOMPARE(b.form->windowTitle(), QStringLiteral("Kestrelon V3.0 - Kestrelon.conf"));
}

void TestDesignFiles::withoutAWindowTheDesignIsTheWindows_data() {
    QTest::addColumn<QByteArray>("store");
    QTest::newRow("first start") << QByteArray();
    QTest::newRow("dot mode, green, signal high")
        << QByteArray("[Properties]\noptMode0=False\noptMode1=True\noptLED01=1\noptLED00=0\n"
                      "vsVin=930\nhsR1val0=260\n");
    QTest::newRow("supply capped, RHi and RLo external")
        << QByteArray("[Properties]\nVsup1=30\nVsLED1=24\noptRHi10=0\noptRHi11=1\n"
                      "optRLo10=0\noptRLo11=1\nRLo1=2\nvsRLo1=800\nRHi1=9\n");
    QTest::newRow("hot ambient") << QByteArray("[Properties]\nAmbient=60\nVsLED0=15\n");
    QTest::newRow("odd entries") << QByteArray(
        "[Properties]\nvsR2val0=2000\nhsR1val1=abc\nVin0=\noptLED00=maybe\n"
        "optLED10=0\n");
}

// The command line's documents come from the same figures as the window's.
void TestDesignFiles::withoutAWindowTheDesignIsTheWindows() {
    QFETCH(QByteArray, store);
    FormFixture f(store);
    using Action = CommandLine::Action;
    QCOMPARE(designDocument(Action::Report, *f.store), report(f));

    const QString bom = f.dir.filePath(QStringLiteral("parts.csv"));
    pickFile(f, "mnuExportBom", "dlgExportBom", bom);
    QCOMPARE(QString::fromUtf8(read(bom)), designDocument(Action::PartsList, *f.store));
    const QString netlist = f.dir.filePath(QStringLiteral("design.cir"));
    pickFile(f, "mnuExportNetlist", "dlgExportNetlist", netlist);
    QCOMPARE(QString::fromUtf8(read(netlist)), designDocument(Action::Netlist, *f.store));
}

QTEST_MAIN(TestDesignFiles)
#include "tst_designfiles.moc"
