// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>

#include "RandomAnswers.h"
#include "rules/PageRules.h"
#include "settings/SettingsLayout.h"

namespace {

AnswerField Answer(const char* key) {
    const auto field = AnswerOfKey(key);
    EXPECT_TRUE(field.has_value()) << key;
    return field.value_or(AnswerField{});
}

AnswerSet With(const std::map<std::string, int32_t>& changes) {
    AnswerSet answers = DefaultAnswers();
    for (const auto& [key, value] : changes)
        WriteAnswer(answers, Answer(key.c_str()), value);
    return answers;
}

PageId PageOf(const char* key) {
    return Answer(key).Page;
}

int IndexOf(const char* key) {
    const AnswerField field = Answer(key);
    return QuestionIndex(field.Page, field.Field);
}

// Every answer has one question on its page and every question one answer, named by its key.
TEST(Questions, AskForEveryAnswerOnceUnderItsOwnName) {
    std::set<std::string> asked;
    for (int p = 0; p < kPageCount; ++p) {
        const auto page = static_cast<PageId>(p);
        const auto questions = QuestionsOf(page);
        EXPECT_LE(questions.size(), static_cast<size_t>(kMostQuestions));
        for (size_t i = 0; i < questions.size(); ++i) {
            const std::string key = AnswerKey(AnswerOf(page, questions[i]));
            ASSERT_FALSE(key.empty()) << PageCaption(page) << " question " << i;
            EXPECT_TRUE(asked.insert(key).second) << key << " asked twice";
            EXPECT_FALSE(AccessibleNameOf(questions[i]).empty()) << key;
            EXPECT_EQ(QuestionIndex(page, QuestionName(page, static_cast<int>(i))), static_cast<int>(i))
                << key;
            if (questions[i].Kind == ControlKind::Tune) {
                EXPECT_TRUE(i > 0 && (questions[i - 1].Kind == ControlKind::Slider ||
                                      questions[i - 1].Kind == ControlKind::List))
                    << key << " tunes no level or list";
            }
        }
    }
    EXPECT_EQ(asked.size(), StoredValueCount() + UnstoredValues().size());
}

// The values a test tries for a question: both ends of its control, the next ones in, the middle;
// a list's rows; a selection's first rows and all of them.
std::vector<int32_t> TriedValues(const Question& q) {
    switch (q.Kind) {
    case ControlKind::List:
        return {0, 1, 2, q.Table->count() - 1};
    case ControlKind::Selection:
        return {0, 1, 2, static_cast<int32_t>((uint32_t{1} << (q.Table->count() - 1)) - 1)};
    default:
        return {q.Minimum, q.Maximum, q.Minimum + 1, q.Maximum - 1, (q.Minimum + q.Maximum) / 2};
    }
}

// Every question of the table counts: some answer of it, among answers the pages allow, changes the
// code, and the decoder reads that answer back. A question wired to nothing fails here by its key.
TEST(Questions, EveryQuestionReachesTheCodeAndTheDecoder) {
    constexpr int kTries = 3000;
    for (int p = 0; p < kPageCount; ++p) {
        const auto page = static_cast<PageId>(p);
        const auto questions = QuestionsOf(page);
        for (size_t i = 0; i < questions.size(); ++i) {
            const AnswerField field = AnswerOf(page, questions[i]);
            bool coded = false, decoded = false;
            for (int seed = 1; seed <= kTries && !decoded; ++seed) {
                SeededValues values(static_cast<uint64_t>(seed));
                const AnswerSet before = RandomAnswerSet(values);
                const std::string code = EncodeGlomieCode(before);
                for (const int32_t value : TriedValues(questions[i])) {
                    AnswerSet after = before;
                    WriteAnswer(after, field, value);
                    if (!OutsidePageRanges(after).empty())
                        continue;
                    const std::string changed = EncodeGlomieCode(after);
                    if (changed == code)
                        continue;
                    coded = true;
                    if (ReadAnswer(DecodeGlomieCode(changed).Answers, field) !=
                        ReadAnswer(DecodeGlomieCode(code).Answers, field)) {
                        decoded = true;
                        break;
                    }
                }
            }
            const std::string key = AnswerKey(field);
            EXPECT_TRUE(coded) << key << ": no answer of it changes the code";
            EXPECT_TRUE(!coded || decoded) << key << ": the decoder never reads it back from the code";
        }
    }
}

// Which questions a page closes: the page's questions named here are closed, all others open.
struct OpenCase {
    const char* Name;
    std::map<std::string, int32_t> Answers;
    const char* Page; // any key of the page
    std::set<std::string> Closed;
};

std::ostream& operator<<(std::ostream& os, const OpenCase& c) {
    return os << c.Name;
}

class OpenQuestionsTable : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenQuestionsTable, CloseExactlyWhatTheAnswersClose) {
    const OpenCase& c = GetParam();
    const PageId page = PageOf(c.Page);
    const OpenQuestions open = OpenQuestionsOf(With(c.Answers), page);
    std::set<std::string> closed;
    for (size_t i = 0; i < QuestionsOf(page).size(); ++i)
        if (!open.test(i))
            closed.insert(std::string(QuestionName(page, static_cast<int>(i))));
    EXPECT_EQ(closed, c.Closed);
}

