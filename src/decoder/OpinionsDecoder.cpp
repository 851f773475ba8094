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
    int32_t OAnswers::*Omit;
    int32_t OAnswers::*What; // null: the topic has no What box
    int32_t OAnswers::*Mark; // "!" in front of the letter; null: none
    const char* MarkPhrase;
    int32_t OAnswers::*NoOpinion;
    int32_t OAnswers::*Bitter; // "Z" in place of the level; null: none
    int32_t OAnswers::*Intensity;
    int16_t OAnswers::*Boost;
};

const Topic kTopics[] = {
    {'d', "NA dub", -2, 2, &OAnswers::OmitDub, &OAnswers::WhatDub, &OAnswers::AmericanCartoon,
     "thinks Sailor Moon is a cartoon", &OAnswers::NoOpDub, nullptr, &OAnswers::IntensityDub,
     &OAnswers::BoostDub},
    {'s', "SOS (Save Our Sailors)", -2, 3, &OAnswers::OmitSos, &OAnswers::WhatSos, &OAnswers::Member,
     "a member of SOS", &OAnswers::NoOpSos, &OAnswers::Bitter, &OAnswers::IntensitySos, &OAnswers::BoostSos},
    {'o', "Otaku Wars", -2, 3, &OAnswers::OmitOw, &OAnswers::WhatOw, nullptr, nullptr, &OAnswers::NoOpOw,
     nullptr, &OAnswers::IntensityOw, &OAnswers::BoostOw},
    {'a', "SM haters/antiglomies", -2, 3, &OAnswers::OmitAnti, nullptr, nullptr, nullptr, &OAnswers::NoOpAnti,
     nullptr, &OAnswers::IntensityAnti, &OAnswers::BoostAnti},
    {'h', "Hentai", -3, 3, &OAnswers::OmitHentai, nullptr, nullptr, nullptr, &OAnswers::NoOpHentai, nullptr,
     &OAnswers::IntensityHentai, &OAnswers::BoostHentai},
    {'x', "Mixxzine", -2, 3, &OAnswers::OmitMixx, &OAnswers::WhatMixx, nullptr, nullptr, &OAnswers::NoOpMixx,
     nullptr, &OAnswers::IntensityMixx, &OAnswers::BoostMixx},
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
    static const OAnswers kFresh;
    const auto fresh = [](int32_t OAnswers::*field) { return field ? kFresh.*field : 0; };
    int32_t what = fresh(topic.What), mark = fresh(topic.Mark), noOpinion = kFresh.*topic.NoOpinion,
            bitter = fresh(topic.Bitter), intensity = kFresh.*topic.Intensity;
    int16_t boost = kFresh.*topic.Boost;
    if (r.Accept('?')) {
        if (!topic.What)
            return r.FailAt(0, "this topic has no '?' in front: everybody knows it");
        r.Skip(1);
        if (!r.ExpectEnd())
            return false;
        what = 1;
    } else {
        if (r.Accept('!')) {
            if (!topic.Mark)
                return r.FailAt(0, "this topic has no '!' mark");
            mark = 1;
        }
        r.Skip(1);
        TunedRun level;
        if (r.Accept('?'))
            noOpinion = 1;
        else if (topic.Bitter && r.Accept('Z'))
            bitter = 1;
        else if (!ReadSignedRun(r, level))
            return false;
        if (!r.ExpectEnd())
            return false;
        intensity = level.Run;
        boost = static_cast<int16_t>(level.Tune);
    }

    OAnswers& o = context.Result.Answers.Opinions;
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

    TextWriter& text = context.Start(topic.Name);
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
    context.Say(OpinionsSection);
    return true;
}

} // namespace

const SectionGrammar kOpinionsGrammar{'O', "opinions", OpinionOrder, DecodeOpinion};
