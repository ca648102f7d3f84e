#pragma once

#include "colours.h"

#include <QLine>
#include <QObject>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <vector>

// Shapes and lines drawn on a window's background, beneath its widgets. They are plain objects
// with properties, so code and tests address them like any other control.
namespace kestrelon::ui {

class Canvas;

class Shape : public QObject {
    Q_OBJECT
    Q_PROPERTY(uint fillColor READ fillColor WRITE setFillColor)
    Q_PROPERTY(uint borderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible)

public:
    enum class Kind { Rectangle, Circle };
    Shape(Kind kind, const QRect& rect, int borderWidth, Canvas* canvas);
    uint fillColor() const { return m_fill; }
    void setFillColor(uint bgr);
    uint borderColor() const { return m_border; }
    void setBorderColor(uint bgr);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    Kind kind() const { return m_kind; }
    QRect rect() const { return m_rect; }
    int borderWidth() const { return m_borderWidth; }

private:
    void repaint();

    Canvas* m_canvas;
    Kind m_kind;
    QRect m_rect;
    int m_borderWidth;
    uint m_fill = kWhite;
    uint m_border = kBlack;
    bool m_visible = true;
};

class Line : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible)
    Q_PROPERTY(uint borderColor READ colour)

public:
    Line(const QLine& line, uint colour, int width, Canvas* canvas);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    QLine line() const { return m_line; }
    uint colour() const { return m_colour; }
    int width() const { return m_width; }
    QRect bounds() const;

private:
    Canvas* m_canvas;
    QLine m_line;
    uint m_colour;
    int m_width;
    bool m_visible = true;
};

// The window's background: paints its shapes and lines in creation order.
class Canvas : public QWidget {
    Q_OBJECT

public:
    explicit Canvas(QWidget* parent = nullptr);
    Shape* addShape(Shape::Kind kind, const QRect& rect, int borderWidth);
    Line* addLine(const QLine& line, uint colour, int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Shape*> m_shapes;
    std::vector<Line*> m_lines;
};

} // namespace kestrelon::ui