const std::set<std::string> AllOpinionsBut(std::set<std::string> open) {
    std::set<std::string> closed;
    for (size_t i = 0; i < QuestionsOf(PageId::Opinions).size(); ++i) {
        const std::string name(QuestionName(PageId::Opinions, static_cast<int>(i)));
        if (!name.starts_with("Omit") && !open.count(name))
            closed.insert(name);
    }
    return closed;
}

// Rows of cases, aligned by hand.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Pages, OpenQuestionsTable,
    testing::Values(
        OpenCase{"SecondaryOff", {}, "SM/Pri", {"Sec"}},
        OpenCase{"SecondaryOn", {{"SM/ChkSec", 1}}, "SM/Pri", {}},
        OpenCase{"SecondaryDamaged", {{"SM/ChkSec", -4}}, "SM/Pri", {}},
        OpenCase{"OneSenshiChosen",
                 {{"Fav/Senshi0", 3}},
                 "Fav/Senshi0",
                 {"TrendSenshi1", "IntensitySenshi1", "BoostSenshi1", "TrendVillian0", "IntensityVillian0",
                  "BoostVillian0", "TrendVillian1", "IntensityVillian1", "BoostVillian1"}},
        OpenCase{"NoSelectionCountsAsChosen",
                 {{"Dis/Assist0", -1}, {"Dis/Assist1", 2}, {"Dis/Part0", 1}, {"Dis/Part1", 9}},
                 "Dis/Part1",
                 {}},
        OpenCase{"ByNumbersNothingSeen",
                 {},
                 "Exp/Years",
                 {"RawComplete", "RawPartial", "IntensityRaw", "BoostRaw", "SubComplete", "SubPartial",
                  "IntensitySub", "BoostSub", "DubComplete", "DubPartial", "IntensityDub", "BoostDub",
                  "IntensityMangaRaw", "BoostMangaRaw", "IntensityMangaSub", "BoostMangaSub"}},
        OpenCase{"ByPartsAPartialListAlone",
                 {{"Exp/ByNumbers", 0}, {"Exp/SubPartial", 4}, {"Exp/Raw", 12}, {"Exp/MangaSub", 1}},
                 "Exp/Years",
                 {"Raw", "Sub", "Dub", "IntensityRaw", "BoostRaw", "IntensityDub", "BoostDub",
                  "IntensityMangaRaw", "BoostMangaRaw"}},
        OpenCase{"EveryTopicOmitted", {}, "Op/OmitDub", AllOpinionsBut({})},
        OpenCase{"DubAndSosShown",
                 {{"Op/OmitDub", 0}, {"Op/OmitSos", 0}},
                 "Op/OmitDub",
                 AllOpinionsBut({"WhatDub", "AmericanCartoon", "NoOpDub", "IntensityDub", "BoostDub", "WhatSos",
                                 "Member", "NoOpSos", "Bitter", "IntensitySos", "BoostSos"})},
        OpenCase{"WhatClosesTheRest",
                 {{"Op/OmitDub", 0}, {"Op/WhatDub", 1}, {"Op/OmitAnti", 0}},
                 "Op/OmitDub",
                 AllOpinionsBut({"WhatDub", "NoOpAnti", "IntensityAnti", "BoostAnti"})},
        OpenCase{"NoOpinionKeepsTheMarksBitterReplacesTheOpinion",
                 {{"Op/OmitSos", 0}, {"Op/NoOpSos", 1}, {"Op/OmitMixx", 0}, {"Op/OmitHentai", 0},
                  {"Op/NoOpHentai", 1}},
                 "Op/OmitDub",
                 AllOpinionsBut({"WhatSos", "Member", "NoOpSos", "WhatMixx", "NoOpMixx", "IntensityMixx",
                                 "BoostMixx", "NoOpHentai"})},
        OpenCase{"NoOpinionKeepsTheCartoonMark",
                 {{"Op/OmitDub", 0}, {"Op/NoOpDub", 1}, {"Op/AmericanCartoon", 1}},
                 "Op/OmitDub",
                 AllOpinionsBut({"WhatDub", "AmericanCartoon", "NoOpDub"})},
        OpenCase{"WhatSosClosesTheMarks",
                 {{"Op/OmitSos", 0}, {"Op/WhatSos", 1}, {"Op/Member", 1}, {"Op/Bitter", 1}},
                 "Op/OmitDub",
                 AllOpinionsBut({"WhatSos"})},
        OpenCase{"Bitter",
                 {{"Op/OmitSos", 0}, {"Op/Bitter", 1}},
                 "Op/OmitDub",
                 AllOpinionsBut({"WhatSos", "Member", "NoOpSos", "Bitter"})},
        OpenCase{"PersonalFirstRun",
                 {},
                 "Per/OmitAge",
                 {"SpecifyExactAge", "ExactAge", "Age", "BoostAge", "SpecifyExactStature", "ExactStatureFt",
                  "ExactStatureIn", "Stature", "BoostStature", "SpecifyExactWeight", "ExactWeight", "NoTellWeight",
                  "Weight", "BoostWeight", "NoTellFat", "Fat", "BoostFat", "Same", "Glasses", "Contacts",
                  "ColorLeft0", "ColorAdjLeft0", "ColorLeft1", "ColorAdjLeft1", "ColorLeft2", "ColorAdjLeft2",
                  "ColorRight0", "ColorAdjRight0", "ColorRight1", "ColorAdjRight1", "ColorRight2",
                  "ColorAdjRight2"}},
        OpenCase{"ExactAndNotTelling",
                 {{"Per/OmitAge", 0}, {"Per/SpecifyExactAge", 1}, {"Per/OmitStature", 0}, {"Per/OmitWeight", 0},
                  {"Per/NoTellWeight", 1}, {"Per/OmitFat", 0}, {"Per/NoTellFat", 1}},
                 "Per/OmitAge",
                 {"Age", "BoostAge", "ExactStatureFt", "ExactStatureIn", "ExactWeight", "Weight", "BoostWeight",
                  "Fat", "BoostFat", "Same", "Glasses", "Contacts", "ColorLeft0", "ColorAdjLeft0", "ColorLeft1",
                  "ColorAdjLeft1", "ColorLeft2", "ColorAdjLeft2", "ColorRight0", "ColorAdjRight0", "ColorRight1",
                  "ColorAdjRight1", "ColorRight2", "ColorAdjRight2"}},
        OpenCase{"ExactWeightClosesNotTelling",
                 {{"Per/OmitWeight", 0}, {"Per/SpecifyExactWeight", 1}, {"Per/NoTellWeight", 1},
                  {"Per/OmitEyes", 0}},
                 "Per/OmitAge",
                 {"SpecifyExactAge", "ExactAge", "Age", "BoostAge", "SpecifyExactStature", "ExactStatureFt",
                  "ExactStatureIn", "Stature", "BoostStature", "NoTellWeight", "Weight", "BoostWeight", "NoTellFat",
                  "Fat", "BoostFat", "Glasses", "Contacts", "ColorAdjLeft0", "ColorAdjLeft1", "ColorAdjLeft2",
                  "ColorRight0", "ColorAdjRight0", "ColorRight1", "ColorAdjRight1", "ColorRight2",
                  "ColorAdjRight2"}},
        OpenCase{"AnyColourOpensGlassesTheRightEyeWhenNotTheSame",
                 {{"Per/OmitEyes", 0}, {"Per/Same", 0}, {"Per/ColorRight2", 3}, {"Per/OmitAge", 0},
                  {"Per/OmitStature", 0}, {"Per/OmitWeight", 0}, {"Per/OmitFat", 0}},
                 "Per/OmitAge",
                 {"ExactAge", "ExactStatureFt", "ExactStatureIn", "ExactWeight", "ColorAdjLeft0", "ColorAdjLeft1",
                  "ColorAdjLeft2", "ColorAdjRight0", "ColorAdjRight1"}},
        OpenCase{"SameEyesARightColourStillOpensTheMarks",
                 {{"Per/OmitEyes", 0}, {"Per/ColorRight1", 3}},
                 "Per/OmitAge",
                 {"SpecifyExactAge", "ExactAge", "Age", "BoostAge", "SpecifyExactStature", "ExactStatureFt",
                  "ExactStatureIn", "Stature", "BoostStature", "SpecifyExactWeight", "ExactWeight", "NoTellWeight",
                  "Weight", "BoostWeight", "NoTellFat", "Fat", "BoostFat", "ColorAdjLeft0", "ColorAdjLeft1",
                  "ColorAdjLeft2", "ColorRight0", "ColorAdjRight0", "ColorRight1", "ColorAdjRight1", "ColorRight2",
                  "ColorAdjRight2"}},
        OpenCase{"MorePersonalOmits",
                 {{"Per/OmitHair", 0}, {"Per/OmitBloodType", 0}},
                 "Per/OmitHair",
                 {"Tone", "BoostTone", "Group"}},
        OpenCase{"PurityQuizInsteadOfTheKinkFactor",
                 {{"Per/OmitGender", 0}, {"Per/UsePurity", 1}},
                 "Per/OmitSign",
                 {"Sign", "NoTellKink", "Kink", "BoostKink", "KinkMembership", "Preference", "BoostPreference",
                  "Status", "BoostStatus"}},
        OpenCase{"KinkNotTold",
                 {{"Per/OmitGender", 0}, {"Per/NoTellKink", 1}, {"Per/OmitSign", 0}, {"Per/OmitRelationship", 0}},
                 "Per/OmitSign",
                 {"Purity", "Kink", "BoostKink"}}),
    [](const testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.Name); });
