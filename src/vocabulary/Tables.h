// SPDX-License-Identifier: MIT
#pragma once

#include "vocabulary/CodeTable.h"

// The eighteen vocabulary tables. Row indices are stored in the settings, so the order of the rows
// is part of the settings format and must never change.
extern const CodeTable TermFeelingTable;
extern const CodeTable SenshiTable;
extern const CodeTable VillianTable;
extern const CodeTable AssistTable;
extern const CodeTable PartTable;
extern const CodeTable TrendTable;
extern const CodeTable EyeColorTable;
extern const CodeTable HairColorTable;
extern const CodeTable ColorAdjTable;
extern const CodeTable GroupTable;
extern const CodeTable BloodTypeTable;
extern const CodeTable BloodTypeSignTable;
extern const CodeTable SignTable;
extern const CodeTable PreferenceTable;
extern const CodeTable StatusTable;
extern const CodeTable GenderTable;
extern const CodeTable KinkTable;
extern const CodeTable ObsessionTable;
