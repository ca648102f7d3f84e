// How a save reaches the disk: what a crash leaves behind, and what is synced.
#include "settingsstore.h"
#include "storefiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>
#include <vector>

using kestrelon::SettingsStore;
using namespace storefiles;

namespace {

std::vector<struct stat> synced; // what each fsync() reached, in order
bool killAtFileSync = false;     // ends the process as a regular file is synced

} // namespace

// Stands in for the C library's fsync() within this test program.
extern "C" int fsync(int fd) {
    struct stat st {};
    if (fstat(fd, &st) == 0) {
        if (killAtFileSync && S_ISREG(st.st_mode))
            raise(SIGKILL);
        synced.push_back(st);
    }
    using Sync = int (*)(int);
    static const auto real = reinterpret_cast<Sync>(dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

namespace {

bool saveVin0(const QString& path, const QString& text) {
    SettingsStore store(path);
    store.saveSetting(u"Vin0", text);
    return store.commit().ok;
}

QStringList files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestSettingsSave : public QObject {
    Q_OBJECT

private slots:
    void folderIsSyncedAfterTheRename();
    void fileLeftByAKilledSaveIsRemovedLater();
};

void TestSettingsSave::folderIsSyncedAfterTheRename() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    QVERIFY(writeFile(path, "[Properties]\nVin0=5\n"));
    synced.clear();
    QVERIFY(saveVin0(path, QStringLiteral("6")));
    struct stat folder {};
    QCOMPARE(stat(QFile::encodeName(dir.path()).constData(), &folder), 0);
    QVERIFY(synced.size() >= 2);
    QVERIFY(S_ISREG(synced.front().st_mode)); // the new file, before it is renamed
    QCOMPARE(synced.back().st_ino, folder.st_ino);
    QCOMPARE(synced.back().st_dev, folder.st_dev);
}

void TestSettingsSave::fileLeftByAKilledSaveIsRemovedLater() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    const QByteArray old = "[Properties]\nVin0=5\n";
    QVERIFY(writeFile(path, old));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("Kestrelon.conf.backup")), old)); // the user's

    // Killed with the new file complete under its own name, just before the rename.
    const ChildEnd end = runInChild([&path] {
        killAtFileSync = true;
        return saveVin0(path, QStringLiteral("6")) ? 0 : 1;
    });
    QCOMPARE(end.signal, SIGKILL);
    QCOMPARE(readFile(path), old);
    const QStringList left = files(dir.path()).filter(QStringLiteral("Kestrelon.conf.saving-"));
    QCOMPARE(left.size(), 1);
    QVERIFY(readFile(dir.filePath(left.front())).contains("Vin0=6"));

    // While it may still be another running save's, it stays; once old, the next save removes it.
    QVERIFY(saveVin0(path, QStringLiteral("7")));
    QVERIFY(files(dir.path()).contains(left.front()));
    const utimbuf longAgo{time(nullptr) - 3600, time(nullptr) - 3600};
    QCOMPARE(utime(QFile::encodeName(dir.filePath(left.front())).constData(), &longAgo), 0);
    QVERIFY(saveVin0(path, QStringLiteral("8")));
    QCOMPARE(files(dir.path()), (QStringList{"Kestrelon.conf", "Kestrelon.conf.backup"}));
    QCOMPARE(readFile(path), QByteArray("[Properties]\nVin0=8\n"));
}

QTEST_GUILESS_MAIN(TestSettingsSave)
#include "tst_settingssave.moc"
