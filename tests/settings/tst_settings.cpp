#include "fakesettingstarget.h"
#include "mysettings.h"
#include "settingsentries.h"
#include "settingsstore.h"
#include "storefiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <unistd.h>

using kestrelon::GetMySettings;
using kestrelon::SaveMySettings;
using kestrelon::SaveResult;
using kestrelon::SettingsStore;
using storefiles::bytes;
using storefiles::readFile;
using storefiles::writeFile;

namespace {

// What chip #1's signal-voltage box holds after restoring from the given file.
QString restoredText(const QByteArray& storeFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    writeFile(path, storeFile);
    FakeSettingsTarget target;
    GetMySettings(SettingsStore(path), target);
    return target.text("txtVin", 0);
}

// What QSettings itself reads from a file. Each call must use a path of its own: QSettings
// caches parsed files and takes a rewritten file of the same size and time stamp for the old one.
QVariant qsettingsValue(const QString& path, const QString& key) {
    QSettings settings(path, QSettings::IniFormat);
    return settings.value(key);
}

// A state in which every control differs from both its design value and its default.
void setEveryControl(FakeSettingsTarget& t) {
    t.top = -60.0f;
    t.left = 1234.5f;
    const char* textBoxes[] = {"txtVin", "txtRLo", "txtRHi", "Text1", "txtLED"};
    for (int chip : {0, 1}) {
        for (int i = 0; i < 5; ++i)
            t.texts[FakeSettingsTarget::id(textBoxes[i], chip)] =
                QStringLiteral("%1.%2 v").arg(chip + 2).arg(i);
        t.sliders[FakeSettingsTarget::id("hsR1", chip)] = std::int16_t(51 + chip);
        t.sliders[FakeSettingsTarget::id("vsR2", chip)] = std::int16_t(999 - chip);
        t.sliders[FakeSettingsTarget::id("vsVin", chip)] = std::int16_t(1 + chip);
        t.sliders[FakeSettingsTarget::id("vsRHi", chip)] = std::int16_t(10 + chip);
        t.sliders[FakeSettingsTarget::id("vsRLo", chip)] = std::int16_t(0 + chip);
    }
    for (auto it = t.options.begin(); it != t.options.end(); ++it)
        it.value() = false;
    t.options[FakeSettingsTarget::id("optMode", 0)] = true;
    t.options[FakeSettingsTarget::id("optRHi", 1)] = true;
    t.options[FakeSettingsTarget::id("optRLo", 1)] = true;
    t.options[FakeSettingsTarget::id("optLED", 3)] = true;
    t.options[FakeSettingsTarget::id("optMode1", 1)] = true;
    t.options[FakeSettingsTarget::id("optRHi1", 1)] = true;
    // chip #2's RLo group left with nothing selected
    t.options[FakeSettingsTarget::id("optLED2", 4)] = true;
}

void compareControls(const FakeSettingsTarget& actual, const FakeSettingsTarget& expected) {
    QCOMPARE(actual.top, expected.top);
    QCOMPARE(actual.left, expected.left);
    QCOMPARE(actual.texts, expected.texts);
    QCOMPARE(actual.sliders, expected.sliders);
    QCOMPARE(actual.options, expected.options);
}

// The state an empty store restores: the defaults of every entry.
FakeSettingsTarget defaultState() {
    FakeSettingsTarget t;
    t.top = 0;
    t.left = 0;
    for (int chip : {0, 1}) {
        t.texts[FakeSettingsTarget::id("txtVin", chip)] = QStringLiteral("5");
        t.texts[FakeSettingsTarget::id("txtRLo", chip)] = QStringLiteral("0");
        t.texts[FakeSettingsTarget::id("txtRHi", chip)] = QStringLiteral("5");
        t.texts[FakeSettingsTarget::id("Text1", chip)] = QStringLiteral("5");
        t.texts[FakeSettingsTarget::id("txtLED", chip)] = QStringLiteral("5");
        t.sliders[FakeSettingsTarget::id("hsR1", chip)] = 700;
        t.sliders[FakeSettingsTarget::id("vsR2", chip)] = 360;
        t.sliders[FakeSettingsTarget::id("vsVin", chip)] = 500;
        t.sliders[FakeSettingsTarget::id("vsRHi", chip)] = 500;
        t.sliders[FakeSettingsTarget::id("vsRLo", chip)] = 360;
    }
    for (auto it = t.options.begin(); it != t.options.end(); ++it)
        it.value() = it.key().endsWith(QStringLiteral("(0)"));
    return t;
}

QStringList dirEntries(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void emptyStoreGivesTheDefaults_data();
    void emptyStoreGivesTheDefaults();
    void saveThenRestoreGivesBackEveryControl();
    void savedFileHasEveryKeyInOrder();
    void restoreAssignsInTableOrder();
    void userStoreIsTheQSettingsNativeFile();

    void keysMatchWithoutRegardToCase_data();
    void keysMatchWithoutRegardToCase();
    void duplicateKeysLastOneWins_data();
    void duplicateKeysLastOneWins();

    void sliderEntries_data();
    void sliderEntries();
    void optionEntries_data();
    void optionEntries();
    void positionEntries_data();
    void positionEntries();
    void failingHandlerEndsOnlyItsStep();

    void textsSurviveSaveAndRestore_data();
    void textsSurviveSaveAndRestore();
    void handEditedValuesReadAsText_data();
    void handEditedValuesReadAsText();
    void valuesThatAreNotTextLeaveTheControl_data();
    void valuesThatAreNotTextLeaveTheControl();

    void corruptStoreRestoresWhatItCan_data();
    void corruptStoreRestoresWhatItCan();
    void saveOverDamagedStoreKeepsTheDamage();
    void saveKeepsEntriesItDoesNotOwn();

    void saveThatCannotCreateTheFileFails_data();
    void saveThatCannotCreateTheFileFails();
    void saveReplacesTheFileWhole();

private:
    // Made by initTestCase: a listing of the functions (-functions) ends the process before
    // any destructor runs.
    std::optional<QTemporaryDir> m_config;
};

void TestSettings::initTestCase() {
    // The per-user store of this process goes to a private folder even when the test is run by
    // hand; QSettings computes its user path on first use, which is later than this.
    m_config.emplace();
    QVERIFY(m_config->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config->path()));
}

