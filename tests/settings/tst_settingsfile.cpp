// The store's file as users keep it: edited by hand, large, odd, owned by someone else, or not a
// file at all.
#include "fakesettingstarget.h"
#include "mysettings.h"
#include "settingsentries.h"
#include "settingsstore.h"
#include "storefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using kestrelon::GetMySettings;
using kestrelon::SaveMySettings;
using kestrelon::SaveResult;
using kestrelon::SettingsStore;
using namespace storefiles;

namespace {

// "key=text" pairs, staged and committed in one save.
SaveResult saveEntries(const QString& path, const QStringList& entries) {
    SettingsStore store(path);
    for (const QString& entry : entries) {
        const qsizetype equals = entry.indexOf(u'=');
        store.saveSetting(QStringView(entry).first(equals), entry.sliced(equals + 1));
    }
    return store.commit();
}

QString storeText(const QString& path, const char* key) {
    return SettingsStore(path)
        .getSetting(QString::fromLatin1(key), QStringLiteral("<none>"))
        .value_or(QStringLiteral("<not text>"));
}

QString unicode(std::initializer_list<char16_t> units) {
    QString text;
    for (const char16_t u : units)
        text += QChar(u);
    return text;
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void saveChangesOnlyItsOwnEntries_data();
    void saveChangesOnlyItsOwnEntries();
    void handEditedFilesRead_data();
    void handEditedFilesRead();
    void largeFileIsReadAndKeptWhole();
    void specialFileIsNeitherReadNorReplaced_data();
    void specialFileIsNeitherReadNorReplaced();
    void fileSizeLimitFailsTheSaveWithAReport_data();
    void fileSizeLimitFailsTheSaveWithAReport();
    void saveKeepsModeAndOwner_data();
    void saveKeepsModeAndOwner();
    void readOnlyFileIsNotReplaced();
    void randomHandEditedFilesKeepEveryOtherByte();
};

void TestSettingsFile::saveChangesOnlyItsOwnEntries_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<QByteArray>("after");
    const QStringList vin6 = {"Vin0=6"};
    const QStringList vin6rlo2 = {"Vin0=6", "RLo=2"};
    QTest::newRow("comments, whole-line and trailing")
        << QByteArray("; my notes\n[Properties]\n; about the signal\nVin0=5 ; keep 7 V\n"
                      "RLo=0;x\n\n[Other]\nx=1 ; note\n")
        << vin6rlo2
        << QByteArray("; my notes\n[Properties]\n; about the signal\nVin0=6 ; keep 7 V\n"
                      "RLo=2;x\n\n[Other]\nx=1 ; note\n");
    QTest::newRow("lower-case group")
        << QByteArray("[properties]\nvin0=5\n") << vin6 << QByteArray("[properties]\nvin0=6\n");
    QTest::newRow("group given twice, keys in any case")
        << QByteArray("[Properties]\nVin0=1\nVIN0=2\n[Other]\nVin0=9\n[PROPERTIES]\n  vin0 = 3\n")
        << vin6
        << QByteArray("[Properties]\nVin0=6\nVIN0=6\n[Other]\nVin0=9\n[PROPERTIES]\n  vin0 = 6\n");
    QTest::newRow("blanks around the value stay")
        << QByteArray("[Properties]\nVin0 = 7\nRLo =\t0 ; c\n") << vin6rlo2
        << QByteArray("[Properties]\nVin0 = 6\nRLo =\t2 ; c\n");
    QTest::newRow("missing key at the group's end")
        << QByteArray("[Properties]\nVin0=5\n\n; the rest\n[Other]\nx=1\n") << vin6rlo2
        << QByteArray("[Properties]\nVin0=6\nRLo=2\n\n; the rest\n[Other]\nx=1\n");
    QTest::newRow("no group") << QByteArray("; mine\n[Other]\nx=1\n") << vin6
                              << QByteArray("; mine\n[Other]\nx=1\n\n[Properties]\nVin0=6\n");
    QTest::newRow("empty file") << QByteArray() << vin6 << QByteArray("[Properties]\nVin0=6\n");
    QTest::newRow("CRLF line ends")
        << QByteArray("[Properties]\r\nVin0=5\r\n\r\n[Other]\r\nx=1\r\n") << vin6rlo2
        << QByteArray("[Properties]\r\nVin0=6\r\nRLo=2\r\n\r\n[Other]\r\nx=1\r\n");
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[Properties]\nVin0=5\n") << vin6
                                     << QByteArray("\xEF\xBB\xBF[Properties]\nVin0=6\n");
    // Only the file's opening mark is one; anywhere else it is a character of the line.
    QTest::newRow("stray byte order mark before the header")
        << QByteArray("\n\xEF\xBB\xBF[Properties]\nVin0=5\n") << vin6
        << QByteArray("\n\xEF\xBB\xBF[Properties]\nVin0=5\n\n[Properties]\nVin0=6\n");
    QTest::newRow("byte order mark before another header")
        << QByteArray("[Properties]\nVin0=7\n\xEF\xBB\xBF[Other]\nVin0=9\n") << vin6
        << QByteArray("[Properties]\nVin0=6\n\xEF\xBB\xBF[Other]\nVin0=6\n");
    QTest::newRow("byte order mark before the group's header after another")
        << QByteArray("[Other]\nx=1\n\xEF\xBB\xBF[Properties]\nVin0=7\n") << vin6
        << QByteArray("[Other]\nx=1\n\xEF\xBB\xBF[Properties]\nVin0=7\n\n[Properties]\nVin0=6\n");
    QTest::newRow("doubled byte order mark")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[Properties]\nVin0=5\n") << vin6
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[Properties]\nVin0=5\n\n[Properties]\nVin0=6\n");
    QTest::newRow("invalid UTF-8 elsewhere")
        << QByteArray("[Other]\nx=caf\xC3\n[Properties]\nVin0=\xFF\n") << vin6
        << QByteArray("[Other]\nx=caf\xC3\n[Properties]\nVin0=6\n");
    QTest::newRow("no line break at the end") << QByteArray("[Properties]\nVin0=5") << vin6rlo2
                                              << QByteArray("[Properties]\nVin0=6\nRLo=2\n");
    QTest::newRow("value continued on the next line")
        << QByteArray("[Properties]\nVin0=1\\\n2\nRLo=0\n") << vin6rlo2
        << QByteArray("[Properties]\nVin0=6\nRLo=2\n");
    QTest::newRow("quotes left open at the end")
        << QByteArray("[Other]\nx=\"a\nb") << vin6
        << QByteArray("[Other]\nx=\"a\nb\"\n\n[Properties]\nVin0=6\n");
    QTest::newRow("continuation at the end")
        << QByteArray("[Other]\nx=a\\") << vin6
        << QByteArray("[Other]\nx=a\\\n\n\n[Properties]\nVin0=6\n");
}

