#include "form1.h"
#include "platform.h"
#include "settingsstore.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrelon;

namespace {

QProcessEnvironment environment(const QStringList& assignments) {
    QProcessEnvironment env;
    for (const QString& a : assignments)
        env.insert(a.section(QLatin1Char('='), 0, 0), a.section(QLatin1Char('='), 1));
    return env;
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void platformChoice_data();
    void platformChoice();
    void platformPlacesWindows_data();
    void platformPlacesWindows();
    void savedPosition_data();
    void savedPosition();
};

void TestPlatform::platformChoice_data() {
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("platform");
    const QByteArray x11 = "xcb;wayland";
    QTest::newRow("Wayland session with XWayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "XDG_SESSION_TYPE=wayland"}
        << QStringList{} << x11;
    QTest::newRow("Wayland display alone, with XWayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"} << QStringList{} << x11;
    QTest::newRow("session type alone, with XWayland")
        << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0"} << QStringList{} << x11;
    QTest::newRow("empty QT_QPA_PLATFORM is no choice")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM="}
        << QStringList{} << x11;
    QTest::newRow("Wayland without XWayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "XDG_SESSION_TYPE=wayland"} << QStringList{}
        << QByteArray();
    QTest::newRow("empty DISPLAY is no XWayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY="} << QStringList{} << QByteArray();
    QTest::newRow("user chose wayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"}
        << QStringList{} << QByteArray();
    QTest::newRow("user chose offscreen")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM=offscreen"}
        << QStringList{} << QByteArray();
    QTest::newRow("user chose on the command line")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}
        << QStringList{"kestrelon", "-platform", "wayland"} << QByteArray();
    QTest::newRow("X11 session") << QStringList{"DISPLAY=:0", "XDG_SESSION_TYPE=x11"}
                                 << QStringList{} << QByteArray();
    QTest::newRow("no display at all") << QStringList{} << QStringList{} << QByteArray();
}

void TestPlatform::platformChoice() {
    QFETCH(QStringList, env);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, platform);
    QCOMPARE(ui::chooseQtPlatform(environment(env), arguments), platform);
}

void TestPlatform::platformPlacesWindows_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("places");
    QTest::newRow("xcb") << QStringLiteral("xcb") << true;
    QTest::newRow("offscreen") << QStringLiteral("offscreen") << true;
    QTest::newRow("windows") << QStringLiteral("windows") << true;
    QTest::newRow("wayland") << QStringLiteral("wayland") << false;
    QTest::newRow("wayland-egl") << QStringLiteral("wayland-egl") << false;
    QTest::newRow("eglfs") << QStringLiteral("eglfs") << false;
}

void TestPlatform::platformPlacesWindows() {
    QFETCH(QString, name);
    QFETCH(bool, places);
    QCOMPARE(ui::platformPlacesWindows(name), places);
}

void TestPlatform::savedPosition_data() {
    QTest::addColumn<bool>("placesWindows");
    QTest::addColumn<QByteArray>("top");
    QTest::addColumn<QByteArray>("left");
    // The window is found at (7, 9) pixels when the user saves.
    QTest::newRow("platform places windows: where it is")
        << true << QByteArray("frmTop=135") << QByteArray("frmLeft=105");
    QTest::newRow("platform cannot place windows: as stored")
        << false << QByteArray("frmTop=750") << QByteArray("frmLeft=1500");
}

void TestPlatform::savedPosition() {
    QFETCH(bool, placesWindows);
    QFETCH(QByteArray, top);
    QFETCH(QByteArray, left);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Properties]\nfrmTop=750\nfrmLeft=1500\n");
    }
    Form1 form(std::make_shared<SettingsStore>(path), {}, placesWindows);
    form.Form_Load();
    // Where a compositor that ignores the program's placement may have put it.
    form.move(7, 9);
    form.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    QVERIFY2(stored.contains(top), stored.constData());
    QVERIFY2(stored.contains(left), stored.constData());
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
