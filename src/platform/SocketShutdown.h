// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// Shuts down the sending side of a connected socket (a TCP FIN after what was written), keeping its
// receiving side open: Qt's sockets can only close both. False when the system refused.
bool ShutdownSending(qintptr socket);
