// The design assistant's cost beside the recalculation it follows: the hints are made after
// every recalculation, so their cost is measured against one slaved recalculation of both chips.
#include "chiphints.h"
#include "designfixture.h"
#include "designreport.h"
#include "targetsolver.h"

#include <benchmark/benchmark.h>

#include <array>

using namespace kestrelon;

namespace {

// An R1 slider drag on chip #1 with chip #2 slaved: the window's recalculation alone.
void recalcOnly(benchmark::State& state) {
    DesignPanel p;
    p.in.slave = true;
    int position = 50;
    for (auto _ : state) {
        p.model.setR1FromSlider(0, position);
        position = position == 1100 ? 50 : position + 1;
        p.model.calcChip1(p.in);
        benchmark::DoNotOptimize(p.model.view[1].lblGap.constData());
    }
}
BENCHMARK(recalcOnly)->Repetitions(15)->ReportAggregatesOnly(true);

// The same drag with both chips' designs and hints made after each recalculation, each design
// handed the last one as the window does.
void recalcWithHints(benchmark::State& state) {
    DesignPanel p;
    p.in.slave = true;
    std::array<ChipDesign, 2> last{p.design(0), p.design(1)};
    int position = 50;
    for (auto _ : state) {
        p.model.setR1FromSlider(0, position);
        position = position == 1100 ? 50 : position + 1;
        p.model.calcChip1(p.in);
        for (int k = 0; k < 2; ++k) {
            last[k] = designChip(p.model, p.in, k, u"Red", &last[k]);
            const ChipHints h = chipHints(last[k]);
            benchmark::DoNotOptimize(h.vsR2.constData());
        }
    }
}
BENCHMARK(recalcWithHints)->Repetitions(15)->ReportAggregatesOnly(true);

void designReportOfBothChips(benchmark::State& state) {
    const DesignPanel p;
    for (auto _ : state) {
        const QString report = designReport(p.design(0), p.design(1));
        benchmark::DoNotOptimize(report.constData());
    }
}
BENCHMARK(designReportOfBothChips)->Unit(benchmark::kMicrosecond);

// One answer of the target dialog: the whole R1 slider searched.
void solveForTarget(benchmark::State& state) {
    const DesignPanel p;
    for (auto _ : state) {
        const TargetSolution s = solveTarget(p.model, p.in, 0, u"5.00", u"10.0");
        benchmark::DoNotOptimize(s.hsR1);
    }
}
BENCHMARK(solveForTarget)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