void TestSettings::emptyStoreGivesTheDefaults_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("exists");
    QTest::newRow("no file") << QByteArray() << false;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("other groups only") << QByteArray("[Other]\nVin0=9\nhsR1val0=100\n") << true;
    QTest::newRow("keys at the top level") << QByteArray("Vin0=9\nhsR1val0=100\n") << true;
    QTest::newRow("comments only") << QByteArray("; Vin0=9\n;hsR1val0=100\n") << true;
    QTest::newRow("keys as subgroup") << QByteArray("[Properties]\nold\\Vin0=9\n") << true;
}

void TestSettings::emptyStoreGivesTheDefaults() {
    QFETCH(QByteArray, file);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    if (exists)
        QVERIFY(writeFile(path, file));

    FakeSettingsTarget target;
    GetMySettings(SettingsStore(path), target);

    compareControls(target, defaultState());
    QCOMPARE(target.violations, QStringList());
    // every entry was assigned, also those whose default equals the design value
    QCOMPARE(target.assignments.size(), 44);
}

void TestSettings::saveThenRestoreGivesBackEveryControl() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    FakeSettingsTarget saved;
    setEveryControl(saved);
    {
        SettingsStore store(path);
        const SaveResult result = SaveMySettings(store, saved);
        QVERIFY2(result.ok, qPrintable(result.message()));
    }

    FakeSettingsTarget restored;
    GetMySettings(SettingsStore(path), restored);
    compareControls(restored, saved);
    QCOMPARE(restored.violations, QStringList());

    // Saving the restored state again gives the same file.
    const QByteArray first = readFile(path);
    SettingsStore again(path);
    QVERIFY(SaveMySettings(again, restored));
    QCOMPARE(readFile(path), first);
}

void TestSettings::savedFileHasEveryKeyInOrder() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    FakeSettingsTarget t;
    setEveryControl(t);
    t.top = 1440.0f;
    t.texts[FakeSettingsTarget::id("txtLED", 1)] = QString();
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, t));

    QCOMPARE(readFile(path), QByteArray("[Properties]\n"
                                        "frmTop=1440\n"
                                        "frmLeft=1234.5\n"
                                        "Vin0=2.0 v\n"
                                        "RLo=2.1 v\n"
                                        "RHi=2.2 v\n"
                                        "Vsup=2.3 v\n"
                                        "VsLED0=2.4 v\n"
                                        "hsR1val0=51\n"
                                        "vsR2val0=999\n"
                                        "vsVin=1\n"
                                        "vsRHi=10\n"
                                        "vsRLo=0\n"
                                        "optMode0=True\n"
                                        "optMode1=False\n"
                                        "optRHi0=False\n"
                                        "optRHi1=True\n"
                                        "optRLo0=False\n"
                                        "optRLo1=True\n"
                                        "optLED00=False\n"
                                        "optLED01=False\n"
                                        "optLED02=False\n"
                                        "optLED03=True\n"
                                        "optLED04=False\n"
                                        "Vin1=3.0 v\n"
                                        "RLo1=3.1 v\n"
                                        "RHi1=3.2 v\n"
                                        "Vsup1=3.3 v\n"
                                        "VsLED1=\n"
                                        "hsR1val1=52\n"
                                        "vsR2val1=998\n"
                                        "vsVin1=2\n"
                                        "vsRHi1=11\n"
                                        "vsRLo1=1\n"
                                        "optMode20=False\n"
                                        "optMode21=True\n"
                                        "optRHi10=False\n"
                                        "optRHi11=True\n"
                                        "optRLo10=False\n"
                                        "optRLo11=False\n"
                                        "optLED10=False\n"
                                        "optLED11=False\n"
                                        "optLED12=False\n"
                                        "optLED13=False\n"
                                        "optLED14=True\n"));
}