void TestSettingsFile::saveChangesOnlyItsOwnEntries() {
    QFETCH(QByteArray, before);
    QFETCH(QStringList, saved);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, before));

    const SaveResult result = saveEntries(path, saved);
    QVERIFY2(result.ok, qPrintable(result.message()));
    QCOMPARE(readFile(path), after);
    for (const QString& entry : std::as_const(saved)) {
        const QByteArray key = entry.section(u'=', 0, 0).toLatin1();
        QCOMPARE(storeText(path, key.constData()), entry.section(u'=', 1));
    }
}

void TestSettingsFile::handEditedFilesRead_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("vin0"); // chip #1's signal-voltage box after the restore
    const QString replacement(QChar(0xFFFD));
    QTest::newRow("lower-case group") << QByteArray("[properties]\nVin0=9\n") << "9";
    QTest::newRow("upper-case group") << QByteArray("[PROPERTIES]\nVin0=9\n") << "9";
    QTest::newRow("escaped group name") << QByteArray("[Prop%65rties]\nVin0=9\n") << "9";
    QTest::newRow("byte order mark at the start")
        << QByteArray("\xEF\xBB\xBF[Properties]\nVin0=9\n") << "9";
    QTest::newRow("byte order mark after a blank line")
        << QByteArray("\n\xEF\xBB\xBF[Properties]\nVin0=9\n") << "5";
    QTest::newRow("byte order mark before a key")
        << QByteArray("[Properties]\n\xEF\xBB\xBFVin0=9\n") << "9";
    QTest::newRow("U+FEFF starting the value") << QByteArray("[Properties]\nVin0=\xEF\xBB\xBF"
                                                             "5\n")
                                               << "5";
    QTest::newRow("U+FEFF alone") << QByteArray("[Properties]\nVin0=\xEF\xBB\xBF\n") << "";
    QTest::newRow("cut sequence at the end")
        << QByteArray("[Properties]\nVin0=caf\xC3\n") << "caf" + replacement;
    QTest::newRow("cut sequence in the middle")
        << QByteArray("[Properties]\nVin0=caf\xC3x\n") << "caf" + replacement + "x";
    QTest::newRow("cut three-byte sequence at the end")
        << QByteArray("[Properties]\nVin0=a\xE2\x82\n") << "a" + replacement;
    QTest::newRow("cut three-byte sequence before a quote")
        << QByteArray("[Properties]\nVin0=a\xE2\x82\"b\"\n") << "a" + replacement + "b";
    QTest::newRow("lone FF") << QByteArray("[Properties]\nVin0=a\xFF\n") << "a" + replacement;
    QTest::newRow("two invalid bytes")
        << QByteArray("[Properties]\nVin0=\xFF\xFE\n") << replacement + replacement;
    QTest::newRow("encoded surrogate") << QByteArray("[Properties]\nVin0=\xED\xA0\x80\n")
                                       << replacement + replacement + replacement;
    QTest::newRow("overlong slash")
        << QByteArray("[Properties]\nVin0=\xC0\xAF\n") << replacement + replacement;
    QTest::newRow("valid four-byte sequence")
        << QByteArray("[Properties]\nVin0=\xF0\x9F\x98\x80\n") << QStringLiteral("\U0001F600");
}

