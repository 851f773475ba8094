// SPDX-License-Identifier: MIT
#include "code/Sections.h"

#include "code/Notation.h"
#include "code/OpinionTopics.h"
#include "vocabulary/Tables.h"

namespace {

struct RatedChoice {
    int32_t index;
    int32_t trend;
    int32_t intensity;
    int16_t boost;
};

// ":s", ":v", ":a" or ":p" with its two rated choices, written only when one of them is chosen.
void AppendRatedPair(std::string& out, const char* opener, const CodeTable& table, const RatedChoice& first,
                     const RatedChoice& second, char symbol) {
    if (first.index == 0 && second.index == 0)
        return;
    out += opener;
    for (const RatedChoice* choice : {&first, &second})
        AppendRatedItem(out, table, choice->index, choice->trend, choice->intensity, choice->boost, symbol);
}

void AppendNumber(std::string& out, int64_t number) {
    out += std::to_string(number);
}

// Counts are unsigned fields written with "%d", so a damaged count past 2^31 shows as negative.
void AppendCount(std::string& out, uint32_t count) {
    AppendNumber(out, static_cast<int32_t>(count));
}

struct AnimeForm {
    uint32_t episodes;
    int32_t complete;
    int32_t partial;
    int32_t intensity;
    int16_t boost;
    char letter;
};

bool AnimeFormPresent(const AnimeForm& form, bool byNumbers) {
    return byNumbers ? form.episodes != 0 : (form.complete != 0 || form.partial != 0);
}

void AppendAnime(std::string& out, const ExperienceAnswers& x) {
    const bool byNumbers = x.ByNumbers != 0;
    const AnimeForm forms[] = {
        {x.Raw, x.RawComplete, x.RawPartial, x.IntensityRaw, x.BoostRaw, 'r'},
        {x.Sub, x.SubComplete, x.SubPartial, x.IntensitySub, x.BoostSub, 's'},
        {x.Dub, x.DubComplete, x.DubPartial, x.IntensityDub, x.BoostDub, 'd'},
    };
    bool opened = false;
    for (const AnimeForm& form : forms) {
        if (!AnimeFormPresent(form, byNumbers))
            continue;
        out += opened ? "|" : ":a";
        opened = true;
        if (byNumbers)
            AppendCount(out, form.episodes);
        else
            AppendPartsList(out, static_cast<uint32_t>(form.complete), static_cast<uint32_t>(form.partial));
        out += form.letter;
        AppendTunedRun(out, '+', form.intensity, form.boost, 4, true);
    }
}

void AppendManga(std::string& out, const ExperienceAnswers& x) {
    struct MangaForm {
        uint32_t amount;
        int32_t intensity;
        int16_t boost;
        char letter;
    };
    const MangaForm forms[] = {
        {x.MangaRaw, x.IntensityMangaRaw, x.BoostMangaRaw, 'r'},
        {x.MangaSub, x.IntensityMangaSub, x.BoostMangaSub, 's'},
    };
    bool opened = false;
    for (const MangaForm& form : forms) {
        if (form.amount == 0)
            continue;
        out += opened ? "|" : ":m";
        opened = true;
        AppendCount(out, form.amount);
        out += form.letter;
        AppendTunedRun(out, '+', form.intensity, form.boost, 4, false);
    }
}

void AppendTopic(std::string& out, const OpinionsAnswers& o, const OpinionTopic& topic) {
    const auto set = [&](const std::optional<PageField>& field) {
        return field && ReadField(o, *field) != 0;
    };
    if (ReadField(o, topic.Omit))
        return;
    if (set(topic.What)) {
        out += ":?";
        out += topic.Letter;
        return;
    }
    out += ':';
    if (set(topic.Mark))
        out += '!';
    out += topic.Letter;
    if (ReadField(o, topic.NoOpinion))
        out += '?';
    else if (set(topic.Bitter))
        out += 'Z';
    else
        AppendSignedRun(out, ReadField(o, topic.Intensity), ReadField(o, topic.Boost));
}

void AppendEyeColours(std::string& out, const int32_t (&colours)[3], const int32_t (&adjectives)[3]) {
    for (int i = 0; i < 3; ++i) {
        if (colours[i] == 0)
            continue;
        out += EyeColorTable.getEntry(colours[i]).Code;
        out += ColorAdjTable.getEntry(adjectives[i]).Code;
    }
}

// "m" then "b", the second bracketed when both are set: ":h...m[b]", or "g" and "[z]" for the eyes.
void AppendMarkPair(std::string& out, int32_t first, char firstLetter, int32_t second, char secondLetter) {
    if (first)
        out += firstLetter;
    if (second) {
        if (first)
            out += '[';
        out += secondLetter;
        if (first)
            out += ']';
    }
}

} // namespace

void BuildHeaderSection(const ObsessionAnswers& sm, std::string& out) {
    out = kHeaderPrefix;
    out += LevelNotation(sm.Pri);
    if (sm.ChkSec != 0) {
        out += '[';
        out += LevelNotation(sm.Sec);
        out += ']';
    }
    if (sm.GlomiePref >= 0 && sm.GlomiePref <= 2)
        out += TermFeelingTable.getEntry(sm.GlomiePref).Code;
}

void BuildSenshiVillianSection(const SenshiVillainAnswers& p, std::string& out, char symbol) {
    out.clear();
    AppendRatedPair(out, ":s", SenshiTable, {p.Senshi0, p.TrendSenshi0, p.IntensitySenshi0, p.BoostSenshi0},
                    {p.Senshi1, p.TrendSenshi1, p.IntensitySenshi1, p.BoostSenshi1}, symbol);
    AppendRatedPair(out, ":v", VillianTable,
                    {p.Villian0, p.TrendVillian0, p.IntensityVillian0, p.BoostVillian0},
                    {p.Villian1, p.TrendVillian1, p.IntensityVillian1, p.BoostVillian1}, symbol);
}

