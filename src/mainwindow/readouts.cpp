#include "readouts.h"

#include "chipcontrols.h"
#include "controls.h"
#include "drawing.h"

#include <array>

namespace kestrelon {

namespace {

using P = ReadOutProperty;

constexpr ReadOut caption(const char* name, QString ChipView::*field) {
    return {{name, name}, kChipElement, P::Caption, field};
}

constexpr ReadOut colour(const char* name, P property, std::uint32_t ChipView::*field) {
    return {{name, name}, kChipElement, property, nullptr, field};
}

constexpr ReadOut visible(const char* name, bool ChipView::*field) {
    return {{name, name}, kChipElement, P::Visible, nullptr, nullptr, field};
}

constexpr ReadOut led(int element) {
    return {{kChipControls[0].shpLED, kChipControls[1].shpLED},
            element,
            P::FillColor,
            nullptr,
            nullptr,
            nullptr,
            element};
}

constexpr auto kReadOuts = [] {
    constexpr ReadOut rows[] = {
        caption("lblR1", &ChipView::lblR1),
        caption("lblVin", &ChipView::lblVin),
        colour("lblmA", P::ForeColor, &ChipView::lblmAForeColor),
        caption("lblmA", &ChipView::lblmA),
        {{kChipControls[0].timer, kChipControls[1].timer},
         -1,
         P::Enabled,
         nullptr,
         nullptr,
         &ChipView::timerEnabled},
        caption("lblRefo", &ChipView::lblRefo),
        colour("Label9", P::BackColor, &ChipView::Label9BackColor),
        caption("Label9", &ChipView::Label9),
        caption("lblR2", &ChipView::lblR2),
        caption("lblRadj", &ChipView::lblRadj),
        caption("lblRLo", &ChipView::lblRLo),
        caption("lblRHi", &ChipView::lblRHi),
        caption("lblVmin", &ChipView::lblVmin),
        caption("lblVmax", &ChipView::lblVmax),
        caption("lblGap", &ChipView::lblGap),
        caption("Label3", &ChipView::Label3),
        caption("lblWarn", &ChipView::lblWarn),
        visible("lblRlim", &ChipView::lblRlimVisible),
        visible("lblWarn", &ChipView::lblWarnVisible),
        visible("lineRlim", &ChipView::lineRlimVisible),
        visible("lblWatts", &ChipView::lblWattsVisible),
        caption("lblRlim", &ChipView::lblRlim),
        caption("lblWatts", &ChipView::lblWatts),
    };
    constexpr int leds = std::tuple_size_v<decltype(ChipView::shpLED)>;
    std::array<ReadOut, std::size(rows) + leds> all{};
    std::size_t n = 0;
    for (const ReadOut& r : rows)
        all[n++] = r;
    for (int i = 0; i < leds; ++i)
        all[n++] = led(i);
    return all;
}();

// The view's colour field of a row, const or not.
template <typename View> auto& colourOf(const ReadOut& row, View& view) {
    return row.led >= 0 ? view.shpLED[static_cast<std::size_t>(row.led)] : view.*row.colour;
}

} // namespace

std::span<const ReadOut> chipReadOuts() {
    return kReadOuts;
}

BoundReadOut::BoundReadOut(const ReadOut& row, QObject* control)
    : m_row(&row), m_control(control) {}

void BoundReadOut::load(ChipView& view) const {
    switch (m_row->property) {
    case P::Caption:
        view.*m_row->text = static_cast<ui::Label*>(m_control)->caption();
        break;
    case P::ForeColor:
        colourOf(*m_row, view) = static_cast<ui::Label*>(m_control)->foreColor();
        break;
    case P::BackColor:
        colourOf(*m_row, view) = static_cast<ui::Label*>(m_control)->backColor();
        break;
    case P::FillColor:
        colourOf(*m_row, view) = static_cast<ui::Shape*>(m_control)->fillColor();
        break;
    case P::Visible:
        if (auto* line = qobject_cast<ui::Line*>(m_control))
            view.*m_row->flag = line->isVisible();
        else
            view.*m_row->flag = !static_cast<QWidget*>(m_control)->isHidden();
        break;
    case P::Enabled:
        view.*m_row->flag = static_cast<ui::Timer*>(m_control)->isActive();
        break;
    }
}

void BoundReadOut::show(const ChipView& view) const {
    // The controls' setters skip a value they already show, so only what moved repaints.
    const ChipView& v = view;
    switch (m_row->property) {
    case P::Caption:
        static_cast<ui::Label*>(m_control)->setCaption(v.*m_row->text);
        break;
    case P::ForeColor:
        static_cast<ui::Label*>(m_control)->setForeColor(colourOf(*m_row, v));
        break;
    case P::BackColor:
        static_cast<ui::Label*>(m_control)->setBackColor(colourOf(*m_row, v));
        break;
    case P::FillColor:
        static_cast<ui::Shape*>(m_control)->setFillColor(colourOf(*m_row, v));
        break;
    case P::Visible:
        if (auto* line = qobject_cast<ui::Line*>(m_control))
            line->setVisible(v.*m_row->flag);
        else if (auto* widget = static_cast<QWidget*>(m_control);
                 widget->isHidden() == v.*m_row->flag)
            widget->setVisible(v.*m_row->flag);
        break;
    case P::Enabled:
        static_cast<ui::Timer*>(m_control)->setEnabled(v.*m_row->flag);
        break;
    }
}

} // namespace kestrelon
