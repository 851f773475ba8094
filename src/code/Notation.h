// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "vocabulary/CodeTable.h"

// The notations every section of the code is written with. Each appends to a section being built
// and never fails. Counts and values are taken as 64-bit so that damaged 32-bit answers give what
// exact arithmetic gives instead of overflowing.

// No valid answer writes a run longer than 50; a damaged one must not ask for billions of symbols.
inline constexpr int64_t kMaxRunLength = 100;

// An obsession level as a digit with a third-step modifier: 14 is "5-", 15 "5", 16 "5+", 30 "!".
std::string LevelNotation(int64_t level);

// The description of an obsession level, with "(+)" or "(-)" for the third steps.
std::string ObsessionDescription(int64_t level);

void AppendRepeated(std::string& out, char symbol, int64_t count);
void AppendTunedRun(std::string& out, char symbol, int64_t run, int64_t tune, int64_t maximum, bool inverted);
void AppendSignedRun(std::string& out, int64_t value, int64_t tune);
void AppendRatedItem(std::string& out, const CodeTable& table, int32_t index, int32_t trend,
                     int64_t intensity, int16_t boost, char symbol);
void AppendBitList(std::string& out, uint32_t mask, const CodeTable& table);
void AppendPartsList(std::string& out, uint32_t complete, uint32_t partial);
