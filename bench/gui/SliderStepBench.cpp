#include <QApplication>
#include <QSlider>
#include <benchmark/benchmark.h>

#include "pages/CGCPropertySheet.h"
#include "settings/SettingsLayout.h"

namespace {

// A slider step on the SM page, as the user makes it, until the page's CodeBox shows the new code.
void BM_SliderStepToCodeBox(benchmark::State& state) {
    CGCPropertySheet sheet;
    ResetToDefaults(sheet.Answers());
    sheet.RebuildCode(RebuildAll);
    sheet.show();
    auto* slider = sheet.Page(0).findChild<QSlider*>(QStringLiteral("Pri"));
    int step = 0;
    for (auto _ : state) {
        slider->triggerAction(step++ % 2 ? QAbstractSlider::SliderSingleStepSub
                                         : QAbstractSlider::SliderSingleStepAdd);
        benchmark::DoNotOptimize(sheet.Page(0).CodeBox()->toPlainText().size());
    }
}
BENCHMARK(BM_SliderStepToCodeBox)->Unit(benchmark::kMicrosecond);

// The same on a favourites page, whose section and whole code are longer.
void BM_TuneStepToCodeBox(benchmark::State& state) {
    CGCPropertySheet sheet;
    ResetToDefaults(sheet.Answers());
    sheet.m_FavoritesPage.Answers().Senshi0 = 1;
    sheet.RebuildCode(RebuildAll);
    sheet.show();
    sheet.Tabs().setCurrentIndex(1);
    auto* slider = sheet.Page(1).findChild<QSlider*>(QStringLiteral("IntensitySenshi0"));
    int step = 0;
    for (auto _ : state) {
        slider->triggerAction(step++ % 2 ? QAbstractSlider::SliderSingleStepSub
                                         : QAbstractSlider::SliderSingleStepAdd);
        benchmark::DoNotOptimize(sheet.Page(1).CodeBox()->toPlainText().size());
    }
}
BENCHMARK(BM_TuneStepToCodeBox)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
