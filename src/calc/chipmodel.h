#pragma once

#include "chipio.h"
#include "chipstate.h"

#include <array>
#include <cstdint>

namespace kestrelon {

// A voltage slider's value as the per-mille of its full-scale box's voltage.
double sliderFraction(int perMille, const QString& fullScale);

// Both chips' calculation: records, typed results, shown state and lit-LED colours, free of
// any widget.
class ChipModel {
public:
    std::array<ChipState, 2> state{};
    std::array<ChipResult, 2> result{};
    // What the window shows, made from the result; read-outs written from outside are kept
    // where a run does not reach them.
    std::array<ChipView, 2> view{};
    std::array<std::uint32_t, 2> ledColour{kRed, kBlue};
    std::array<double, 2> ledVf{};

    // Recalculates chip #1; while slaved, chip #2 is recalculated inside it first.
    void calcChip1(const PanelInputs& in);
    void calcChip2(const PanelInputs& in);

    // The resistor sliders' conversions to R1 and R2.
    void setR1FromSlider(int chip, int sliderValue);
    void setR2FromSlider(int chip, int sliderValue);

private:
    void calculate(int k, const PanelInputs& in);
    void lightLeds(int k, const ChipInputs& in);
    void sizeLimitingResistor(int k, const ChipInputs& in);
};

} // namespace kestrelon
