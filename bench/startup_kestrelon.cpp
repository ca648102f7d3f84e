// The program's real start-up path, ending after the first paint: application object, Form1 on
// the per-user store, Form_Load.
#include "firstpaint.h"
#include "form1.h"
#include "settingsstore.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrelon"));
    QApplication::setOrganizationName(QStringLiteral("Kestrelon"));
    kestrelon::Form1 form(std::make_shared<kestrelon::SettingsStore>());
    new QuitAfterFirstPaint(form.centralWidget());
    form.Form_Load();
    return QApplication::exec();
}
