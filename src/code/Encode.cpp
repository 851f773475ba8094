// SPDX-License-Identifier: MIT
#include "code/Encode.h"

#include "code/CodeFrame.h"

std::string EncodeGlomieCode(const AnswerSet& answers) {
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    return frame.fullCode();
}
