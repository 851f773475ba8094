// SPDX-License-Identifier: MIT
// Takes the README's pictures: opens the real sheet offscreen with the answers of an INI file and
// saves each of the ten pages as OUT_DIR/<n>-<caption>.png.
//   glomie-screenshots ANSWERS.ini OUT_DIR
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTextStream>

#include "pages/EncoderSheet.h"
#include "settings/SettingsLayout.h"
#include "store/SettingsStore.h"

namespace {
// "More Personal" -> "more-personal"
QString FileNamePart(const QString& caption) {
    return caption.toLower().remove(QLatin1Char('&')).replace(QLatin1Char(' '), QLatin1Char('-'));
}
} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glomiecode"));
    QTextStream err(stderr);
    QTextStream out(stdout);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        err << "usage: glomie-screenshots ANSWERS.ini OUT_DIR\n";
        return 2;
    }
    if (!QFileInfo(arguments[1]).isFile()) {
        err << "glomie-screenshots: cannot read " << arguments[1] << '\n';
        return 1;
    }
    const QDir outDir(arguments[2]);
    if (!QDir().mkpath(outDir.path())) {
        err << "glomie-screenshots: cannot create " << outDir.path() << '\n';
        return 1;
    }

    EncoderSheet sheet;
    auto store = SettingsStore::forIniFile(arguments[1]);
    AnswerSet answers;
    LoadSettings(*store, answers);
    sheet.setAnswers(answers);
    sheet.show();
    // The pictures show whole pages, whatever the size of the offscreen screen.
    sheet.resize(sheet.sizeHint());
    QApplication::processEvents();

    for (int i = 0; i < kPageCount; ++i) {
        sheet.tabs().setCurrentIndex(i);
        QApplication::processEvents();
        const QString file = outDir.filePath(QStringLiteral("%1-%2.png")
                                                 .arg(i + 1, 2, 10, QLatin1Char('0'))
                                                 .arg(FileNamePart(sheet.tabs().tabText(i))));
        if (!sheet.grab().save(file, "PNG")) {
            err << "glomie-screenshots: cannot write " << file << '\n';
            return 1;
        }
        out << file << '\n';
    }
    out << "code: " << QString::fromStdString(sheet.fullCode()) << '\n';
    return 0;
}
