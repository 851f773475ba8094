// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// A lock file made as QLockFile makes it, so that the two exclude each other (QSettings locks its
// file with "<file>.lock" too): created only where there is none, holding the owner's process id,
// and held, while locked, with flock() on Unix or by being open without sharing on Windows.
// Unlike QLockFile it takes over at once a lock file that no process holds any more, an empty one
// left by a process killed while making it too, and it says why a lock file could not be made.
class LockFile {
  public:
    explicit LockFile(QString path);
    ~LockFile(); // unlocks
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    enum class Attempt { Taken, Held, Failed };
    // One attempt, without waiting: Held while another process holds it, Failed with error().
    Attempt tryLock();
    void unlock();
    QString error() const { return m_error; }

    // Removes the lock file at path when no process holds it, as tryLock() does before making its
    // own; true when it was removed (or was gone already).
    static bool removeIfAbandoned(const QString& path);

  private:
    QString m_path;
    QString m_error;
#ifdef Q_OS_WIN
    void* m_handle = nullptr;
#else
    int m_descriptor = -1;
#endif
};