// clang-format on

TEST(Groups, AreOpenWhileAnyQuestionInThemIs) {
    const AnswerSet eyesOnly = With({{"Per/OmitEyes", 0}});
    const OpenQuestions open = OpenQuestionsOf(eyesOnly, PageId::Personal);
    std::map<std::string, bool> groups;
    const auto all = GroupsOf(PageId::Personal);
    for (size_t i = 0; i < all.size(); ++i)
        groups[std::string(all[i].Name)] = GroupOpen(PageId::Personal, static_cast<int>(i), open);
    const std::map<std::string, bool> expected = {
        {"AgeGroup", false}, {"StatureGroup", false}, {"WeightGroup", false}, {"FatGroup", false},
        {"EyesGroup", true}, {"LeftGroup", true},     {"RightGroup", false}};
    EXPECT_EQ(groups, expected);
}

// What a user's answer stores: the answers named after the action, as they are afterwards.
struct ActionCase {
    const char* Name;
    std::map<std::string, int32_t> Before;
    const char* Question;
    int32_t Value;
    std::map<std::string, int32_t> After;
};

std::ostream& operator<<(std::ostream& os, const ActionCase& c) {
    return os << c.Name;
}

class Actions : public testing::TestWithParam<ActionCase> {};

TEST_P(Actions, StoreTheValueAndKeepTunesWithinWhatTheyTune) {
    const ActionCase& c = GetParam();
    AnswerSet answers = With(c.Before);
    AnswerQuestion(answers, PageOf(c.Question), IndexOf(c.Question), c.Value);
    for (const auto& [key, value] : c.After)
        EXPECT_EQ(ReadAnswer(answers, Answer(key.c_str())), value) << key;
}

