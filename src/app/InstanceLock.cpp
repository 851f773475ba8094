// SPDX-License-Identifier: MIT
#include "app/InstanceLock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include "app/LocalNetworkLoader.h"
#include "platform/PrivateFolder.h"

QString InstanceLock::defaultFolder() {
    // The login's runtime folder when it has one that is truly its own; else a folder of the
    // user's in the per-user cache. Never the shared temporary folder, where another user could
    // take the lock's name first.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && IsPrivateFolder(runtime))
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    const QString own = cache + QStringLiteral("/kvrq");
    // Made private from the start: the default mode may let the user's group write it.
    if (!cache.isEmpty() && !QFileInfo::exists(own) && QDir().mkpath(cache))
        QDir().mkdir(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return !cache.isEmpty() && IsPrivateFolder(own) ? own : QString();
}

QString InstanceLock::lockPath(const QString& executablePath, const QString& folder) {
    const QFileInfo executable(executablePath);
    QString canonical = executable.canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QDir::cleanPath(executable.absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex();
    // The user id keeps two users' copies apart in a shared temporary folder.
    return QDir(folder).filePath(QStringLiteral("glomiecode-%1-%2.lock")
                                     .arg(UserIdForFileNames())
                                     .arg(QString::fromLatin1(hash.left(32))));
}

InstanceLock::InstanceLock(const QString& executablePath, const QString& folder)
    : m_path(lockPath(executablePath, folder)), m_file(m_path) {
    // A copy that runs for hours keeps its lock; only one whose process is gone loses it.
    m_file.setStaleLockTime(0);
}

bool InstanceLock::acquire() {
    if (m_file.tryLock(0))
        return true;
    // A lock naming this very process was left by an earlier run that had the same process id (Wine
    // hands a program the same id after each restart; a system started afresh may too), so no copy
    // holds it, unless it is held open: then it cannot be removed.
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_file.error() != QLockFile::LockFailedError || !m_file.getLockInfo(&pid, &host, &application) ||
        pid != QCoreApplication::applicationPid() || host != QSysInfo::machineHostName())
        return false;
    return m_file.removeStaleLockFile() && m_file.tryLock(0);
}

QString InstanceLock::serverName() const {
    return LocalServerNameFor(m_path + QStringLiteral(".front"));
}

void InstanceLock::listenForLaterCopies(std::function<void()> comeForward) {
    m_listener.reset();
    // The lock is ours: a server name left by a copy that is gone is stale, and is taken over.
    if (LocalNetwork* network = TheLocalNetwork())
        m_listener = network->listen(serverName(), std::move(comeForward));
}

bool InstanceLock::askHolderToComeForward() const {
    LocalNetwork* network = TheLocalNetwork();
    return network && network->reach(serverName(), 2000);
}