void TestSettingsFile::handEditedFilesRead() {
    QFETCH(QByteArray, file);
    QFETCH(QString, vin0);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, file));
    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QCOMPARE(t.text("txtVin", 0), vin0);

    // A save writes the text as read, in valid UTF-8, and the next start reads the same.
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, t));
    const QByteArray saved = readFile(path);
    // One header that reads as the group: a marked one is no header unless it opens the file.
    QCOMPARE(saved.toLower().count("[prop") - saved.toLower().count("\n\xef\xbb\xbf[prop"), 1);
    const qsizetype valueStart = saved.toLower().indexOf("\nvin0=") + 6;
    const QByteArray value = saved.mid(valueStart, saved.indexOf('\n', valueStart) - valueStart);
    QVERIFY2(QUtf8StringView(value).isValidUtf8(), value.toHex().constData());
    FakeSettingsTarget again;
    GetMySettings(SettingsStore(path), again);
    QCOMPARE(again.text("txtVin", 0), vin0);
}

void TestSettingsFile::largeFileIsReadAndKeptWhole() {
    // Larger than any limit a reader might set for a file that is normally 1 KiB.
    QByteArray filler;
    for (int i = 0; filler.size() < 17 * 1024 * 1024; ++i)
        filler += "key" + QByteArray::number(i) + "=a value that fills the file\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));

    // The group first, then a large other group: a save must keep all of it.
    const QByteArray groupFirst = "[Properties]\nVin0=7\n[Other]\n" + filler + "last=line\n";
    QVERIFY(writeFile(path, groupFirst));
    QCOMPARE(saveEntries(path, {"Vin0=8"}).ok, true);
    QByteArray expected = groupFirst;
    expected.replace("Vin0=7", "Vin0=8");
    QVERIFY(readFile(path) == expected); // QCOMPARE would print 17 MiB

    // The group after the large one: it is read, and the save changes it in place.
    const QByteArray groupLast = "[Other]\n" + filler + "[Properties]\nVin0=7\nhsR1val0=99\n";
    QVERIFY(writeFile(path, groupLast));
    FakeSettingsTarget t;
    GetMySettings(SettingsStore(path), t);
    QCOMPARE(t.text("txtVin", 0), QStringLiteral("7"));
    QCOMPARE(t.sliderValue("hsR1", 0), std::int16_t(99));
    SettingsStore store(path);
    QVERIFY(SaveMySettings(store, t));
    const QByteArray saved = readFile(path);
    QVERIFY(saved.startsWith("[Other]\n" + filler + "[Properties]\nVin0=7\nhsR1val0=99\n"));
    QCOMPARE(saved.count("[Properties]"), 1);
}

void TestSettingsFile::specialFileIsNeitherReadNorReplaced_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << "fifo";
    QTest::newRow("socket") << "socket";
    QTest::newRow("endless device") << "device";
    QTest::newRow("link to an endless device") << "device link";
}

