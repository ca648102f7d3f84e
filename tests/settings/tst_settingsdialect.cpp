// The store reads a file as QSettings reads it, and QSettings reads what the store writes.
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

using kestrelon::GetMySettings;
using kestrelon::SettingsStore;
using storefiles::readFile;
using storefiles::writeFile;

namespace {

// Every entry of a file as QSettings reads it. Listing the keys first makes QSettings parse the
// whole file: looked up one by one, a top-level "Properties\\key" entry is found or not depending
// on what was looked up before.
QMap<QString, QVariant> qsettingsEntries(const QString& path) {
    QSettings settings(path, QSettings::IniFormat);
    QMap<QString, QVariant> entries;
    const QStringList keys = settings.allKeys();
    for (const QString& key : keys) {
        if (!key.isEmpty()) // QSettings lists an empty key but refuses to look it up
            entries.insert(key, settings.value(key));
    }
    return entries;
}

// Whether QSettings finds fault with a file; it knows only once it has parsed it, and a path it
// has parsed before must not be passed.
QSettings::Status qsettingsStatus(const QString& path) {
    QSettings settings(path, QSettings::IniFormat);
    settings.allKeys();
    return settings.status();
}

} // namespace

class TestSettingsDialect : public QObject {
    Q_OBJECT

private slots:
    void groupsAndKeysReadAsQSettingsReadsThem_data();
    void groupsAndKeysReadAsQSettingsReadsThem();
    void typedLookalikesReadAsQSettingsReadsThem_data();
    void typedLookalikesReadAsQSettingsReadsThem();
    void qsettingsReadsWhatIsWritten_data();
    void qsettingsReadsWhatIsWritten();
    void readerAgreesWithQSettingsOnRandomFiles();
};

void TestSettingsDialect::groupsAndKeysReadAsQSettingsReadsThem_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("vin0"); // as QSettings reads it, "" when it finds none
    QTest::newRow("mark before a later header")
        << QByteArray("[Properties]\nVin0=7\n\xEF\xBB\xBF[Other]\nVin0=9\n") << "9";
    QTest::newRow("mark before the group's header")
        << QByteArray("[Other]\nx=1\n\xEF\xBB\xBF[Properties]\nVin0=7\n") << "";
    QTest::newRow("doubled mark opening the file")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[Properties]\nVin0=7\n") << "";
    QTest::newRow("mark opening the file")
        << QByteArray("\xEF\xBB\xBF[Properties]\nVin0=7\n") << "7";
    QTest::newRow("mark before a key") << QByteArray("[Properties]\n\xEF\xBB\xBFVin0=7\n") << "7";
    QTest::newRow("doubled mark before a key")
        << QByteArray("[Properties]\n\xEF\xBB\xBF\xEF\xBB\xBFVin0=7\n") << "";
    QTest::newRow("mark and blank before a key")
        << QByteArray("[Properties]\n\xEF\xBB\xBF Vin0=7\n") << "";
    QTest::newRow("mark in the group's name")
        << QByteArray("[\xEF\xBB\xBFProperties]\nVin0=7\n") << "7";
    QTest::newRow("escaped equals sign in the key")
        << QByteArray("[Properties]\nVin0\\=x=7\nVin0=8\n") << "8";
}

void TestSettingsDialect::groupsAndKeysReadAsQSettingsReadsThem() {
    QFETCH(QByteArray, file);
    QFETCH(QString, vin0);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, file));
    const QMap<QString, QVariant> theirs = qsettingsEntries(path);
    QCOMPARE(theirs.value(QStringLiteral("Properties/Vin0")).toString(), vin0); // premise
    const SettingsStore ours(path);
    for (const kestrelon::SettingsEntry& entry : kestrelon::settingsEntries()) {
        const QString key = QString::fromLatin1(entry.key);
        const QVariant value = theirs.value("Properties/" + key, QStringLiteral("<none>"));
        QCOMPARE(ours.getSetting(key, QStringLiteral("<none>")), value.toString());
    }
}

void TestSettingsDialect::typedLookalikesReadAsQSettingsReadsThem_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("text"); // QSettings reads a string
    QTest::newRow("rectangle of two") << QByteArray("@Rect(1 2)") << true;
    QTest::newRow("size of one") << QByteArray("@Size(1)") << true;
    QTest::newRow("point of three") << QByteArray("@Point(1 2 3)") << true;
    QTest::newRow("size with doubled blanks") << QByteArray("@Size( 1  2 )") << true;
    QTest::newRow("empty rectangle") << QByteArray("@Rect()") << true;
    QTest::newRow("rectangle of four") << QByteArray("@Rect(1 2 3 4)") << false;
    QTest::newRow("point of two") << QByteArray("@Point(1.5 2)") << false;
    QTest::newRow("variant: string by number")
        << QByteArray("@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0h\\0i)") << true;
    QTest::newRow("variant: string by name")
        << QByteArray("@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\bQString\\0\\0\\0\\0\\x2\\0x)") << true;
    QTest::newRow("variant: string's name alone")
        << QByteArray("@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQString)") << true;
    QTest::newRow("variant: string cut short")
        << QByteArray("@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0h)") << true;
    QTest::newRow("variant: number") << QByteArray("@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)") << false;
    QTest::newRow("variant: unknown name")
        << QByteArray("@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x4QFoo)") << false;
    QTest::newRow("invalid with content") << QByteArray("@Invalid(x)") << true;
    QTest::newRow("date and time") << QByteArray("@DateTime(x)") << false;
}

