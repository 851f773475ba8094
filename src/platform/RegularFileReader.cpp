// SPDX-License-Identifier: MIT
#include "platform/RegularFileReader.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

FileRead Refused(const QString& why) {
    return {false, QByteArray(), why};
}

} // namespace

FileRead ReadRegularFile(const QString& path) {
#ifdef Q_OS_UNIX
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT)
            return {true, QByteArray(), QString()};
        return Refused(QString::fromLocal8Bit(::strerror(errno)));
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return Refused(QStringLiteral("it is not a regular file"));
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return Refused(file.errorString());
    }
#else
    QFile file(path);
    if (!file.exists())
        return {true, QByteArray(), QString()};
    if (!file.open(QIODevice::ReadOnly))
        return Refused(file.errorString());
#endif
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Refused(file.errorString());
    return {true, bytes, QString()};
}
