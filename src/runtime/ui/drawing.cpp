#include "drawing.h"

#include "uimetrics.h"

#include <QPaintEvent>
#include <QPainter>

namespace kestrelon::ui {

Shape::Shape(Kind kind, const QRect& rect, int borderWidth, Canvas* canvas)
    : QObject(canvas), m_canvas(canvas), m_kind(kind), m_rect(rect), m_borderWidth(borderWidth) {}

void Shape::setFillColor(uint bgr) {
    if (bgr == m_fill)
        return;
    m_fill = bgr;
    repaint();
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
}

QRect Line::bounds() const {
    const int margin = m_width + 1;
    return QRect(m_line.p1(), m_line.p2()).normalized().adjusted(-margin, -margin, margin, margin);
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

void Canvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect dirty = event->rect();
    for (const Shape* shape : m_shapes) {
        if (!shape->isVisible() || !shape->rect().adjusted(-3, -3, 3, 3).intersects(dirty))
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
        if (!line->isVisible() || !line->bounds().intersects(dirty))
            continue;
        painter.setPen(
            QPen(colourFromBgr(line->colour()), line->width(), Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(line->line());
    }
}

} // namespace kestrelon::ui
