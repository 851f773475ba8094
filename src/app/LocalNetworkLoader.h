// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "localnet/LocalNetwork.h"

// The encoder's local network, its module loaded on the first call and kept until the program ends.
// The module is looked for in the program's folder, then where it is installed relative to it. Null
// when it cannot be loaded, with the reason written to standard error once.
LocalNetwork* TheLocalNetwork();
// The file of the module, loaded if need be; empty when it cannot be loaded.
QString LocalNetworkModulePath();

// Where the module is looked for first: programs that are not the encoder (tests, benchmarks) give
// the folder it was built in.
void SetLocalNetworkFolder(const QString& folder);
