#include "platform.h"

#include <algorithm>

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

QPoint reachablePosition(const QRect& outer, int titleHeight, const QList<QRect>& screens) {
    // Enough of the bar to take hold of it.
    constexpr int kGrip = 40;
    const QRect bar(outer.topLeft(), QSize(outer.width(), std::max(titleHeight, 1)));
    const QRect* best = nullptr;
    qint64 bestArea = 0;
    for (const QRect& screen : screens) {
        const QRect shown = screen.intersected(bar);
        if (shown.height() == bar.height() && shown.width() >= std::min(kGrip, bar.width()))
            return outer.topLeft();
        const QRect overlap = screen.intersected(outer);
        if (qint64 area = qint64(overlap.width()) * overlap.height(); area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    if (!best && screens.isEmpty())
        return outer.topLeft();
    const QRect& screen = best ? *best : screens.front();
    const auto into = [](int at, int low, int size, int room) {
        return std::clamp(at, low, std::max(low, low + room - size));
    };
    return {into(outer.x(), screen.x(), outer.width(), screen.width()),
            into(outer.y(), screen.y(), outer.height(), screen.height())};
}

} // namespace kestrelon::ui
