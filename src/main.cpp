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
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.kestrelon.Kestrelon")));
    kestrelon::Form1 form(std::make_shared<kestrelon::SettingsStore>());
    form.Form_Load();
    return QApplication::exec();
}
