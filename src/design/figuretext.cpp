#include "figuretext.h"

#include "conversions.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kestrelon {

bool showable(double value) {
    return std::isfinite(value) && std::fabs(value) < 1e9;
}

QString figure(double value, std::string_view pattern, std::string_view unit) {
    if (!showable(value))
        return QString::fromLatin1(kOutOfRange);
    // Plain ASCII units go in with the number in one piece: figures are made on every
    // recalculation.
    if (std::all_of(unit.begin(), unit.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }) &&
        unit.size() < 15) {
        std::array<char, 16> suffix{' '};
        unit.copy(suffix.data() + 1, unit.size());
        return formatWithUnit({}, value, pattern, std::string_view(suffix.data(), unit.size() + 1));
    }
    return Format(value, pattern) + QLatin1Char(' ') +
           QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size()));
}

QString volts(double v) {
    return figure(v, "#0.00", "V");
}

QString milliamps(double mA) {
    return figure(mA, "#0.0", "mA");
}

QString watts(double w) {
    return figure(w, "#0.00", "W");
}

namespace {

// "3.60" -> "3.6", "43.0" -> "43": a part's value carries no trailing zeros.
void dropTrailingZeros(QString& text) {
    if (!text.contains(QLatin1Char('.')))
        return;
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
}

} // namespace

QString ohms(double r) {
    if (!showable(r))
        return QString::fromLatin1(kOutOfRange);
    struct Unit {
        double scale;
        const char16_t* name;
    };
    // The unit is chosen after rounding to three digits: 999.7 Ω reads 1 kΩ.
    const Unit unit = std::fabs(r) >= 999.5e3 ? Unit{1e6, u" MΩ"}
                      : std::fabs(r) >= 999.5 ? Unit{1e3, u" kΩ"}
                                              : Unit{1, u" Ω"};
    const double v = std::fabs(r / unit.scale);
    QString text = Format(r / unit.scale, v < 9.995 ? "#0.00" : v < 99.95 ? "#0.0" : "#0");
    dropTrailingZeros(text);
    text += QStringView(unit.name);
    return text;
}

QString resistance(double r) {
    const QString text = ohms(r);
    const double scale = text.contains(u'M') ? 1e6 : text.contains(u'k') ? 1e3 : 1;
    if (!showable(r) || std::fabs(parse(text) * scale - r) <= 1e-9 * std::fabs(r))
        return text;
    return Format(r / 1000, "#0.00") + QStringLiteral(" kΩ");
}

QString percent(double fraction) {
    if (!showable(fraction))
        return QString::fromLatin1(kOutOfRange);
    return (fraction >= 0 ? QStringLiteral("+") : QString()) + Format(fraction * 100, "#0.0") +
           QStringLiteral(" %");
}

QString rating(double w) {
    QString text = Format(w, "#0.000");
    dropTrailingZeros(text);
    return text + QStringLiteral(" W");
}

} // namespace kestrelon
