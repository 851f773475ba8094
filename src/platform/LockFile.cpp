// SPDX-License-Identifier: MIT
#include "platform/LockFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <utility>

#include "platform/StandardError.h"
#include "platform/SystemError.h"

#ifdef Q_OS_WIN
#include "platform/WindowsApi.h"
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// What QLockFile writes into its lock files, so that a QLockFile finding ours knows it is held: the
// process id, the program's name, the host, the machine and the boot.
QByteArray OwnerLines() {
    QByteArray program;
    if (QCoreApplication::instance())
        program = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8();
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' + program + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n' +
           QSysInfo::bootUniqueId() + '\n';
}

} // namespace

LockFile::LockFile(QString path) : m_path(std::move(path)) {}

LockFile::~LockFile() {
    unlock();
}

#ifdef Q_OS_WIN

LockFile::Attempt LockFile::tryLock() {
    if (m_handle)
        return Attempt::Taken;
    const std::wstring name = m_path.toStdWString();
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Shared for reading only, as QLockFile has it: nobody can remove it while it is open.
        const HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            const QByteArray lines = OwnerLines();
            DWORD written = 0;
            if (!::WriteFile(handle, lines.constData(), static_cast<DWORD>(lines.size()), &written,
                             nullptr) ||
                written != static_cast<DWORD>(lines.size())) {
                m_error = lastSystemError();
                ::CloseHandle(handle);
                ::DeleteFileW(name.c_str());
                return Attempt::Failed;
            }
            m_handle = handle;
            return Attempt::Taken;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            m_error = lastSystemError();
            return Attempt::Failed;
        }
        if (!removeIfAbandoned(m_path))
            return Attempt::Held;
    }
    return Attempt::Held;
}

void LockFile::unlock() {
    if (!m_handle)
        return;
    ::CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
    ::DeleteFileW(m_path.toStdWString().c_str());
}

bool LockFile::removeIfAbandoned(const QString& path) {
    // A lock file held by a live process is open without sharing for deletion, so it cannot be
    // removed; the system closed the one of a process that is gone.
    if (::DeleteFileW(path.toStdWString().c_str()))
        return true;
    return ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

#else

namespace {

// A process that makes a lock file holds it with flock() the moment after; an empty file nobody
// holds that is younger than this may still be one in that moment.
constexpr qint64 kMakingMs = 100;
// Where the file system has no flock(), a lock file the process id does not settle is taken over
// after as long as QLockFile waits by default.
constexpr qint64 kUnsettledMs = 30000;

qint64 AgeMs(const struct stat& status) {
    const qint64 modified = qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
    return qAbs(QDateTime::currentMSecsSinceEpoch() - modified);
}

// Who the lock file's own lines say holds it.
struct Owner {
    qint64 pid = 0; // 0 when the lines name none
    QByteArray host;
};

Owner OwnerOf(int descriptor) {
    char buffer[512];
    const ssize_t n = ::pread(descriptor, buffer, sizeof buffer, 0);
    if (n <= 0)
        return {};
    const QList<QByteArray> lines = QByteArray(buffer, n).split('\n');
    bool isNumber = false;
    const qint64 pid = lines.value(0).toLongLong(&isNumber);
    return {isNumber && pid > 0 ? pid : 0, lines.value(2)};
}

bool OfThisHost(const Owner& owner) {
    return owner.host.isEmpty() || owner.host == QSysInfo::machineHostName().toUtf8();
}

// Whether a lock file nobody holds with flock() is one its owner has left: a process of another
// host sharing the folder may hold its own where flock() does not reach that host.
bool Left(int descriptor, const struct stat& status) {
    if (status.st_size == 0)
        return AgeMs(status) >= kMakingMs;
    return OfThisHost(OwnerOf(descriptor)) || AgeMs(status) >= kUnsettledMs;
}

// The same where the file system has no flock(): by the process id.
bool LeftWithoutFlock(int descriptor, const struct stat& status) {
    const Owner owner = OwnerOf(descriptor);
    if (owner.pid && OfThisHost(owner) && ::kill(static_cast<pid_t>(owner.pid), 0) != 0 && errno == ESRCH)
        return true;
    return AgeMs(status) >= kUnsettledMs;
}

} // namespace

LockFile::Attempt LockFile::tryLock() {
    if (m_descriptor >= 0)
        return Attempt::Taken;
    const QByteArray name = QFile::encodeName(m_path);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int descriptor = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            // As QLockFile does; where the file system has no flock(), the file alone excludes.
            ::flock(descriptor, LOCK_EX | LOCK_NB);
            const QByteArray owner = OwnerLines();
            if (!WriteAll(descriptor, std::string_view(owner.constData(), size_t(owner.size())))) {
                m_error = lastSystemError();
                ::unlink(name.constData());
                ::close(descriptor);
                return Attempt::Failed;
            }
            m_descriptor = descriptor;
            return Attempt::Taken;
        }
        if (errno != EEXIST) {
            m_error = lastSystemError();
            return Attempt::Failed;
        }
        if (!removeIfAbandoned(m_path))
            return Attempt::Held;
    }
    return Attempt::Held;
}

void LockFile::unlock() {
    if (m_descriptor < 0)
        return;
    // Removed while still held: no one can have taken it over and made a new one in between.
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_descriptor);
    m_descriptor = -1;
}

bool LockFile::removeIfAbandoned(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT;
    struct stat status {};
    bool abandoned = false;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
            abandoned = Left(descriptor, status);
        else if (errno != EWOULDBLOCK && errno != EINTR)
            abandoned = LeftWithoutFlock(descriptor, status);
    }
    // Removed only if the name still leads to the file looked at, and while holding it.
    struct stat now {};
    const bool removed = abandoned && ::lstat(name.constData(), &now) == 0 && now.st_dev == status.st_dev &&
                         now.st_ino == status.st_ino && ::unlink(name.constData()) == 0;
    ::close(descriptor);
    return removed;
}

#endif
