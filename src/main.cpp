#include "accessibleobjects.h"
#include "form1.h"
#include "platform.h"
#include "settingsstore.h"

#include <QApplication>
#include <QIcon>

#include <csignal>

int main(int argc, char* argv[]) {
    // A file-size limit then fails a save with an error that is reported, instead of ending the
    // program with its signal.
    std::signal(SIGXFSZ, SIG_IGN);
    // Decided before Qt picks its platform: on Wayland the window could not go to its stored
    // position, so X11 is preferred where XWayland offers it.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QByteArray platform =
        kestrelon::ui::chooseQtPlatform(QProcessEnvironment::systemEnvironment(), arguments);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);

    QApplication app(argc, argv);
    // Before any window exists: a screen reader may already be asking about the first one.
    kestrelon::ui::installFactory();
    QApplication::setApplicationName(QStringLiteral("Kestrelon"));
    QApplication::setOrganizationName(QStringLiteral("Kestrelon"));
    // Lets desktops match the running window to its launcher entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kestrelon.Kestrelon"));
    // The installed theme icon, or the same drawing built in when running from the build tree.
    QIcon builtIn;
    for (const int size : {16, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/kestrelon-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("io.github.kestrelon.Kestrelon"), builtIn));
    kestrelon::Form1 form(std::make_shared<kestrelon::SettingsStore>(),
                          [](int exitCode) { QCoreApplication::exit(exitCode); });
    form.Form_Load();
    return QApplication::exec();
}
