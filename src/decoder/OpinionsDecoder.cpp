// SPDX-License-Identifier: MIT
// The opinions section (" O"): six topics, each ":" with an optional "?" (does not know it) or "!"
// (an extra mark), the topic letter, and "?" (no opinion), "Z" (bitter) or a signed run.

#include "code/CodeFrame.h"
#include "decoder/DecoderParts.h"
#include "decoder/Phrases.h"

namespace {

struct Topic {
    char Letter;
    std::string_view Name;
    int Minimum, Maximum; // the slider's range
    int32_t OpinionsAnswers::*Omit;
    int32_t OpinionsAnswers::*What; // null: the topic has no What box
    int32_t OpinionsAnswers::*Mark; // "!" in front of the letter; null: none
    const char* MarkPhrase;
    int32_t OpinionsAnswers::*NoOpinion;
    int32_t OpinionsAnswers::*Bitter; // "Z" in place of the level; null: none
    int32_t OpinionsAnswers::*Intensity;
    int16_t OpinionsAnswers::*Boost;
};

const Topic kTopics[] = {
    {'d', "NA dub", -2, 2, &OpinionsAnswers::OmitDub, &OpinionsAnswers::WhatDub,
     &OpinionsAnswers::AmericanCartoon, "thinks Sailor Moon is a cartoon", &OpinionsAnswers::NoOpDub, nullptr,
     &OpinionsAnswers::IntensityDub, &OpinionsAnswers::BoostDub},
    {'s', "SOS (Save Our Sailors)", -2, 3, &OpinionsAnswers::OmitSos, &OpinionsAnswers::WhatSos,
     &OpinionsAnswers::Member, "a member of SOS", &OpinionsAnswers::NoOpSos, &OpinionsAnswers::Bitter,
     &OpinionsAnswers::IntensitySos, &OpinionsAnswers::BoostSos},
    {'o', "Otaku Wars", -2, 3, &OpinionsAnswers::OmitOw, &OpinionsAnswers::WhatOw, nullptr, nullptr,
     &OpinionsAnswers::NoOpOw, nullptr, &OpinionsAnswers::IntensityOw, &OpinionsAnswers::BoostOw},
    {'a', "SM haters/antiglomies", -2, 3, &OpinionsAnswers::OmitAnti, nullptr, nullptr, nullptr,
     &OpinionsAnswers::NoOpAnti, nullptr, &OpinionsAnswers::IntensityAnti, &OpinionsAnswers::BoostAnti},
    {'h', "Hentai", -3, 3, &OpinionsAnswers::OmitHentai, nullptr, nullptr, nullptr,
     &OpinionsAnswers::NoOpHentai, nullptr, &OpinionsAnswers::IntensityHentai, &OpinionsAnswers::BoostHentai},
    {'x', "Mixxzine", -2, 3, &OpinionsAnswers::OmitMixx, &OpinionsAnswers::WhatMixx, nullptr, nullptr,
     &OpinionsAnswers::NoOpMixx, nullptr, &OpinionsAnswers::IntensityMixx, &OpinionsAnswers::BoostMixx},
};

int OpinionOrder(std::string_view piece) {
    const size_t at = !piece.empty() && (piece[0] == '?' || piece[0] == '!') ? 1 : 0;
    if (at >= piece.size())
        return -1;
    for (int i = 0; i < static_cast<int>(std::size(kTopics)); ++i) {
        if (kTopics[i].Letter == piece[at])
            return i;
    }
    return -1;
}

bool DecodeOpinion(int order, CodeReader& r, PieceContext& context) {
    const Topic& topic = kTopics[order];
    // What the code leaves unsaid is as the page starts.
    static const OpinionsAnswers kFresh;
    const auto fresh = [](int32_t OpinionsAnswers::*field) { return field ? kFresh.*field : 0; };
    int32_t what = fresh(topic.What), mark = fresh(topic.Mark), noOpinion = kFresh.*topic.NoOpinion,
            bitter = fresh(topic.Bitter), intensity = kFresh.*topic.Intensity;
    int16_t boost = kFresh.*topic.Boost;
    if (r.accept('?')) {
        if (!topic.What)
            return r.failAt(0, "this topic has no '?' in front: everybody knows it");
        r.skip(1);
        if (!r.expectEnd())
            return false;
        what = 1;
    } else {
        if (r.accept('!')) {
            if (!topic.Mark)
                return r.failAt(0, "this topic has no '!' mark");
            mark = 1;
        }
        r.skip(1);
        TunedRun level;
        if (r.accept('?'))
            noOpinion = 1;
        else if (topic.Bitter && r.accept('Z'))
            bitter = 1;
        else if (!ReadSignedRun(r, level))
            return false;
        if (!r.expectEnd())
            return false;
        intensity = level.Run;
        boost = static_cast<int16_t>(level.Tune);
    }

    OpinionsAnswers& o = context.Result.Answers.Opinions;
    o.*topic.Omit = 0;
    if (topic.What)
        o.*topic.What = what;
    if (topic.Mark)
        o.*topic.Mark = mark;
    o.*topic.NoOpinion = noOpinion;
    if (topic.Bitter)
        o.*topic.Bitter = bitter;
    o.*topic.Intensity = intensity;
    o.*topic.Boost = boost;

    TextWriter& text = context.start(topic.Name);
    text += ": ";
    if (topic.What && what) {
        text += "does not know what that is";
    } else {
        if (noOpinion)
            text += "no opinion";
        else if (topic.Bitter && bitter)
            text += "bitter about it";
        else
            AppendLevel(text, intensity, topic.Minimum, topic.Maximum, boost);
        if (topic.Mark && mark) {
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
