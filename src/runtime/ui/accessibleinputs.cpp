#include "accessibleinputs.h"

#include "controls.h"

#include <QAccessibleWidget>
#include <QHash>

#include <algorithm>

namespace kestrelon::ui {

namespace {

using Follower = std::function<std::optional<int>()>;

QHash<const QObject*, Follower>& followers() {
    static QHash<const QObject*, Follower> registry;
    return registry;
}

class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(ScrollBar* bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = followed().has_value();
        return s;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return QString::number(value());
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return value(); }
    void setCurrentValue(const QVariant& v) override {
        if (!followed())
            bar()->setValue(std::clamp(v.toInt(), bar()->minimum(), bar()->maximum()));
    }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }

private:
    ScrollBar* bar() const { return static_cast<ScrollBar*>(widget()); }
    std::optional<int> followed() const {
        const auto follower = followers().constFind(object());
        return follower == followers().cend() ? std::nullopt : (*follower)();
    }
    int value() const { return followed().value_or(bar()->value()); }
};

} // namespace

void setSliderFollows(ScrollBar* bar, std::function<std::optional<int>()> followed) {
    if (!followers().contains(bar))
        QObject::connect(bar, &QObject::destroyed, bar,
                         [](QObject* gone) { followers().remove(gone); });
    followers().insert(bar, std::move(followed));
}

QAccessibleInterface* accessibleSlider(ScrollBar* bar) {
    return new SliderAccessible(bar);
}

} // namespace kestrelon::ui
