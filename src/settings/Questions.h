// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "code/AnswerField.h"
#include "vocabulary/CodeTable.h"

// What each page asks: one question a control, in the order Tab walks them on the page, each with
// the answer it edits, the control it is asked with, its caption and the name a screen reader gives
// it. The one place a question is described: the desktop pages and the browser page build their
// controls from these tables, the decoder reads the ranges it names in sentences from them, and the
// tests draw their answers from them.

enum class ControlKind : uint8_t {
    Check,     // a check box: 0 or 1 (a stored 2 shows as a third state until it is clicked)
    List,      // a drop-down list of every row of Table: the answer is the row
    Slider,    // a level from Minimum to Maximum
    Tune,      // a "Tune" spin from Minimum to Maximum shifting the question just before it (a level
               // or a list's row), which it always comes right after
    Spin,      // an up-down control from Minimum to Maximum
    Count,     // a digits-only box holding a whole number; Minimum..Maximum is checked when the
               // page is left
    Selection, // a multiple-selection list of rows 1 and on of Table: the answer is a mask in
               // which bit k stands for row k + 1
};

// A frame that holds questions of a page, perhaps inside another frame.
struct QuestionGroup {
    std::string_view Name;    // names the frame: "SenshiGroup"
    std::string_view Caption; // with its mnemonic marked by '&': "&Senshi"
    int Parent = -1;          // the group it lies in, or -1
};

struct Question {
    PageField Field;
    ControlKind Kind = ControlKind::Check;
    int Group = -1; // the group it lies in, or -1
    int32_t Minimum = 0;
    int32_t Maximum = 0;
    const CodeTable* Table = nullptr; // of a List or a Selection
    // The control's own text, or the label or frame that names it ("&Secondary", "C", "Tune",
    // "&Intensity"), with its mnemonic marked by '&'; may be empty.
    std::string_view Caption;
    // What a screen reader calls it; empty when that is the caption without its mnemonic.
    std::string_view AccessibleName;
    bool Inverted = false; // an upright slider, whose strongest position is its minimum
};

// The kinds of page: Favorites and Dislikes ask the same questions, and so do More Favorites and
// More Dislikes.
enum class PageKind : uint8_t {
    Obsession,
    SenshiVillain,
    AssistPart,
    Experience,
    Opinions,
    Personal,
    MorePersonal,
    EvenMorePersonal,
};

// Favorites, Dislikes and their More pages ask, slot by slot, four questions: the choice, its trend,
// its intensity and the intensity's tune.
inline constexpr size_t kRatedSlotQuestions = 4;

// The most questions any page asks.
inline constexpr int kMostQuestions = 40;

PageKind KindOf(PageId page);
// The tab's caption: "SM", "Favorites", ..., "Even More Personal".
std::string_view PageCaption(PageId page);

std::span<const Question> QuestionsOf(PageId page);
std::span<const QuestionGroup> GroupsOf(PageId page);
// The count boxes of a page in the order they are checked when the page is left (question indices).
std::vector<int> CountsInCheckOrder(PageId page);

// The answer a question of a page edits.
inline AnswerField AnswerOf(PageId page, const Question& question) {
    return {page, question.Field};
}
// The question's name, which names its control: the value name of its answer ("Senshi0").
std::string_view QuestionName(PageId page, int question);
// The index of the question with that name, or that edits that field, on the page; -1 for none.
int QuestionIndex(PageId page, std::string_view name);
int QuestionIndex(PageId page, PageField field);
// What a screen reader calls the question.
std::string AccessibleNameOf(const Question& question);
// A caption as it reads without its mnemonic: "&Age (yrs)" gives "Age (yrs)", "&&" gives "&".
std::string PlainCaption(std::string_view caption);