void TestSettings::restoreAssignsInTableOrder() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    FakeSettingsTarget saved;
    setEveryControl(saved);
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, saved));

    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QStringList controls;
    for (const QString& a : std::as_const(t.assignments))
        controls << a.left(a.indexOf(u'='));
    const QStringList expected = {
        "Top",        "Left",       "txtVin(0)",  "txtRLo(0)",   "txtRHi(0)",   "Text1(0)",
        "txtLED(0)",  "hsR1(0)",    "vsR2(0)",    "vsVin(0)",    "vsRHi(0)",    "vsRLo(0)",
        "optMode(0)", "optMode(1)", "optRHi(0)",  "optRHi(1)",   "optRLo(0)",   "optRLo(1)",
        "optLED(0)",  "optLED(1)",  "optLED(2)",  "optLED(3)",   "optLED(4)",   "txtVin(1)",
        "txtRLo(1)",  "txtRHi(1)",  "Text1(1)",   "txtLED(1)",   "hsR1(1)",     "vsR2(1)",
        "vsVin(1)",   "vsRHi(1)",   "vsRLo(1)",   "optMode1(0)", "optMode1(1)", "optRHi1(0)",
        "optRHi1(1)", "optRLo1(0)", "optRLo1(1)", "optLED2(0)",  "optLED2(1)",  "optLED2(2)",
        "optLED2(3)", "optLED2(4)"};
    QCOMPARE(controls, expected);
}

void TestSettings::userStoreIsTheQSettingsNativeFile() {
    const QString expected =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kestrelon", "Kestrelon")
            .fileName();
    QCOMPARE(SettingsStore::userStorePath(), expected);
    QCOMPARE(expected, m_config->filePath(QStringLiteral("Kestrelon/Kestrelon.conf")));

    // The folder does not exist yet: the first save creates it.
    QVERIFY(!QFileInfo::exists(m_config->filePath(QStringLiteral("Kestrelon"))));
    SettingsStore store;
    QCOMPARE(store.fileName(), expected);
    FakeSettingsTarget saved;
    setEveryControl(saved);
    const SaveResult result = SaveMySettings(store, saved);
    QVERIFY2(result.ok, qPrintable(result.message()));

    QSettings reader(QSettings::NativeFormat, QSettings::UserScope, "Kestrelon", "Kestrelon");
    QCOMPARE(reader.status(), QSettings::NoError);
    reader.beginGroup(QStringLiteral("Properties"));
    QCOMPARE(reader.childKeys().size(), 44);
    QCOMPARE(reader.value(QStringLiteral("Vin0")), QVariant(QStringLiteral("2.0 v")));
    QCOMPARE(reader.value(QStringLiteral("optRHi11")), QVariant(QStringLiteral("True")));
    QFile::remove(expected);
}

void TestSettings::keysMatchWithoutRegardToCase_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("upper case") << QByteArray("VSR2VAL0=100");
    QTest::newRow("lower case") << QByteArray("vsr2val0=100");
    QTest::newRow("mixed case") << QByteArray("VsR2vAl0=100");
    QTest::newRow("blanks around the key") << QByteArray("  VSR2VAL0 =100");
    QTest::newRow("escaped letters") << QByteArray("%56SR2VAL0=100");
}

void TestSettings::keysMatchWithoutRegardToCase() {
    QFETCH(QByteArray, line);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, "[Properties]\n" + line + "\nVIN0=abc\nOPTMODE21=TRUE\n"));

    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QCOMPARE(t.sliderValue("vsR2", 0), std::int16_t(100));
    QCOMPARE(t.text("txtVin", 0), QStringLiteral("abc"));
    QCOMPARE(t.optionValue("optMode1", 1), true);

    // A save changes the values in place and leaves the keys as they were spelled.
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, t));
    QVERIFY(readFile(path).startsWith("[Properties]\n" + line + "\nVIN0=abc\nOPTMODE21=True\n"));
}

void TestSettings::duplicateKeysLastOneWins_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("expected");
    QTest::newRow("same case") << QByteArray("[Properties]\nvsR2val0=100\nvsR2val0=200\n") << 200;
    QTest::newRow("upper last") << QByteArray("[Properties]\nvsR2val0=100\nVSR2VAL0=200\n") << 200;
    QTest::newRow("upper first") << QByteArray("[Properties]\nVSR2VAL0=100\nvsR2val0=200\n") << 200;
    QTest::newRow("group given twice")
        << QByteArray("[Properties]\nvsr2val0=100\n[Other]\nx=1\n[Properties]\nVsR2Val0=200\n")
        << 200;
    QTest::newRow("last one does not convert")
        << QByteArray("[Properties]\nvsR2val0=100\nVSR2VAL0=abc\n") << 220;
    // QSettings ranks the top level below [Properties], wherever each stands in the file.
    QTest::newRow("top level after the group")
        << QByteArray("[Properties]\nvsR2val0=100\n[General]\nProperties\\VSR2VAL0=200\n") << 100;
    QTest::newRow("top level only") << QByteArray("Properties\\vsR2val0=300\n") << 300;
}

