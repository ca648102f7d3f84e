#include "form1.h"
#include "settingsstore.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
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
