// SPDX-License-Identifier: MIT
// What is open: each page's rule, which questions its answers leave open.
#include "rules/PageRules.h"

#include <array>
#include <optional>

#include "code/OpinionTopics.h"

namespace {

// Reads a page's answers by field and closes the questions that edit a field.
class PageRule {
  public:
    PageRule(const AnswerSet& answers, PageId page) : m_answers(answers), m_page(page) {
        for (size_t i = 0; i < QuestionsOf(page).size(); ++i)
            m_open.set(i);
    }

    int32_t operator()(PageField field) const { return ReadAnswer(m_answers, {m_page, field}); }
    bool set(PageField field) const { return (*this)(field) != 0; }

    // Keeps the question of a field open only if the condition holds.
    void openIf(PageField field, bool condition) {
        if (!condition)
            m_open.reset(static_cast<size_t>(QuestionIndex(m_page, field)));
    }
    const OpenQuestions& open() const { return m_open; }

  private:
    const AnswerSet& m_answers;
    PageId m_page;
    OpenQuestions m_open;
};

// The secondary level is open only while it is switched on.
void ObsessionRule(PageRule& rule) {
#define F(Field) GLOMIE_PAGE_FIELD(ObsessionAnswers, Field)
    rule.openIf(F(Sec), rule.set(F(ChkSec)));
#undef F
}

// A slot's trend, intensity and tune are open while something is chosen in it; a choice of −1 (no
// selection, from damaged settings) counts as chosen.
void RatedRule(PageRule& rule, std::span<const Question> questions) {
    for (size_t first = 0; first + kRatedSlotQuestions <= questions.size(); first += kRatedSlotQuestions) {
        const bool chosen = rule.set(questions[first].Field);
        for (size_t k = 1; k < kRatedSlotQuestions; ++k)
            rule.openIf(questions[first + k].Field, chosen);
    }
}

// Anime by numbers of episodes opens the episode counts; by parts, the part lists. A form's intensity
// and tune are open while the form has been seen.
void ExperienceRule(PageRule& rule) {
#define F(Field) GLOMIE_PAGE_FIELD(ExperienceAnswers, Field)
#define ANIME(Name)                                                                                          \
    AnimeForm {                                                                                              \
        F(Name), F(Name##Complete), F(Name##Partial), F(Intensity##Name), F(Boost##Name)                     \
    }
    struct AnimeForm {
        PageField Episodes, Complete, Partial, Intensity, Boost;
    };
    const bool byNumbers = rule.set(F(ByNumbers));
    for (const AnimeForm& form : {ANIME(Raw), ANIME(Sub), ANIME(Dub)}) {
        rule.openIf(form.Episodes, byNumbers);
        rule.openIf(form.Complete, !byNumbers);
        rule.openIf(form.Partial, !byNumbers);
        const bool seen =
            byNumbers ? rule.set(form.Episodes) : rule.set(form.Complete) || rule.set(form.Partial);
        rule.openIf(form.Intensity, seen);
        rule.openIf(form.Boost, seen);
    }
    for (const auto& [amount, intensity, boost] :
         {std::array{F(MangaRaw), F(IntensityMangaRaw), F(BoostMangaRaw)},
          std::array{F(MangaSub), F(IntensityMangaSub), F(BoostMangaSub)}}) {
        rule.openIf(intensity, rule.set(amount));
        rule.openIf(boost, rule.set(amount));
    }
#undef ANIME
#undef F
}

// Each topic: its "What?" box while it is not omitted; its no-opinion box and the marks kept with no
// opinion while the user knows the topic; a mark that replaces the opinion ("Bitter") while they have
// an opinion; the opinion and its tune while no such mark is set.
void OpinionsRule(PageRule& rule) {
    const auto set = [&](const std::optional<PageField>& field) { return field && rule.set(*field); };
    for (const OpinionTopic& topic : OpinionTopics()) {
        const bool shown = !rule.set(topic.Omit);
        const bool known = shown && !set(topic.What);
        const bool opinion = known && !rule.set(topic.NoOpinion);
        const bool scaled = opinion && !set(topic.Bitter);
        if (topic.What)
            rule.openIf(*topic.What, shown);
        rule.openIf(topic.NoOpinion, known);
        if (topic.Mark)
            rule.openIf(*topic.Mark, known);
        if (topic.Bitter)
            rule.openIf(*topic.Bitter, opinion);
        rule.openIf(topic.Intensity, scaled);
        rule.openIf(topic.Boost, scaled);
    }
}

// Age, stature, weight and body fat: open unless omitted; an exact number replaces the level and the
// not-telling box; not telling replaces the level. The eyes: open unless omitted; the right eye only
// while it is not the same as the left; an intensity while its colour is chosen; glasses and contacts
// while any colour is, right or left.
void PersonalRule(PageRule& rule) {
#define F(Field) GLOMIE_PAGE_FIELD(PersonalAnswers, Field)
    struct Trait {
        PageField Omit;
        std::optional<PageField> Exact;
        std::array<std::optional<PageField>, 2> Numbers;
        std::optional<PageField> NoTell;
        PageField Level, Boost;
    };
    // clang-format off
    const Trait traits[] = {
        {F(OmitAge), F(SpecifyExactAge), {F(ExactAge), {}}, {}, F(Age), F(BoostAge)},
        {F(OmitStature), F(SpecifyExactStature), {F(ExactStatureFt), F(ExactStatureIn)}, {}, F(Stature),
         F(BoostStature)},
        {F(OmitWeight), F(SpecifyExactWeight), {F(ExactWeight), {}}, F(NoTellWeight), F(Weight), F(BoostWeight)},
        {F(OmitFat), {}, {}, F(NoTellFat), F(Fat), F(BoostFat)},
    };
    // clang-format on
    for (const Trait& trait : traits) {
        const bool shown = !rule.set(trait.Omit);
        const bool exact = trait.Exact && rule.set(*trait.Exact);
        if (trait.Exact)
            rule.openIf(*trait.Exact, shown);
        for (const auto& number : trait.Numbers)
            if (number)
                rule.openIf(*number, shown && exact);
        const bool level = shown && !exact;
        if (trait.NoTell)
            rule.openIf(*trait.NoTell, level);
        const bool told = level && !(trait.NoTell && rule.set(*trait.NoTell));
        rule.openIf(trait.Level, told);
        rule.openIf(trait.Boost, told);
    }

    const std::array<std::array<PageField, 2>, 3> left = {{{F(ColorLeft0), F(ColorAdjLeft0)},
                                                           {F(ColorLeft1), F(ColorAdjLeft1)},
                                                           {F(ColorLeft2), F(ColorAdjLeft2)}}};
    const std::array<std::array<PageField, 2>, 3> right = {{{F(ColorRight0), F(ColorAdjRight0)},
                                                            {F(ColorRight1), F(ColorAdjRight1)},
                                                            {F(ColorRight2), F(ColorAdjRight2)}}};
    int64_t colours = 0; // damaged rows must not overflow the sum
    for (const auto* side : {&left, &right})
        for (const auto& [colour, intensity] : *side)
            colours += rule(colour);
    const bool eyes = !rule.set(F(OmitEyes));
    const bool rightEye = eyes && !rule.set(F(Same));
    rule.openIf(F(Same), eyes);
    rule.openIf(F(Glasses), eyes && colours != 0);
    rule.openIf(F(Contacts), eyes && colours != 0);
    for (const auto& [side, open] : {std::pair{&left, eyes}, std::pair{&right, rightEye}})
        for (const auto& [colour, intensity] : *side) {
            rule.openIf(colour, open);
            rule.openIf(intensity, open && rule.set(colour));
        }
#undef F
}

// Hair, tone, cultural group and blood type: each is open unless omitted; nothing else closes them.
void MorePersonalRule(PageRule& rule) {
#define F(Field) GLOMIE_PAGE_FIELD(MorePersonalAnswers, Field)
    const bool hair = !rule.set(F(OmitHair));
    for (const PageField& field :
         {F(HairColor), F(HairColorAdj), F(Hair), F(BoostHair), F(Beard), F(Moustache)})
        rule.openIf(field, hair);
    for (const PageField& field : {F(Tone), F(BoostTone)})
        rule.openIf(field, !rule.set(F(OmitTone)));
    rule.openIf(F(Group), !rule.set(F(OmitGroup)));
    for (const PageField& field : {F(BloodType), F(BloodTypeSign)})
        rule.openIf(field, !rule.set(F(OmitBloodType)));
#undef F
}

// The sign and the relationship are open unless omitted. The gender opens the kink answers; the quiz
// score and the kink factor with its membership exclude each other; not telling closes only the factor.
void EvenMorePersonalRule(PageRule& rule) {
#define F(Field) GLOMIE_PAGE_FIELD(EvenMorePersonalAnswers, Field)
    rule.openIf(F(Sign), !rule.set(F(OmitSign)));
    const bool gender = !rule.set(F(OmitGender));
    const bool kink = gender && !rule.set(F(UsePurity));
    const bool factor = kink && !rule.set(F(NoTellKink));
    rule.openIf(F(Gender), gender);
    rule.openIf(F(UsePurity), gender);
    rule.openIf(F(Purity), gender && rule.set(F(UsePurity)));
    rule.openIf(F(NoTellKink), kink);
    rule.openIf(F(KinkMembership), kink);
    rule.openIf(F(Kink), factor);
    rule.openIf(F(BoostKink), factor);
    for (const PageField& field : {F(Preference), F(BoostPreference), F(Status), F(BoostStatus)})
        rule.openIf(field, !rule.set(F(OmitRelationship)));
#undef F
}

bool IsGroupWithin(PageId page, int group, int outer) {
    const auto groups = GroupsOf(page);
    for (int at = group; at >= 0 && at < static_cast<int>(groups.size());
         at = groups[static_cast<size_t>(at)].Parent)
        if (at == outer)
            return true;
    return false;
}

} // namespace

OpenQuestions OpenQuestionsOf(const AnswerSet& answers, PageId page) {
    PageRule rule(answers, page);
    switch (KindOf(page)) {
    case PageKind::Obsession:
        ObsessionRule(rule);
        break;
    case PageKind::SenshiVillain:
    case PageKind::AssistPart:
        RatedRule(rule, QuestionsOf(page));
        break;
    case PageKind::Experience:
        ExperienceRule(rule);
        break;
    case PageKind::Opinions:
        OpinionsRule(rule);
        break;
    case PageKind::Personal:
        PersonalRule(rule);
        break;
    case PageKind::MorePersonal:
        MorePersonalRule(rule);
        break;
    case PageKind::EvenMorePersonal:
        EvenMorePersonalRule(rule);
        break;
    }
    return rule.open();
}

bool GroupOpen(PageId page, int group, const OpenQuestions& open) {
    const auto questions = QuestionsOf(page);
    for (size_t i = 0; i < questions.size(); ++i)
        if (open.test(i) && IsGroupWithin(page, questions[i].Group, group))
            return true;
    return false;
}
