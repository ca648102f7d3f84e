#pragma once

#include "chipio.h"

#include <QString>

#include <cstdint>
#include <span>

class QObject;

namespace kestrelon {

enum class ReadOutProperty : std::uint8_t {
    Caption,
    ForeColor,
    BackColor,
    FillColor,
    Visible,
    Enabled
};

// One read-out of a chip: the control and property that show one field of ChipView. A row
// names exactly one field: `text` for a caption, `colour` or an LED for a colour, `flag` for
// a visibility or a timer's state.
struct ReadOut {
    const char* control[2]; // design name for chip #1 and for chip #2
    int element;            // array element; kChipElement is the chip's own, -1 a single control
    ReadOutProperty property;
    QString ChipView::*text = nullptr;
    std::uint32_t ChipView::*colour = nullptr;
    bool ChipView::*flag = nullptr;
    int led = -1; // element of ChipView::shpLED
};

inline constexpr int kChipElement = -2;

// Every read-out of one chip, in the order the calculation assigns them.
std::span<const ReadOut> chipReadOuts();

// A read-out bound to its control for one chip.
class BoundReadOut {
public:
    BoundReadOut(const ReadOut& row, QObject* control);
    // Copies what the control shows into the view, and back.
    void load(ChipView& view) const;
    void show(const ChipView& view) const;

private:
    const ReadOut* m_row;
    QObject* m_control;
};

} // namespace kestrelon
