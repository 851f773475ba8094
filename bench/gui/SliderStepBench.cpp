// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QSlider>
#include <benchmark/benchmark.h>
#include <memory>

#include "pages/EncoderSheet.h"
#include "settings/SettingsLayout.h"

namespace {

// A slider step on the SM page, as the user makes it, until the page's CodeBox shows the new code.
void BM_SliderStepToCodeBox(benchmark::State& state) {
    EncoderSheet sheet;
    sheet.setAnswers(DefaultAnswers());
    sheet.show();
    auto* slider = sheet.page(0).findChild<QSlider*>(QStringLiteral("Pri"));
    int step = 0;
    for (auto _ : state) {
        slider->triggerAction(step++ % 2 ? QAbstractSlider::SliderSingleStepSub
                                         : QAbstractSlider::SliderSingleStepAdd);
        benchmark::DoNotOptimize(sheet.page(0).codeBox()->toPlainText().size());
    }
}
BENCHMARK(BM_SliderStepToCodeBox)->Unit(benchmark::kMicrosecond);

// The same on a favourites page, whose section and whole code are longer.
void BM_TuneStepToCodeBox(benchmark::State& state) {
    EncoderSheet sheet;
    AnswerSet answers = DefaultAnswers();
    answers.Favorites.Senshi0 = 1;
    sheet.setAnswers(answers);
    sheet.show();
    sheet.tabs().setCurrentIndex(1);
    auto* slider = sheet.page(1).findChild<QSlider*>(QStringLiteral("IntensitySenshi0"));
    int step = 0;
    for (auto _ : state) {
        slider->triggerAction(step++ % 2 ? QAbstractSlider::SliderSingleStepSub
                                         : QAbstractSlider::SliderSingleStepAdd);
        benchmark::DoNotOptimize(sheet.page(1).codeBox()->toPlainText().size());
    }
}
BENCHMARK(BM_TuneStepToCodeBox)->Unit(benchmark::kMicrosecond);

// Two codes with every section, pasted in turn: from the paste until every page shows the new
// answers (the page in front its code box too).
const QString PastedCodes[] = {
    QStringLiteral(
        "GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- "
        "X:***[*]:aClr++|ClS[SS]s++++:m18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|+"),
    QStringLiteral("GlomieCode(1.12.05) SM:9+m- F:v4GA3:p*R1 D:sMo<[--] X:a52s+++|12d[+] O:!d+[+]:a-[-] "
                   "P:s511:w150:eBBrL|Gg[z]:hBrD++m[b]:t--[+]:cWhAs:bAB+:*Ar:y+P:r|"),
};

void BM_PasteToEveryPage(benchmark::State& state) {
    EncoderSheet sheet;
    sheet.setAnswers(DefaultAnswers());
    sheet.show();
    sheet.pasteCode(PastedCodes[1]); // every page shown once, as after the first paste of a run
    int paste = 0;
    for (auto _ : state) {
        const QString& code = PastedCodes[paste++ % 2];
        if (sheet.pasteCode(code) != EncoderSheet::PasteOutcome::Taken)
            state.SkipWithError("the code was not taken whole");
        benchmark::DoNotOptimize(sheet.page(0).codeBox()->toPlainText().size());
    }
}
BENCHMARK(BM_PasteToEveryPage)->Unit(benchmark::kMillisecond);

// The first paste after the sheet opens, onto pages never shown so far.
void BM_FirstPasteToEveryPage(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto sheet = std::make_unique<EncoderSheet>();
        sheet->setAnswers(DefaultAnswers());
        sheet->show();
        state.ResumeTiming();
        if (sheet->pasteCode(PastedCodes[0]) != EncoderSheet::PasteOutcome::Taken)
            state.SkipWithError("the code was not taken whole");
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstPasteToEveryPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