void TestSettings::duplicateKeysLastOneWins() {
    QFETCH(QByteArray, file);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, file));

    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QCOMPARE(t.sliderValue("vsR2", 0), std::int16_t(expected));

    // A save gives every entry of the key the same value, so that no reader can pick another.
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, t));
    const QByteArray saved = readFile(path).toLower();
    QCOMPARE(saved.count("vsr2val0="), file.toLower().count("vsr2val0="));
    QCOMPARE(saved.count("vsr2val0=" + QByteArray::number(expected) + '\n'),
             saved.count("vsr2val0="));
    QCOMPARE(SettingsStore(path).getSetting(u"vsR2val0", {}), QString::number(expected));
}

void TestSettings::sliderEntries_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("expected"); // -1: the slider keeps its design value
    QTest::newRow("in range") << "hsR1val0"
                              << "1000"
                              << "hsR1" << 1000;
    QTest::newRow("lower limit") << "hsR1val0"
                                 << "50"
                                 << "hsR1" << 50;
    QTest::newRow("upper limit") << "hsR1val0"
                                 << "1100"
                                 << "hsR1" << 1100;
    QTest::newRow("below the limits") << "hsR1val0"
                                      << "49"
                                      << "hsR1" << -1;
    QTest::newRow("above the limits") << "hsR1val0"
                                      << "1101"
                                      << "hsR1" << -1;
    QTest::newRow("reversed limits, top") << "vsR2val0"
                                          << "1000"
                                          << "vsR2" << 1000;
    QTest::newRow("reversed limits, bottom") << "vsR2val0"
                                             << "0"
                                             << "vsR2" << 0;
    QTest::newRow("reversed limits, beyond") << "vsR2val0"
                                             << "2000"
                                             << "vsR2" << -1;
    QTest::newRow("negative") << "vsR2val0"
                              << "-1"
                              << "vsR2" << -1;
    QTest::newRow("tie to even below") << "vsR2val0"
                                       << "2.5"
                                       << "vsR2" << 2;
    QTest::newRow("tie to even above") << "vsR2val0"
                                       << "3.5"
                                       << "vsR2" << 4;
    QTest::newRow("fraction rounds into range") << "vsR2val0"
                                                << "-0.5"
                                                << "vsR2" << 0;
    QTest::newRow("fraction rounds out of range") << "vsR2val0"
                                                  << "1000.6"
                                                  << "vsR2" << -1;
    QTest::newRow("exponent") << "vsR2val0"
                              << "1e2"
                              << "vsR2" << 100;
    QTest::newRow("blanks around") << "vsR2val0"
                                   << " 42 "
                                   << "vsR2" << 42;
    QTest::newRow("beyond 16 bits") << "vsR2val0"
                                    << "65636"
                                    << "vsR2" << -1;
    QTest::newRow("word") << "vsR2val0"
                          << "abc"
                          << "vsR2" << -1;
    QTest::newRow("number and unit") << "vsR2val0"
                                     << "300v"
                                     << "vsR2" << -1;
    QTest::newRow("empty text") << "vsR2val0"
                                << ""
                                << "vsR2" << -1;
    QTest::newRow("comma list") << "vsR2val0"
                                << "3,4"
                                << "vsR2" << -1;
    QTest::newRow("chip 2 key") << "vsRLo1"
                                << "7"
                                << "vsRLo" << 7;
}

void TestSettings::sliderEntries() {
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, control);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    // The neighbours hold good values: a failing step must not take them along.
    QVERIFY(writeFile(path, QStringLiteral("[Properties]\nvsVin=62\nvsRHi1=63\n%1=%2\nvsRLo=64\n")
                                .arg(key, stored)
                                .toUtf8()));

    const int chip = key.endsWith(u'1') ? 1 : 0;
    const std::string name = control.toStdString();
    FakeSettingsTarget t;
    const std::int16_t before = t.sliderValue(name, chip);
    GetMySettings(SettingsStore(path), t);

    QCOMPARE(t.violations, QStringList());
    QCOMPARE(t.sliderValue(name, chip), expected < 0 ? before : std::int16_t(expected));
    if (expected < 0) {
        for (const QString& a : std::as_const(t.assignments))
            QVERIFY2(!a.startsWith(FakeSettingsTarget::id(name, chip) + u'='), qPrintable(a));
    }
    QCOMPARE(t.sliderValue("vsVin", 0), std::int16_t(62));
    QCOMPARE(t.sliderValue("vsRHi", 1), std::int16_t(63));
    QCOMPARE(t.sliderValue("vsRLo", 0), std::int16_t(64));
}

void TestSettings::optionEntries_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected"); // "True", "False", or "" when left alone
    QTest::newRow("True") << "True"
                          << "True";
    QTest::newRow("true") << "true"
                          << "True";
    QTest::newRow("TRUE") << "TRUE"
                          << "True";
    QTest::newRow("False") << "False"
                           << "False";
    QTest::newRow("fAlSe") << "fAlSe"
                           << "False";
    QTest::newRow("1") << "1"
                       << "True";
    QTest::newRow("0") << "0"
                       << "False";
    QTest::newRow("-1") << "-1"
                        << "True";
    QTest::newRow("2.5") << "2.5"
                         << "True";
    QTest::newRow("0.0") << "0.0"
                         << "False";
    QTest::newRow("yes") << "yes"
                         << "";
    QTest::newRow("empty text") << ""
                                << "";
    QTest::newRow("Truex") << "Truex"
                           << "";
}

