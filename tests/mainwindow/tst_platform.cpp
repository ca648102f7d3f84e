#include "form1.h"
#include "platform.h"
#include "settingsstore.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
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
    void titleBarIsKeptWithinReach_data();
    void titleBarIsKeptWithinReach();
    void positionOutOfReachComesBackAndStaysStored();
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

void TestPlatform::titleBarIsKeptWithinReach_data() {
    QTest::addColumn<QRect>("outer"); // the window, frame included; its title bar is 20 high
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QPoint>("expected");
    const QList<QRect> one{{0, 0, 1280, 1024}};
    const QList<QRect> two{{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    QTest::newRow("on the screen") << QRect(100, 100, 400, 300) << one << QPoint(100, 100);
    QTest::newRow("partly off, bar in reach")
        << QRect(-300, 900, 400, 300) << one << QPoint(-300, 900);
    QTest::newRow("bar above the screen") << QRect(100, -15, 400, 300) << one << QPoint(100, 0);
    QTest::newRow("bar too little shown") << QRect(-380, 100, 400, 300) << one << QPoint(0, 100);
    QTest::newRow("bar below a top panel")
        << QRect(100, 10, 400, 300) << QList<QRect>{{0, 30, 1280, 994}} << QPoint(100, 30);
    QTest::newRow("larger than the screen") << QRect(-50, -50, 2000, 1500) << one << QPoint(0, 0);
    QTest::newRow("on the second screen") << QRect(2000, 500, 400, 300) << two << QPoint(2000, 500);
    QTest::newRow("above the second screen")
        << QRect(2000, -40, 400, 300) << two << QPoint(2000, 0);
    QTest::newRow("the screen it was on is gone")
        << QRect(2000, 500, 400, 300) << one << QPoint(880, 500);
    QTest::newRow("far from every screen: the primary")
        << QRect(-9000, 9000, 400, 300) << QList<QRect>{{1280, 0, 1920, 1080}, {0, 0, 1280, 1024}}
        << QPoint(1280, 780);
}

void TestPlatform::titleBarIsKeptWithinReach() {
    QFETCH(QRect, outer);
    QFETCH(QList<QRect>, screens);
    QFETCH(QPoint, expected);
    QCOMPARE(ui::reachablePosition(outer, 20, screens), expected);
}

void TestPlatform::positionOutOfReachComesBackAndStaysStored() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrelon.conf"));
    const QByteArray stored = "[Properties]\nfrmTop=-9000\nfrmLeft=-30000\n";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(stored);
    }
    Form1 form(std::make_shared<SettingsStore>(path), {}, true);
    form.Form_Load();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(form.frameGeometry().topLeft(), screen.topLeft());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), stored);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
