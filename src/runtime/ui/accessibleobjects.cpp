#include "accessibleobjects.h"

#include "accessibleinputs.h"
#include "accessibletextbox.h"
#include "controls.h"
#include "drawing.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QHash>
#include <QLabel>
#include <QLineEdit>

namespace kestrelon::ui {

namespace {

struct ReadOutText {
    QString what;
    QString whenBlank;
};

// Every exposed object, until it is destroyed.
QHash<const QObject*, AccessibleDrawing>& drawings() {
    static QHash<const QObject*, AccessibleDrawing> registry;
    return registry;
}

QHash<const QObject*, ReadOutText>& readOuts() {
    static QHash<const QObject*, ReadOutText> registry;
    return registry;
}

QHash<const QObject*, QAccessible::Role>& roles() {
    static QHash<const QObject*, QAccessible::Role> registry;
    return registry;
}

template <typename Registry> void forgetOnDestruction(Registry& registry, QObject* object) {
    QObject::connect(object, &QObject::destroyed, object,
                     [&registry](QObject* gone) { registry.remove(gone); });
}

QRect drawnArea(const QObject* drawn) {
    if (auto* shape = qobject_cast<const Shape*>(drawn))
        return shape->rect();
    if (auto* line = qobject_cast<const Line*>(drawn))
        return line->bounds();
    if (auto* label = qobject_cast<const DrawnLabel*>(drawn))
        return label->rect();
    return {};
}

class DrawingAccessible : public QAccessibleObject {
public:
    explicit DrawingAccessible(QObject* drawn) : QAccessibleObject(drawn) {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return drawing().role; }
    QAccessible::State state() const override { return {}; }
    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return drawing().liveName ? drawing().liveName() : drawing().name;
        case QAccessible::Description:
        case QAccessible::Value:
            return drawing().state ? drawing().state() : QString();
        default:
            return {};
        }
    }
    QRect rect() const override {
        auto* canvas = qobject_cast<QWidget*>(object()->parent());
        const QRect area = drawing().area.isNull() ? drawnArea(object()) : drawing().area;
        return canvas ? QRect(canvas->mapToGlobal(area.topLeft()), area.size()) : QRect();
    }

private:
    AccessibleDrawing drawing() const { return drawings().value(object()); }
};

// The canvas's children are its widgets followed by the drawn objects exposed on it.
class CanvasAccessible : public QAccessibleWidget {
public:
    explicit CanvasAccessible(QWidget* canvas) : QAccessibleWidget(canvas, QAccessible::Client) {}

    int childCount() const override {
        return QAccessibleWidget::childCount() + static_cast<int>(drawnChildren().size());
    }
    QAccessibleInterface* child(int index) const override {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        const QObjectList drawn = drawnChildren();
        return index - widgets < drawn.size()
                   ? QAccessible::queryAccessibleInterface(drawn.at(index - widgets))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const qsizetype at = child ? drawnChildren().indexOf(child->object()) : -1;
        return at < 0 ? QAccessibleWidget::indexOfChild(child)
                      : QAccessibleWidget::childCount() + static_cast<int>(at);
    }

private:
    QObjectList drawnChildren() const {
        QObjectList drawn;
        for (QObject* child : object()->children())
            if (drawings().contains(child))
                drawn.append(child);
        return drawn;
    }
};

class ReadOutAccessible : public QAccessibleWidget {
public:
    explicit ReadOutAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        const QString caption = static_cast<QLabel*>(widget())->text();
        if (t == QAccessible::Value)
            return caption;
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const ReadOutText readOut = readOuts().value(object());
        const QString shown =
            caption.trimmed().isEmpty() ? readOut.whenBlank : caption.simplified();
        return readOut.what + QStringLiteral(": ") + shown;
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    Q_UNUSED(className)
    if (drawings().contains(object))
        return new DrawingAccessible(object);
    if (auto* canvas = qobject_cast<Canvas*>(object))
        return new CanvasAccessible(canvas);
    if (readOuts().contains(object))
        return new ReadOutAccessible(static_cast<QLabel*>(object));
    if (roles().contains(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), roles().value(object));
    if (auto* box = qobject_cast<QLineEdit*>(object))
        return accessibleTextBox(box);
    if (auto* bar = qobject_cast<ScrollBar*>(object))
        return accessibleSlider(bar);
    return nullptr;
}

// Qt may have built its own interface for the object before it was exposed here (a label's
// caption change does); that one is dropped so the next query builds ours.
template <typename IsOurs> void renewInterface(QObject* object, IsOurs isOurs) {
    if (!object)
        return;
    QAccessibleInterface* current = QAccessible::queryAccessibleInterface(object);
    if (current && !isOurs(current))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(current));
}

template <typename Ours> bool isA(QAccessibleInterface* interface) {
    return dynamic_cast<Ours*>(interface) != nullptr;
}

} // namespace

void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed)
}

void exposeDrawing(QObject* drawn, AccessibleDrawing drawing) {
    installFactory();
    if (!drawings().contains(drawn))
        forgetOnDestruction(drawings(), drawn);
    drawings().insert(drawn, std::move(drawing));
    renewInterface(drawn, isA<DrawingAccessible>);
    if (qobject_cast<Canvas*>(drawn->parent()))
        renewInterface(drawn->parent(), isA<CanvasAccessible>);
}

void announceDrawingChange(QObject* drawn) {
    if (!QAccessible::isActive() || !drawings().contains(drawn))
        return;
    const AccessibleDrawing drawing = drawings().value(drawn);
    if (drawing.liveName) {
        QAccessibleEvent name(drawn, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
    }
    if (!drawing.state)
        return;
    QAccessibleEvent description(drawn, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
    QAccessibleValueChangeEvent value(drawn, drawing.state());
    QAccessible::updateAccessibility(&value);
}

void exposeReadOut(QWidget* label, const QString& what, const QString& whenBlank) {
    installFactory();
    if (!readOuts().contains(label))
        forgetOnDestruction(readOuts(), label);
    readOuts().insert(label, {what, whenBlank});
    renewInterface(label, isA<ReadOutAccessible>);
}

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    installFactory();
    if (!roles().contains(widget))
        forgetOnDestruction(roles(), widget);
    roles().insert(widget, role);
    renewInterface(widget, [role](QAccessibleInterface* i) { return i->role() == role; });
}

} // namespace kestrelon::ui
