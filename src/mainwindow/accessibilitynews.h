#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace kestrelon {

class ChipModel;

// A chip's results that a screen-reader user is told about when they change.
struct KeyResults {
    QString current; // mA per LED, as shown
    bool overCurrent = false;
    bool resistorNeeded = false;
    std::vector<int> lit; // LEDs 1 to 10, in order
    QString colour;       // of a lit LED
    bool overRange = false;
    bool referenceLimited = false;

    bool operator==(const KeyResults&) const = default;
};

KeyResults keyResults(const ChipModel& model, int chip);

// "LEDs 1 to 7 lit", "LED 5 lit", "no LED lit".
QString litLedsPhrase(const std::vector<int>& lit);

// The chip's LEDs in one line: "1 to 5 lit, red", "LED 5 lit, red", "none lit".
QString ledsSummary(const KeyResults& r);

// What changed from `before` to `now`, briefly: "LED current 96.0 mA, over 25 mA; limiting
// resistor needed; LEDs 1 to 7 lit". Empty when nothing did.
QString resultChanges(const KeyResults& before, const KeyResults& now);

// After a change the user made, tells the focused control's screen reader what it did: the
// slider's new meaning and the results that changed, once, after every recalculation the change
// caused. Costs nothing while no screen reader listens.
class ResultNews : public QObject {
public:
    ResultNews(const ChipModel& model, QObject* parent);

    // A control of `chip`; a slider's meaning is told with each change of its value.
    void addControl(QWidget* control, int chip, std::function<QString()> meaning = {});
    // Objects whose state is one of the chip's results, told of each change.
    void addResultObject(QObject* object, int chip);
    void recalculated(int chip);
    // Where the news is also told as a notification, for screen readers that present those.
    void setNotice(QObject* notice) { m_notice = notice; }
    QString lastNews() const { return m_lastNews; }

private:
    struct Control {
        int chip;
        std::function<QString()> meaning;
        QString told;
    };
    void tell();
    void focusChanged(QWidget* old, QWidget* now);

    const ChipModel& m_model;
    QHash<QWidget*, Control> m_controls;
    std::array<std::vector<QObject*>, 2> m_resultObjects;
    std::array<std::optional<KeyResults>, 2> m_told;
    std::array<bool, 2> m_pending{};
    QTimer m_tell;
    QObject* m_notice = nullptr;
    QString m_lastNews;
};

} // namespace kestrelon
