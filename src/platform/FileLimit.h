// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

// How many files, sockets included, the process may have open at once (its soft limit); nothing
// when there is no such limit, as on Windows, which counts sockets apart from files and sets them
// none.
std::optional<long long> OpenFileLimit();

// Raises the process's soft limit of open files to its hard limit, where the system lets it, so that
// no flood of connections leaves it without files for its own work. Nothing on Windows.
void RaiseOpenFileLimit();
