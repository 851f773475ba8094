// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

// The program's icon in every size the build rendered it to, for its windows and the SM page.
QIcon ProgramIcon();
