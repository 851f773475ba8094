// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// What reading a file gave.
struct FileRead {
    bool ok = false;  // false: it could not be read, and error says why
    QByteArray bytes; // empty when there is no file
    QString error;
};

// The bytes of the file at path, when it is a regular file (or a link to one); no file reads as
// empty. On Unix anything else is refused without being read (a FIFO would block the read for
// ever, and a device is no file of ours): the file is opened without blocking and checked on the
// open descriptor, so it cannot be swapped for something else between the check and the read.
// Windows has no FIFOs among files; there the caller refuses by name what is not a regular file.
FileRead ReadRegularFile(const QString& path);
