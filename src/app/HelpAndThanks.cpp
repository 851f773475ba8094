// SPDX-License-Identifier: MIT
#include "app/HelpAndThanks.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QUrl>

#include "app/HelpWindow.h"
#include "pages/MessageBoxes.h"

#ifndef GLOMIE_INSTALLED_HELP_DIR
#define GLOMIE_INSTALLED_HELP_DIR "../share/glomiecode"
#endif

namespace {
const QString HelpFileName = QStringLiteral("glomiecode.txt");

QString HelpFileIn(const QString& directory, const QString& relative) {
    return QDir::cleanPath(QDir(directory).absoluteFilePath(relative + QLatin1Char('/') + HelpFileName));
}
} // namespace

QStringList HelpFileCandidates(const QString& programDirectory, const QString& currentDirectory) {
    return {HelpFileIn(programDirectory, QStringLiteral("../Help")),
            HelpFileIn(programDirectory, QStringLiteral(GLOMIE_INSTALLED_HELP_DIR)),
            HelpFileIn(currentDirectory, QStringLiteral("../Help"))};
}

QString FindHelpFile(const QString& programDirectory, const QString& currentDirectory) {
    for (const QString& candidate : HelpFileCandidates(programDirectory, currentDirectory)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

void ShowHelp(QWidget& parent, const QString& programDirectory, const DesktopOpener& open) {
    const QString file = FindHelpFile(programDirectory, QDir::currentPath());
    if (file.isEmpty()) {
        ShowHelpText(parent, BuiltInHelpText());
        return;
    }
    open(QUrl::fromLocalFile(file), &parent, [&parent, file](bool opened) {
        if (opened)
            return;
        QFile help(file);
        ShowHelpText(parent, help.open(QIODevice::ReadOnly | QIODevice::Text)
                                 ? QString::fromUtf8(help.readAll())
                                 : BuiltInHelpText());
    });
}

void ShowHelpText(QWidget& parent, const QString& text) {
    auto* window = parent.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new HelpWindow(text, &parent);
        window->show();
    }
    window->raise();
    window->activateWindow();
}

QString BuiltInHelpText() {
    QFile help(QStringLiteral(":/glomiecode/glomiecode.txt"));
    return help.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(help.readAll()) : QString();
}

QString ThanksText() {
    static const char* const names[] = {
        "Aiko Hoshimura", "Benedict Lark", "Chiara Valtorta",
        "Dmitri Sorokin", "Elif Aydemir",  "Finn O'Rourke",
    };
    QString text;
    for (const char* name : names)
        text += QString::fromUtf8(name) + QLatin1Char('\n');
    return text;
}

void ShowThanks(QWidget& owner) {
    const QString caption = QCoreApplication::translate("HelpAndThanks", "Contributors");
    QMessageBox box(QMessageBox::NoIcon, caption, ThanksText(), QMessageBox::Ok, &owner);
    box.setObjectName(QStringLiteral("Contributors"));
    PrepareDialog(box, caption);
    // The names are short, and a box only as wide as they are leaves the window manager too little
    // title bar for the caption beside its icon and buttons: make room for all of them.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
        const int titleBar = 2 * metrics.horizontalAdvance(caption) + 8 * metrics.height();
        grid->addItem(new QSpacerItem(titleBar, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}
