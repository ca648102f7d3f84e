#include "platform.h"

namespace kestrelon::ui {

namespace {

bool isSet(const QProcessEnvironment& environment, const char* name) {
    return !environment.value(QLatin1String(name)).isEmpty();
}

} // namespace

QByteArray chooseQtPlatform(const QProcessEnvironment& environment, const QStringList& arguments) {
    const bool chosen = isSet(environment, "QT_QPA_PLATFORM") ||
                        arguments.contains(QLatin1String("-platform")) ||
                        arguments.contains(QLatin1String("--platform"));
    const bool wayland =
        isSet(environment, "WAYLAND_DISPLAY") ||
        environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
    if (chosen || !wayland || !isSet(environment, "DISPLAY"))
        return {};
    return QByteArrayLiteral("xcb;wayland");
}

bool platformPlacesWindows(QStringView platformName) {
    // Wayland leaves placement to the compositor; the full-screen platforms have one window place.
    return !platformName.startsWith(QLatin1String("wayland")) &&
           platformName != QLatin1String("eglfs") && platformName != QLatin1String("linuxfb");
}

} // namespace kestrelon::ui