void TestSettings::optionEntries() {
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    // chip #2's "+Vext Hi", between two entries that do convert
    QVERIFY(writeFile(path, QStringLiteral("[Properties]\noptRHi10=False\noptRHi11=%1\n"
                                           "optRLo10=False\n")
                                .arg(stored)
                                .toUtf8()));

    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    const QStringList assigned = t.assignments.filter(QStringLiteral("optRHi1(1)="));
    if (expected.isEmpty()) {
        QCOMPARE(assigned, QStringList());
        QCOMPARE(t.optionValue("optRHi1", 1), false);
    } else {
        QCOMPARE(assigned, QStringList{"optRHi1(1)=" + expected});
        QCOMPARE(t.optionValue("optRHi1", 1), expected == "True");
    }
    QVERIFY(t.assignments.contains(QStringLiteral("optRLo1(0)=False")));
}

void TestSettings::positionEntries_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<float>("expected");
    QTest::newRow("whole twips") << "1440" << 1440.0f;
    QTest::newRow("negative, not clamped") << "-600" << -600.0f;
    QTest::newRow("far beyond the screen") << "2000000" << 2000000.0f;
    QTest::newRow("fraction") << "1234.5" << 1234.5f;
    QTest::newRow("no number") << "left" << 0.0f;
    QTest::newRow("empty text") << "" << 0.0f;
    QTest::newRow("number and text") << "12abc" << 12.0f;
    QTest::newRow("beyond the single range") << "1e39" << 0.0f;
    QTest::newRow("beyond the double range") << "1e999" << 0.0f;
}

void TestSettings::positionEntries() {
    QFETCH(QString, stored);
    QFETCH(float, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(
        path, QStringLiteral("[Properties]\nfrmTop=%1\nfrmLeft=%1\n").arg(stored).toUtf8()));

    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QCOMPARE(t.top, expected);
    QCOMPARE(t.left, expected);
    QCOMPARE(t.assignments.mid(0, 2), (QStringList{QStringLiteral("Top=%1").arg(expected),
                                                   QStringLiteral("Left=%1").arg(expected)}));
}

void TestSettings::failingHandlerEndsOnlyItsStep() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    FakeSettingsTarget saved;
    setEveryControl(saved);
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, saved));

    for (const char* failing : {"Top", "txtVin(0)", "hsR1(0)", "optMode(0)", "optLED2(4)"}) {
        FakeSettingsTarget t;
        t.throwAfterAssigning = QString::fromLatin1(failing);
        GetMySettings(SettingsStore(path), t);
        // The value was assigned before the handler failed, and every later entry followed.
        compareControls(t, saved);
        QCOMPARE(t.assignments.size(), 44);
    }
}

void TestSettings::textsSurviveSaveAndRestore_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("qsettingsAgrees"); // QSettings writes and reads it the same way
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("blanks inside") << "1 2  3" << true;
    QTest::newRow("leading blanks") << "  5.5" << true;
    QTest::newRow("trailing blanks") << "5.5  " << true;
    QTest::newRow("leading and trailing blanks") << " \t5.5\t " << true;
    QTest::newRow("only blanks") << "   " << true;
    QTest::newRow("tabs and line breaks") << "\t1\r\n2\n\t" << true;
    QTest::newRow("comma list") << "1, 2,3" << true;
    QTest::newRow("quotes") << "\"5\" and \"6" << true;
    QTest::newRow("lone quote") << "\"" << true;
    QTest::newRow("backslashes") << "C:\\temp\\ \\\\" << true;
    QTest::newRow("trailing backslash") << "5\\" << true;
    QTest::newRow("escape lookalikes") << "\\x41 \\n \\0 %41 %U0041" << true;
    QTest::newRow("equals and semicolons") << "a=b; c=d;" << true;
    QTest::newRow("comment signs") << "# not a comment ; nor this" << true;
    QTest::newRow("leading at") << "@5" << true;
    QTest::newRow("two leading ats") << "@@" << true;
    QTest::newRow("typed-value lookalike") << "@Variant(AAAA)" << true;
    QTest::newRow("string lookalike") << "@String(x)" << true;
    QTest::newRow("invalid lookalike") << "@Invalid()" << true;
    QTest::newRow("brackets") << "[Properties]" << true;
    QTest::newRow("non-ASCII letters") << "Grüße, ½ € Ωμ 日本" << true;
    QTest::newRow("outside the BMP") << "\U0001F600 \U00010348" << true;
    QTest::newRow("control characters") << QString::fromUtf8("\x01\x02"
                                                             "1f\x1f"
                                                             "a\x7f")
                                        << true;
    QTest::newRow("NUL inside") << QString(QStringLiteral("5") + QChar(u'\0') +
                                           QStringLiteral("0v"))
                                << true;
    QTest::newRow("right-to-left marks") << QStringLiteral("\u200F5\u202E 6\u202C") << true;
    QTest::newRow("byte order mark inside") << QStringLiteral("5\uFEFF0") << true;
    QTest::newRow("long") << QString(100000, u'9') << true;
    QTest::newRow("long with every kind of character")
        << QStringLiteral("\"a;b\" # \\ \n @\U0001F600\u200F\uFEFF").repeated(5000) << true;
    // QSettings drops a byte order mark that starts a value, and writes a lone surrogate as '?'.
    QTest::newRow("byte order mark first") << QStringLiteral("\uFEFF5") << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xDC00)) + QStringLiteral("1") << false;
    QTest::newRow("lone surrogate at the end") << QStringLiteral("ab") + QChar(0xD83D) << false;
}

