// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// Shuts down the sending side of a connected socket (a TCP FIN after what was written), keeping its
// receiving side open: Qt's sockets can only close both. False when the system refused.
bool ShutdownSending(qintptr socket);

// Makes the socket's close reset the connection and drop what it still holds to send, rather than
// keep it in the system for a client that does not take it. False when the system refused.
bool ResetOnClose(qintptr socket);

// How many bytes the system holds that the socket's owner has not read yet; -1 when it cannot say.
qint64 BytesWaiting(qintptr socket);
