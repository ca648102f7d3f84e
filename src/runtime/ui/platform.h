#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>
#include <QStringView>

// Which window system the program runs on, decided from the environment alone.
namespace kestrelon::ui {

// The platform to ask Qt for before the application object exists, or empty to leave the choice
// to Qt. A Wayland client cannot place its own window, so the stored window position would be
// ignored; where XWayland is there and the user has chosen no platform (neither
// QT_QPA_PLATFORM nor -platform), X11 is asked for first, with Wayland as the fallback.
QByteArray chooseQtPlatform(const QProcessEnvironment& environment, const QStringList& arguments);

// Whether a window on the named Qt platform goes where the program moves it.
bool platformPlacesWindows(QStringView platformName);

} // namespace kestrelon::ui
