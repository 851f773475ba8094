// SPDX-License-Identifier: MIT
#include "rules/PageRules.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "code/Notation.h"

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

// A slot's trend and intensity are open while something is chosen in it; a choice of −1 (no
// selection, from damaged settings) counts as chosen.
struct RatedSlot {
    PageField Choice, Trend, Intensity, Boost;
};

void RatedRule(PageRule& rule, const std::array<RatedSlot, 4>& slots) {
    for (const RatedSlot& slot : slots) {
        const bool chosen = rule.set(slot.Choice);
        for (const PageField& field : {slot.Trend, slot.Intensity, slot.Boost})
            rule.openIf(field, chosen);
    }
}

void SenshiVillainRule(PageRule& rule) {
#define F(Field) GLOMIE_PAGE_FIELD(SenshiVillainAnswers, Field)
#define SLOT(Name) RatedSlot{F(Name), F(Trend##Name), F(Intensity##Name), F(Boost##Name)}
    RatedRule(rule, {SLOT(Senshi0), SLOT(Senshi1), SLOT(Villian0), SLOT(Villian1)});
#undef SLOT
#undef F
}

void AssistPartRule(PageRule& rule) {
#define F(Field) GLOMIE_PAGE_FIELD(AssistPartAnswers, Field)
#define SLOT(Name) RatedSlot{F(Name), F(Trend##Name), F(Intensity##Name), F(Boost##Name)}
    RatedRule(rule, {SLOT(Assist0), SLOT(Assist1), SLOT(Part0), SLOT(Part1)});
#undef SLOT
#undef F
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
#define F(Field) GLOMIE_PAGE_FIELD(OpinionsAnswers, Field)
    struct Topic {
        PageField Omit;
        std::optional<PageField> What, Mark, Bitter;
        PageField NoOpinion, Intensity, Boost;
    };
    const Topic topics[] = {
        {F(OmitDub), F(WhatDub), F(AmericanCartoon), {}, F(NoOpDub), F(IntensityDub), F(BoostDub)},
        {F(OmitSos), F(WhatSos), F(Member), F(Bitter), F(NoOpSos), F(IntensitySos), F(BoostSos)},
        {F(OmitOw), F(WhatOw), {}, {}, F(NoOpOw), F(IntensityOw), F(BoostOw)},
        {F(OmitAnti), {}, {}, {}, F(NoOpAnti), F(IntensityAnti), F(BoostAnti)},
        {F(OmitHentai), {}, {}, {}, F(NoOpHentai), F(IntensityHentai), F(BoostHentai)},
        {F(OmitMixx), F(WhatMixx), {}, {}, F(NoOpMixx), F(IntensityMixx), F(BoostMixx)},
    };
    for (const Topic& topic : topics) {
        const bool shown = !rule.set(topic.Omit);
        const bool known = shown && !(topic.What && rule.set(*topic.What));
        const bool opinion = known && !rule.set(topic.NoOpinion);
        const bool scaled = opinion && !(topic.Bitter && rule.set(*topic.Bitter));
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
#undef F
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

int32_t Limited(int32_t value, const Question& question) {
    return std::clamp(value, question.Minimum, question.Maximum);
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
        SenshiVillainRule(rule);
        break;
    case PageKind::AssistPart:
        AssistPartRule(rule);
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

int32_t ShownValue(const AnswerSet& answers, PageId page, int question) {
    const Question& q = QuestionsOf(page)[static_cast<size_t>(question)];
    const int32_t value = ReadAnswer(answers, AnswerOf(page, q));
    switch (q.Kind) {
    case ControlKind::Check:
        return value >= 0 && value <= 2 ? value : 0;
    case ControlKind::List:
        return value >= 0 && value < q.Table->count() ? value : -1;
    case ControlKind::Slider:
    case ControlKind::Tune:
    case ControlKind::Spin:
        return Limited(value, q);
    case ControlKind::Count:
    case ControlKind::Selection:
        return value;
    }
    return value;
}

void AnswerQuestion(AnswerSet& answers, PageId page, int question, int32_t value) {
    const auto questions = QuestionsOf(page);
    const auto index = static_cast<size_t>(question);
    const Question& q = questions[index];
    const auto write = [&](const Question& target, int32_t v) {
        WriteAnswer(answers, AnswerOf(page, target), v);
    };
    const auto read = [&](const Question& source) { return ReadAnswer(answers, AnswerOf(page, source)); };
    const Question* tune = index + 1 < questions.size() && questions[index + 1].Kind == ControlKind::Tune
                               ? &questions[index + 1]
                               : nullptr;

    if (q.Kind == ControlKind::Tune) {
        // A tune step: the tune, clamped against what it tunes as that control shows it.
        const Question& tuned = questions[index - 1];
        const int32_t step = Limited(value, q);
        const int32_t kept =
            tuned.Kind == ControlKind::List
                ? ClampRowTune(read(tuned), step)
                : ClampTune(Limited(read(tuned), tuned), step, tuned.Minimum, tuned.Maximum, tuned.Inverted);
        write(q, Limited(kept, q));
        return;
    }
    write(q, value);
    if (!tune)
        return;
    // A level or row with a tune: the tune as its spin shows it, clamped against the new value.
    const int32_t shown = Limited(read(*tune), *tune);
    const int32_t kept = q.Kind == ControlKind::List
                             ? ClampRowTune(value, shown)
                             : ClampTune(value, shown, q.Minimum, q.Maximum, q.Inverted);
    write(*tune, Limited(kept, *tune));
}

bool TakeAsShown(AnswerSet& answers, PageId page) {
    bool changed = false;
    const auto questions = QuestionsOf(page);
    for (size_t i = 0; i < questions.size(); ++i) {
        const Question& q = questions[i];
        const AnswerField field = AnswerOf(page, q);
        const int32_t value = ReadAnswer(answers, field);
        int32_t shown = value;
        if (q.Kind == ControlKind::Check)
            shown = ShownValue(answers, page, static_cast<int>(i));
        // An unsigned count shows past the 32-bit range and reads back as the largest count.
        else if (q.Kind == ControlKind::Count && q.Field.Type == FieldType::UInt32 && value < 0)
            shown = std::numeric_limits<int32_t>::max();
        if (shown != value) {
            WriteAnswer(answers, field, shown);
            changed = true;
        }
    }
    return changed;
}

void FitToControls(AnswerSet& answers) {
    for (int p = 0; p < kPageCount; ++p) {
        const auto page = static_cast<PageId>(p);
        const auto questions = QuestionsOf(page);
        for (size_t i = 0; i < questions.size(); ++i) {
            const Question& q = questions[i];
            if (q.Kind == ControlKind::Slider || q.Kind == ControlKind::Tune || q.Kind == ControlKind::Spin) {
                AnswerQuestion(answers, page, static_cast<int>(i),
                               ShownValue(answers, page, static_cast<int>(i)));
            } else if (q.Kind == ControlKind::Count) {
                const int32_t stored = ReadAnswer(answers, AnswerOf(page, q));
                const int64_t count = q.Field.Type == FieldType::UInt32
                                          ? int64_t{static_cast<uint32_t>(stored)}
                                          : int64_t{stored};
                WriteAnswer(answers, AnswerOf(page, q),
                            static_cast<int32_t>(std::clamp<int64_t>(count, q.Minimum, q.Maximum)));
            }
        }
    }
}

std::string ObsessionDescriptionOf(const ObsessionAnswers& sm) {
    std::string text = ObsessionDescription(sm.Pri);
    if (sm.ChkSec != 0)
        text += "\n\n" + ObsessionDescription(sm.Sec);
    return text;
}

std::string CountProblem(std::string_view text, int64_t minimum, int64_t maximum) {
    switch (CheckCount(text, minimum, maximum)) {
    case CountVerdict::Fine:
        return {};
    case CountVerdict::NotAPositiveInteger:
        return kPositiveIntegerMessage;
    case CountVerdict::OutOfRange:
        break;
    }
    std::string message = kIntegerRangeMessage;
    message.replace(message.find("%1"), 2, std::to_string(minimum));
    message.replace(message.find("%2"), 2, std::to_string(maximum));
    return message;
}

std::string YearsText(int32_t halfYears) {
    return std::to_string(halfYears / 2) + (halfYears % 2 != 0 ? "+" : "");
}

int32_t ParseCount(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    constexpr int64_t kPastLargest = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), kPastLargest); // saturate, stay small
    if (negative)
        value = -value;
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

CountVerdict CheckCount(std::string_view text, int64_t minimum, int64_t maximum) {
    const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return CountVerdict::NotAPositiveInteger;
    uint64_t value = 0;
    for (const char c : text) {
        if (value > (std::numeric_limits<uint64_t>::max() - 9) / 10)
            return CountVerdict::OutOfRange;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value < static_cast<uint64_t>(std::max<int64_t>(minimum, 0)) ||
        value > static_cast<uint64_t>(maximum))
        return CountVerdict::OutOfRange;
    return CountVerdict::Fine;
}

int32_t ClampTune(int32_t position, int32_t tune, int32_t minimum, int32_t maximum, bool inverted) {
    const int64_t effective = inverted ? int64_t{maximum} - position : int64_t{position};
    if (effective + tune > maximum)
        return static_cast<int32_t>(maximum - effective);
    if (effective + tune < minimum)
        return static_cast<int32_t>(minimum - effective);
    return tune;
}

int32_t ClampRowTune(int32_t row, int32_t tune) {
    int64_t kept = tune;
    if (row + kept < 0)
        kept = -int64_t{row};
    if (row + kept > 2)
        kept = 2 - int64_t{row};
    return static_cast<int32_t>(std::clamp<int64_t>(kept, INT16_MIN, INT16_MAX));
}
