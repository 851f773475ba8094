#pragma once

#include <optional>

// How many files, sockets included, the process may have open at once (its soft limit); nothing
// when there is no such limit, as on Windows, which counts sockets apart from files and sets them
// none.
std::optional<long long> OpenFileLimit();