// Rows of cases, aligned by hand.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Examples, Actions,
    testing::Values(
        // A level of 0..3 with its tune of 0..3.
        ActionCase{"TuneStepPastTheTop", {{"Fav/IntensitySenshi0", 2}, {"Fav/BoostSenshi0", 1}},
                   "Fav/BoostSenshi0", 2, {{"Fav/BoostSenshi0", 1}}},
        ActionCase{"SliderToTheTop", {{"Fav/IntensitySenshi0", 1}, {"Fav/BoostSenshi0", 2}},
                   "Fav/IntensitySenshi0", 3, {{"Fav/IntensitySenshi0", 3}, {"Fav/BoostSenshi0", 0}}},
        ActionCase{"Fits", {{"Fav/IntensitySenshi0", 1}}, "Fav/BoostSenshi0", 2, {{"Fav/BoostSenshi0", 2}}},
        ActionCase{"StoredPastTheRangeCorrectedByATouch", {{"Dis/IntensityVillian1", 3}, {"Dis/BoostVillian1", 3}},
                   "Dis/IntensityVillian1", 3, {{"Dis/IntensityVillian1", 3}, {"Dis/BoostVillian1", 0}}},
        ActionCase{"ATuneStepReadsTheLevelAsItsSliderShowsIt", {{"Fav/IntensityPart1", 9}},
                   "Fav/BoostPart1", 3, {{"Fav/IntensityPart1", 9}, {"Fav/BoostPart1", 0}}},
        ActionCase{"ASpinNeverGoesPastItsRange", {}, "Fav/BoostAssist0", 7, {{"Fav/BoostAssist0", 3}}},
        // The upright sliders of 0..4, strongest at 0.
        ActionCase{"UprightCut", {{"Exp/IntensityRaw", 1}}, "Exp/BoostRaw", 2, {{"Exp/BoostRaw", 1}}},
        ActionCase{"UprightTop", {{"Exp/BoostSub", 3}}, "Exp/IntensitySub", 0,
                   {{"Exp/IntensitySub", 0}, {"Exp/BoostSub", 0}}},
        ActionCase{"UprightBottom", {{"Exp/BoostDub", 4}}, "Exp/IntensityDub", 4, {{"Exp/BoostDub", 4}}},
        // Levels with a negative minimum: both ends act.
        ActionCase{"SosHigh", {{"Op/IntensitySos", 2}}, "Op/BoostSos", 3, {{"Op/BoostSos", 1}}},
        ActionCase{"SosLow", {{"Op/BoostSos", -1}}, "Op/IntensitySos", -2, {{"Op/BoostSos", 0}}},
        ActionCase{"AgeHigh", {{"Per/Age", 3}}, "Per/BoostAge", 5, {{"Per/BoostAge", 1}}},
        ActionCase{"AgeLow", {{"Per/BoostAge", -7}}, "Per/Age", -3, {{"Per/Age", -3}, {"Per/BoostAge", 0}}},
        ActionCase{"ToneHigh", {{"Per/Tone", 1}}, "Per/BoostTone", 3, {{"Per/BoostTone", 1}}},
        ActionCase{"HentaiAtTheBottom", {{"Op/BoostHentai", -2}}, "Op/IntensityHentai", -3,
                   {{"Op/BoostHentai", 0}}},
        ActionCase{"HairAtTheTopLeavesNoRoom", {{"Per/Hair", 4}}, "Per/BoostHair", 1, {{"Per/BoostHair", 0}}},
        ActionCase{"HairAtTheBottomTunesUpToTheSpinsEnd", {{"Per/Hair", -3}}, "Per/BoostHair", 9,
                   {{"Per/BoostHair", 7}}},
        ActionCase{"KinkHigh", {{"Per/Kink", 1}, {"Per/BoostKink", 2}}, "Per/Kink", 2, {{"Per/BoostKink", 1}}},
        ActionCase{"KinkLow", {{"Per/BoostKink", -1}}, "Per/Kink", -3, {{"Per/BoostKink", 0}}},
        ActionCase{"DubAtTop", {{"Op/BoostDub", 1}}, "Op/IntensityDub", 2, {{"Op/BoostDub", 0}}},
        // A list's row plus its tune within the three rows, whichever of the two moves.
        ActionCase{"RowTuneBelowTheFirstRow", {}, "Per/BoostPreference", -1, {{"Per/BoostPreference", 0}}},
        ActionCase{"RowTuneToTheLastRow", {}, "Per/BoostStatus", 2, {{"Per/BoostStatus", 2}}},
        ActionCase{"RowMovedUnderItsTune", {{"Per/BoostStatus", 2}}, "Per/Status", 1,
                   {{"Per/Status", 1}, {"Per/BoostStatus", 1}}},
        ActionCase{"MiddleRowTunedOneEitherWay", {{"Per/Status", 1}}, "Per/BoostStatus", 3,
                   {{"Per/BoostStatus", 1}}},
        ActionCase{"LastRowTunedDown", {{"Per/Preference", 2}}, "Per/BoostPreference", -2,
                   {{"Per/BoostPreference", -2}}},
        ActionCase{"DamagedRowTunesAsFarAsTheSpinGoes", {{"Per/Preference", 100}}, "Per/BoostPreference", 0,
                   {{"Per/BoostPreference", -2}}},
        // Everything else stores the value and changes nothing beside it.
        ActionCase{"AFlag", {}, "Op/OmitDub", 0, {{"Op/OmitDub", 0}, {"Op/IntensityDub", 0}}},
        ActionCase{"ACountPastItsRange", {}, "Exp/Raw", 250, {{"Exp/Raw", 250}}},
        ActionCase{"AYear", {}, "Exp/Years", 7, {{"Exp/Years", 7}}}),
    [](const testing::TestParamInfo<ActionCase>& info) { return std::string(info.param.Name); });
