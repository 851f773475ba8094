// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "code/Answers.h"

// A Glomie Code pasted into the encoder: what its pages take of it, and what they cannot take as it
// is. Both front ends ask before taking a code with problems, and take these answers.

struct PasteProblem {
    size_t Position = 0; // in UTF-16 units from the start of the pasted text, as text boxes count
    std::string Text;    // the part of the code it is about
    std::string Message;
};

struct PastedCode {
    bool Found = false; // the text holds a code at all
    // The answers as the pages take them: as if the user had set every control, shown every page and
    // touched every slider and spin, each count at the nearest number its page accepts.
    AnswerSet Answers;
    // What the decoder could not read; then what the pages could not take as it is (a level or tune
    // past what a control offers, a count past what its page accepts); then a code written otherwise
    // than the encoder writes it. Empty when the code is taken exactly as pasted.
    std::vector<PasteProblem> Problems;
};

// Reads the first Glomie Code in the text.
PastedCode ReadPastedCode(std::string_view text);