void BuildAssistPartSection(const AssistPartAnswers& p, std::string& out, char symbol) {
    out.clear();
    AppendRatedPair(out, ":a", AssistTable, {p.Assist0, p.TrendAssist0, p.IntensityAssist0, p.BoostAssist0},
                    {p.Assist1, p.TrendAssist1, p.IntensityAssist1, p.BoostAssist1}, symbol);
    AppendRatedPair(out, ":p", PartTable, {p.Part0, p.TrendPart0, p.IntensityPart0, p.BoostPart0},
                    {p.Part1, p.TrendPart1, p.IntensityPart1, p.BoostPart1}, symbol);
}

void BuildExperienceSection(const ExperienceAnswers& x, std::string& out) {
    out.clear();
    if (x.Years != 0) {
        out += ':';
        AppendRepeated(out, '*', x.Years / 2);
        if (x.Years % 2 != 0)
            out += "[*]";
    }
    AppendAnime(out, x);
    AppendManga(out, x);
    if (!out.empty())
        out.insert(0, " X");
}

void BuildOpinionsSection(const OpinionsAnswers& o, std::string& out) {
    out.clear();
    for (const OpinionTopic& topic : OpinionTopics())
        AppendTopic(out, o, topic);
    if (!out.empty())
        out.insert(0, " O");
}

void BuildPersonalSection(const PersonalAnswers& p, std::string& out) {
    out.clear();
    if (!p.OmitAge) {
        out += ":a";
        if (p.SpecifyExactAge)
            AppendNumber(out, p.ExactAge);
        else
            AppendSignedRun(out, p.Age, p.BoostAge);
    }
    if (!p.OmitStature) {
        out += ":s";
        if (p.SpecifyExactStature) {
            AppendNumber(out, p.ExactStatureFt);
            AppendNumber(out, p.ExactStatureIn);
        } else {
            AppendSignedRun(out, p.Stature, p.BoostStature);
        }
    }
    if (!p.OmitWeight) {
        out += ":w";
        if (p.SpecifyExactWeight)
            AppendNumber(out, p.ExactWeight);
        else if (p.NoTellWeight)
            out += '?';
        else
            AppendSignedRun(out, p.Weight, p.BoostWeight);
    }
    if (!p.OmitFat) {
        out += ":f";
        if (p.NoTellFat)
            out += '?';
        else
            AppendSignedRun(out, p.Fat, p.BoostFat);
    }
    if (!p.OmitEyes) {
        const int32_t left[3] = {p.ColorLeft0, p.ColorLeft1, p.ColorLeft2};
        const int32_t right[3] = {p.ColorRight0, p.ColorRight1, p.ColorRight2};
        const int32_t leftAdj[3] = {p.ColorAdjLeft0, p.ColorAdjLeft1, p.ColorAdjLeft2};
        const int32_t rightAdj[3] = {p.ColorAdjRight0, p.ColorAdjRight1, p.ColorAdjRight2};
        const int64_t leftSum = int64_t{left[0]} + left[1] + left[2];
        const int64_t rightSum = int64_t{right[0]} + right[1] + right[2];
        const bool showRight = !p.Same && rightSum != 0;
        if (leftSum + rightSum != 0) {
            out += ":e";
            if (leftSum != 0) {
                AppendEyeColours(out, left, leftAdj);
                if (showRight)
                    out += '|';
            }
            if (showRight)
                AppendEyeColours(out, right, rightAdj);
            AppendMarkPair(out, p.Glasses, 'g', p.Contacts, 'z');
        }
    }
}

void BuildMorePersonalSection(const MorePersonalAnswers& p, std::string& out) {
    out.clear();
    if (!p.OmitHair) {
        out += ":h";
        out += HairColorTable.getEntry(p.HairColor).Code;
        out += ColorAdjTable.getEntry(p.HairColorAdj).Code;
        AppendSignedRun(out, p.Hair, p.BoostHair);
        AppendMarkPair(out, p.Moustache, 'm', p.Beard, 'b');
    }
    if (!p.OmitTone) {
        out += ":t";
        AppendSignedRun(out, p.Tone, p.BoostTone);
    }
    if (!p.OmitGroup) {
        out += ":c";
        AppendBitList(out, static_cast<uint32_t>(p.Group), GroupTable);
    }
    if (!p.OmitBloodType) {
        out += ":b";
        out += BloodTypeTable.getEntry(p.BloodType).Code;
        out += BloodTypeSignTable.getEntry(p.BloodTypeSign).Code;
    }
}

void BuildEvenMorePersonalSection(const EvenMorePersonalAnswers& p, std::string& out) {
    out.clear();
    if (!p.OmitSign) {
        out += ":*";
        out += SignTable.getEntry(p.Sign).Code;
    }
    if (!p.OmitGender) {
        out += ':';
        out += GenderTable.getEntry(p.Gender).Code;
        if (p.UsePurity) {
            AppendNumber(out, p.Purity);
            out += '%';
        } else {
            if (p.NoTellKink)
                out += '?';
            else
                AppendSignedRun(out, p.Kink, p.BoostKink);
            out += KinkTable.getEntry(p.KinkMembership).Code;
        }
    }
    if (!p.OmitRelationship) {
        out += ":r";
        AppendSignedRun(out, int64_t{p.Preference} - 1, p.BoostPreference);
        out += '|';
        AppendSignedRun(out, int64_t{p.Status} - 1, p.BoostStatus);
    }
}
