// SPDX-License-Identifier: MIT
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "settings/SettingsLayout.h"
#include "store/SettingsStore.h"

namespace {

// OK's save: all 183 values into an INI file that holds the previous answers, replacing it. Two
// sets of answers in turn, so that every save changes the file.
void BM_SaveEveryAnswer(benchmark::State& state) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("glomiecode.conf"));
    AnswerSet answers[2] = {DefaultAnswers(), DefaultAnswers()};
    answers[1].Obsession.Pri = 14;
    answers[1].Favorites.Senshi0 = 3;
    auto store = SettingsStore::forIniFile(path);
    int save = 0;
    for (auto _ : state) {
        SaveSettings(*store, answers[save++ % 2]);
        if (!store->commit())
            state.SkipWithError(store->commitError().toUtf8().constData());
    }
}
BENCHMARK(BM_SaveEveryAnswer)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
