// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Whether folder is a folder (not a link to one) that only this user can write. On Windows, any
// folder: the per-user folders are the user's own by their access rights.
bool IsPrivateFolder(const QString& folder);

// The name of a local server (QLocalServer) for a file in a private folder: on Unix the file itself,
// a socket only the user can reach; on Windows, where local servers are named pipes, a pipe name
// made from the file's path.
QString LocalServerNameFor(const QString& privateFile);

// The user's id, to keep two users' files apart in a folder they share; empty on Windows, which
// gives every user a temporary folder of their own.
QString UserIdForFileNames();
