// SPDX-License-Identifier: MIT
#include "platform/PrivateFolder.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

bool IsPrivateFolder(const QString& folder) {
#ifdef Q_OS_UNIX
    struct stat status {};
    return ::lstat(QFile::encodeName(folder).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
#else
    return QFileInfo(folder).isDir();
#endif
}

QString LocalServerNameFor(const QString& privateFile) {
#ifdef Q_OS_WIN
    return QStringLiteral("glomiecode-") +
           QString::fromLatin1(
               QCryptographicHash::hash(privateFile.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
#else
    return privateFile;
#endif
}

QString UserIdForFileNames() {
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return QString();
#endif
}
