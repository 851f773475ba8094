// SPDX-License-Identifier: MIT
// The encoder with its own decoder page running, measured while something floods that page's port
// (bench/encoder-flood.sh runs it under a flood and without one, scripts/ci-service.sh under a
// burst). Prints "host 127.0.0.1:PORT/SECRET" and "port PORT" once the page runs; from the warm-up's
// end to the run's end it moves a slider every 20 ms and measures how late the event loop comes to
// it, how long the step takes to reach the code box, the CPU the process uses and the most files it
// holds. With a settings file, it then saves the answers there as OK does, and says how long that
// took. Usage: encoder_flood [SECONDS [WARM_UP_SECONDS [SETTINGS_FILE]]]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/DecoderHandOff.h"
#include "app/EncoderApp.h"
#include "app/LocalNetworkLoader.h"
#include "pages/EncoderSheet.h"
#include "platform/FileLimit.h"
#include "settings/SettingsLayout.h"
#include "store/SettingsStore.h"

namespace {

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(fraction * double(values.size())))];
}

// The process's CPU time in seconds, all threads.
double CpuSeconds() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    RaiseOpenFileLimit(); // as the encoder does
    QApplication application(argc, argv);
    SetLocalNetworkFolder(QStringLiteral(GLOMIE_LOCALNET_DIR));
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    const int warmUp = argc > 2 ? std::atoi(argv[2]) : 3;

    EncoderSheet sheet;
    sheet.setAnswers(DefaultAnswers());
    sheet.show();
    DecoderHandOff handOff;
    handOff.setOpener([](const QUrl&, QObject*, std::function<void(bool)> done) { done(true); });
    handOff.handOff(sheet.page(0), QString::fromStdString(sheet.fullCode()));
    const QString host = handOff.embeddedHost();
    std::printf("host %s\nport %s\n", qPrintable(host),
                qPrintable(host.section(u':', 1).section(u'/', 0, 0)));
    std::fflush(stdout);

    auto* slider = sheet.page(0).findChild<QSlider*>(QStringLiteral("Pri"));
    std::vector<double> lateMs, stepUs;
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    double cpuAtStart = 0;
    int step = 0;
    const auto openFiles = [] {
        return QDir(QStringLiteral("/proc/self/fd"))
            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
            .size();
    };
    qsizetype mostFiles = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(20);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const bool measuring = now >= qint64(warmUp) * 1000000000;
        if (measuring && cpuAtStart == 0)
            cpuAtStart = CpuSeconds();
        if (measuring && last > 0)
            lateMs.push_back(double(now - last) / 1e6 - 20);
        last = now;
        QElapsedTimer stepClock;
        stepClock.start();
        slider->triggerAction(step++ % 2 ? QAbstractSlider::SliderSingleStepSub
                                         : QAbstractSlider::SliderSingleStepAdd);
        const qsizetype shown = sheet.page(0).codeBox()->toPlainText().size();
        if (measuring && shown > 0)
            stepUs.push_back(double(stepClock.nsecsElapsed()) / 1e3);
        mostFiles = std::max(mostFiles, openFiles());
    });
    tick.start();
    QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
    QApplication::exec();

    const double measured = double(seconds - warmUp);
    const auto files = openFiles();
    std::printf("encoder: %zu ticks of 20 ms in %.0f s; late by median %.2f ms, 99th percentile %.2f ms, "
                "at most %.2f ms\n",
                lateMs.size(), measured, Percentile(lateMs, 0.5), Percentile(lateMs, 0.99),
                lateMs.empty() ? 0.0 : *std::max_element(lateMs.begin(), lateMs.end()));
    std::printf("encoder: a slider step to the code box: median %.0f us, at most %.0f us\n",
                Percentile(stepUs, 0.5),
                stepUs.empty() ? 0.0 : *std::max_element(stepUs.begin(), stepUs.end()));
    std::printf("encoder: CPU %.1f %% (its own slider steps included); %lld files open at the end, %lld at "
                "most\n",
                (CpuSeconds() - cpuAtStart) / measured * 100, static_cast<long long>(files),
                static_cast<long long>(mostFiles));
    if (argc > 3) {
        auto store = SettingsStore::forIniFile(QString::fromLocal8Bit(argv[3]));
        QElapsedTimer saving;
        saving.start();
        const bool saved = EncoderApp::saveSheet(*store, sheet);
        std::printf("encoder: OK %s in %.0f ms%s%s\n",
                    saved ? "saved the answers" : "could not save the answers",
                    double(saving.nsecsElapsed()) / 1e6, saved ? "" : ": ",
                    saved ? "" : qPrintable(store->commitError()));
        return saved ? 0 : 1;
    }
    return 0;
}
