#pragma once

#include "settingstarget.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string_view>

// Stands in for the main window: holds the controls at their design-time state and limits,
// taken from the window's layout table, keeps option
// groups exclusive, logs every assignment as "name(index)=value" in call order, and records a
// slider assignment outside the slider's limits as a violation instead of accepting it.
class FakeSettingsTarget : public kestrelon::SettingsTarget {
public:
    FakeSettingsTarget();

    static QString id(std::string_view control, int index);

    float windowTop() const override { return top; }
    float windowLeft() const override { return left; }
    void setWindowTop(float twips) override;
    void setWindowLeft(float twips) override;

    QString text(std::string_view control, int index) const override;
    void setText(std::string_view control, int index, const QString& text) override;

    std::int16_t sliderValue(std::string_view control, int index) const override;
    std::int16_t sliderMin(std::string_view control, int index) const override;
    std::int16_t sliderMax(std::string_view control, int index) const override;
    void setSliderValue(std::string_view control, int index, std::int16_t value) override;

    bool optionValue(std::string_view control, int index) const override;
    void setOption(std::string_view control, int index, bool value) override;

    float top = 1200.0f;
    float left = 900.0f;
    QMap<QString, QString> texts;
    QMap<QString, std::int16_t> sliders;
    QMap<QString, bool> options;
    struct Limits {
        std::int16_t min = 0; // value at the left or top
        std::int16_t max = 0;
    };
    QMap<QString, Limits> limits;

    QStringList assignments;
    QStringList violations;      // slider values outside the limits, unknown controls
    QString throwAfterAssigning; // id of a control whose "handler" fails

private:
    void log(const QString& entry, const QString& controlId);
};
