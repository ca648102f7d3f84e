#pragma once

#include <QAccessible>
#include <QRect>
#include <QString>

#include <functional>

class QObject;
class QWidget;

// What Qt's own accessibility cannot know: the objects a canvas draws, and read-outs whose
// caption alone ("4.46v") does not say what it is.
namespace kestrelon::ui {

// A drawn shape or line as a screen reader finds it among its canvas's children: a name, a
// role, and a state text read whenever it is asked for ("lit, red").
struct AccessibleDrawing {
    QString name;
    QAccessible::Role role = QAccessible::Graphic;
    std::function<QString()> state;
    // A name that changes with what it tells, read whenever it is asked for, instead of `name`.
    std::function<QString()> liveName;
    // Where an object that is no shape, line or label stands on its canvas.
    QRect area;
};

// Gives the program's text boxes, sliders and option buttons the interfaces screen readers
// need; the first exposed object installs it too.
void installFactory();

void exposeDrawing(QObject* drawn, AccessibleDrawing drawing);

// Tells screen readers that a drawn object's state may have changed; nothing when none listens
// or the object is not exposed.
void announceDrawingChange(QObject* drawn);

// A read-out label is announced as what it is followed by its current caption, "Chip 1
// reference voltage: 4.46v"; `whenBlank` stands in for a blank caption. The caption is also the
// accessible value.
void exposeReadOut(QWidget* label, const QString& what, const QString& whenBlank);

// Gives a plain widget the role a screen reader announces it by, a top-level one a window's or
// dialog's: Qt reports a plain widget as a client area, whatever it is.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

} // namespace kestrelon::ui
