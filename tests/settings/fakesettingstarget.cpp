#include "fakesettingstarget.h"

#include "layouttypes.h"

#include <stdexcept>
#include <utility>

namespace {

QString groupOf(const QString& id) {
    return id.left(id.indexOf(u'('));
}

} // namespace

FakeSettingsTarget::FakeSettingsTarget() {
    // The window's design state, from its own table.
    const kestrelon::layout::Table& table = kestrelon::layout::mainWindowTable();
    for (int i = 0; i < table.controlCount; ++i) {
        const kestrelon::layout::Control& c = table.controls[i];
        const QString key = id(c.name, c.index);
        switch (c.kind) {
        case kestrelon::layout::Kind::TextBox:
            texts[key] = QString::fromUtf8(c.caption);
            break;
        case kestrelon::layout::Kind::HScroll:
        case kestrelon::layout::Kind::VScroll:
            sliders[key] = static_cast<std::int16_t>(c.value);
            limits[key] =
                Limits{static_cast<std::int16_t>(c.min), static_cast<std::int16_t>(c.max)};
            break;
        case kestrelon::layout::Kind::Option:
            options[key] = c.value == 1;
            break;
        default:
            break;
        }
    }
}

QString FakeSettingsTarget::id(std::string_view control, int index) {
    return QStringLiteral("%1(%2)")
        .arg(QString::fromLatin1(control.data(), qsizetype(control.size())))
        .arg(index);
}

void FakeSettingsTarget::log(const QString& entry, const QString& controlId) {
    assignments << entry;
    if (controlId == throwAfterAssigning)
        throw std::runtime_error("handler failed");
}

void FakeSettingsTarget::setWindowTop(float twips) {
    top = twips;
    log(QStringLiteral("Top=%1").arg(twips), QStringLiteral("Top"));
}

void FakeSettingsTarget::setWindowLeft(float twips) {
    left = twips;
    log(QStringLiteral("Left=%1").arg(twips), QStringLiteral("Left"));
}

QString FakeSettingsTarget::text(std::string_view control, int index) const {
    return texts.value(id(control, index));
}

void FakeSettingsTarget::setText(std::string_view control, int index, const QString& text) {
    const QString key = id(control, index);
    if (!texts.contains(key))
        violations << QStringLiteral("no text box %1").arg(key);
    texts[key] = text;
    log(key + u'=' + text, key);
}

std::int16_t FakeSettingsTarget::sliderValue(std::string_view control, int index) const {
    return sliders.value(id(control, index));
}

std::int16_t FakeSettingsTarget::sliderMin(std::string_view control, int index) const {
    return limits.value(id(control, index)).min;
}

std::int16_t FakeSettingsTarget::sliderMax(std::string_view control, int index) const {
    return limits.value(id(control, index)).max;
}

void FakeSettingsTarget::setSliderValue(std::string_view control, int index, std::int16_t value) {
    const QString key = id(control, index);
    const Limits range = limits.value(key);
    if (!sliders.contains(key))
        violations << QStringLiteral("no slider %1").arg(key);
    if (value < std::min(range.min, range.max) || value > std::max(range.min, range.max)) {
        violations << QStringLiteral("%1 set to %2").arg(key).arg(value);
        return;
    }
    sliders[key] = value;
    log(key + u'=' + QString::number(value), key);
}

bool FakeSettingsTarget::optionValue(std::string_view control, int index) const {
    return options.value(id(control, index));
}

void FakeSettingsTarget::setOption(std::string_view control, int index, bool value) {
    const QString key = id(control, index);
    if (!options.contains(key))
        violations << QStringLiteral("no option %1").arg(key);
    if (value) {
        const QString group = groupOf(key);
        for (auto it = options.begin(); it != options.end(); ++it) {
            if (groupOf(it.key()) == group)
                it.value() = false;
        }
    }
    options[key] = value;
    log(key + (value ? QStringLiteral("=True") : QStringLiteral("=False")), key);
}
