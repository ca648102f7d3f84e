// One R1 slider step on the shown main window (chip #2 slaved), with the repaint it causes,
// against a bare window of the same size that rewrites as many labels and repaints; and the
// same step without the design assistant's hints, to show what they cost.
#include "controls.h"
#include "designassistant.h"
#include "form1.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kLabels = 46;

void settle() {
    QCoreApplication::processEvents();
}

void sliderStep(benchmark::State& state, bool hints) {
    kestrelon::Form1 form;
    form.findChild<kestrelon::DesignAssistant*>()->setHintsEnabled(hints);
    form.Form_Load();
    form.findChild<kestrelon::ui::CheckBox*>(QStringLiteral("chkSlave"))->setValue(1);
    auto* r1 = form.findChild<kestrelon::ui::ScrollBar*>(QStringLiteral("hsR1_0"));
    settle();
    int value = 50;
    for (auto _ : state) {
        value = value >= 1100 ? 50 : value + 1;
        r1->setValue(value);
        settle();
    }
}
// Run with --benchmark_enable_random_interleaving=true so a busy spell of the shared machine
// falls on both.
void sliderStepOnMainWindow(benchmark::State& state) {
    sliderStep(state, true);
}
void sliderStepWithoutHints(benchmark::State& state) {
    sliderStep(state, false);
}
BENCHMARK(sliderStepOnMainWindow)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(sliderStepWithoutHints)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void labelsOnBareWindow(benchmark::State& state) {
    QWidget window;
    window.setFixedSize(571, 682);
    std::vector<QLabel*> labels;
    for (int i = 0; i < kLabels; ++i) {
        auto* label = new QLabel(&window);
        label->setGeometry(10 + (i % 6) * 90, 20 + (i / 6) * 80, 80, 18);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        labels.push_back(label);
    }
    window.show();
    settle();
    int step = 0;
    for (auto _ : state) {
        ++step;
        for (int i = 0; i < kLabels; ++i)
            labels[static_cast<std::size_t>(i)]->setText(QString::number(step * 0.01 + i, 'f', 2));
        settle();
    }
}
BENCHMARK(labelsOnBareWindow)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The offscreen platform says once per shown window that it ignores size hints; it would come
// between the figures.
QtMessageHandler qtMessages = nullptr;
void dropSizeHintNote(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message != QLatin1String("This plugin does not support propagateSizeHints()"))
        qtMessages(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    qtMessages = qInstallMessageHandler(dropSizeHintNote);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
