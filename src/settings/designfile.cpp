#include "designfile.h"

#include "conversions.h"
#include "mysettings.h"
#include "settingsentries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrelon {

namespace {

// A design is a few kilobytes; anything far larger is some other file and is not read whole.
constexpr qint64 kLargestDesign = 1 << 20;

bool hasEntry(const SettingsStore& store, const QString& key) {
    // The default comes back only when there is no entry: two different ones tell it apart.
    const std::optional<QString> a = store.getSetting(key, QStringLiteral("a"));
    const std::optional<QString> b = store.getSetting(key, QStringLiteral("b"));
    return !a || !b || *a != QLatin1String("a") || *b != QLatin1String("b");
}

bool holdsDesignEntries(const SettingsStore& store) {
    for (const SettingsEntry& entry : settingsEntries())
        if (hasEntry(store, QString::fromLatin1(entry.key)))
            return true;
    return false;
}

// Passes every input on and leaves the window's position alone.
class KeepPosition : public SettingsTarget {
public:
    explicit KeepPosition(SettingsTarget& target) : m_target(target) {}
    float windowTop() const override { return m_target.windowTop(); }
    float windowLeft() const override { return m_target.windowLeft(); }
    void setWindowTop(float) override {}
    void setWindowLeft(float) override {}
    QString text(std::string_view c, int i) const override { return m_target.text(c, i); }
    void setText(std::string_view c, int i, const QString& t) override {
        m_target.setText(c, i, t);
    }
    std::int16_t sliderValue(std::string_view c, int i) const override {
        return m_target.sliderValue(c, i);
    }
    std::int16_t sliderMin(std::string_view c, int i) const override {
        return m_target.sliderMin(c, i);
    }
    std::int16_t sliderMax(std::string_view c, int i) const override {
        return m_target.sliderMax(c, i);
    }
    void setSliderValue(std::string_view c, int i, std::int16_t v) override {
        m_target.setSliderValue(c, i, v);
    }
    bool optionValue(std::string_view c, int i) const override {
        return m_target.optionValue(c, i);
    }
    void setOption(std::string_view c, int i, bool v) override { m_target.setOption(c, i, v); }

private:
    SettingsTarget& m_target;
};

} // namespace

QString OpenedDesign::message(const QString& path) const {
    return QStringLiteral("%1 was not opened: %2.").arg(QDir::toNativeSeparators(path), reason);
}

OpenedDesign openDesignFile(const QString& path) {
    const auto refused = [](const QString& reason) { return OpenedDesign{std::nullopt, reason}; };
    const QFileInfo info(path);
    if (!info.exists())
        return refused(QStringLiteral("there is no such file"));
    if (info.isDir())
        return refused(QStringLiteral("it is a folder"));
    if (!info.isFile())
        return refused(QStringLiteral("it is not a regular file but a pipe, device or socket"));
    if (info.size() > kLargestDesign)
        return refused(QStringLiteral("it is not a Kestrelon design (far too large for one)"));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("it cannot be read (%1)").arg(probe.errorString()));
    probe.close();

    SettingsStore store(path);
    // A newer version may keep its inputs under keys this one does not know: its format says so.
    const QString key = QString::fromLatin1(kDesignFormatKey);
    if (!hasEntry(store, key) && !holdsDesignEntries(store))
        return refused(QStringLiteral("it is not a Kestrelon design (it has none of a design's "
                                      "[Properties] entries)"));
    const QString format =
        store.getSetting(key, QString::number(kDesignFormat)).value_or(QString());
    bool isNumber = false;
    const int number = format.trimmed().toInt(&isNumber);
    if (!isNumber || number < 1)
        return refused(QStringLiteral("its %1 \"%2\" is not a design format Kestrelon knows")
                           .arg(key, format));
    if (number > kDesignFormat)
        return refused(QStringLiteral("it was written by a newer version of Kestrelon (design "
                                      "format %1; this version reads format %2)")
                           .arg(number)
                           .arg(kDesignFormat));
    return OpenedDesign{std::move(store), {}};
}

SaveResult saveDesignFile(const QString& path, const SettingsTarget& target, double ambient) {
    SettingsStore store(path);
    store.saveSetting(QString::fromLatin1(kDesignFormatKey), integerToText(kDesignFormat));
    store.saveSetting(QStringView(kAmbientKey), QString::number(ambient));
    return SaveMySettings(store, target);
}

void restoreDesign(const SettingsStore& store, SettingsTarget& target) {
    KeepPosition inputsOnly(target);
    GetMySettings(store, inputsOnly);
}

} // namespace kestrelon