void TestSettingsFile::specialFileIsNeitherReadNorReplaced() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    const QByteArray name = QFile::encodeName(path);
    int socketFd = -1;
    if (kind == "fifo") {
        QCOMPARE(mkfifo(name.constData(), 0600), 0);
    } else if (kind == "socket") {
        socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(std::size_t(name.size()) < sizeof(address.sun_path));
        qstrcpy(address.sun_path, name.constData());
        QCOMPARE(bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    } else {
        // A device node of its own: a store that wrongly replaced it must not hit the system's.
        if (geteuid() != 0)
            QSKIP("making a device node needs root; CI runs this as root");
        const QByteArray node = kind == "device" ? name : name + ".dev";
        QCOMPARE(mknod(node.constData(), S_IFCHR | 0666, makedev(1, 5)), 0); // like /dev/zero
        if (node != name)
            QCOMPARE(symlink(node.constData(), name.constData()), 0);
    }
    const auto typeOf = [&name] {
        struct stat st {};
        return stat(name.constData(), &st) == 0 ? int(st.st_mode & S_IFMT) : -1;
    };
    const int typeBefore = typeOf();

    // In a child, so that a reader that blocks fails the test instead of stalling it.
    const ChildEnd end = runInChild([&path] {
        FakeSettingsTarget t;
        GetMySettings(SettingsStore(path), t);
        if (t.text("txtVin", 0) != QStringLiteral("5") || t.sliderValue("vsR2", 0) != 360)
            return 2; // not the defaults
        SettingsStore store(path);
        const SaveResult result = SaveMySettings(store, t);
        if (result.ok)
            return 3;
        return result.message().contains(QDir::toNativeSeparators(path)) ? 0 : 4;
    });
    if (socketFd >= 0)
        close(socketFd);
    QVERIFY2(!end.timedOut, "reading or saving blocked");
    QCOMPARE(end.signal, 0);
    QCOMPARE(end.exitCode, 0);
    QCOMPARE(typeOf(), typeBefore);
    const QStringList expected{"Kestrelon.conf", "Kestrelon.conf.dev"};
    QCOMPARE(QDir(dir.path())
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden),
             expected.mid(0, kind == "device link" ? 2 : 1));
}

void TestSettingsFile::fileSizeLimitFailsTheSaveWithAReport_data() {
    QTest::addColumn<int>("textLength"); // of chip #1's signal-voltage box
    QTest::addColumn<int>("limit");      // bytes a file may have
    QTest::newRow("ordinary store") << 3 << 256;
    QTest::newRow("long text") << 64 * 1024 << 8 * 1024;
}

void TestSettingsFile::fileSizeLimitFailsTheSaveWithAReport() {
    // A file-size limit makes the write fail, as a full disk does; root is no exception. The
    // limit stays in the child, which ignores its signal as the program does.
    QFETCH(int, textLength);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    FakeSettingsTarget t;
    QVERIFY(saveEntries(path, {"Vin0=old"}).ok);
    const QByteArray old = readFile(path);
    t.texts[FakeSettingsTarget::id("txtVin", 0)] = QString(textLength, u'7');

    SettingsStore store(path);
    const ChildEnd end = runInChild([&] {
        rlimit limited{};
        getrlimit(RLIMIT_FSIZE, &limited);
        limited.rlim_cur = rlim_t(limit);
        if (setrlimit(RLIMIT_FSIZE, &limited) != 0)
            return 2;
        std::signal(SIGXFSZ, SIG_IGN);
        const SaveResult result = SaveMySettings(store, t);
        if (result.ok)
            return 3;
        return result.message().contains(QStringLiteral("File too large")) ? 0 : 4;
    });
    QVERIFY(!end.timedOut);
    QCOMPARE(end.signal, 0);
    QCOMPARE(end.exitCode, 0);
    QCOMPARE(readFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Kestrelon.conf"});

    // Without the limit the same store object saves.
    QVERIFY(SaveMySettings(store, t));
    FakeSettingsTarget restored;
    GetMySettings(SettingsStore(path), restored);
    QCOMPARE(restored.text("txtVin", 0), t.text("txtVin", 0));
}

void TestSettingsFile::saveKeepsModeAndOwner_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("otherOwner"); // owned by another user and group: needs root
    QTest::newRow("private") << 0600 << false;
    QTest::newRow("group may read") << 0640 << false;
    QTest::newRow("everyone may write") << 0666 << false;
    QTest::newRow("another user's private file") << 0600 << true;
    QTest::newRow("another user's shared file") << 0664 << true;
}

