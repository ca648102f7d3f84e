#include "uimetrics.h"

#include "classicpalette.h"
#include "colours.h"

#include <QFontDatabase>

namespace kestrelon {

QColor colourFromBgr(std::uint32_t bgr) {
    if (bgr & kSystemColourFlag) {
        const QPalette& palette = ui::classicPalette();
        switch (bgr & 0xFFu) {
        case 3: // inactive caption: a mid grey, light enough for the blue and red read-outs on it
            return palette.color(QPalette::Active, QPalette::Mid);
        case 4: // menu background
            return palette.color(QPalette::Active, QPalette::Button);
        case 5: // window background
            return palette.color(QPalette::Active, QPalette::Base);
        case 8: // window text
            return palette.color(QPalette::Active, QPalette::WindowText);
        default:
            return palette.color(QPalette::Active, QPalette::Window);
        }
    }
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                  static_cast<int>((bgr >> 16) & 0xFFu));
}

std::uint32_t bgrFromColour(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

QFont designFont(double points, bool bold) {
    // Looked up once: naming a missing family makes every font request search for fallbacks.
    static const QString family = [] {
        const QStringList wanted{QStringLiteral("MS Sans Serif"),
                                 QStringLiteral("Microsoft Sans Serif"),
                                 QStringLiteral("Liberation Sans"), QStringLiteral("Arial")};
        for (const QString& name : wanted)
            if (QFontDatabase::hasFamily(name))
                return name;
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

} // namespace kestrelon
