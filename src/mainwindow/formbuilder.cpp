#include "formbuilder.h"

#include "controls.h"
#include "drawing.h"
#include "uimetrics.h"

#include <QHash>

namespace kestrelon {

using namespace layout;

namespace {

constexpr int kLedBorderWidth = 2;
constexpr int kTwoLinesTwips = 375; // two lines of the design's 8.25-point font

Qt::Alignment alignment(Align align) {
    return (align == Align::Left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop;
}

QString text(const char* caption) {
    return caption ? QString::fromUtf8(caption) : QString();
}

// Only boxes tall enough for two lines wrap; wrapping makes every paint lay out text.
bool wrapsText(const Control& c) {
    return c.height >= kTwoLinesTwips;
}

// Colours the design leaves open are set explicitly all the same, so that a control never
// inherits its frame's text colour.
std::uint32_t orDefault(std::uint32_t colour, std::uint32_t fallback) {
    return colour == kNoColour ? fallback : colour;
}

QWidget* makeWidget(const Control& c, QWidget* parent) {
    const auto index = static_cast<qint16>(c.index);
    switch (c.kind) {
    case Kind::Label: {
        auto* label = new ui::Label(parent);
        label->setCaption(text(c.caption));
        label->setAlignment(alignment(c.align));
        label->setWordWrap(wrapsText(c));
        label->setForeColor(orDefault(c.foreColour, kWindowText));
        if (c.backColour != kNoColour)
            label->setBackColor(c.backColour);
        if (c.boxed)
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
        return label;
    }
    case Kind::TextBox: {
        auto* box = new ui::TextBox(index, parent);
        box->setText(text(c.caption));
        box->setAlignment(Qt::AlignCenter);
        box->setBackColor(orDefault(c.backColour, kWindowBackground));
        box->setTextMargins(0, 0, 0, 0);
        return box;
    }
    case Kind::HScroll:
    case Kind::VScroll: {
        auto* bar = new ui::ScrollBar(c.kind == Kind::HScroll ? Qt::Horizontal : Qt::Vertical,
                                      index, c.min, c.max, c.value, parent);
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    }
    case Kind::Option: {
        auto* option = new ui::OptionButton(index, parent);
        option->setText(text(c.caption));
        option->setChecked(c.value == 1);
        option->setForeColor(orDefault(c.foreColour, kWindowText));
        if (c.backColour != kNoColour)
            option->setBackColor(c.backColour);
        option->setFocusPolicy(Qt::StrongFocus);
        return option;
    }
    case Kind::Check: {
        auto* check = new ui::CheckBox(parent);
        check->setCaption(text(c.caption));
        check->setChecked(c.value == 1);
        check->setForeColor(orDefault(c.foreColour, kWindowText));
        check->setFocusPolicy(Qt::StrongFocus);
        return check;
    }
    case Kind::Frame: {
        auto* frame = new ui::Frame(parent);
        frame->setTitle(text(c.caption));
        frame->setForeColor(orDefault(c.foreColour, kWindowText));
        if (c.backColour != kNoColour)
            frame->setBackColor(c.backColour);
        return frame;
    }
    case Kind::StaticLabel:
    case Kind::Circle:
    case Kind::Rectangle:
        break;
    }
    return nullptr;
}

} // namespace

void buildForm(const Table& table, ui::Canvas* canvas) {
    QHash<QString, QWidget*> frames;
    for (int i = 0; i < table.controlCount; ++i) {
        const Control& c = table.controls[i];
        const QString name = controlName(c.name, c.index);
        const QRect rect = twipsRect(c.left, c.top, c.width, c.height);

        if (c.kind == Kind::Circle || c.kind == Kind::Rectangle) {
            const bool led = c.kind == Kind::Circle && c.width == 345 && c.height == 315;
            ui::Shape* shape = canvas->addShape(c.kind == Kind::Circle ? ui::Shape::Kind::Circle
                                                                       : ui::Shape::Kind::Rectangle,
                                                rect, led ? kLedBorderWidth : 1);
            shape->setObjectName(name);
            shape->setFillColor(c.backColour);
            shape->setBorderColor(orDefault(c.foreColour, kBlack));
            shape->setVisible(c.visible);
            continue;
        }

        if (c.kind == Kind::StaticLabel) {
            ui::DrawnLabel::Look look;
            look.font = designFont(c.font.points, c.font.bold);
            look.flags = static_cast<int>(alignment(c.align)) |
                         (wrapsText(c) ? static_cast<int>(Qt::TextWordWrap) : 0);
            look.fore = orDefault(c.foreColour, kWindowText);
            look.back = c.backColour;
            ui::DrawnLabel* label = canvas->addLabel(rect, text(c.caption), look, text(c.toolTip));
            label->setObjectName(name);
            label->setVisible(c.visible);
            continue;
        }

        QWidget* parent = canvas;
        if (c.parent)
            parent = frames.value(controlName(c.parent, c.parentIndex), canvas);
        QWidget* widget = makeWidget(c, parent);
        widget->setObjectName(name);
        widget->setGeometry(rect);
        // Fonts are inherited: set one only where it differs from what the parent passes on.
        const QFont font = designFont(c.font.points, c.font.bold);
        if (font != parent->font())
            widget->setFont(font);
        if (c.toolTip)
            widget->setToolTip(QString::fromUtf8(c.toolTip));
        widget->setVisible(c.visible);
        if (c.kind == Kind::Frame)
            frames.insert(name, widget);
    }

    for (int i = 0; i < table.lineCount; ++i) {
        const Line& l = table.lines[i];
        const QLine chip1(twipsToPixels(l.x1), twipsToPixels(l.y1), twipsToPixels(l.x2),
                          twipsToPixels(l.y2));
        ui::Line* first = canvas->addLine(chip1, l.colour, l.width);
        first->setObjectName(controlName(l.name, l.index1));
        if (l.index2 >= 0) {
            const QLine chip2(twipsToPixels(l.x1), twipsToPixels(l.y1 - kChipOffset),
                              twipsToPixels(l.x2), twipsToPixels(l.y2 - kChipOffset));
            ui::Line* second = canvas->addLine(chip2, l.colour, l.width);
            second->setObjectName(controlName(l.name, l.index2));
        }
    }

    QWidget* previous = nullptr;
    for (int i = 0; i < table.tabCount; ++i) {
        auto* widget = canvas->findChild<QWidget*>(
            controlName(table.tabOrder[i].name, table.tabOrder[i].index));
        if (!widget)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace kestrelon