void TestSettings::textsSurviveSaveAndRestore() {
    QFETCH(QString, text);
    QFETCH(bool, qsettingsAgrees);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    FakeSettingsTarget saved;
    saved.texts[FakeSettingsTarget::id("txtVin", 0)] = text;
    saved.texts[FakeSettingsTarget::id("txtLED", 1)] = text;
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, saved));

    FakeSettingsTarget restored;
    GetMySettings(SettingsStore(path), restored);
    QCOMPARE(restored.text("txtVin", 0), text);
    QCOMPARE(restored.text("txtLED", 1), text);
    // the entries after the text are not disturbed by it
    QCOMPARE(restored.text("txtRLo", 0), QStringLiteral("1"));
    QCOMPARE(restored.sliderValue("hsR1", 1), std::int16_t(700));

    const QByteArray file = readFile(path);
    QVERIFY(QUtf8StringView(file).isValidUtf8());
    if (!qsettingsAgrees)
        return;
    // QSettings reads the same text back, and writes the very same file for it.
    const QVariant read = qsettingsValue(path, QStringLiteral("Properties/Vin0"));
    QCOMPARE(read.typeId(), QMetaType::QString);
    QCOMPARE(read.toString(), text);

    const QString ours = dir.filePath(QStringLiteral("ours.conf"));
    const QString theirs = dir.filePath(QStringLiteral("theirs.conf"));
    SettingsStore single(ours);
    single.saveSetting(u"Vin0", text);
    QVERIFY(single.commit());
    {
        QSettings qs(theirs, QSettings::IniFormat);
        qs.setValue(QStringLiteral("Properties/Vin0"), text);
    }
    QCOMPARE(readFile(ours), readFile(theirs));
}

void TestSettings::handEditedValuesReadAsText_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unquoted comma list") << QByteArray("Vin0=1, 2") << "1, 2";
    QTest::newRow("list without blanks") << QByteArray("Vin0=1,2,3") << "1,2,3";
    QTest::newRow("quoted") << QByteArray("Vin0=\"a, b\"") << "a, b";
    QTest::newRow("quoted blanks") << QByteArray("Vin0=\" 7 \"") << " 7 ";
    QTest::newRow("unquoted blanks are trimmed") << QByteArray("Vin0=   7   ") << "7";
    QTest::newRow("empty text, not the default") << QByteArray("Vin0=") << "";
    QTest::newRow("empty quotes") << QByteArray("Vin0=\"\"") << "";
    QTest::newRow("comment after the value") << QByteArray("Vin0=4.5 ; volts") << "4.5";
    QTest::newRow("hash is no comment") << QByteArray("Vin0=4.5 # volts") << "4.5 # volts";
    QTest::newRow("escapes") << QByteArray("Vin0=\\x41\\102\\t\\\\") << "AB\t\\";
    QTest::newRow("continued line") << QByteArray("Vin0=1\\\n2") << "12";
    QTest::newRow("escaped at") << QByteArray("Vin0=@@5") << "@5";
    QTest::newRow("plain at") << QByteArray("Vin0=@5") << "@5";
    QTest::newRow("string form") << QByteArray("Vin0=@String(a\\0b)")
                                 << QString("a") + QChar(u'\0') + "b";
    QTest::newRow("CRLF line ends") << QByteArray("Vin0=6\r\nRLo=2\r") << "6";
    QTest::newRow("UTF-8") << QByteArray("Vin0=Gr\xc3\xbc\xc3\x9f"
                                         "e")
                           << "Grüße";
    QTest::newRow("not UTF-8") << QByteArray("Vin0=a\xff") << "a\uFFFD";
}

void TestSettings::handEditedValuesReadAsText() {
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);
    QCOMPARE(restoredText("[Properties]\n" + line + "\n"), expected);
}

void TestSettings::valuesThatAreNotTextLeaveTheControl_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("byte array") << QByteArray("@ByteArray(abc)");
    QTest::newRow("variant") << QByteArray("@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)");
    QTest::newRow("broken variant") << QByteArray("@Variant(\\xff\\xff\\xff\\xff\\xff)");
    QTest::newRow("date and time") << QByteArray("@DateTime(\\0\\0)");
    QTest::newRow("rectangle") << QByteArray("@Rect(1 2 3 4)");
    QTest::newRow("size") << QByteArray("@Size(1 2)");
    QTest::newRow("point") << QByteArray("@Point(1 2)");
    QTest::newRow("invalid") << QByteArray("@Invalid()");
}

