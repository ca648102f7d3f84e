#include "accessiblenames.h"

#include "chipcontrols.h"
#include "layouttypes.h"

#include <QWidget>

namespace kestrelon {

namespace {

struct Role {
    const char* chip1Name;
    const char* chip2Name;
    int count;
    const char* const* roles; // one per element of the group, or one for a per-chip array
};

constexpr Role group(const char* ChipControls::*name, int count, const char* const* roles) {
    return {kChipControls[0].*name, kChipControls[1].*name, count, roles};
}

constexpr const char* kText1[] = {"supply voltage V+"};
constexpr const char* kTxtLED[] = {"LED supply voltage"};
constexpr const char* kTxtVin[] = {"full-scale signal voltage"};
constexpr const char* kTxtRLo[] = {"full-scale external low voltage"};
constexpr const char* kTxtRHi[] = {"full-scale external high voltage"};
constexpr const char* kHsR1[] = {"R1, LED current resistor"};
constexpr const char* kVsR2[] = {"R2, span resistor"};
constexpr const char* kVsVin[] = {"signal, per mille of full scale"};
constexpr const char* kVsRLo[] = {"external low voltage, per mille of full scale"};
constexpr const char* kVsRHi[] = {"external high voltage, per mille of full scale"};
// An option's name begins with its caption, which is what a sighted user names it by.
constexpr const char* kOptRLo[] = {"0V: RLo pin to 0 V",
                                   "Vext Lo: RLo pin to external low voltage"};
constexpr const char* kOptRHi[] = {"Ref Inp: RHi pin to reference output",
                                   "+Vext Hi: RHi pin to external high voltage"};
constexpr const char* kOptMode[] = {"Bar/+V: bar mode", "Dot/o.c: dot mode"};
constexpr const char* kOptLED[] = {"red LEDs", "green LEDs", "yellow LEDs", "blue LEDs",
                                   "white LEDs"};

// Per-chip arrays share one name and use the element as chip; option groups have a name per chip.
constexpr Role kArrays[] = {
    {"Text1", nullptr, 1, kText1},   {"txtLED", nullptr, 1, kTxtLED},
    {"txtVin", nullptr, 1, kTxtVin}, {"txtRLo", nullptr, 1, kTxtRLo},
    {"txtRHi", nullptr, 1, kTxtRHi}, {"hsR1", nullptr, 1, kHsR1},
    {"vsR2", nullptr, 1, kVsR2},     {"vsVin", nullptr, 1, kVsVin},
    {"vsRLo", nullptr, 1, kVsRLo},   {"vsRHi", nullptr, 1, kVsRHi},
};
constexpr Role kGroups[] = {
    group(&ChipControls::optRLo, 2, kOptRLo),
    group(&ChipControls::optRHi, 2, kOptRHi),
    group(&ChipControls::optMode, 2, kOptMode),
    group(&ChipControls::optLED, 5, kOptLED),
};

void name(const QHash<QString, QObject*>& controls, const QString& objectName, int chip,
          const char* role) {
    auto* widget = qobject_cast<QWidget*>(controls.value(objectName));
    if (!widget)
        return;
    const QString text = QLatin1String(role);
    const qsizetype caption = text.indexOf(QLatin1String(": "));
    if (caption < 0)
        widget->setAccessibleName(chipName(chip, text));
    else
        widget->setAccessibleName(QStringLiteral("%1, chip %2 %3")
                                      .arg(text.left(caption))
                                      .arg(chip + 1)
                                      .arg(text.mid(caption + 2)));
}

} // namespace

QString chipName(int chip, const QString& what) {
    return QStringLiteral("Chip %1 %2").arg(chip + 1).arg(what);
}

void setAccessibleNames(const QHash<QString, QObject*>& controls) {
    for (const Role& r : kArrays)
        for (int chip = 0; chip < 2; ++chip)
            name(controls, layout::controlName(r.chip1Name, chip), chip, r.roles[0]);
    for (const Role& r : kGroups)
        for (int chip = 0; chip < 2; ++chip)
            for (int i = 0; i < r.count; ++i)
                name(controls, layout::controlName(chip == 0 ? r.chip1Name : r.chip2Name, i), chip,
                     r.roles[i]);
    if (auto* slave = qobject_cast<QWidget*>(controls.value(QStringLiteral("chkSlave"))))
        slave->setAccessibleName(QStringLiteral("Slave to #1, chip 2 follows chip 1's signal"));
}

} // namespace kestrelon
