// The opinions section (" O"): six topics, each ":" with an optional "?" (does not know it) or "!"
// (an extra mark), the topic letter, and "?" (no opinion), "Z" (bitter) or a signed run.

#include "code/CodeFrame.h"
#include "decoder/DecoderParts.h"
#include "decoder/Phrases.h"

namespace {

struct Topic {
    char Letter;
    const char* Name;
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
    OAnswers read;
    read.*topic.Omit = 0;
    if (r.Accept('?')) {
        if (!topic.What)
            return r.FailAt(0, "this topic has no '?' in front: everybody knows it");
        r.Skip(1);
        if (!r.ExpectEnd())
            return false;
        read.*topic.What = 1;
    } else {
        if (r.Accept('!')) {
            if (!topic.Mark)
                return r.FailAt(0, "this topic has no '!' mark");
            read.*topic.Mark = 1;
        }
        r.Skip(1);
        TunedRun level;
        if (r.Accept('?'))
            read.*topic.NoOpinion = 1;
        else if (topic.Bitter && r.Accept('Z'))
            read.*topic.Bitter = 1;
        else if (!ReadSignedRun(r, level))
            return false;
        if (!r.ExpectEnd())
            return false;
        read.*topic.Intensity = level.Run;
        read.*topic.Boost = static_cast<int16_t>(level.Tune);
    }

    OAnswers& o = context.Result.Answers.Opinions;
    for (int32_t OAnswers::*flag : {topic.Omit, topic.What, topic.Mark, topic.NoOpinion, topic.Bitter}) {
        if (flag)
            o.*flag = read.*flag;
    }
    o.*topic.Intensity = read.*topic.Intensity;
    o.*topic.Boost = read.*topic.Boost;

    TextWriter& text = context.Start(topic.Name);
    text += ": ";
    if (topic.What && read.*topic.What) {
        text += "does not know what that is";
    } else {
        if (read.*topic.NoOpinion)
            text += "no opinion";
        else if (topic.Bitter && read.*topic.Bitter)
            text += "bitter about it";
        else
            AppendLevel(text, read.*topic.Intensity, topic.Minimum, topic.Maximum, read.*topic.Boost);
        if (topic.Mark && read.*topic.Mark) {
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
