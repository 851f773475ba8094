// SPDX-License-Identifier: MIT
// The opinions section (" O"): six topics, each ":" with an optional "?" (does not know it) or "!"
// (an extra mark), the topic letter, and "?" (no opinion), "Z" (bitter) or a signed run.

#include "code/CodeFrame.h"
#include "code/OpinionTopics.h"
#include "decoder/DecoderParts.h"
#include "decoder/Phrases.h"

namespace {

int OpinionOrder(std::string_view piece) {
    const size_t at = !piece.empty() && (piece[0] == '?' || piece[0] == '!') ? 1 : 0;
    if (at >= piece.size())
        return -1;
    const auto topics = OpinionTopics();
    for (size_t i = 0; i < topics.size(); ++i) {
        if (topics[i].Letter == piece[at])
            return static_cast<int>(i);
    }
    return -1;
}

bool DecodeOpinion(int order, CodeReader& r, PieceContext& context) {
    const OpinionTopic& topic = OpinionTopics()[static_cast<size_t>(order)];
    // What the code leaves unsaid is as the page starts.
    static const OpinionsAnswers kFresh;
    OpinionsAnswers read = kFresh;
    const auto mark = [&](const std::optional<PageField>& field) {
        WriteField(read, *field, 1);
        return true;
    };
    if (r.accept('?')) {
        if (!topic.What)
            return r.failAt(0, "this topic has no '?' in front: everybody knows it");
        r.skip(1);
        if (!r.expectEnd())
            return false;
        mark(topic.What);
    } else {
        if (r.accept('!') && !(topic.Mark && mark(topic.Mark)))
            return r.failAt(0, "this topic has no '!' mark");
        r.skip(1);
        TunedRun level;
        if (r.accept('?'))
            mark(topic.NoOpinion);
        else if (!(topic.Bitter && r.accept('Z') && mark(topic.Bitter)) && !ReadSignedRun(r, level))
            return false;
        if (!r.expectEnd())
            return false;
        WriteField(read, topic.Intensity, level.Run);
        WriteField(read, topic.Boost, level.Tune);
    }

    // The topic's answers, and only those, into the result.
    OpinionsAnswers& o = context.Result.Answers.Opinions;
    const auto take = [&](const std::optional<PageField>& field) {
        if (field)
            WriteField(o, *field, ReadField(read, *field));
    };
    WriteField(o, topic.Omit, 0);
    for (const auto& field : {topic.What, topic.Mark, std::optional(topic.NoOpinion), topic.Bitter,
                              std::optional(topic.Intensity), std::optional(topic.Boost)})
        take(field);
    const auto set = [&](const std::optional<PageField>& field) { return field && ReadField(read, *field); };

    TextWriter& text = context.start(topic.Name);
    text += ": ";
    if (set(topic.What)) {
        text += "does not know what that is";
    } else {
        if (set(topic.NoOpinion)) {
            text += "no opinion";
        } else if (set(topic.Bitter)) {
            text += "bitter about it";
        } else {
            const ControlRange range = RangeOf(PageId::Opinions, topic.Intensity);
            AppendLevel(text, ReadField(read, topic.Intensity), range.Minimum, range.Maximum,
                        ReadField(read, topic.Boost));
        }
        if (set(topic.Mark)) {
            text += "; ";
            text += topic.MarkPhrase;
        }
    }
    text += '.';
    context.say(OpinionsSection);
    return true;
}

} // namespace

const SectionGrammar kOpinionsGrammar{'O', "opinions", OpinionOrder, DecodeOpinion};
