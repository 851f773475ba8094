#include "code/Encode.h"

#include "code/CodeFrame.h"

std::string EncodeGlomieCode(const AnswerSet& answers) {
    CodeFrame frame(answers);
    frame.RebuildCode(RebuildAll);
    return frame.FullCode();
}
