// SPDX-License-Identifier: MIT
#include "platform/DesktopOpen.h"

#include <QPointer>
#include <QTimer>

#ifdef Q_OS_WIN
#include "platform/WindowsApi.h"
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>
#elif defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <QProcess>
#else
#include <QDesktopServices>
#endif

void OpenWithDesktop(const QUrl& url, QObject* context, std::function<void(bool opened)> done) {
    QPointer<QObject> guard(context);
    const auto report = [guard, done](bool opened) {
        if (guard)
            done(opened);
    };
#ifdef Q_OS_WIN
    const std::wstring target =
        (url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)).toStdWString();
    // ShellExecute answers at once: above 32 when the desktop took it.
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    QTimer::singleShot(0, context, [report, result] { report(result > 32); });
#elif defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Not a child of the context: the application it starts must outlive the encoder's windows.
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, report](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         report(false);
                         opener->deleteLater();
                     });
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, report](int code, QProcess::ExitStatus status) {
                         report(status == QProcess::NormalExit && code == 0);
                         opener->deleteLater();
                     });
    opener->start();
#else
    const bool opened = QDesktopServices::openUrl(url);
    QTimer::singleShot(0, context, [report, opened] { report(opened); });
#endif
}

void LetAnotherProgramComeForward() {
#ifdef Q_OS_WIN
    ::AllowSetForegroundWindow(ASFW_ANY);
#endif
}

bool OtherUsersSeeCommandLines() {
#ifdef Q_OS_WIN
    return false;
#else
    return true;
#endif
}