void TestSettings::valuesThatAreNotTextLeaveTheControl() {
    QFETCH(QByteArray, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, "[Properties]\nVin0=" + value + "\nhsR1val0=" + value +
                                "\noptMode20=" + value + "\nfrmTop=" + value + "\nRLo=3\n"));
    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QCOMPARE(t.text("txtVin", 0), QStringLiteral("5")); // design text
    QCOMPARE(t.sliderValue("hsR1", 0), std::int16_t(700));
    QCOMPARE(t.optionValue("optMode1", 0), true);
    QCOMPARE(t.top, 1200.0f);
    QCOMPARE(t.assignments.filter(
                 QRegularExpression("^(txtVin\\(0\\)|hsR1\\(0\\)|optMode1\\(0\\)|Top)=")),
             QStringList());
    QCOMPARE(t.text("txtRLo", 0), QStringLiteral("3"));
    QCOMPARE(t.assignments.size(), 40);
}

void TestSettings::corruptStoreRestoresWhatItCan_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("vin0"); // "" when the default must win
    QTest::addColumn<int>("hsR1val1"); // 0 when the default must win

    QRandomGenerator random(20240611);
    QByteArray garbage(64 * 1024, '\0');
    random.fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
    // Garbage may hold quotes that span lines; a line break and a fresh header end its reach
    // only if its quotes happen to pair up, so entries are put in front of it.
    const QByteArray good = "[Properties]\nVin0=7.5\nhsR1val1=99\n";

    QTest::newRow("binary garbage") << garbage << "" << 0;
    QTest::newRow("entries, then binary garbage") << good + garbage << "7.5" << 99;
    QTest::newRow("NUL bytes in lines") << bytes("[Properties]\nVin0=7\0.5\nhs\0=1\nhsR1val1=99\n")
                                        << QString("7") + QChar(u'\0') + ".5" << 99;
    QTest::newRow("lines without a value")
        << QByteArray("[Properties]\nnonsense\nVin0=7.5\n[broken\nhsR1val1=99\n") << "7.5" << 0;
    QTest::newRow("unterminated quote")
        << QByteArray("[Properties]\nhsR1val1=99\nVin0=\"7.5\nRLo=1\n") << "7.5\nRLo=1\n"
        << 99;
    QTest::newRow("byte order mark")
        << QByteArray("\xEF\xBB\xBF[Properties]\nVin0=7.5\nhsR1val1=99\n") << "7.5" << 99;
    QTest::newRow("huge file") << good + QByteArray(20 * 1024 * 1024, 'x') << "7.5" << 99;
    QTest::newRow("huge lines") << good + QByteArray(20 * 1024 * 1024, '\n') << "7.5" << 99;
    QTest::newRow("entry after 16 MiB") << good + QByteArray(16 * 1024 * 1024, '\n') + "Vin0=9\n"
                                        << "9" << 99;
}

void TestSettings::corruptStoreRestoresWhatItCan() {
    QFETCH(QByteArray, file);
    QFETCH(QString, vin0);
    QFETCH(int, hsR1val1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, file));

    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QCOMPARE(t.text("txtVin", 0), vin0.isEmpty() ? QStringLiteral("5") : vin0);
    QCOMPARE(t.sliderValue("hsR1", 1), std::int16_t(hsR1val1 ? hsR1val1 : 700));
    QCOMPARE(t.violations, QStringList());

    // A save over it succeeds, and the next start reads what was saved.
    t.texts[FakeSettingsTarget::id("txtVin", 0)] = QStringLiteral("6.5");
    SettingsStore store(path);
    const SaveResult result = SaveMySettings(store, t);
    QVERIFY2(result.ok, qPrintable(result.message()));
    FakeSettingsTarget again;
    GetMySettings(SettingsStore(path), again);
    compareControls(again, t);
}

void TestSettings::saveOverDamagedStoreKeepsTheDamage() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    const QByteArray damaged = "this line is no entry\n[Properties]\nVin0=8\n[Other\nkeep=me\n";
    QVERIFY(writeFile(path, damaged));
    const QString probe = dir.filePath(QStringLiteral("probe.conf"));
    QVERIFY(writeFile(probe, damaged));
    QCOMPARE(QSettings(probe, QSettings::IniFormat).status(), QSettings::FormatError); // premise

    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QCOMPARE(t.text("txtVin", 0), QStringLiteral("8"));
    t.texts[FakeSettingsTarget::id("txtVin", 0)] = QStringLiteral("9");
    SettingsStore store(path);
    const SaveResult result = SaveMySettings(store, t);
    QVERIFY2(result.ok, qPrintable(result.message()));
    QVERIFY(result.reason.isEmpty());

    const QString after = dir.filePath(QStringLiteral("after.conf"));
    QVERIFY(QFile::copy(path, after));
    QSettings qs(after, QSettings::IniFormat);
    QCOMPARE(qs.value(QStringLiteral("Properties/Vin0")).toString(), QStringLiteral("9"));
    QCOMPARE(qs.value(QStringLiteral("Other/keep")).toString(), QStringLiteral("me"));
    // The damage is the user's to mend: nothing of it is dropped.
    const QByteArray saved = readFile(path);
    QVERIFY(saved.startsWith("this line is no entry\n[Properties]\nVin0=9\n"));
    QVERIFY(saved.endsWith("\n[Other\nkeep=me\n"));
}

