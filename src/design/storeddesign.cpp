#include "storeddesign.h"

#include "chipcontrols.h"
#include "chipsheet.h"
#include "conversions.h"
#include "ledcolours.h"
#include "mysettings.h"
#include "resistorsliders.h"
#include "settingsentries.h"

#include <QHash>

#include <algorithm>

namespace kestrelon {

namespace {

// The window's inputs as plain values, assigned as the window assigns them: the chip supply is
// capped as its box caps it, and selecting an option clears the rest of its group.
class PanelTarget : public SettingsTarget {
public:
    explicit PanelTarget(const DesignedValues& designed) {
        for (const SettingsEntry& e : settingsEntries()) {
            const QString text =
                designed.value(name(e.control, e.index), QString::fromLatin1(e.defaultText));
            switch (e.kind) {
            case EntryKind::Position:
                break;
            case EntryKind::Text:
            case EntryKind::ChipType:
                m_texts[name(e.control, e.index)] = text;
                break;
            case EntryKind::Slider:
                m_sliders[name(e.control, e.index)] = roundToInt16(text).value_or(0);
                break;
            case EntryKind::Option:
                m_options[name(e.control, e.index)] = textToTruth(text).value_or(false);
                break;
            }
        }
    }

    float windowTop() const override { return 0; }
    float windowLeft() const override { return 0; }
    void setWindowTop(float) override {}
    void setWindowLeft(float) override {}

    QString text(std::string_view c, int i) const override { return m_texts.value(name(c, i)); }
    void setText(std::string_view c, int i, const QString& text) override {
        const bool capped = c == "Text1" && parse(text) > kFamily.supplyAbsoluteMax;
        m_texts[name(c, i)] =
            capped ? integerToText(static_cast<int>(kFamily.supplyAbsoluteMax)) : text;
    }

    std::int16_t sliderValue(std::string_view c, int i) const override {
        return m_sliders.value(name(c, i));
    }
    // The voltage sliders run over per-mille of their box's full scale.
    std::int16_t sliderMin(std::string_view c, int) const override {
        return static_cast<std::int16_t>(c == "hsR1"   ? kR1Slider.low
                                         : c == "vsR2" ? kR2Slider.low
                                                       : 0);
    }
    std::int16_t sliderMax(std::string_view c, int) const override {
        return static_cast<std::int16_t>(c == "hsR1"   ? kR1Slider.high
                                         : c == "vsR2" ? kR2Slider.high
                                                       : 1000);
    }
    void setSliderValue(std::string_view c, int i, std::int16_t value) override {
        m_sliders[name(c, i)] = value;
    }

    bool optionValue(std::string_view c, int i) const override {
        return m_options.value(name(c, i));
    }
    void setOption(std::string_view c, int i, bool value) override {
        if (value)
            for (int other = 0; other < 5; ++other)
                m_options.remove(name(c, other));
        m_options[name(c, i)] = value;
    }

    ChipInputs chip(int k) const {
        ChipInputs in;
        in.txtLED = text("txtLED", k);
        in.Text1 = text("Text1", k);
        in.txtVin = text("txtVin", k);
        in.txtRLo = text("txtRLo", k);
        in.txtRHi = text("txtRHi", k);
        in.vsVin = sliderValue("vsVin", k);
        in.vsRLo = sliderValue("vsRLo", k);
        in.vsRHi = sliderValue("vsRHi", k);
        const ChipControls& names = kChipControls[static_cast<std::size_t>(k)];
        for (int i = 0; i < 2; ++i) {
            in.optRLo[i] = optionValue(names.optRLo, i);
            in.optRHi[i] = optionValue(names.optRHi, i);
            in.optMode[i] = optionValue(names.optMode, i);
        }
        in.kind = chipKindFromCode(text("chipType", k).toStdString());
        return in;
    }

    // The selected colour option of the chip, if any.
    std::optional<std::size_t> colour(int k) const {
        std::optional<std::size_t> chosen;
        for (std::size_t i = 0; i < kLedChoices.size(); ++i)
            if (optionValue(kChipControls[static_cast<std::size_t>(k)].optLED, static_cast<int>(i)))
                chosen = i;
        return chosen;
    }

private:
    static QString name(std::string_view control, int index) {
        return QString::fromLatin1(control.data(), static_cast<qsizetype>(control.size())) +
               QLatin1Char('_') + QString::number(index);
    }

    QHash<QString, QString> m_texts;
    QHash<QString, std::int16_t> m_sliders;
    QHash<QString, bool> m_options;
};

// The colour option's caption as the window shows it: "Red" for the choice named "red".
QString colourCaption(const LedChoice& choice) {
    QString caption = QString::fromLatin1(choice.name);
    if (!caption.isEmpty())
        caption[0] = caption[0].toUpper();
    return caption;
}

} // namespace

double designAmbient(const SettingsStore& store) {
    const std::optional<QString> text = store.getSetting(QStringView(kAmbientKey), QString());
    return text && !text->isEmpty() ? parse(*text) : kFamily.packageAmbient;
}

StoredDesign storedDesign(const SettingsStore& store, const DesignedValues& designed) {
    PanelTarget target(designed);
    GetMySettings(store, target);

    StoredDesign d;
    d.panel.chip = {target.chip(0), target.chip(1)};
    d.model.ledColour = {kLedChoices[0].colour, kBlue};
    std::array<QString, 2> captions;
    for (int k = 0; k < 2; ++k) {
        d.model.setR1FromSlider(k, target.sliderValue("hsR1", k));
        d.model.setR2FromSlider(k, target.sliderValue("vsR2", k));
        if (const auto i = target.colour(k)) {
            d.model.ledColour[k] = kLedChoices[*i].colour;
            d.model.ledVf[k] = kLedChoices[*i].forwardVoltage;
            captions[k] = colourCaption(kLedChoices[*i]);
        }
    }
    // Each chip twice, as the start-up's slider handlers and colour routines run them.
    for (int pass = 0; pass < 2; ++pass) {
        d.model.calcChip1(d.panel);
        d.model.calcChip2(d.panel);
    }
    const double ambient = designAmbient(store);
    for (int k = 0; k < 2; ++k)
        d.chips[k] = designChip(d.model, d.panel, k, captions[k], nullptr, ambient);
    return d;
}

} // namespace kestrelon
