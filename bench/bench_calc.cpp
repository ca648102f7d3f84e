// One recalculation of chip #1 with chip #2 slaved to it, every caption formatted.
#include "chipmodel.h"
#include "conversions.h"
#include "examplechip.h"

#include <benchmark/benchmark.h>

using namespace kestrelon;

namespace {

void recalcChip1Slaved(benchmark::State& state) {
    ChipModel model;
    PanelInputs in;
    in.chip = {exampleChip(), exampleChip()};
    in.slave = true;
    for (int k = 0; k < 2; ++k) {
        model.setR1FromSlider(k, 250);
        model.setR2FromSlider(k, 360);
        model.ledVf[k] = 2;
    }
    int signal = 0;
    for (auto _ : state) {
        // Move the signal so each run lights a different set of LEDs, as a drag does.
        in.chip[0].vsVin = signal;
        signal = (signal + 7) % 1001;
        model.calcChip1(in);
        benchmark::DoNotOptimize(model.view[1].lblGap.constData());
    }
}
// Many repetitions: the median then holds still on a busy shared machine.
BENCHMARK(recalcChip1Slaved)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

namespace {

void formatCaption(benchmark::State& state) {
    double v = 0.1234;
    for (auto _ : state) {
        QString s = formatWithUnit({}, v, "#0.00", "v");
        benchmark::DoNotOptimize(s.constData());
        v += 0.001;
    }
}
BENCHMARK(formatCaption);

void parseText(benchmark::State& state) {
    const QString text = QStringLiteral("12.5");
    for (auto _ : state)
        benchmark::DoNotOptimize(parse(text));
}
BENCHMARK(parseText);

} // namespace
