#include "plotrange.h"

#include "figuretext.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kestrelon {

namespace {

constexpr int kRowHeight = 16;
constexpr int kMargin = 8;

// A step of 1, 2 or 5 times a power of ten that gives about `count` ticks over span.
double tickStep(double span, int count) {
    const double raw = span / count;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * decade >= raw)
            return m * decade;
    return 10 * decade;
}

QString tickText(double v, double step) {
    const int decimals = std::clamp(int(std::ceil(-std::log10(step))), 0, 3);
    return QString::number(v, 'f', decimals);
}

} // namespace

RangePlot::RangePlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("plotRange"));
    setAccessibleName(QStringLiteral("Thresholds plot"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void RangePlot::showDesign(const RangeDesign& design) {
    m_design = design;
    QString description;
    if (!design.made) {
        description = QStringLiteral("No design to plot.");
    } else {
        const auto& t = design.thresholds;
        description = QStringLiteral("LED 1 at ") + volts(t.front().measured.nominal) +
                      QStringLiteral(", LED ") + QString::number(t.size()) +
                      QStringLiteral(" at ") + volts(t.back().measured.nominal) +
                      QStringLiteral("; the range's ends at ") + volts(design.request.lo) +
                      QStringLiteral(" and ") + volts(design.request.hi) + QLatin1Char('.');
    }
    setAccessibleDescription(description);
    updateGeometry();
    update();
}

QSize RangePlot::sizeHint() const {
    const int rows = std::max<int>(10, int(m_design.thresholds.size()));
    return {520, rows * kRowHeight + 5 * fontMetrics().height() + 2 * kMargin};
}

QSize RangePlot::minimumSizeHint() const {
    return {320, 10 * kRowHeight + 5 * fontMetrics().height()};
}

void RangePlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QColor ink = pal.color(QPalette::Text);
    QColor faint = ink;
    faint.setAlphaF(0.45);
    QColor band = pal.color(QPalette::Highlight);
    band.setAlphaF(0.55);
    const QFontMetrics fm = fontMetrics();
    p.setPen(ink);
    if (!m_design.made) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No design"));
        return;
    }
    const auto& t = m_design.thresholds;
    const int rows = int(t.size());
    double low = std::min(m_design.request.lo, m_design.request.hi);
    double high = std::max(m_design.request.lo, m_design.request.hi);
    for (const RangeThreshold& r : t) {
        low = std::min({low, r.untrimmed.low, r.measured.low});
        high = std::max({high, r.untrimmed.high, r.measured.high});
    }
    const double pad = (high - low) * 0.04 + 1e-9;
    low -= pad;
    high += pad;

    const int labelWidth = fm.horizontalAdvance(QStringLiteral("LED 20")) + kMargin;
    const int legendHeight = fm.height() + kMargin;
    const QRect area(kMargin + labelWidth, kMargin + legendHeight,
                     width() - 2 * kMargin - labelWidth -
                         fm.horizontalAdvance(QStringLiteral("00")),
                     rows * kRowHeight);
    const auto x = [&](double v) { return area.left() + (v - low) / (high - low) * area.width(); };
    const auto rowTop = [&](int led) { return area.bottom() - (led + 1) * kRowHeight + 1; };

    // Legend.
    int lx = area.left();
    const int ly = kMargin;
    p.fillRect(QRectF(lx, ly + fm.height() / 4, 18, fm.height() / 2), band);
    lx += 22;
    const QString trimmed = QStringLiteral("band once trimmed");
    p.drawText(lx, ly + fm.ascent(), trimmed);
    lx += fm.horizontalAdvance(trimmed) + 14;
    p.setPen(QPen(faint, 2));
    p.drawLine(QPointF(lx, ly + fm.height() / 2.0), QPointF(lx + 18, ly + fm.height() / 2.0));
    lx += 22;
    p.setPen(ink);
    const QString untrimmed = QStringLiteral("untrimmed");
    p.drawText(lx, ly + fm.ascent(), untrimmed);
    lx += fm.horizontalAdvance(untrimmed) + 14;
    p.setPen(QPen(ink, 2));
    p.drawLine(QPointF(lx + 4, ly + 2), QPointF(lx + 4, ly + fm.height() - 2));
    p.drawText(lx + 12, ly + fm.ascent(), QStringLiteral("nominal"));

    // The range's ends.
    QPen endPen(ink, 1, Qt::DashLine);
    p.setPen(endPen);
    for (const double end : {m_design.request.lo, m_design.request.hi})
        p.drawLine(QPointF(x(end), area.top()), QPointF(x(end), area.bottom()));

    for (int led = 0; led < rows; ++led) {
        const RangeThreshold& r = t[led];
        const double top = rowTop(led);
        const double mid = top + kRowHeight / 2.0 - 1;
        p.setPen(ink);
        p.drawText(QRectF(kMargin, top, labelWidth - kMargin / 2.0, kRowHeight - 2),
                   Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("LED ") + QString::number(led + 1));
        p.setPen(QPen(faint, 2));
        p.drawLine(QPointF(x(r.untrimmed.low), mid), QPointF(x(r.untrimmed.high), mid));
        const double bandLeft = x(r.measured.low);
        p.fillRect(
            QRectF(bandLeft, top + 3, std::max(2.0, x(r.measured.high) - bandLeft), kRowHeight - 8),
            band);
        p.setPen(QPen(ink, 2));
        p.drawLine(QPointF(x(r.measured.nominal), top + 1),
                   QPointF(x(r.measured.nominal), top + kRowHeight - 3));
    }
    // Between the chips of a stack.
    if (rows > 10) {
        p.setPen(QPen(faint, 1));
        const double y = rowTop(9) - 0.5;
        p.drawLine(QPointF(area.left() - labelWidth, y), QPointF(area.right(), y));
    }

    // Axis.
    p.setPen(ink);
    p.drawLine(area.bottomLeft(), area.bottomRight());
    const double step = tickStep(high - low, std::max(2, area.width() / 70));
    for (double v = std::ceil(low / step) * step; v <= high; v += step) {
        const double px = x(v);
        p.drawLine(QPointF(px, area.bottom()), QPointF(px, area.bottom() + 4));
        const QString text = tickText(v, step);
        const int w = fm.horizontalAdvance(text);
        p.drawText(QPointF(px - w / 2.0, area.bottom() + 5 + fm.ascent()), text);
    }
    const QString unit = QStringLiteral("measured voltage (V)");
    p.drawText(QPointF(area.center().x() - fm.horizontalAdvance(unit) / 2.0,
                       area.bottom() + 8 + fm.height() + fm.ascent()),
               unit);
}

} // namespace kestrelon
