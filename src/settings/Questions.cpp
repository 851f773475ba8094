// SPDX-License-Identifier: MIT
#include "settings/Questions.h"

#include "settings/SettingsLayout.h"
#include "vocabulary/Tables.h"

namespace {

// Row makers, one a kind of control, so that a table reads like the page.
constexpr Question Check(PageField field, int group, std::string_view caption, std::string_view name = {}) {
    return {field, ControlKind::Check, group, 0, 1, nullptr, caption, name};
}
constexpr Question List(PageField field, int group, const CodeTable& table, std::string_view name) {
    return {field, ControlKind::List, group, 0, 0, &table, {}, name};
}
constexpr Question Slider(PageField field, int group, int32_t minimum, int32_t maximum, std::string_view name,
                          std::string_view caption = {}) {
    return {field, ControlKind::Slider, group, minimum, maximum, nullptr, caption, name};
}
constexpr Question Upright(PageField field, int group, int32_t minimum, int32_t maximum,
                           std::string_view name) {
    return {field, ControlKind::Slider, group, minimum, maximum, nullptr, {}, name, true};
}
constexpr Question Tune(PageField field, int group, int32_t minimum, int32_t maximum, std::string_view name,
                        std::string_view caption = "Tune") {
    return {field, ControlKind::Tune, group, minimum, maximum, nullptr, caption, name};
}
constexpr Question Spin(PageField field, int group, int32_t minimum, int32_t maximum, std::string_view name) {
    return {field, ControlKind::Spin, group, minimum, maximum, nullptr, {}, name};
}
constexpr Question Count(PageField field, int group, int32_t maximum, std::string_view name) {
    return {field, ControlKind::Count, group, 0, maximum, nullptr, {}, name};
}
constexpr Question Selection(PageField field, int group, const CodeTable& table, std::string_view caption,
                             std::string_view name) {
    return {field, ControlKind::Selection, group, 0, 0, &table, caption, name};
}

// ---------------------------------------------------------------------------------------------------
// SM

#define F(Field) GLOMIE_PAGE_FIELD(ObsessionAnswers, Field)
enum { ObsessionGroup, FeelingsGroup };
constexpr QuestionGroup kObsessionGroups[] = {
    {"ObsessionGroup", "&Obsession Level"},
    {"FeelingsGroup", "Feelings about the Term \"&Glomie\""},
};
constexpr Question kObsession[] = {
    Slider(F(Pri), ObsessionGroup, 0, 30, "Primary obsession level", "&Primary"),
    Check(F(ChkSec), ObsessionGroup, "&Secondary"),
    Slider(F(Sec), ObsessionGroup, 0, 30, "Secondary obsession level"),
    List(F(GlomiePref), FeelingsGroup, TermFeelingTable, "Feelings about the term Glomie"),
};
#undef F

// ---------------------------------------------------------------------------------------------------
// Favorites and Dislikes; More Favorites and More Dislikes: four rated choices each

// A rated slot asks four questions: the choice from its table, the choice's trend, and its intensity
// from none to the strongest with the intensity's tune.
constexpr int32_t kStrongestRating = 3;
#define RATED_SLOT(Name, Group, Table, Choice, Of, IntensityCaption)                                         \
    List(F(Name), Group, Table, Choice), List(F(Trend##Name), Group, TrendTable, "Trend of " Of),            \
        Slider(F(Intensity##Name), Group, 0, kStrongestRating, "Intensity of " Of, IntensityCaption),        \
        Tune(F(Boost##Name), Group, 0, kStrongestRating, "Tune of " Of)

#define F(Field) GLOMIE_PAGE_FIELD(SenshiVillainAnswers, Field)
enum { SenshiGroup, VillianGroup };
constexpr QuestionGroup kSenshiVillainGroups[] = {{"SenshiGroup", "&Senshi"}, {"VillianGroup", "&Villians"}};
constexpr Question kSenshiVillain[] = {
    RATED_SLOT(Senshi0, SenshiGroup, SenshiTable, "First senshi", "the first senshi", "&Intensity"),
    RATED_SLOT(Senshi1, SenshiGroup, SenshiTable, "Second senshi", "the second senshi", "I&ntensity"),
    RATED_SLOT(Villian0, VillianGroup, VillianTable, "First villain", "the first villain", "In&tensity"),
    RATED_SLOT(Villian1, VillianGroup, VillianTable, "Second villain", "the second villain", "Int&ensity"),
};
#undef F

#define F(Field) GLOMIE_PAGE_FIELD(AssistPartAnswers, Field)
enum { AssistGroup, PartGroup };
constexpr QuestionGroup kAssistPartGroups[] = {{"AssistGroup", "&Assisting Characters"},
                                               {"PartGroup", "&Parts (Seasons)"}};
constexpr Question kAssistPart[] = {
    RATED_SLOT(Assist0, AssistGroup, AssistTable, "First assisting character",
               "the first assisting character", "&Intensity"),
    RATED_SLOT(Assist1, AssistGroup, AssistTable, "Second assisting character",
               "the second assisting character", "I&ntensity"),
    RATED_SLOT(Part0, PartGroup, PartTable, "First part", "the first part", "In&tensity"),
    RATED_SLOT(Part1, PartGroup, PartTable, "Second part", "the second part", "Int&ensity"),
};
#undef F
#undef RATED_SLOT

// ---------------------------------------------------------------------------------------------------
// Experience: the years, the anime seen raw, subbed and dubbed, the manga read raw and translated

#define F(Field) GLOMIE_PAGE_FIELD(ExperienceAnswers, Field)
enum { YearsGroup, RawGroup, SubGroup, DubGroup, MangaRawGroup, MangaSubGroup };
constexpr QuestionGroup kExperienceGroups[] = {
    {"YearsGroup", "&Years"},      {"RawGroup", "Ra&w Anime"},      {"SubGroup", "S&ubbed Anime"},
    {"DubGroup", "&Dubbed Anime"}, {"MangaRawGroup", "&Raw Manga"}, {"MangaSubGroup", "Tran&slated Manga"},
};
constexpr int32_t kMostEpisodes = 200;
constexpr int32_t kStrongestExperience = 4;
constexpr Question kExperience[] = {
    Spin(F(Years), YearsGroup, 0, 100, "Years as a fan"), // in half years
    Check(F(ByNumbers), -1, "Specify Anime by &Number of Episodes"),
    Count(F(Raw), RawGroup, kMostEpisodes, "Episodes of the raw anime"),
    Selection(F(RawComplete), RawGroup, PartTable, "C", "Parts of the raw anime seen completely"),
    Selection(F(RawPartial), RawGroup, PartTable, "P", "Parts of the raw anime seen partially"),
    Upright(F(IntensityRaw), RawGroup, 0, kStrongestExperience, "Intensity of the raw anime"),
    Tune(F(BoostRaw), RawGroup, 0, kStrongestExperience, "Tune of the raw anime", "T"),
    Count(F(Sub), SubGroup, kMostEpisodes, "Episodes of the subbed anime"),
    Selection(F(SubComplete), SubGroup, PartTable, "C", "Parts of the subbed anime seen completely"),
    Selection(F(SubPartial), SubGroup, PartTable, "P", "Parts of the subbed anime seen partially"),
    Upright(F(IntensitySub), SubGroup, 0, kStrongestExperience, "Intensity of the subbed anime"),
    Tune(F(BoostSub), SubGroup, 0, kStrongestExperience, "Tune of the subbed anime", "T"),
    Count(F(Dub), DubGroup, kMostEpisodes, "Episodes of the dubbed anime"),
    Selection(F(DubComplete), DubGroup, PartTable, "C", "Parts of the dubbed anime seen completely"),
    Selection(F(DubPartial), DubGroup, PartTable, "P", "Parts of the dubbed anime seen partially"),
    Upright(F(IntensityDub), DubGroup, 0, kStrongestExperience, "Intensity of the dubbed anime"),
    Tune(F(BoostDub), DubGroup, 0, kStrongestExperience, "Tune of the dubbed anime", "T"),
    Count(F(MangaRaw), MangaRawGroup, kMostEpisodes, "Amount of the raw manga"),
    Slider(F(IntensityMangaRaw), MangaRawGroup, 0, kStrongestExperience, "Intensity of the raw manga"),
    Tune(F(BoostMangaRaw), MangaRawGroup, 0, kStrongestExperience, "Tune of the raw manga"),
    Count(F(MangaSub), MangaSubGroup, kMostEpisodes, "Amount of the translated manga"),
    Slider(F(IntensityMangaSub), MangaSubGroup, 0, kStrongestExperience, "Intensity of the translated manga"),
    Tune(F(BoostMangaSub), MangaSubGroup, 0, kStrongestExperience, "Tune of the translated manga"),
};
// Dubbed, subbed, translated manga, raw anime, raw manga: the first failing box is the one reported.
constexpr PageField kExperienceCountOrder[] = {F(Dub), F(Sub), F(MangaSub), F(Raw), F(MangaRaw)};
#undef F

// ---------------------------------------------------------------------------------------------------
// Opinions: six topics, each with its omit box first. A tune may move the opinion by the slider's
// whole width either way.

#define F(Field) GLOMIE_PAGE_FIELD(OpinionsAnswers, Field)
enum { DubTopic, SosTopic, OwTopic, AntiTopic, HentaiTopic, MixxTopic };
constexpr QuestionGroup kOpinionsGroups[] = {
    {"DubGroup", "NA &Dub"},     {"SosGroup", "&SOS (Save Our Sailors)"},
    {"OwGroup", "&Otaku Wars!"}, {"AntiGroup", "SM Haters/&Antiglomies"},
    {"HentaiGroup", "&Hentai"},  {"MixxGroup", "Mixx&zine"},
};
constexpr Question kOpinions[] = {
    Check(F(OmitDub), -1, "O&mit Dub"),
    Check(F(WhatDub), DubTopic, "&What NA Dub?"),
    Check(F(AmericanCartoon), DubTopic, "SM is a &Cartoon"),
    Check(F(NoOpDub), DubTopic, "&No Opinion", "No opinion on the NA dub"),
    Slider(F(IntensityDub), DubTopic, -2, 2, "Opinion on the NA dub"),
    Tune(F(BoostDub), DubTopic, -4, 4, "Tune of the opinion on the NA dub"),

    Check(F(OmitSos), -1, "Omit &SOS"),
    Check(F(WhatSos), SosTopic, "W&hat SOS?"),
    Check(F(Member), SosTopic, "&Member"),
    Check(F(NoOpSos), SosTopic, "N&o Opinion", "No opinion on SOS"),
    Check(F(Bitter), SosTopic, "&Bitter"),
    Slider(F(IntensitySos), SosTopic, -2, 3, "Opinion on SOS"),
    Tune(F(BoostSos), SosTopic, -5, 5, "Tune of the opinion on SOS"),

    Check(F(OmitOw), -1, "Omit Otaku Wars&!"),
    Check(F(WhatOw), OwTopic, "Wh&at OW!?"),
    Check(F(NoOpOw), OwTopic, "&No Opinion", "No opinion on the Otaku Wars"),
    Slider(F(IntensityOw), OwTopic, -2, 3, "Opinion on the Otaku Wars"),
    Tune(F(BoostOw), OwTopic, -5, 5, "Tune of the opinion on the Otaku Wars"),

    Check(F(OmitAnti), -1, "Omit Antiglomi&es"),
    Check(F(NoOpAnti), AntiTopic, "No O&pinion", "No opinion on SM haters"),
    Slider(F(IntensityAnti), AntiTopic, -2, 3, "Opinion on SM haters"),
    Tune(F(BoostAnti), AntiTopic, -5, 5, "Tune of the opinion on SM haters"),

    Check(F(OmitHentai), -1, "Omit &Hentai"),
    Check(F(NoOpHentai), HentaiTopic, "No Op&inion", "No opinion on hentai"),
    Slider(F(IntensityHentai), HentaiTopic, -3, 3, "Opinion on hentai"),
    Tune(F(BoostHentai), HentaiTopic, -6, 6, "Tune of the opinion on hentai"),

    Check(F(OmitMixx), -1, "Omit Mix&x"),
    Check(F(WhatMixx), MixxTopic, "Wha&t Mixxize?"),
    Check(F(NoOpMixx), MixxTopic, "No& Opinion", "No opinion on Mixxzine"),
    Slider(F(IntensityMixx), MixxTopic, -2, 3, "Opinion on Mixxzine"),
    Tune(F(BoostMixx), MixxTopic, -5, 5, "Tune of the opinion on Mixxzine"),
};
#undef F

// ---------------------------------------------------------------------------------------------------
// Personal: age, stature, weight and body fat, each with its omit box first, then the eyes

#define F(Field) GLOMIE_PAGE_FIELD(PersonalAnswers, Field)
enum { AgeGroup, StatureGroup, WeightGroup, FatGroup, EyesGroup, LeftGroup, RightGroup };
constexpr QuestionGroup kPersonalGroups[] = {
    {"AgeGroup", "&Age (yrs)"},
    {"StatureGroup", "&Stature (ft, in)"},
    {"WeightGroup", "&Weight (lbs)"},
    {"FatGroup", "Body &Fat"},
    {"EyesGroup", "&Eyes"},
    {"LeftGroup", "&Left (color, intensity)", EyesGroup},
    {"RightGroup", "&Right (color, intensity)", EyesGroup},
};
constexpr Question kPersonal[] = {
    Check(F(OmitAge), -1, "&Omit Age"),
    Check(F(SpecifyExactAge), AgeGroup, "&Exact", "Exact age"),
    Count(F(ExactAge), AgeGroup, 200, "Age in years"),
    Slider(F(Age), AgeGroup, -3, 4, "Age"),
    Tune(F(BoostAge), AgeGroup, -7, 7, "Tune of the age"),

    Check(F(OmitStature), -1, "O&mit Stature"),
    Check(F(SpecifyExactStature), StatureGroup, "E&xact", "Exact stature"),
    Count(F(ExactStatureFt), StatureGroup, 10, "Stature, feet"),
    Count(F(ExactStatureIn), StatureGroup, 11, "Stature, inches"),
    Slider(F(Stature), StatureGroup, -3, 3, "Stature"),
    Tune(F(BoostStature), StatureGroup, -6, 6, "Tune of the stature"),

    Check(F(OmitWeight), -1, "Om&it Weight"),
    Check(F(SpecifyExactWeight), WeightGroup, "Exa&ct", "Exact weight"),
    Count(F(ExactWeight), WeightGroup, 500, "Weight in pounds"),
    Check(F(NoTellWeight), WeightGroup, "&Not Telling", "Not telling the weight"),
    Slider(F(Weight), WeightGroup, -3, 3, "Weight"),
    Tune(F(BoostWeight), WeightGroup, -6, 6, "Tune of the weight"),

    Check(F(OmitFat), -1, "Omi&t Body Fat"),
    Check(F(NoTellFat), FatGroup, "Not &Telling", "Not telling the body fat"),
    Slider(F(Fat), FatGroup, -3, 3, "Body fat"),
    Tune(F(BoostFat), FatGroup, -6, 6, "Tune of the body fat"),

    Check(F(OmitEyes), -1, "Omit& Eyes"),
    Check(F(Same), EyesGroup, "Both Eyes are the &Same"),
    Check(F(Glasses), EyesGroup, "&Glasses"),
    Check(F(Contacts), EyesGroup, "&Contacts"),
    List(F(ColorLeft0), LeftGroup, EyeColorTable, "Left eye, first colour"),
    List(F(ColorAdjLeft0), LeftGroup, ColorAdjTable, "Left eye, intensity of the first colour"),
    List(F(ColorLeft1), LeftGroup, EyeColorTable, "Left eye, second colour"),
    List(F(ColorAdjLeft1), LeftGroup, ColorAdjTable, "Left eye, intensity of the second colour"),
    List(F(ColorLeft2), LeftGroup, EyeColorTable, "Left eye, third colour"),
    List(F(ColorAdjLeft2), LeftGroup, ColorAdjTable, "Left eye, intensity of the third colour"),
    List(F(ColorRight0), RightGroup, EyeColorTable, "Right eye, first colour"),
    List(F(ColorAdjRight0), RightGroup, ColorAdjTable, "Right eye, intensity of the first colour"),
    List(F(ColorRight1), RightGroup, EyeColorTable, "Right eye, second colour"),
    List(F(ColorAdjRight1), RightGroup, ColorAdjTable, "Right eye, intensity of the second colour"),
    List(F(ColorRight2), RightGroup, EyeColorTable, "Right eye, third colour"),
    List(F(ColorAdjRight2), RightGroup, ColorAdjTable, "Right eye, intensity of the third colour"),
};
// Age, weight, inches, feet.
constexpr PageField kPersonalCountOrder[] = {F(ExactAge), F(ExactWeight), F(ExactStatureIn),
                                             F(ExactStatureFt)};
#undef F

// ---------------------------------------------------------------------------------------------------
// More Personal: the omit boxes first, then hair, skin tone, cultural group and blood type

#define F(Field) GLOMIE_PAGE_FIELD(MorePersonalAnswers, Field)
enum { HairGroup, LengthGroup, ToneGroup, CulturalGroup, BloodTypeGroup };
constexpr QuestionGroup kMorePersonalGroups[] = {
    {"HairGroup", "&Hair"},
    {"LengthGroup", "&Length (Short to Long)", HairGroup},
    {"ToneGroup", "Skin &Tone (Light to Dark)"},
    {"GroupGroup", "&Cultural Group"},
    {"BloodTypeGroup", "&Bloodtype"},
};
constexpr Question kMorePersonal[] = {
    Check(F(OmitHair), -1, "&Omit Hair"),
    Check(F(OmitTone), -1, "Om&it Tone"),
    Check(F(OmitGroup), -1, "O&mit Group"),
    Check(F(OmitBloodType), -1, "Omi&t Bloodtype"),
    List(F(HairColor), HairGroup, HairColorTable, "Hair colour"),
    List(F(HairColorAdj), HairGroup, ColorAdjTable, "Intensity of the hair colour"),
    Slider(F(Hair), LengthGroup, -3, 4, "Hair length"),
    Tune(F(BoostHair), LengthGroup, -7, 7, "Tune of the hair length"),
    Check(F(Beard), HairGroup, "&Beard"),
    Check(F(Moustache), HairGroup, "&Moustache"),
    Slider(F(Tone), ToneGroup, -2, 2, "Skin tone"),
    Tune(F(BoostTone), ToneGroup, -4, 4, "Tune of the skin tone"),
    Selection(F(Group), CulturalGroup, GroupTable, {}, "Cultural Group"),
    List(F(BloodType), BloodTypeGroup, BloodTypeTable, "Blood type"),
    List(F(BloodTypeSign), BloodTypeGroup, BloodTypeSignTable, "Sign of the blood type"),
};
#undef F

// ---------------------------------------------------------------------------------------------------
// Even More Personal: the omit boxes first, then the sign, the gender with the kink factor or the
// purity quiz, and the relationship

#define F(Field) GLOMIE_PAGE_FIELD(EvenMorePersonalAnswers, Field)
enum { SignGroup, GenderGroup, KinkGroup, QuizGroup, RelationshipGroup };
constexpr QuestionGroup kEvenMorePersonalGroups[] = {
    {"SignGroup", "Astrological Sign (&*)"},
    {"GenderGroup", "Gender (&xyz)"},
    {"KinkGroup", "&Kink Factor and Membership", GenderGroup},
    {"QuizGroup", "Quiz Score (&%)", KinkGroup},
    {"RelationshipGroup", "&Relationship Preference and Status"},
};
constexpr Question kEvenMorePersonal[] = {
    Check(F(OmitSign), -1, "&Omit Astrological Sign"),
    Check(F(OmitGender), -1, "O&mit Gender"),
    Check(F(OmitRelationship), -1, "Om&it Relationship"),
    List(F(Sign), SignGroup, SignTable, "Astrological sign"),
    List(F(Gender), GenderGroup, GenderTable, "Gender"),
    Check(F(UsePurity), KinkGroup, "&Use Purity Quiz"),
    Count(F(Purity), QuizGroup, 500, "Purity quiz score"),
    Check(F(NoTellKink), KinkGroup, "&Not Telling", "Not telling the kink factor"),
    Slider(F(Kink), KinkGroup, -3, 3, "Kink factor"),
    Tune(F(BoostKink), KinkGroup, -6, 6, "Tune of the kink factor"),
    List(F(KinkMembership), KinkGroup, KinkTable, "Kink membership"),
    List(F(Preference), RelationshipGroup, PreferenceTable, "Relationship preference"),
    Tune(F(BoostPreference), RelationshipGroup, -2, 2, "Tune of the relationship preference"),
    List(F(Status), RelationshipGroup, StatusTable, "Relationship status"),
    Tune(F(BoostStatus), RelationshipGroup, -2, 2, "Tune of the relationship status"),
};
constexpr PageField kEvenMorePersonalCountOrder[] = {F(Purity)};
#undef F

struct PageTables {
    std::string_view Caption;
    PageKind Kind;
};

constexpr PageTables kPages[kPageCount] = {
    {"SM", PageKind::Obsession},
    {"Favorites", PageKind::SenshiVillain},
    {"More Favorites", PageKind::AssistPart},
    {"Dislikes", PageKind::SenshiVillain},
    {"More Dislikes", PageKind::AssistPart},
    {"Experience", PageKind::Experience},
    {"Opinions", PageKind::Opinions},
    {"Personal", PageKind::Personal},
    {"More Personal", PageKind::MorePersonal},
    {"Even More Personal", PageKind::EvenMorePersonal},
};

struct KindTables {
    std::span<const Question> Questions;
    std::span<const QuestionGroup> Groups;
    std::span<const PageField> Counts;
};

KindTables TablesOf(PageKind kind) {
    switch (kind) {
    case PageKind::Obsession:
        return {kObsession, kObsessionGroups, {}};
    case PageKind::SenshiVillain:
        return {kSenshiVillain, kSenshiVillainGroups, {}};
    case PageKind::AssistPart:
        return {kAssistPart, kAssistPartGroups, {}};
    case PageKind::Experience:
        return {kExperience, kExperienceGroups, kExperienceCountOrder};
    case PageKind::Opinions:
        return {kOpinions, kOpinionsGroups, {}};
    case PageKind::Personal:
        return {kPersonal, kPersonalGroups, kPersonalCountOrder};
    case PageKind::MorePersonal:
        return {kMorePersonal, kMorePersonalGroups, {}};
    case PageKind::EvenMorePersonal:
        return {kEvenMorePersonal, kEvenMorePersonalGroups, kEvenMorePersonalCountOrder};
    }
    return {};
}

static_assert(std::size(kPersonal) <= kMostQuestions && std::size(kOpinions) <= kMostQuestions);

} // namespace

PageKind KindOf(PageId page) {
    return kPages[static_cast<int>(page)].Kind;
}

std::string_view PageCaption(PageId page) {
    return kPages[static_cast<int>(page)].Caption;
}

std::span<const Question> QuestionsOf(PageId page) {
    return TablesOf(KindOf(page)).Questions;
}

std::span<const QuestionGroup> GroupsOf(PageId page) {
    return TablesOf(KindOf(page)).Groups;
}

std::vector<int> CountsInCheckOrder(PageId page) {
    std::vector<int> order;
    for (const PageField& field : TablesOf(KindOf(page)).Counts)
        order.push_back(QuestionIndex(page, field));
    return order;
}

int QuestionIndex(PageId page, PageField field) {
    const auto questions = QuestionsOf(page);
    for (size_t i = 0; i < questions.size(); ++i)
        if (questions[i].Field == field)
            return static_cast<int>(i);
    return -1;
}

std::string_view QuestionName(PageId page, int question) {
    const auto questions = QuestionsOf(page);
    if (question < 0 || question >= static_cast<int>(questions.size()))
        return {};
    return AnswerName(AnswerOf(page, questions[static_cast<size_t>(question)]));
}

int QuestionIndex(PageId page, std::string_view name) {
    const int count = static_cast<int>(QuestionsOf(page).size());
    for (int i = 0; i < count; ++i)
        if (QuestionName(page, i) == name)
            return i;
    return -1;
}

std::string PlainCaption(std::string_view caption) {
    std::string plain;
    plain.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i; // the marker goes, the character it marks (or a doubled '&') stays
        plain += caption[i];
    }
    return plain;
}

std::string AccessibleNameOf(const Question& question) {
    return question.AccessibleName.empty() ? PlainCaption(question.Caption)
                                           : std::string(question.AccessibleName);
}