// clang-format on

TEST(TakeAsShown, ClearsFlagsNoCheckBoxShowsAndCapsUnsignedCounts) {
    AnswerSet answers = With({{"Op/OmitDub", 7}, {"Op/WhatSos", 2}, {"Op/NoOpOw", -1}, {"SM/ChkSec", 3}});
    EXPECT_TRUE(TakeAsShown(answers, PageId::Opinions));
    EXPECT_EQ(answers.Opinions.OmitDub, 0);
    EXPECT_EQ(answers.Opinions.WhatSos, 2); // the third state
    EXPECT_EQ(answers.Opinions.NoOpOw, 0);
    EXPECT_EQ(answers.Obsession.ChkSec, 3) << "another page's flags wait until it is shown";
    EXPECT_FALSE(TakeAsShown(answers, PageId::Opinions));

    answers = With({{"Exp/Raw", -1}, {"Exp/MangaSub", 200}, {"Per/ExactAge", -5}});
    EXPECT_TRUE(TakeAsShown(answers, PageId::Experience));
    EXPECT_EQ(answers.Experience.Raw, static_cast<uint32_t>(INT32_MAX));
    EXPECT_EQ(answers.Experience.MangaSub, 200u);
    EXPECT_FALSE(TakeAsShown(answers, PageId::Personal)) << "a signed count shows as it is";
}