void TestSettingsFile::saveKeepsModeAndOwner() {
    QFETCH(int, mode);
    QFETCH(bool, otherOwner);
    if (otherOwner && geteuid() != 0)
        QSKIP("changing a file's owner needs root; CI runs this as root");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    const QByteArray name = QFile::encodeName(path);
    QVERIFY(writeFile(path, "[Properties]\nVin0=5\n"));
    const uid_t uid = otherOwner ? 4321 : geteuid();
    const gid_t gid = otherOwner ? 8765 : getegid();
    QCOMPARE(chown(name.constData(), uid, gid), 0);
    QCOMPARE(chmod(name.constData(), mode_t(mode)), 0);
    const mode_t oldMask = umask(022);

    const SaveResult result = saveEntries(path, {"Vin0=6"});
    umask(oldMask);
    QVERIFY2(result.ok, qPrintable(result.message()));
    QCOMPARE(readFile(path), QByteArray("[Properties]\nVin0=6\n"));
    struct stat st {};
    QCOMPARE(stat(name.constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 07777), mode);
    QCOMPARE(st.st_uid, uid);
    QCOMPARE(st.st_gid, gid);
}

void TestSettingsFile::readOnlyFileIsNotReplaced() {
    // Root may write any file; a file its user made read-only is still left alone.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    const QByteArray old = "[Properties]\nVin0=5\n";
    QVERIFY(writeFile(path, old));
    QCOMPARE(chmod(QFile::encodeName(path).constData(), 0444), 0);

    const SaveResult result = saveEntries(path, {"Vin0=6"});
    QVERIFY(!result.ok);
    QVERIFY2(result.reason.contains(QStringLiteral("not writable")), qPrintable(result.reason));
    QCOMPARE(readFile(path), old);
    struct stat st {};
    QCOMPARE(stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0444));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Kestrelon.conf"});
}

