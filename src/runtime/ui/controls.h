#pragma once

#include "colours.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include <cstdint>

// Standard Qt widgets with the properties and events the windows are written against:
// colours as 0x00BBGGRR integers, a control-array index on every event, and change events
// raised at once, nested, whether the user or the program changed the value.
namespace kestrelon::ui {

// Applies a 0x00BBGGRR (or system) colour to one palette role of a widget.
void setWidgetColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t bgr);

// A colour given to one palette role of a widget, remembered so it reads back as given. A
// colour already applied is not applied again; the first one always is, so a control never
// keeps a colour inherited from its frame.
class RoleColour {
public:
    RoleColour(QPalette::ColorRole role, uint initial) : m_role(role), m_value(initial) {}
    uint value() const { return m_value; }
    void set(QWidget* widget, uint bgr);

private:
    QPalette::ColorRole m_role;
    uint m_value;
    bool m_applied = false;
};

class Label : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(uint foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(uint backColor READ backColor WRITE setBackColor)

public:
    explicit Label(QWidget* parent = nullptr);
    QString caption() const { return text(); }
    void setCaption(const QString& caption);
    uint foreColor() const { return m_fore.value(); }
    void setForeColor(uint bgr) { m_fore.set(this, bgr); }
    uint backColor() const { return m_back.value(); }
    void setBackColor(uint bgr) { m_back.set(this, bgr); }

private:
    RoleColour m_fore{QPalette::WindowText, kWindowText};
    RoleColour m_back{QPalette::Window, kMenuBackground};
};

class Frame : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QString caption READ title WRITE setTitle)
    Q_PROPERTY(uint foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(uint backColor READ backColor WRITE setBackColor)

public:
    explicit Frame(QWidget* parent = nullptr);
    uint foreColor() const { return m_fore.value(); }
    void setForeColor(uint bgr) { m_fore.set(this, bgr); }
    uint backColor() const { return m_back.value(); }
    void setBackColor(uint bgr) { m_back.set(this, bgr); }

private:
    RoleColour m_fore{QPalette::WindowText, kWindowText};
    RoleColour m_back{QPalette::Window, kMenuBackground};
};

class TextBox : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(uint backColor READ backColor WRITE setBackColor)

public:
    TextBox(qint16 index, QWidget* parent = nullptr);
    uint backColor() const { return m_back.value(); }
    void setBackColor(uint bgr) { m_back.set(this, bgr); }

signals:
    void Change(qint16 index);

private:
    qint16 m_index;
    RoleColour m_back{QPalette::Base, kWindowBackground};
};

// A scroll bar whose design range runs from `min` at the left or top to `max` at the right or
// bottom, either way round. Qt's value is the design value: a vertical one with its largest
// value at the top is drawn upside down, and its arrows, trough and Home/End are turned to
// match, so every reader (Qt, the `value` property, accessibility) sees one number. Left, Up
// and Page Up move the thumb towards the left or top end, the other arrows and Page Down away
// from it. A focused one is framed. Scroll is raised while the thumb is dragged, Change for
// every other change and at the end of a drag.
class ScrollBar : public QScrollBar {
    Q_OBJECT
    Q_PROPERTY(int min READ min)
    Q_PROPERTY(int max READ max)

public:
    ScrollBar(Qt::Orientation orientation, qint16 index, int min, int max, int value,
              QWidget* parent = nullptr);
    int min() const { return m_min; }
    int max() const { return m_max; }
    bool inRange(int value) const;

signals:
    void Change(qint16 index);
    void Scroll(qint16 index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kFocusFrameWidth = 2;
    void turnAction(int action);

    qint16 m_index;
    int m_min;
    int m_max;
    int m_valueAtPress = 0;
    bool m_keyAction = false;
};

// An option button of a group (the buttons sharing one parent), a radio button to Qt and to
// screen readers. Selecting it, by the user or by code, clears the others and raises Click; a
// click never clears it, but code may, leaving the group without a selection.
class OptionButton : public QRadioButton {
    Q_OBJECT
    Q_PROPERTY(bool value READ isChecked WRITE setValue)
    Q_PROPERTY(uint foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(uint backColor READ backColor WRITE setBackColor)

public:
    OptionButton(qint16 index, QWidget* parent = nullptr);
    void setValue(bool selected);
    uint foreColor() const { return m_fore.value(); }
    void setForeColor(uint bgr) { m_fore.set(this, bgr); }
    uint backColor() const { return m_back.value(); }
    void setBackColor(uint bgr) { m_back.set(this, bgr); }

signals:
    void Click(qint16 index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    QList<OptionButton*> group() const;
    void selectSibling(int step);

    qint16 m_index;
    RoleColour m_fore{QPalette::WindowText, kWindowText};
    RoleColour m_back{QPalette::Window, kMenuBackground};
};

// A check box whose caption wraps onto further lines when it is narrower than its text.
class CheckBox : public QCheckBox {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(uint foreColor READ foreColor WRITE setForeColor)

public:
    explicit CheckBox(QWidget* parent = nullptr);
    QString caption() const;
    void setCaption(const QString& caption);
    int value() const { return isChecked() ? 1 : 0; }
    void setValue(int value) { setChecked(value != 0); }
    uint foreColor() const { return m_fore.value(); }
    void setForeColor(uint bgr) { m_fore.set(this, bgr); }

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_caption;
    RoleColour m_fore{QPalette::WindowText, kWindowText};
};

class Timer : public QTimer {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isActive WRITE setEnabled)

public:
    explicit Timer(QObject* parent = nullptr) : QTimer(parent) {}
    void setEnabled(bool enabled) {
        // Enabling a running timer must not restart its interval.
        if (enabled && !isActive())
            start();
        else if (!enabled)
            stop();
    }
};

} // namespace kestrelon::ui
