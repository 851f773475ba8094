// SPDX-License-Identifier: MIT
#pragma once

// Trouble for the tests of saving: a folder's file system full or not writable, as root (on CI) the
// real thing, a small tmpfs mounted on the folder, otherwise the same failure brought about by a
// limit, since only root can mount; and a process out of file descriptors.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QString>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

inline bool RunningAsRoot() {
    return ::geteuid() == 0;
}

// A tmpfs of a few KiB mounted on a folder while it lives; what was in the folder is hidden meanwhile.
class SmallFileSystem {
  public:
    SmallFileSystem(const QString& folder, int kib) : m_folder(folder) {
        m_mounted =
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=%1k").arg(kib), QStringLiteral("tmpfs"), folder}) == 0;
    }
    ~SmallFileSystem() {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_folder});
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    bool makeReadOnly() {
        return QProcess::execute(QStringLiteral("mount"),
                                 {QStringLiteral("-o"), QStringLiteral("remount,ro"), m_folder}) == 0;
    }

  private:
    QString m_folder;
    bool m_mounted = false;
};

// Fills the file system of folder with a file named filler, until kib KiB are left.
inline bool LeaveFree(const QString& folder, const QString& filler, int kib) {
    const qint64 available = QStorageInfo(folder).bytesAvailable();
    const qint64 fill = available - qint64(kib) * 1024;
    QFile file(QDir(folder).filePath(filler));
    return fill >= 0 && file.open(QIODevice::WriteOnly) && file.write(QByteArray(fill, '\0')) == fill &&
           file.flush();
}

// Files of more than a few KiB cannot be written by this process or those it starts, while it lives:
// a write past the limit fails with "File too large" rather than ending the program.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(int kib) {
        m_set = ::getrlimit(RLIMIT_FSIZE, &m_previous) == 0;
        rlimit limit = m_previous;
        limit.rlim_cur = rlim_t(kib) * 1024;
        m_set = m_set && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        m_previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        if (m_set)
            ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousSignal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool set() const { return m_set; }

  private:
    rlimit m_previous{};
    bool m_set = false;
    void (*m_previousSignal)(int) = SIG_DFL;
};

// Every file descriptor of this process taken, while it lives or until released: a file cannot be
// opened, "Too many open files". The limit is lowered first to a few more than are open.
class NoFreeDescriptors {
  public:
    NoFreeDescriptors() {
        m_lowered = ::getrlimit(RLIMIT_NOFILE, &m_previous) == 0;
        const int firstFree = ::dup(0);
        if (firstFree >= 0)
            ::close(firstFree);
        rlimit limit = m_previous;
        limit.rlim_cur = rlim_t(firstFree + 8);
        m_lowered = m_lowered && firstFree >= 0 && limit.rlim_cur <= m_previous.rlim_cur &&
                    ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
        for (int descriptor = ::dup(0); descriptor >= 0; descriptor = ::dup(0))
            m_taken.push_back(descriptor);
    }
    ~NoFreeDescriptors() { release(); }
    NoFreeDescriptors(const NoFreeDescriptors&) = delete;
    NoFreeDescriptors& operator=(const NoFreeDescriptors&) = delete;

    bool taken() const { return m_lowered && !m_taken.empty(); }
    void release() {
        for (const int descriptor : m_taken)
            ::close(descriptor);
        m_taken.clear();
        if (m_lowered)
            ::setrlimit(RLIMIT_NOFILE, &m_previous);
        m_lowered = false;
    }

  private:
    rlimit m_previous{};
    bool m_lowered = false;
    std::vector<int> m_taken;
};
