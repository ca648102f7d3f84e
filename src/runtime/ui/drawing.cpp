#include "drawing.h"

#include "accessibleobjects.h"
#include "uimetrics.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

namespace kestrelon::ui {

Shape::Shape(Kind kind, const QRect& rect, int borderWidth, Canvas* canvas)
    : QObject(canvas), m_canvas(canvas), m_kind(kind), m_rect(rect), m_borderWidth(borderWidth) {}

void Shape::setFillColor(uint bgr) {
    if (bgr == m_fill)
        return;
    m_fill = bgr;
    repaint();
    announceDrawingChange(this);
}

void Shape::setBorderColor(uint bgr) {
    if (bgr == m_border)
        return;
    m_border = bgr;
    repaint();
}

void Shape::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    repaint();
}

void Shape::repaint() {
    const int margin = m_borderWidth + 1;
    m_canvas->update(m_rect.adjusted(-margin, -margin, margin, margin));
}

Line::Line(const QLine& line, uint colour, int width, Canvas* canvas)
    : QObject(canvas), m_canvas(canvas), m_line(line), m_colour(colour), m_width(width) {}

void Line::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    m_canvas->update(bounds());
    announceDrawingChange(this);
}

QRect Line::bounds() const {
    const int margin = m_width + 1;
    return QRect(m_line.p1(), m_line.p2()).normalized().adjusted(-margin, -margin, margin, margin);
}

DrawnLabel::DrawnLabel(const QRect& rect, const QString& caption, const Look& look,
                       const QString& toolTip, Canvas* canvas)
    : QObject(canvas), m_canvas(canvas), m_rect(rect), m_caption(caption), m_look(look),
      m_toolTip(toolTip) {}

void DrawnLabel::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    repaint();
}

void DrawnLabel::setForeColor(uint bgr) {
    if (bgr == m_look.fore)
        return;
    m_look.fore = bgr;
    repaint();
}

void DrawnLabel::setBackColor(uint bgr) {
    if (bgr == m_look.back)
        return;
    m_look.back = bgr;
    repaint();
}

void DrawnLabel::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    repaint();
}

void DrawnLabel::repaint() {
    m_canvas->update(m_rect);
}

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
}

Shape* Canvas::addShape(Shape::Kind kind, const QRect& rect, int borderWidth) {
    auto* shape = new Shape(kind, rect, borderWidth, this);
    m_shapes.push_back(shape);
    return shape;
}

Line* Canvas::addLine(const QLine& line, uint colour, int width) {
    auto* l = new Line(line, colour, width, this);
    m_lines.push_back(l);
    return l;
}

DrawnLabel* Canvas::addLabel(const QRect& rect, const QString& caption,
                             const DrawnLabel::Look& look, const QString& toolTip) {
    auto* label = new DrawnLabel(rect, caption, look, toolTip, this);
    m_labels.push_back(label);
    return label;
}

bool Canvas::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    // The label painted last is the one on top.
    for (auto it = m_labels.rbegin(); it != m_labels.rend(); ++it) {
        const DrawnLabel* label = *it;
        if (label->isVisible() && label->rect().contains(help->pos())) {
            if (label->toolTip().isEmpty())
                break;
            QToolTip::showText(help->globalPos(), label->toolTip(), this, label->rect());
            return true;
        }
    }
    for (auto it = m_shapes.rbegin(); it != m_shapes.rend(); ++it) {
        const Shape* shape = *it;
        if (shape->isVisible() && !shape->toolTip().isEmpty() &&
            shape->rect().contains(help->pos())) {
            QToolTip::showText(help->globalPos(), shape->toolTip(), this, shape->rect());
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void Canvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The region, not its bounding rectangle: two read-outs far apart repaint only themselves.
    const QRegion dirty = event->region();
    for (const Shape* shape : m_shapes) {
        if (!shape->isVisible() || !dirty.intersects(shape->rect().adjusted(-3, -3, 3, 3)))
            continue;
        const int w = shape->borderWidth();
        painter.setPen(w > 0 ? QPen(colourFromBgr(shape->borderColor()), w) : QPen(Qt::NoPen));
        painter.setBrush(colourFromBgr(shape->fillColor()));
        // Keep the outline inside the shape's box, as the design measures it.
        const QRectF box = QRectF(shape->rect()).adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0);
        if (shape->kind() == Shape::Kind::Circle)
            painter.drawEllipse(box);
        else
            painter.drawRect(box);
    }
    for (const Line* line : m_lines) {
        if (!line->isVisible() || !dirty.intersects(line->bounds()))
            continue;
        painter.setPen(
            QPen(colourFromBgr(line->colour()), line->width(), Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(line->line());
    }
    for (const DrawnLabel* label : m_labels) {
        if (!label->isVisible() || !dirty.intersects(label->rect()))
            continue;
        const DrawnLabel::Look& look = label->look();
        if (look.back != kNoColour)
            painter.fillRect(label->rect(), colourFromBgr(look.back));
        painter.setFont(look.font);
        painter.setPen(colourFromBgr(look.fore));
        painter.drawText(label->rect(), look.flags, label->caption());
    }
}

} // namespace kestrelon::ui
