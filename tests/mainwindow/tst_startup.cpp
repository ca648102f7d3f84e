#include "auxwindows.h"
#include "formfixture.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>

using namespace kestrelon;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every read-out of both chips, as shown.
QStringList readOuts(const Form1& form) {
    QStringList shown;
    for (auto* label : form.findChildren<ui::Label*>())
        shown << label->objectName() + QLatin1Char('=') + label->caption() + QLatin1Char('/') +
                     QString::number(label->foreColor(), 16) + QLatin1Char('/') +
                     QString::number(label->backColor(), 16) +
                     QLatin1Char(label->isHidden() ? 'h' : 'v');
    for (auto* shape : form.findChildren<ui::Shape*>())
        shown << shape->objectName() + QLatin1Char('=') + QString::number(shape->fillColor(), 16);
    for (auto* box : form.findChildren<ui::TextBox*>())
        shown << box->objectName() + QLatin1Char('=') + box->text();
    shown.sort();
    return shown;
}

void trigger(const FormFixture& f, const char* action) {
    f.get<QAction>(QString::fromLatin1(action))->trigger();
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void savedInputsComeBackAfterARestart();
    void failedSaveIsReportedAndEnds();
    void handEditedStore_data();
    void handEditedStore();
    void garbageStoreStillStarts();
    void emptyColourGroupKeepsStartColour();
    void exitClosesTheAuxiliaryWindows();
    void menuKeepsOneHelpWindowAndOneAboutBox();
    void closingTheMainWindowLeavesHelpOpen();
};

void TestStartup::cleanup() {
    closeAuxWindows();
}

void TestStartup::savedInputsComeBackAfterARestart() {
    QStringList before;
    QString path;
    QTemporaryDir keep;
    {
        FormFixture f;
        path = keep.filePath(QStringLiteral("Kestrelon.conf"));
        f.form->move(100, 50);
        f.box(QStringLiteral("txtVin_0"))->setText(QStringLiteral("12, 5 \"quoted\" ;#=\\ @x ünï"));
        f.type(QStringLiteral("Text1_1"), QStringLiteral("12"));
        f.type(QStringLiteral("txtLED_1"), QString());
        f.bar(QStringLiteral("hsR1_1"))->setValue(123);
        f.bar(QStringLiteral("vsRHi_0"))->setValue(1000);
        f.click(QStringLiteral("optRHi_1"));
        f.click(QStringLiteral("optMode1_1"));
        f.click(QStringLiteral("optLED2_4"));
        f.click(QStringLiteral("chkSlave"));
        trigger(f, "mnuExit");
        QCOMPARE(f.exitCode, 0);
        QVERIFY(!f.form->isVisible());
        QVERIFY(QFile::copy(f.store->fileName(), path));
        // Slave mode is not stored: compare against the same window with it cleared.
        f.form->show();
        f.click(QStringLiteral("chkSlave"));
        before = readOuts(*f.form);
    }
    const QByteArray stored = readFile(path);
    QVERIFY(stored.contains("frmTop=750"));
    QVERIFY(stored.contains("frmLeft=1500"));

    FormFixture again(stored);
    QCOMPARE(readOuts(*again.form), before);
    QCOMPARE(again.form->pos(), QPoint(100, 50));
    QCOMPARE(again.box(QStringLiteral("txtVin_0"))->text(),
             QStringLiteral("12, 5 \"quoted\" ;#=\\ @x ünï"));
    QCOMPARE(again.box(QStringLiteral("txtLED_1"))->text(), QString());
    QCOMPARE(again.get<ui::CheckBox>(QStringLiteral("chkSlave"))->value(), 0);
    QCOMPARE(again.form->model().ledColour[1], 0xFFFFFFu);
}

void TestStartup::handEditedStore_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("upper-case key") << QByteArray("VSR2VAL0=100") << "vsR2_0" << QVariant(100);
    QTest::newRow("slider beyond its range keeps its design value")
        << QByteArray("vsR2val0=2000") << "vsR2_0" << QVariant(220);
    QTest::newRow("slider beyond 16 bits")
        << QByteArray("hsR1val1=99999") << "hsR1_1" << QVariant(700);
    QTest::newRow("slider below its range")
        << QByteArray("hsR1val1=49") << "hsR1_1" << QVariant(700);
    QTest::newRow("slider tie rounds to even")
        << QByteArray("vsVin=2.5") << "vsVin_0" << QVariant(2);
    QTest::newRow("slider fraction rounds") << QByteArray("vsVin1=3.5") << "vsVin_1" << QVariant(4);
    QTest::newRow("slider word") << QByteArray("vsRHi=lots") << "vsRHi_0" << QVariant(500);
    QTest::newRow("option TRUE") << QByteArray("optMode1=TRUE\noptMode0=false") << "optMode_1"
                                 << QVariant(true);
    QTest::newRow("option number") << QByteArray("optRLo11=-1") << "optRLo1_1" << QVariant(true);
    QTest::newRow("option word fails")
        << QByteArray("optRLo10=yes") << "optRLo1_0" << QVariant(true);
    QTest::newRow("list-looking text")
        << QByteArray("Vin0=1, 2") << "txtVin_0" << QVariant(QStringLiteral("1, 2"));
    QTest::newRow("text with letters")
        << QByteArray("Vsup=abc") << "Text1_0" << QVariant(QStringLiteral("abc"));
    QTest::newRow("text over 25 is capped on restore")
        << QByteArray("Vsup1=40") << "Text1_1" << QVariant(QStringLiteral("25"));
}

