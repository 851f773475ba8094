// SPDX-License-Identifier: MIT
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// The rule that one copy of an executable file runs at a time, kept with a lock file named after the
// file: a copy under another name or in another folder has a lock of its own.
class InstanceLock {
  public:
    // Where the locks live: a folder only the user can write (the login's runtime folder, else one in
    // the user's cache, made when missing); empty when there is no such folder.
    static QString defaultFolder();
    // The lock file of one executable file in folder, named after a hash of its canonical path.
    static QString lockPath(const QString& executablePath, const QString& folder);

    InstanceLock(const QString& executablePath, const QString& folder);
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock, held until this object goes; false when a running copy holds it (error() is
    // then LockFailedError) or it cannot be made. A lock left by a copy whose process is gone is
    // taken over.
    bool acquire();
    QLockFile::LockError error() const { return m_file.error(); }

    // While the lock is held, a later copy can ask this one to come to the front: comeForward runs
    // when it does. Only the user's own programs can reach it.
    void listenForLaterCopies(std::function<void()> comeForward);
    // A later copy: asks the copy that holds the lock to come to the front; false when it cannot be
    // reached.
    bool askHolderToComeForward() const;

  private:
    QString serverName() const;

    QString m_path;
    QLockFile m_file;
    std::unique_ptr<QObject> m_listener; // from the local network module, once listening
};
