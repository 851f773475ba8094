// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Shuts down the sending side of a connected socket (a TCP FIN after what was written), keeping its
// receiving side open: Qt's sockets can only close both. False when the system refused.
bool ShutdownSending(qintptr socket);

// Makes the socket's close reset the connection and drop what it still holds to send, rather than
// keep it in the system for a client that does not take it. False when the system refused.
bool ResetOnClose(qintptr socket);

// How many bytes the system holds that the socket's owner has not read yet; -1 when it cannot say.
qint64 BytesWaiting(qintptr socket);

// Sends what the system takes at once of first and then second, in one call (one packet where they
// fit), without waiting: the socket is non-blocking. How many bytes went; 0 when none could, -1 when
// the connection has failed.
qint64 SendAvailable(qintptr socket, QByteArrayView first, QByteArrayView second = {});
