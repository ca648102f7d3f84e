#pragma once

#include "rangedesign.h"

#include <QWidget>

namespace kestrelon {

// Every LED's threshold of a range design against the measured voltage: one row per LED (LED 1
// at the bottom), a bar for its band once trimmed, a thin line for its untrimmed band, a mark at
// the nominal threshold, and the range's two ends. Drawn from the widget's palette.
class RangePlot : public QWidget {
    Q_OBJECT

public:
    explicit RangePlot(QWidget* parent = nullptr);

    void showDesign(const RangeDesign& design);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RangeDesign m_design;
};

} // namespace kestrelon
