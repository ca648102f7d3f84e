#pragma once

#include "colours.h"

#include <QFont>
#include <QLine>
#include <QObject>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <vector>

// Shapes, lines and static labels drawn on a window's background, beneath its widgets. They are
// plain objects with properties, so code and tests address them like any other control.
namespace kestrelon::ui {

class Canvas;

class Shape : public QObject {
    Q_OBJECT
    Q_PROPERTY(uint fillColor READ fillColor WRITE setFillColor)
    Q_PROPERTY(uint borderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible)
    Q_PROPERTY(QString toolTip READ toolTip WRITE setToolTip)

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
    QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString& text) {
        if (m_toolTip != text)
            m_toolTip = text;
    }

private:
    void repaint();

    Canvas* m_canvas;
    Kind m_kind;
    QRect m_rect;
    int m_borderWidth;
    uint m_fill = kWhite;
    uint m_border = kBlack;
    bool m_visible = true;
    QString m_toolTip;
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

// A label that the program never changes, painted as a label widget would paint it: text in
// its box, aligned and wrapped as given, over its back colour when it has one.
class DrawnLabel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(uint foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(uint backColor READ backColor WRITE setBackColor)
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible)
    Q_PROPERTY(QString toolTip READ toolTip)

public:
    struct Look {
        QFont font;
        int flags = 0; // Qt::AlignmentFlag and Qt::TextWordWrap
        uint fore = kBlack;
        uint back = kNoColour; // kNoColour: the canvas shows through
    };

    DrawnLabel(const QRect& rect, const QString& caption, const Look& look, const QString& toolTip,
               Canvas* canvas);
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    uint foreColor() const { return m_look.fore; }
    void setForeColor(uint bgr);
    uint backColor() const { return m_look.back; }
    void setBackColor(uint bgr);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    QString toolTip() const { return m_toolTip; }
    QRect rect() const { return m_rect; }
    const Look& look() const { return m_look; }

private:
    void repaint();

    Canvas* m_canvas;
    QRect m_rect;
    QString m_caption;
    Look m_look;
    QString m_toolTip;
    bool m_visible = true;
};

// The window's background: paints its shapes, then its lines, then its labels, each in
// creation order, and shows the labels' and shapes' tooltips.
class Canvas : public QWidget {
    Q_OBJECT

public:
    explicit Canvas(QWidget* parent = nullptr);
    Shape* addShape(Shape::Kind kind, const QRect& rect, int borderWidth);
    Line* addLine(const QLine& line, uint colour, int width);
    DrawnLabel* addLabel(const QRect& rect, const QString& caption, const DrawnLabel::Look& look,
                         const QString& toolTip);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Shape*> m_shapes;
    std::vector<Line*> m_lines;
    std::vector<DrawnLabel*> m_labels;
};

} // namespace kestrelon::ui