TEST(FitToControls, TouchesEveryLevelAndTuneAndCorrectsEveryCount) {
    // clang-format off
    AnswerSet answers = With({{"SM/Pri", 99}, {"Fav/IntensitySenshi0", 3}, {"Fav/BoostSenshi0", 3},
                              {"Exp/Years", -4}, {"Per/Status", 2}, {"Per/BoostStatus", 2}, {"Exp/Raw", 999},
                              {"Exp/Sub", -1}, {"Per/ExactStatureIn", 12}, {"Per/Purity", -3}});
    // clang-format on
    FitToControls(answers);
    EXPECT_EQ(answers.Experience.Raw, 200u);
    EXPECT_EQ(answers.Experience.Sub, 200u) << "the largest count is past the range, not below it";
    EXPECT_EQ(answers.Personal.ExactStatureIn, 11);
    EXPECT_EQ(answers.EvenMorePersonal.Purity, 0);
    EXPECT_EQ(answers.Obsession.Pri, 30);
    EXPECT_EQ(answers.Favorites.BoostSenshi0, 0);
    EXPECT_EQ(answers.Experience.Years, 0);
    EXPECT_EQ(answers.EvenMorePersonal.BoostStatus, 0);
    AnswerSet again = answers;
    FitToControls(again);
    EXPECT_EQ(again, answers);
}

TEST(CountBoxes, ReadAsTypedAndSaturate) {
    // clang-format off
    const std::pair<const char*, int32_t> cases[] = {
        {"", 0},    {"12", 12},  {"  42", 42}, {"-5", -5},
        {"+7", 7},  {"12ab", 12}, {"ab12", 0},  {"007", 7},
        {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN},
    };
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseCount(text), expected) << text;
}

TEST(CountBoxes, AreCheckedAgainstTheirRangeWhenLeft) {
    const std::tuple<const char*, int, int, CountVerdict> cases[] = {
        {"201", 0, 200, CountVerdict::OutOfRange},
        {"200", 0, 200, CountVerdict::Fine},
        {" 0 ", 0, 200, CountVerdict::Fine},
        {"99999999999999999999999", 0, 500, CountVerdict::OutOfRange},
        {"1 2", 0, 200, CountVerdict::NotAPositiveInteger},
        {"", 0, 200, CountVerdict::NotAPositiveInteger},
        {"-1", 0, 200, CountVerdict::NotAPositiveInteger},
    };
    for (const auto& [text, minimum, maximum, verdict] : cases)
        EXPECT_EQ(CheckCount(text, minimum, maximum), verdict) << text;
}

} // namespace
