// SPDX-License-Identifier: MIT
#include "platform/StopSignals.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include "platform/WindowsApi.h"
#include <QMetaObject>
#include <mutex>
#endif

#ifdef Q_OS_UNIX

namespace {

// A signal handler may only make async-signal-safe calls: it writes a byte into a pipe, and the
// event loop, watching the other end, does the rest.
int g_pipe[2] = {-1, -1};

// How long the event loop has to end the program after a stop signal. A program that cannot get
// there (its main thread stuck waiting on the display, say) is ended by the alarm's default action.
constexpr unsigned kStopGraceSeconds = 5;

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_pipe[1], &byte, 1);
    ::alarm(kStopGraceSeconds);
}

bool MakePipe() {
    if (::pipe(g_pipe) != 0)
        return false;
    for (const int fd : g_pipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};
// What the signals did before, given back at the end.
struct sigaction g_previous[std::size(kStopSignals)];

bool CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    bool caught = true;
    for (size_t i = 0; i < std::size(kStopSignals); ++i)
        caught = ::sigaction(kStopSignals[i], &action, &g_previous[i]) == 0 && caught;
    return caught;
}

void RestoreStopSignals() {
    for (size_t i = 0; i < std::size(kStopSignals); ++i)
        ::sigaction(kStopSignals[i], &g_previous[i], nullptr);
}

} // namespace

StopSignals::StopSignals() {
    if (g_pipe[0] != -1 || !MakePipe())
        return;
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        QCoreApplication::exit(0);
    });
    m_catching = CatchStopSignals();
}

StopSignals::~StopSignals() {
    if (!m_notifier)
        return;
    // The previous handling first, so that no handler writes into a pipe being closed.
    RestoreStopSignals();
    m_notifier.reset();
    for (int& fd : g_pipe) {
        ::close(fd);
        fd = -1;
    }
}

#elif defined(Q_OS_WIN)

namespace {

// The console runs its handler on a thread of its own: it posts the stop to the main thread's
// event loop, and only while the application object is sure to exist.
std::mutex g_lock;
bool g_catching = false;
// Set once the program is done with its event loops (and with the stop signals).
HANDLE g_done = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    {
        const std::lock_guard<std::mutex> guard(g_lock);
        if (!g_catching)
            return FALSE;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
    // After a close, logoff or shutdown event Windows ends the process as soon as this returns:
    // wait, within the few seconds the system grants, until the program has ended cleanly.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ::WaitForSingleObject(g_done, INFINITE);
    return TRUE;
}

} // namespace

StopSignals::StopSignals() {
    const std::lock_guard<std::mutex> guard(g_lock);
    if (g_catching)
        return;
    if (!g_done)
        g_done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_done || !::ResetEvent(g_done) || !::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE))
        return;
    g_catching = m_catching = true;
}

StopSignals::~StopSignals() {
    if (!m_catching)
        return;
    ::SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
    {
        const std::lock_guard<std::mutex> guard(g_lock);
        g_catching = false;
    }
    ::SetEvent(g_done);
}

#else

StopSignals::StopSignals() = default;
StopSignals::~StopSignals() = default;

#endif
