#pragma once

#include <QString>

// Whether folder is a folder (not a link to one) that only this user can write. On Windows, any
// folder: the per-user folders are the user's own by their access rights.
bool IsPrivateFolder(const QString& folder);

// The user's id, to keep two users' files apart in a folder they share; empty on Windows, which
// gives every user a temporary folder of their own.
QString UserIdForFileNames();
