#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QProcessEnvironment>
#include <QRect>
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

// Where a window whose outer rectangle (frame included) is `outer` goes so that the user can
// reach its title bar, the top `titleHeight` pixels: where it is while a screen shows that bar;
// otherwise as far into the screen it overlaps most as its size allows, or into the primary
// screen when it overlaps none (its screen is gone). `screens` are the screens' available
// areas, the primary one first.
QPoint reachablePosition(const QRect& outer, int titleHeight, const QList<QRect>& screens);

} // namespace kestrelon::ui
