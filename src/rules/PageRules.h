// SPDX-License-Identifier: MIT
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/Questions.h"

// The page rules, decided from the answers alone: which questions are open, and what a user's
// answer does to the other answers. Both front ends only show what these say.

// Bit i stands for question i of QuestionsOf(page).
using OpenQuestions = std::bitset<kMostQuestions>;

// The questions of a page that can be answered now. A closed question keeps its answer; an omit box
// is never closed.
OpenQuestions OpenQuestionsOf(const AnswerSet& answers, PageId page);
// A group is open while any question in it, or in a group inside it, is open.
bool GroupOpen(PageId page, int group, const OpenQuestions& open);

// The value a question's control shows for its answer: a level, tune, spin or row limited to what
// the control holds; a check box's state (a flag outside 0..2 shows as 0); the answer itself for
// counts and selections.
int32_t ShownValue(const AnswerSet& answers, PageId page, int question);

// The user gave a question a value from its control: a check box's 0 or 1, a list's row (−1 for
// none), a slider's or spin's position, a count as ParseCount reads its box, a selection's mask.
// Stores it, and keeps a tune within what it tunes: a level plus its tune within the slider's range,
// a list's row plus its tune within its three rows. Moving nothing (a key at the end of a slider)
// is an answer too, and clamps the tune the same way.
void AnswerQuestion(AnswerSet& answers, PageId page, int question, int32_t value);

// The answers of a page as its controls give them back once shown: a flag outside 0..2 becomes 0,
// a count past the 32-bit range becomes its largest. Returns whether anything changed.
bool TakeAsShown(AnswerSet& answers, PageId page);

// Every answer as its control can hold it, as if the user had touched every slider and spin of every
// page once without moving it, and corrected every count the page would refuse to be left with: each
// level, spin and tune within what its control holds, each tune within what it tunes, each count at
// the nearest number its page accepts.
void FitToControls(AnswerSet& answers);

// The text below the SM page's levels: the primary level's description, and after an empty line the
// secondary's while it is switched on.
std::string ObsessionDescriptionOf(const ObsessionAnswers& sm);

// The years beside the Experience page's years control: whole years, and "+" for a further half
// year ("3+" for 7 half years); a damaged value shows as stored.
std::string YearsText(int32_t halfYears);

// A count box's text as a number: leading blanks, an optional sign, then digits up to the first
// non-digit; no digits give 0. A number too large for 32 bits saturates.
int32_t ParseCount(std::string_view text);

// What is wrong with a count box's text when the page is left, checked against the question's range.
enum class CountVerdict { Fine, NotAPositiveInteger, OutOfRange };
CountVerdict CheckCount(std::string_view text, int64_t minimum, int64_t maximum);
inline constexpr char kPositiveIntegerMessage[] = "Please enter a positive integer.";
inline constexpr char kIntegerRangeMessage[] = "Please enter an integer between %1 and %2.";
// What is wrong with a count box's text, in the words shown when its page is left; "" when nothing.
std::string CountProblem(std::string_view text, int64_t minimum, int64_t maximum);

// Keeps an intensity plus its tune within minimum..maximum by moving only the tune; returns it. An
// inverted slider (the Experience page's upright ones) has its strongest position at its minimum.
int32_t ClampTune(int32_t position, int32_t tune, int32_t minimum, int32_t maximum, bool inverted);
// Keeps a three-row list's row plus its tune within rows 0..2; returns the tune.
int32_t ClampRowTune(int32_t row, int32_t tune);
