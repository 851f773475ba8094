// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <memory>

class QSocketNotifier;

// Ends every running event loop, the modal ones too, as QCoreApplication::exit(0) does, when the
// user or the system asks the program to stop: SIGTERM, SIGINT or SIGHUP on Unix (and a program
// whose event loop cannot get to it within five seconds ends then all the same); Ctrl+C,
// Ctrl+Break, or the console window closing, the user logging off or the system shutting down on
// Windows. Made after the application object, one at a time; its end restores the default handling.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // False when the signals could not be caught: they then end the program as they would anyway.
    bool catching() const { return m_catching; }

  private:
    bool m_catching = false;
#ifdef Q_OS_UNIX
    std::unique_ptr<QSocketNotifier> m_notifier;
#endif
};