void TestSettings::saveKeepsEntriesItDoesNotOwn() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, "top=1\n"
                            "[Properties]\n"
                            "Vin0=old\n"
                            "comment=\"a;b\" ; kept\n"
                            "Extra=1, 2\n"
                            "VIN0=older\n"
                            "[Window]\n"
                            "geometry=@ByteArray(\\x1\\x2)\n"
                            "[Properties]\n"
                            "Later=x\\\r\ny\n"
                            "Odd=a\\\r\r"
                            "Next=2\n"));
    FakeSettingsTarget t;
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, t));

    const QString copy = dir.filePath(QStringLiteral("copy.conf"));
    QVERIFY(QFile::copy(path, copy));
    QSettings qs(copy, QSettings::IniFormat);
    QCOMPARE(qs.status(), QSettings::NoError);
    QVERIFY(readFile(path).contains("\ncomment=\"a;b\" ; kept\n"));
    QCOMPARE(qs.value("top"), QVariant("1"));
    QCOMPARE(qs.value("Properties/comment"), QVariant("a;b"));
    QCOMPARE(qs.value("Properties/Extra"), QVariant(QStringList{"1", "2"}));
    QCOMPARE(qs.value("Window/geometry"), QVariant(QByteArray("\x1\x2")));
    QCOMPARE(qs.value("Properties/Later"), QVariant("xy"));
    QCOMPARE(qs.value("Properties/Odd"), QVariant("a"));
    QCOMPARE(qs.value("Properties/Next"), QVariant("2"));
    QCOMPARE(qs.value("Properties/Vin0"), QVariant("5"));
    qs.beginGroup("Properties");
    QCOMPARE(qs.childKeys().size(), 44 + 6); // "VIN0" too, which QSettings tells from "Vin0"
    QCOMPARE(qs.value("VIN0"), QVariant("5"));
}

void TestSettings::saveThatCannotCreateTheFileFails_data() {
    QTest::addColumn<QString>("storeRelative"); // the store's path inside the test folder
    QTest::addColumn<QString>("reasonPart");
    QTest::newRow("a file where the folder should be") << "Kestrelon/Kestrelon.conf"
                                                       << "Kestrelon is a file";
    QTest::newRow("a file where a parent folder should be") << "Kestrelon/sub/Kestrelon.conf"
                                                            << "Kestrelon is a file";
    QTest::newRow("a folder where the file should be") << "old.conf/Kestrelon.conf"
                                                       << "folder";
}

void TestSettings::saveThatCannotCreateTheFileFails() {
    QFETCH(QString, storeRelative);
    QFETCH(QString, reasonPart);
    QTemporaryDir dir;
    // "Kestrelon" is a regular file holding an old store; "old.conf/Kestrelon.conf" a folder.
    const QString blocker = dir.filePath(QStringLiteral("Kestrelon"));
    const QByteArray old = "[Properties]\nVin0=old\n";
    QVERIFY(writeFile(blocker, old));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("old.conf/Kestrelon.conf")));
    const QStringList entriesBefore = dirEntries(dir.path());

    const QString path = dir.filePath(storeRelative);
    FakeSettingsTarget t;
    setEveryControl(t);
    SettingsStore store(path);
    const SaveResult result = SaveMySettings(store, t);

    QVERIFY(!result.ok);
    QVERIFY(!result);
    QCOMPARE(result.filePath, path);
    QVERIFY2(result.reason.contains(reasonPart), qPrintable(result.reason));
    QVERIFY(result.message().contains(QDir::toNativeSeparators(path)));
    QVERIFY(result.message().contains(result.reason));
    QCOMPARE(readFile(blocker), old);
    QCOMPARE(dirEntries(dir.path()), entriesBefore);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("old.conf/Kestrelon.conf"))).isDir());
}

void TestSettings::saveReplacesTheFileWhole() {
    // A second name for the old file keeps the old content: the store is replaced by a new file,
    // never rewritten in place, so a crash halfway cannot leave a mixture.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    const QByteArray old = "[Properties]\nVin0=old\n";
    QVERIFY(writeFile(path, old));
    const QString link = dir.filePath(QStringLiteral("link.conf"));
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);

    FakeSettingsTarget t;
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, t));
    QCOMPARE(readFile(link), old);
    QVERIFY(readFile(path).contains("\nVin0=5\n"));
    QCOMPARE(dirEntries(dir.path()), (QStringList{"Kestrelon.conf", "link.conf"}));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