void TestSettingsDialect::typedLookalikesReadAsQSettingsReadsThem() {
    QFETCH(QByteArray, value);
    QFETCH(bool, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, "[Properties]\nVin0=" + value + "\n"));
    const QVariant theirs = qsettingsEntries(path).value(QStringLiteral("Properties/Vin0"));
    QCOMPARE(theirs.typeId() == QMetaType::QString, text); // premise
    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QCOMPARE(t.text("txtVin", 0), text ? theirs.toString() : QStringLiteral("5"));
}

void TestSettingsDialect::qsettingsReadsWhatIsWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("mark first") << QStringLiteral("\uFEFF5");
    QTest::newRow("mark alone") << QStringLiteral("\uFEFF");
    QTest::newRow("mark then a hex digit") << QStringLiteral("\uFEFFa");
    QTest::newRow("mark after an escape") << QStringLiteral("\t\uFEFF1");
    QTest::newRow("mark in quotes") << QStringLiteral("\uFEFF1, 2");
    QTest::newRow("mark after a blank") << QStringLiteral(" \uFEFF");
}

void TestSettingsDialect::qsettingsReadsWhatIsWritten() {
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    SettingsStore store(path);
    store.saveSetting(u"Vin0", text);
    QVERIFY(store.commit());
    QCOMPARE(qsettingsEntries(path).value(QStringLiteral("Properties/Vin0")), QVariant(text));
    QCOMPARE(SettingsStore(path).getSetting(u"Vin0", {}), text);
}