void TestSettingsFile::randomHandEditedFilesKeepEveryOtherByte() {
    // Each file is built from pieces, so the test knows where the store's entries stand: their
    // values may change, the missing entries may be added at the end of the last of the group's
    // sections (or in a new group at the end), and every other byte must stay as it was.
    static const QByteArray groups[] = {"[Properties]", "[properties]", "[PROPERTIES] ; ours",
                                        "[Other]",      "[Window]",     "\xEF\xBB\xBF[Properties]"};
    static const QByteArray others[] = {"",        "  ",           "; a comment", "# hash",
                                        "x=1",     "Extra = a, b", "Vin00=1",     "vin=\"q;\"",
                                        "bad\xFF", "\xEF\xBB\xBF", "just words",  "k=caf\xC3"};
    static const QByteArray values[] = {
        "5",       "",      "abc", "\xC3",     "\xFF",        " 7 ",         "1, 2",
        "\"a;b\"", "\\x41", "@5",  "\xE2\x82", "caf\xC3\xA9", "\xEF\xBB\xBF"};
    static const QByteArray suffixes[] = {"", "", " ; note", ";x", "\t; tab"};
    static const QByteArray lineEnds[] = {"\n", "\n", "\r\n"};
    static const QString texts[] = {QString(),
                                    QStringLiteral(" lead and trail "),
                                    QStringLiteral("a;b # c"),
                                    QStringLiteral("\"q\" \\ \n\r\t"),
                                    QStringLiteral("@@at"),
                                    QString(QChar(0xFEFF)) + "5",
                                    QStringLiteral("\u200F\u202Eright to left"),
                                    QStringLiteral("\U0001F600"),
                                    QString(QStringLiteral("nul") + QChar(u'\0') + "0"),
                                    unicode({0xD800, u'1'}),
                                    QString(3000, u'x')};
    const auto pick = [](QRandomGenerator& random, const auto& from) {
        return from[random.bounded(int(std::size(from)))];
    };
    const auto entries = kestrelon::settingsEntries();
    const int count = int(entries.size());

    QRandomGenerator random(11);
    QTemporaryDir dir;
    int replacedValues = 0;
    for (int n = 0; n < 300; ++n) {
        // The expected file: literal parts with a value slot between each two.
        QList<QByteArray> parts{{}};
        QList<int> suffixLengths; // of the text that follows each slot on its line
        QByteArray before;
        QByteArray lineBreak;
        std::optional<std::pair<qsizetype, qsizetype>> groupEnd; // part, offset
        QSet<int> present;
        bool inGroup = false;
        for (int lines = random.bounded(0, 25); lines > 0; --lines) {
            const QByteArray end = pick(random, lineEnds);
            if (lineBreak.isEmpty())
                lineBreak = end;
            QByteArray line;
            int what = random.bounded(10);
            if (what == 0) {
                line = pick(random, groups);
                // A byte order mark makes no header of a line but the file's first.
                if (line.startsWith('[') || before.isEmpty())
                    inGroup = line.toLower().contains("[properties]");
                else
                    what = 1;
            } else if (what < 4) {
                line = pick(random, others);
            } else {
                const int k = random.bounded(count);
                QByteArray key = entries[k].key;
                for (char& c : key) {
                    if (QChar::isLetter(c) && random.bounded(3) == 0)
                        c = char(c ^ 0x20); // the key's letters in any case
                }
                const QByteArray head = (random.bounded(4) == 0 ? " " : "") + key +
                                        (random.bounded(4) == 0 ? " =" : "=");
                const QByteArray value = pick(random, values);
                const QByteArray suffix = pick(random, suffixes);
                before += head + value + suffix + end;
                if (!inGroup) {
                    parts.last() += head + value + suffix + end;
                } else {
                    present.insert(k);
                    parts.last() += head;
                    parts.append(suffix + end);
                    suffixLengths.append(int(suffix.size()));
                    groupEnd = {parts.size() - 1, parts.last().size()};
                }
                continue;
            }
            before += line + end;
            parts.last() += line + end;
            if (inGroup && (what == 0 || line.contains('=')))
                groupEnd = {parts.size() - 1, parts.last().size()};
        }
        if (lineBreak.isEmpty())
            lineBreak = "\n";
        const QString path = dir.filePath(QStringLiteral("f%1.conf").arg(n));
        QVERIFY(writeFile(path, before));

        SettingsStore store(path);
        QStringList saved;
        for (int k = 0; k < count; ++k) {
            saved << pick(random, texts);
            store.saveSetting(QString::fromLatin1(entries[k].key), saved.last());
        }
        const SaveResult result = store.commit();
        QVERIFY2(result.ok, qPrintable(result.message()));
        const QByteArray after = readFile(path);
        const QString where = QString::fromLatin1(before.toPercentEncoding());

        // Walks the saved file along the expected parts.
        qsizetype pos = 0;
        const auto expectLiteral = [&](QByteArrayView literal) {
            const bool same = after.sliced(pos).startsWith(literal);
            pos += literal.size();
            return same;
        };
        const auto expectAddedLines = [&] {
            if (!groupEnd &&
                !expectLiteral((before.isEmpty() ? "" : lineBreak) + "[Properties]" + lineBreak))
                return false;
            for (int k = 0; k < count; ++k) {
                if (present.contains(k))
                    continue;
                if (!expectLiteral(QByteArray(entries[k].key) + '='))
                    return false;
                pos = after.indexOf(lineBreak, pos);
                if (pos < 0)
                    return false;
                pos += lineBreak.size();
            }
            return true;
        };
        const auto insertion = groupEnd.value_or(std::pair{parts.size() - 1, parts.last().size()});
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const QByteArray& part = parts[i];
            if (i == insertion.first) {
                QVERIFY2(expectLiteral(part.first(insertion.second)), qPrintable(where));
                QVERIFY2(expectAddedLines(), qPrintable(where));
                QVERIFY2(expectLiteral(part.sliced(insertion.second)), qPrintable(where));
            } else {
                QVERIFY2(expectLiteral(part), qPrintable(where));
            }
            if (i + 1 < parts.size()) { // a value: it ends where its line's suffix begins
                qsizetype lineEnd = pos;
                while (lineEnd < after.size() && after[lineEnd] != '\n' && after[lineEnd] != '\r')
                    ++lineEnd;
                pos = lineEnd - suffixLengths[i];
                ++replacedValues;
            }
        }
        QVERIFY2(pos == after.size(), qPrintable(where));

        SettingsStore reread(path);
        for (int k = 0; k < count; ++k) {
            const std::optional<QString> text =
                reread.getSetting(QString::fromLatin1(entries[k].key), QStringLiteral("<none>"));
            QVERIFY2(
                text == saved[k],
                qPrintable(QStringLiteral("%1 in %2").arg(QLatin1String(entries[k].key), where)));
        }
    }
    QVERIFY2(replacedValues > 400, qPrintable(QString::number(replacedValues)));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
