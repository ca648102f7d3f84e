#include "mysettings.h"

#include "conversions.h"
#include "settingsentries.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

namespace kestrelon {

namespace {

bool isTop(const SettingsEntry& entry) {
    return std::string_view(entry.control) == "Top";
}

// Lenient: text that is no number gives 0. So does a number that no window position can be
// (beyond the single range, or infinite), so that the window is never handed one.
float positionFromText(QStringView text) {
    const double value = parse(text);
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return 0.0f;
    return static_cast<float>(value);
}

void restore(const SettingsEntry& entry, const QString& text, SettingsTarget& target) {
    switch (entry.kind) {
    case EntryKind::Position:
        if (isTop(entry))
            target.setWindowTop(positionFromText(text));
        else
            target.setWindowLeft(positionFromText(text));
        return;
    case EntryKind::Text:
    case EntryKind::ChipType:
        target.setText(entry.control, entry.index, text);
        return;
    case EntryKind::Slider: {
        const std::optional<std::int16_t> value = roundToInt16(text);
        if (!value)
            return;
        const std::int16_t a = target.sliderMin(entry.control, entry.index);
        const std::int16_t b = target.sliderMax(entry.control, entry.index);
        if (*value < std::min(a, b) || *value > std::max(a, b))
            return;
        target.setSliderValue(entry.control, entry.index, *value);
        return;
    }
    case EntryKind::Option:
        if (const std::optional<bool> state = textToTruth(text))
            target.setOption(entry.control, entry.index, *state);
        return;
    }
}

QString currentText(const SettingsEntry& entry, const SettingsTarget& target) {
    switch (entry.kind) {
    case EntryKind::Position:
        return singleToText(isTop(entry) ? target.windowTop() : target.windowLeft());
    case EntryKind::Text:
    case EntryKind::ChipType:
        return target.text(entry.control, entry.index);
    case EntryKind::Slider:
        return integerToText(target.sliderValue(entry.control, entry.index));
    case EntryKind::Option:
        return truthToText(target.optionValue(entry.control, entry.index));
    }
    return {};
}

} // namespace

void GetMySettings(const SettingsStore& store, SettingsTarget& target) {
    for (const SettingsEntry& entry : settingsEntries()) {
        // A chip kind the file does not name is the one the window starts with.
        if (entry.kind == EntryKind::ChipType && !store.hasSetting(QString::fromLatin1(entry.key)))
            continue;
        const std::optional<QString> text = store.getSetting(
            QString::fromLatin1(entry.key), QString::fromLatin1(entry.defaultText));
        if (!text)
            continue;
        // A failing handler ends its own step only; the restore must reach every entry.
        try {
            restore(entry, *text, target);
        } catch (...) {
        }
    }
}

SaveResult SaveMySettings(SettingsStore& store, const SettingsTarget& target) {
    for (const SettingsEntry& entry : settingsEntries()) {
        const QString text = currentText(entry, target);
        // A file written before chip kinds existed stays byte for byte as it was while every
        // chip is the default; a target without chip kinds gives no text.
        if (entry.kind == EntryKind::ChipType &&
            (text.isEmpty() || (text == QLatin1String(entry.defaultText) &&
                                !store.hasSetting(QString::fromLatin1(entry.key)))))
            continue;
        store.saveSetting(QString::fromLatin1(entry.key), text);
    }
    return store.commit();
}

} // namespace kestrelon
