#include "fakesettingstarget.h"

#include <stdexcept>
#include <utility>

namespace {

struct Limits {
    std::int16_t min;
    std::int16_t max;
};

// The sliders' design limits; the vertical ones run from Min 1000 at the top down to Max 0.
Limits limitsOf(std::string_view control) {
    if (control == "hsR1")
        return {50, 1100};
    return {1000, 0};
}

QString groupOf(const QString& id) {
    return id.left(id.indexOf(u'('));
}

} // namespace

FakeSettingsTarget::FakeSettingsTarget() {
    for (int chip : {0, 1}) {
        texts[id("Text1", chip)] = QStringLiteral("15");
        texts[id("txtVin", chip)] = QStringLiteral("5");
        texts[id("txtRLo", chip)] = QStringLiteral("1");
        texts[id("txtRHi", chip)] = QStringLiteral("5");
        texts[id("txtLED", chip)] = QStringLiteral("15");
        sliders[id("hsR1", chip)] = 700;
        sliders[id("vsR2", chip)] = 220;
        sliders[id("vsVin", chip)] = 500;
        sliders[id("vsRLo", chip)] = 500;
        sliders[id("vsRHi", chip)] = 500;
    }
    for (const char* group : {"optRLo", "optRLo1", "optRHi", "optRHi1", "optMode", "optMode1"}) {
        options[id(group, 0)] = false;
        options[id(group, 1)] = false;
    }
    for (const char* group : {"optLED", "optLED2"}) {
        for (int i = 0; i < 5; ++i)
            options[id(group, i)] = i == 0;
    }
    options[id("optRLo", 0)] = true;
    options[id("optRLo1", 0)] = true;
    options[id("optRHi", 0)] = true;
    options[id("optRHi1", 0)] = true;
    options[id("optMode", 1)] = true; // chip #1 starts with "Dot/o.c"
    options[id("optMode1", 0)] = true;
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

std::int16_t FakeSettingsTarget::sliderMin(std::string_view control, int) const {
    return limitsOf(control).min;
}

std::int16_t FakeSettingsTarget::sliderMax(std::string_view control, int) const {
    return limitsOf(control).max;
}

void FakeSettingsTarget::setSliderValue(std::string_view control, int index, std::int16_t value) {
    const QString key = id(control, index);
    const Limits limits = limitsOf(control);
    if (!sliders.contains(key))
        violations << QStringLiteral("no slider %1").arg(key);
    if (value < std::min(limits.min, limits.max) || value > std::max(limits.min, limits.max)) {
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