void TestStartup::handEditedStore() {
    QFETCH(QByteArray, line);
    QFETCH(QString, control);
    QFETCH(QVariant, expected);
    FormFixture f("[Properties]\n" + line + "\nvsRLo=100\n");
    const QVariant actual =
        f.get(control)->property(qobject_cast<ui::TextBox*>(f.get(control)) ? "text" : "value");
    QCOMPARE(actual.toString(), expected.toString());
    // The entry after it is restored all the same.
    QCOMPARE(f.bar(QStringLiteral("vsRLo_0"))->value(), 100);
}

void TestStartup::garbageStoreStillStarts() {
    QByteArray garbage;
    for (int i = 0; i < 70000; ++i)
        garbage.append(char((i * 7919) % 256));
    // Without quotes and backslashes, which (as in QSettings) may join the garbage to the lines
    // after it and so hide them.
    garbage.replace('"', 'q').replace('\\', 'b');
    FormFixture f(garbage + "\n[Properties]\nVin0=7\n" + garbage);
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.box(QStringLiteral("txtVin_0"))->text(), QStringLiteral("7"));
    QCOMPARE(f.caption(QStringLiteral("lblVin_0")), QStringLiteral("3.50v"));
    QCOMPARE(f.box(QStringLiteral("txtVin_1"))->text(), QStringLiteral("5"));
}

void TestStartup::emptyColourGroupKeepsStartColour() {
    FormFixture f("[Properties]\noptLED00=False\noptLED10=0\n");
    for (int i = 0; i < 5; ++i) {
        QVERIFY(!f.option(layout::controlName("optLED", i))->isChecked());
        QVERIFY(!f.option(layout::controlName("optLED2", i))->isChecked());
    }
    QCOMPARE(f.fill(QStringLiteral("shpLED_1")), 0x0000FFu);
    QCOMPARE(f.fill(QStringLiteral("shpLED2_1")), 0xFF0000u);
    QCOMPARE(f.form->model().ledVf[0], 0.0);
}

void TestStartup::failedSaveIsReportedAndEnds() {
    QTemporaryDir dir;
    // A regular file where the store's folder should be: not even root can write there.
    QFile blocker(dir.filePath(QStringLiteral("Kestrelon")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto store =
        std::make_shared<SettingsStore>(dir.filePath(QStringLiteral("Kestrelon/Kestrelon.conf")));
    std::optional<int> exitCode;
    Form1 form(store, [&exitCode](int code) { exitCode = code; });
    form.Form_Load();
    QString reported;
    QTimer::singleShot(0, &form, [&reported] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            reported = box->text();
            box->accept();
        }
    });
    form.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    QVERIFY2(reported.contains(store->fileName()), qPrintable(reported));
    QVERIFY(reported.contains(QLatin1String("not a folder")));
    QCOMPARE(exitCode, 1);
    QVERIFY(!form.isVisible());
    QVERIFY(QFileInfo(blocker.fileName()).isFile());
}

void TestStartup::exitClosesTheAuxiliaryWindows() {
    FormFixture f;
    trigger(f, "mnuHelp");
    trigger(f, "mnuAbout");
    QPointer<QWidget> help = qApp->findChild<QWidget*>(QStringLiteral("Form2"));
    const auto topLevel = [](const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(name) && w->isVisible())
                return QPointer<QWidget>(w);
        return QPointer<QWidget>();
    };
    QPointer<QWidget> helpWindow = topLevel("Form2");
    QPointer<QWidget> about = topLevel("frmAbout");
    QVERIFY(helpWindow && about);
    trigger(f, "mnuExit");
    QCOMPARE(f.exitCode, 0);
    QVERIFY(!helpWindow);
    QVERIFY(!about);
    QVERIFY(QFileInfo::exists(f.store->fileName()));
}

void TestStartup::menuKeepsOneHelpWindowAndOneAboutBox() {
    FormFixture f;
    const auto count = [](const char* name) {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->objectName() == QLatin1String(name) && w->isVisible() ? 1 : 0;
        return n;
    };
    trigger(f, "mnuHelp");
    trigger(f, "mnuHelp");
    trigger(f, "mnuAbout");
    trigger(f, "mnuAbout");
    QCOMPARE(count("Form2"), 1);
    QCOMPARE(count("frmAbout"), 1);
    // The main window stays usable while they are open.
    f.bar(QStringLiteral("vsVin_0"))->setValue(100);
    QCOMPARE(f.caption(QStringLiteral("lblVin_0")), QStringLiteral("0.50v"));
}

void TestStartup::closingTheMainWindowLeavesHelpOpen() {
    FormFixture f;
    trigger(f, "mnuHelp");
    QPointer<QWidget> help;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Form2"))
            help = w;
    QVERIFY(help);
    f.type(QStringLiteral("txtVin_0"), QStringLiteral("9"));
    f.form->close();
    QVERIFY(help && help->isVisible());
    QVERIFY(QApplication::quitOnLastWindowClosed());
    // Closing by the close box saved nothing.
    QVERIFY(!QFileInfo::exists(f.store->fileName()));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