void TestSettingsDialect::readerAgreesWithQSettingsOnRandomFiles() {
    // Hand-edited files in every shape: each entry this store reads must read as QSettings reads
    // it, and a save must keep every entry it does not own as QSettings read it.
    static const QByteArray headers[] = {
        "[Properties]",     "[Other]", "[General]",           "[Other",
        "[Prop%65rties] x", "[]",      "\xEF\xBB\xBF[Other]", "\xEF\xBB\xBF[Properties]"};
    static const QByteArray keyPieces[] = {"Vin0", "vin0",        "RLo", "k",  " ", "Properties\\",
                                           "%41",  "%U0041",      "\\",  "\"", "#", "\xc3\xa9",
                                           "=",    "\xEF\xBB\xBF"};
    static const QByteArray valuePieces[] = {" ",
                                             " ",
                                             "\t",
                                             ";",
                                             "\"",
                                             "\"",
                                             "\\",
                                             "\\",
                                             ",",
                                             ",",
                                             "@",
                                             "@@",
                                             "@String(",
                                             ")",
                                             "x",
                                             "7",
                                             "0",
                                             "\\x4",
                                             "\\0",
                                             "\\12",
                                             "%41",
                                             "\xc3\xa9",
                                             "\xe2\x82",
                                             "\xff",
                                             "\\n",
                                             "\\\n",
                                             "\\\r",
                                             "=",
                                             "\x01",
                                             "\xEF\xBB\xBF",
                                             "@Rect(1 2)",
                                             "@Size(1 2)",
                                             "@Point(1 2 3)",
                                             "@Variant(",
                                             "\\0\\0\\0\\n\\0\\0\\0\\x2\\0x"};
    static const QByteArray lineEnds[] = {"\n", "\n", "\r\n", "\r", " ; note\n", ""};
    const auto pick = [](QRandomGenerator& random, const auto& from) {
        return from[random.bounded(int(std::size(from)))];
    };
    // QSettings lists keys such as "Properties//x" but looks them up as "Properties/x".
    const auto reachable = [](const QString& key) {
        return !key.endsWith(u'/') && !key.startsWith(u'/') && !key.contains(QStringLiteral("//"));
    };
    const quint32 seed = qEnvironmentVariableIsSet("KESTRELON_FUZZ_SEED")
                             ? quint32(qEnvironmentVariableIntValue("KESTRELON_FUZZ_SEED"))
                             : 7;
    qInfo("random files from seed %u (replay with KESTRELON_FUZZ_SEED=%u)", seed, seed);
    QRandomGenerator random(seed);
    // In memory where it can be: the files are about the format, and syncing each to a disk would
    // take most of the time.
    QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/kestrelon-fuzz-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/kestrelon-fuzz-XXXXXX"));
    int compared = 0;
    int preserved = 0;
    for (int n = 0; n < 400; ++n) {
        QByteArray file = random.bounded(10) == 0 ? "\xEF\xBB\xBF" : "";
        file += random.bounded(10) < 7 ? "[Properties]\n" : "";
        for (int lines = random.bounded(1, 10); lines > 0; --lines) {
            if (random.bounded(8) == 0) {
                file += pick(random, headers);
            } else {
                for (int i = random.bounded(1, 4); i > 0; --i)
                    file += pick(random, keyPieces);
                file += '=';
                for (int i = random.bounded(0, 8); i > 0; --i)
                    file += pick(random, valuePieces);
            }
            file += pick(random, lineEnds);
        }
        const QString context = QString::fromLatin1(file.toPercentEncoding());
        const QString path = dir.filePath(QStringLiteral("f%1.conf").arg(n));
        QVERIFY(writeFile(path, file));

        const QMap<QString, QVariant> before = qsettingsEntries(path);
        QStringList keys; // the group's keys, without those that differ only in case
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (it.key().startsWith(QStringLiteral("Properties/")))
                keys << it.key().sliced(11);
        }
        SettingsStore ours(path);
        // Each of the store's keys that QSettings does not find in the group reads as missing.
        for (const kestrelon::SettingsEntry& entry : kestrelon::settingsEntries()) {
            const QString key = QString::fromLatin1(entry.key);
            if (keys.filter(QRegularExpression("^" + key + "$",
                                               QRegularExpression::CaseInsensitiveOption))
                    .isEmpty())
                QVERIFY2(ours.getSetting(key, QStringLiteral("<none>")) == QStringLiteral("<none>"),
                         qPrintable(QStringLiteral("key %1 of %2").arg(key, context)));
        }
        for (const QString& key : std::as_const(keys)) {
            if (!reachable("Properties/" + key) ||
                keys.filter(QRegularExpression("^" + QRegularExpression::escape(key) + "$",
                                               QRegularExpression::CaseInsensitiveOption))
                        .size() > 1)
                continue;
            const QVariant value = before.value("Properties/" + key);
            const std::optional<QString> text = ours.getSetting(key, QStringLiteral("<none>"));
            const QString where = QStringLiteral("key %1 of %2").arg(key, context);
            if (value.typeId() == QMetaType::QString) {
                // Qt's decoder mends invalid UTF-8 in its own way, which is not this store's.
                if (text && text->contains(QChar::ReplacementCharacter))
                    continue;
                QVERIFY2(text && *text == value.toString(), qPrintable(where));
                ++compared;
            } else if (value.typeId() != QMetaType::QStringList &&
                       value.typeId() != QMetaType::QVariantList) {
                QVERIFY2(!text, qPrintable(where));
            }
        }

        // Save one entry; QSettings must read the result as it read the file before.
        const QString beforeCopy = dir.filePath(QStringLiteral("b%1.conf").arg(n));
        QVERIFY(QFile::copy(path, beforeCopy));
        const QSettings::Status statusBefore = qsettingsStatus(beforeCopy);
        ours.saveSetting(u"Vin0", QStringLiteral("saved, \"7\""));
        QVERIFY(ours.commit());
        // A second save of the same text changes nothing more.
        const QByteArray saved = readFile(path);
        QVERIFY(SettingsStore(path).getSetting(u"Vin0", {}) == QStringLiteral("saved, \"7\""));
        SettingsStore again(path);
        again.saveSetting(u"Vin0", QStringLiteral("saved, \"7\""));
        QVERIFY(again.commit());
        QVERIFY2(readFile(path) == saved, qPrintable(context));
        const QString savedCopy = dir.filePath(QStringLiteral("s%1.conf").arg(n));
        QVERIFY(QFile::copy(path, savedCopy));
        QCOMPARE(qsettingsStatus(savedCopy), statusBefore);
        const QMap<QString, QVariant> after = qsettingsEntries(savedCopy);
        // Every spelling of the key that the file holds now holds the saved text.
        QCOMPARE(SettingsStore(path).getSetting(u"Vin0", {}), QStringLiteral("saved, \"7\""));
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            if (reachable(it.key()) &&
                it.key().compare(QStringLiteral("Properties/Vin0"), Qt::CaseInsensitive) == 0)
                QCOMPARE(it.value().toString(), QStringLiteral("saved, \"7\""));
        }

        // A file that ends inside quotes loses its last entry; any other entry must read as
        // before.
        const QString probePath = dir.filePath(QStringLiteral("p%1.conf").arg(n));
        QVERIFY(writeFile(probePath, file + "\n[zzprobe]\nzz=1\n"));
        if (!qsettingsEntries(probePath).contains(QStringLiteral("zzprobe/zz")))
            continue;
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (!reachable(it.key()) ||
                it.key().compare(QStringLiteral("Properties/Vin0"), Qt::CaseInsensitive) == 0)
                continue;
            QVERIFY2(after.contains(it.key()) && after.value(it.key()) == it.value(),
                     qPrintable(QStringLiteral("key %1 of %2").arg(it.key(), context)));
            ++preserved;
        }
    }
    QVERIFY2(compared > 200, qPrintable(QString::number(compared)));
    QVERIFY2(preserved > 200, qPrintable(QString::number(preserved)));
}

QTEST_GUILESS_MAIN(TestSettingsDialect)
#include "tst_settingsdialect.moc"
