// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "app/DecoderHandOff.h"
#include "app/SplashWindow.h"
#include "pages/EncoderSheet.h"

// A test with a temporary folder of its own.
class FolderTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    // Makes folders below the temporary folder.
    void makeFolders(std::initializer_list<const char*> folders) {
        for (const char* folder : folders)
            ASSERT_TRUE(QDir(m_dir.path()).mkpath(QString::fromUtf8(folder)));
    }
    // Makes a file, and its folders, below the temporary folder or at an absolute path.
    QString makeFile(const QString& path) {
        const QString file = QDir(m_dir.path()).filePath(path);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("made by a test\n");
        return file;
    }

    QTemporaryDir m_dir;
};

// What a message box showed.
using BoxCatcher = MessageBoxCatcher;

// Runs action on the sheet as soon as it runs modally. The action should end the sheet; if it has
// not within ten seconds, the test fails and the sheet is cancelled so that the test goes on.
inline void WhenSheetRuns(std::function<void(EncoderSheet&)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto* sheet = qobject_cast<EncoderSheet*>(QApplication::activeModalWidget());
        if (!sheet)
            return;
        timer->stop();
        timer->deleteLater();
        action(*sheet);
        QTimer::singleShot(10000, sheet, [sheet] {
            ADD_FAILURE() << "the sheet is still open";
            sheet->reject();
        });
    });
    timer->start();
}

// The splash window on the screen, whoever showed it, or null.
inline QWidget* SplashOnScreen() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("Splash") && widget->isVisible())
            return widget;
    return nullptr;
}
