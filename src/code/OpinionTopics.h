// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "code/AnswerField.h"

// The six topics of the Opinions page, each with the answers it holds: what the code writes for a
// topic, what the decoder reads back and what the page rules open are all taken from this one table.
struct OpinionTopic {
    char Letter;           // in the code: ":d", ":s", ...
    std::string_view Name; // as a decoded sentence names it: "NA dub"
    PageField Omit;
    std::optional<PageField> What;   // "?" in front of the letter: the user does not know the topic
    std::optional<PageField> Mark;   // "!" in front of the letter: a mark kept with any opinion
    std::string_view MarkPhrase;     // what the mark says in a decoded sentence
    PageField NoOpinion;             // "?" in place of the opinion
    std::optional<PageField> Bitter; // "Z" in place of the opinion
    PageField Intensity, Boost;
};

std::span<const OpinionTopic> OpinionTopics();
