// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>

#include "code/CodeFrame.h"
#include "code/Sections.h"
#include "settings/SettingsLayout.h"

namespace {

// Answers as a first run loads them: every persisted field at its default.
AnswerSet Defaults() {
    AnswerSet answers;
    ResetToDefaults(answers);
    return answers;
}

struct SectionCase {
    const char* name;
    std::function<void(AnswerSet&)> answer;
    int section;
    const char* expected;
};

std::ostream& operator<<(std::ostream& os, const SectionCase& c) {
    return os << c.name;
}

class Section : public testing::TestWithParam<SectionCase> {};

TEST_P(Section, IsWrittenAsInTheWorkedExample) {
    AnswerSet answers = Defaults();
    GetParam().answer(answers);
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    EXPECT_EQ(frame.sectionString(GetParam().section), GetParam().expected);
}

std::string Name(const testing::TestParamInfo<SectionCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Header, Section,
    testing::Values(
        SectionCase{"Defaults", [](AnswerSet&) {}, HeaderSection, "GlomieCode(1.12.05) SM:5m-"},
        SectionCase{"NoFeeling", [](AnswerSet& a) { a.Obsession.GlomiePref = 0; }, HeaderSection,
                    "GlomieCode(1.12.05) SM:5"},
        SectionCase{"Secondary",
                    [](AnswerSet& a) { a.Obsession = {.ChkSec = 1, .GlomiePref = 2, .Sec = 22, .Pri = 14}; },
                    HeaderSection, "GlomieCode(1.12.05) SM:5-[7+]m+"},
        SectionCase{"TopWithSecondaryZero",
                    [](AnswerSet& a) { a.Obsession = {.ChkSec = 1, .GlomiePref = 1, .Sec = 0, .Pri = 30}; },
                    HeaderSection, "GlomieCode(1.12.05) SM:![0]m-"},
        SectionCase{"SecondaryOffHidesSec",
                    [](AnswerSet& a) { a.Obsession = {.ChkSec = 0, .GlomiePref = 2, .Sec = 9, .Pri = 28}; },
                    HeaderSection, "GlomieCode(1.12.05) SM:9+m+"},
        SectionCase{"FeelingOutOfRange", [](AnswerSet& a) { a.Obsession.GlomiePref = 3; }, HeaderSection,
                    "GlomieCode(1.12.05) SM:5"},
        SectionCase{"FeelingNone", [](AnswerSet& a) { a.Obsession.GlomiePref = -1; }, HeaderSection,
                    "GlomieCode(1.12.05) SM:5"},
        SectionCase{"Level29", [](AnswerSet& a) { a.Obsession.Pri = 29; }, HeaderSection,
                    "GlomieCode(1.12.05) SM:!-m-"}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    FavouritesAndDislikes, Section,
    testing::Values(SectionCase{"Favorites",
                                [](AnswerSet& a) {
                                    auto& f = a.Favorites;
                                    f.Senshi0 = 1, f.TrendSenshi0 = 2, f.IntensitySenshi0 = 3;
                                    f.Senshi1 = 4, f.TrendSenshi1 = 1, f.IntensitySenshi1 = 1,
                                    f.BoostSenshi1 = 2;
                                },
                                FavoritesSection, ":sMo>+++Me+[++]"},
                    SectionCase{"MoreFavorites",
                                [](AnswerSet& a) {
                                    auto& f = a.MoreFavorites;
                                    f.Assist0 = 1, f.IntensityAssist0 = 2;
                                    f.Part0 = 5, f.TrendPart0 = 0, f.IntensityPart0 = 1, f.BoostPart0 = 1;
                                },
                                MoreFavoritesSection, ":aLu++:pS<+[+]"},
                    SectionCase{"Dislikes",
                                [](AnswerSet& a) {
                                    a.Dislikes.Villian1 = 14, a.Dislikes.TrendVillian1 = 2,
                                    a.Dislikes.IntensityVillian1 = 3;
                                },
                                DislikesSection, ":vBe>---"},
                    SectionCase{"NothingChosenWhateverTheRatings",
                                [](AnswerSet& a) {
                                    a.MoreDislikes.IntensityAssist0 = 3, a.MoreDislikes.BoostPart1 = 2;
                                    a.MoreDislikes.TrendAssist1 = 2;
                                },
                                MoreDislikesSection, ""},
                    SectionCase{"BoostWithoutIntensity",
                                [](AnswerSet& a) { a.Dislikes.Senshi0 = 1, a.Dislikes.BoostSenshi0 = 2; },
                                DislikesSection, ":sMo[--]"},
                    SectionCase{"OnlySecondSenshi", [](AnswerSet& a) { a.Favorites.Senshi1 = 18; },
                                FavoritesSection, ":sCc"},
                    SectionCase{"DamagedIndexClamps", [](AnswerSet& a) { a.Favorites.Senshi0 = 500; },
                                FavoritesSection, ":sCc"}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Experience, Section,
    testing::Values(
        SectionCase{"Years7", [](AnswerSet& a) { a.Experience.Years = 7; }, ExperienceSection, " X:***[*]"},
        SectionCase{"Years1", [](AnswerSet& a) { a.Experience.Years = 1; }, ExperienceSection, " X:[*]"},
        SectionCase{"Years2", [](AnswerSet& a) { a.Experience.Years = 2; }, ExperienceSection, " X:*"},
        SectionCase{"Years100", [](AnswerSet& a) { a.Experience.Years = 100; }, ExperienceSection,
                    " X:**************************************************"},
        SectionCase{"ByNumbers",
                    [](AnswerSet& a) {
                        auto& x = a.Experience;
                        x.Sub = 52, x.IntensitySub = 1, x.Dub = 12, x.IntensityDub = 4, x.BoostDub = 1;
                    },
                    ExperienceSection, " X:a52s+++|12d[+]"},
        SectionCase{"ByParts",
                    [](AnswerSet& a) {
                        auto& x = a.Experience;
                        x.ByNumbers = 0, x.RawComplete = 1, x.IntensityRaw = 2;
                        x.SubComplete = 17, x.SubPartial = 32, x.IntensitySub = 0;
                    },
                    ExperienceSection, " X:aClr++|ClS[SS]s++++"},
        SectionCase{"PartialOnly",
                    [](AnswerSet& a) {
                        a.Experience.ByNumbers = 0, a.Experience.DubPartial = 2,
                        a.Experience.IntensityDub = 3;
                    },
                    ExperienceSection, " X:a[R]d+"},
        SectionCase{"Manga",
                    [](AnswerSet& a) {
                        a.Experience.MangaSub = 18, a.Experience.IntensityMangaSub = 2,
                        a.Experience.BoostMangaSub = 1;
                    },
                    ExperienceSection, " X:m18s++[+]"},
        SectionCase{"AllTogether",
                    [](AnswerSet& a) {
                        auto& x = a.Experience;
                        x.Years = 7, x.ByNumbers = 0, x.RawComplete = 1, x.IntensityRaw = 2;
                        x.SubComplete = 17, x.SubPartial = 32, x.IntensitySub = 0;
                        x.MangaSub = 18, x.IntensityMangaSub = 2, x.BoostMangaSub = 1;
                    },
                    ExperienceSection, " X:***[*]:aClr++|ClS[SS]s++++:m18s++[+]"},
        SectionCase{"MasksIgnoredByNumbers",
                    [](AnswerSet& a) { a.Experience.RawComplete = 5, a.Experience.SubPartial = 1; },
                    ExperienceSection, ""},
        SectionCase{"RawAndDubWithoutSub", [](AnswerSet& a) { a.Experience.Raw = 3, a.Experience.Dub = 4; },
                    ExperienceSection, " X:a3r|4d"},
        SectionCase{"MangaRawAndSub",
                    [](AnswerSet& a) {
                        a.Experience.MangaRaw = 2, a.Experience.MangaSub = 1,
                        a.Experience.IntensityMangaRaw = 4;
                    },
                    ExperienceSection, " X:m2r++++|1s"}),
    Name);

void Show(OpinionsAnswers& o, int32_t OpinionsAnswers::*omit) {
    o.*omit = 0;
}

INSTANTIATE_TEST_SUITE_P(
    Opinions, Section,
    testing::Values(
        SectionCase{"AllOmitted", [](AnswerSet&) {}, OpinionsSection, ""},
        SectionCase{
            "DubMinus2",
            [](AnswerSet& a) { Show(a.Opinions, &OpinionsAnswers::OmitDub), a.Opinions.IntensityDub = -2; },
            OpinionsSection, " O:d--"},
        SectionCase{"DubCartoon",
                    [](AnswerSet& a) {
                        Show(a.Opinions, &OpinionsAnswers::OmitDub);
                        a.Opinions.AmericanCartoon = 1, a.Opinions.IntensityDub = 2, a.Opinions.BoostDub = 1;
                    },
                    OpinionsSection, " O:!d++[+]"},
        SectionCase{"DubWhatBeatsCartoon",
                    [](AnswerSet& a) {
                        Show(a.Opinions, &OpinionsAnswers::OmitDub), a.Opinions.WhatDub = 1,
                                                                     a.Opinions.AmericanCartoon = 1;
                    },
                    OpinionsSection, " O:?d"},
        SectionCase{"SosMemberBitter",
                    [](AnswerSet& a) {
                        Show(a.Opinions, &OpinionsAnswers::OmitSos),
                            a.Opinions.Member = 1, a.Opinions.Bitter = 1, a.Opinions.IntensitySos = 3;
                    },
                    OpinionsSection, " O:!sZ"},
        SectionCase{"SosNoOpinionBeatsBitter",
                    [](AnswerSet& a) {
                        Show(a.Opinions, &OpinionsAnswers::OmitSos),
                            a.Opinions.Member = 1, a.Opinions.Bitter = 1, a.Opinions.NoOpSos = 1;
                    },
                    OpinionsSection, " O:!s?"},
        SectionCase{"OtakuWarsNoOpinion",
                    [](AnswerSet& a) { Show(a.Opinions, &OpinionsAnswers::OmitOw), a.Opinions.NoOpOw = 1; },
                    OpinionsSection, " O:o?"},
        SectionCase{"Haters",
                    [](AnswerSet& a) {
                        Show(a.Opinions, &OpinionsAnswers::OmitAnti), a.Opinions.IntensityAnti = -3,
                                                                      a.Opinions.BoostAnti = -1;
                    },
                    OpinionsSection, " O:a---[-]"},
        SectionCase{"HentaiBare", [](AnswerSet& a) { Show(a.Opinions, &OpinionsAnswers::OmitHentai); },
                    OpinionsSection, " O:h"},
        SectionCase{"MixxPlusWithMinusTune",
                    [](AnswerSet& a) {
                        Show(a.Opinions, &OpinionsAnswers::OmitMixx), a.Opinions.IntensityMixx = 2,
                                                                      a.Opinions.BoostMixx = -1;
                    },
                    OpinionsSection, " O:x++[-]"},
        SectionCase{"AllSix",
                    [](AnswerSet& a) {
                        auto& o = a.Opinions;
                        o.OmitDub = o.OmitSos = o.OmitOw = o.OmitAnti = o.OmitHentai = o.OmitMixx = 0;
                        o.IntensityDub = -2, o.Member = 1, o.IntensitySos = 2, o.WhatOw = 1, o.NoOpAnti = 1;
                        o.IntensityHentai = -1, o.BoostHentai = -1, o.IntensityMixx = 1;
                    },
                    OpinionsSection, " O:d--:!s++:?o:a?:h-[-]:x+"}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Personal, Section,
    testing::Values(
        SectionCase{"AllOmitted", [](AnswerSet&) {}, PersonalSection, ""},
        SectionCase{"AgeLevel", [](AnswerSet& a) { a.Personal.OmitAge = 0, a.Personal.Age = 2; },
                    PersonalSection, ":a++"},
        SectionCase{"AgeExact",
                    [](AnswerSet& a) {
                        a.Personal.OmitAge = 0, a.Personal.SpecifyExactAge = 1, a.Personal.ExactAge = 23;
                    },
                    PersonalSection, ":a23"},
        SectionCase{"StatureExact",
                    [](AnswerSet& a) {
                        a.Personal.OmitStature = 0, a.Personal.SpecifyExactStature = 1,
                        a.Personal.ExactStatureFt = 5, a.Personal.ExactStatureIn = 11;
                    },
                    PersonalSection, ":s511"},
        SectionCase{"StatureSixFeet",
                    [](AnswerSet& a) {
                        a.Personal.OmitStature = 0, a.Personal.SpecifyExactStature = 1,
                        a.Personal.ExactStatureFt = 6;
                    },
                    PersonalSection, ":s60"},
        SectionCase{"StatureLevel",
                    [](AnswerSet& a) {
                        a.Personal.OmitStature = 0, a.Personal.Stature = -1, a.Personal.BoostStature = 2;
                    },
                    PersonalSection, ":s-[++]"},
        SectionCase{"WeightNotTelling",
                    [](AnswerSet& a) { a.Personal.OmitWeight = 0, a.Personal.NoTellWeight = 1; },
                    PersonalSection, ":w?"},
        SectionCase{"WeightExactBeatsNotTelling",
                    [](AnswerSet& a) {
                        a.Personal.OmitWeight = 0, a.Personal.NoTellWeight = 1,
                        a.Personal.SpecifyExactWeight = 1, a.Personal.ExactWeight = 150;
                    },
                    PersonalSection, ":w150"},
        SectionCase{"FatBare", [](AnswerSet& a) { a.Personal.OmitFat = 0; }, PersonalSection, ":f"},
        SectionCase{"EyesSame",
                    [](AnswerSet& a) {
                        a.Personal.OmitEyes = 0, a.Personal.ColorLeft0 = 2, a.Personal.ColorAdjLeft0 = 1,
                        a.Personal.ColorRight0 = 3;
                    },
                    PersonalSection, ":eBD"},
        SectionCase{"EyesDiffer",
                    [](AnswerSet& a) {
                        a.Personal.OmitEyes = 0, a.Personal.Same = 0, a.Personal.ColorLeft0 = 2,
                        a.Personal.ColorAdjLeft0 = 1, a.Personal.ColorRight0 = 3;
                    },
                    PersonalSection, ":eBD|G"},
        SectionCase{"EyesGlassesContacts",
                    [](AnswerSet& a) {
                        auto& p = a.Personal;
                        p.OmitEyes = 0, p.Same = 0, p.ColorLeft0 = 2, p.ColorLeft1 = 4, p.ColorAdjLeft1 = 2;
                        p.ColorRight0 = 3, p.Glasses = 1, p.Contacts = 1;
                    },
                    PersonalSection, ":eBBrL|Gg[z]"},
        SectionCase{"EyesOnlyRight",
                    [](AnswerSet& a) {
                        a.Personal.OmitEyes = 0, a.Personal.Same = 0, a.Personal.ColorRight0 = 3,
                        a.Personal.Glasses = 1;
                    },
                    PersonalSection, ":eGg"},
        SectionCase{
            "EyesNoColours",
            [](AnswerSet& a) { a.Personal.OmitEyes = 0, a.Personal.Glasses = 1, a.Personal.Contacts = 1; },
            PersonalSection, ""},
        SectionCase{"EyesSameOnlyRight",
                    [](AnswerSet& a) {
                        a.Personal.OmitEyes = 0, a.Personal.ColorRight1 = 3, a.Personal.Contacts = 1;
                    },
                    PersonalSection, ":ez"}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    MorePersonal, Section,
    // clang-format off
    testing::Values(
        SectionCase{"Hair",
                    [](AnswerSet& a) { auto& p = a.MorePersonal;
                                       p.OmitHair = 0, p.HairColor = 1, p.HairColorAdj = 1, p.Hair = 2;
                                       p.Moustache = 1, p.Beard = 1; },
                    MorePersonalSection, ":hBrD++m[b]"},
        SectionCase{"HairBeardOnly",
                    [](AnswerSet& a) { a.MorePersonal.OmitHair = 0, a.MorePersonal.Beard = 1; }, MorePersonalSection,
                    ":hBlb"},
        SectionCase{"Tone",
                    [](AnswerSet& a) { a.MorePersonal.OmitTone = 0, a.MorePersonal.Tone = -2,
                                       a.MorePersonal.BoostTone = 1; },
                    MorePersonalSection, ":t--[+]"},
        SectionCase{"Group", [](AnswerSet& a) { a.MorePersonal.OmitGroup = 0, a.MorePersonal.Group = 9; },
                    MorePersonalSection, ":cWhAs"},
        SectionCase{"GroupEmpty", [](AnswerSet& a) { a.MorePersonal.OmitGroup = 0; }, MorePersonalSection, ":c"},
        SectionCase{"BloodAB",
                    [](AnswerSet& a) { a.MorePersonal.OmitBloodType = 0, a.MorePersonal.BloodType = 2,
                                       a.MorePersonal.BloodTypeSign = 2; },
                    MorePersonalSection, ":bAB+"},
        SectionCase{"BloodO",
                    [](AnswerSet& a) { a.MorePersonal.OmitBloodType = 0, a.MorePersonal.BloodType = 3,
                                       a.MorePersonal.BloodTypeSign = 0; },
                    MorePersonalSection, ":bO"}),
    // clang-format on
    Name);

INSTANTIATE_TEST_SUITE_P(
    EvenMorePersonal, Section,
    // clang-format off
    testing::Values(
        SectionCase{"Sign", [](AnswerSet& a) { a.EvenMorePersonal.OmitSign = 0; }, EvenMorePersonalSection, ":*Ar"},
        SectionCase{"GenderKink",
                    [](AnswerSet& a) { auto& p = a.EvenMorePersonal;
                                       p.OmitGender = 0, p.Gender = 1, p.Kink = 1, p.KinkMembership = 2; },
                    EvenMorePersonalSection, ":y+P"},
        SectionCase{"GenderPurity",
                    [](AnswerSet& a) { auto& p = a.EvenMorePersonal;
                                       p.OmitGender = 0, p.UsePurity = 1, p.Purity = 75, p.KinkMembership = 2; },
                    EvenMorePersonalSection, ":x75%"},
        SectionCase{"GenderNotTelling",
                    [](AnswerSet& a) { auto& p = a.EvenMorePersonal;
                                       p.OmitGender = 0, p.Gender = 2, p.NoTellKink = 1; },
                    EvenMorePersonalSection, ":z?"},
        SectionCase{"NotTellingKeepsMembership",
                    [](AnswerSet& a) { auto& p = a.EvenMorePersonal;
                                       p.OmitGender = 0, p.NoTellKink = 1, p.KinkMembership = 3; },
                    EvenMorePersonalSection, ":x?A"},
        SectionCase{"Relationship",
                    [](AnswerSet& a) { auto& p = a.EvenMorePersonal;
                                       p.OmitRelationship = 0, p.Preference = 2, p.Status = 0, p.BoostStatus = -1; },
                    EvenMorePersonalSection, ":r+|-[-]"},
        SectionCase{"RelationshipNegotiable",
                    [](AnswerSet& a) { auto& p = a.EvenMorePersonal;
                                       p.OmitRelationship = 0, p.Preference = 1, p.Status = 1; },
                    EvenMorePersonalSection, ":r|"},
        SectionCase{"StatusAtTheLargestValue",
                    [](AnswerSet& a) { auto& p = a.EvenMorePersonal;
                                       p.OmitRelationship = 0, p.Preference = 1, p.Status = INT32_MAX; },
                    EvenMorePersonalSection,
                    ":r|++++++++++++++++++++++++++++++++++++++++++++++++++"
                    "++++++++++++++++++++++++++++++++++++++++++++++++++"}),
    // clang-format on
    Name);

TEST(Section, PreferenceMinusOneDoesNotOverflowAtTheSmallestValue) {
    AnswerSet answers = Defaults();
    auto& p = answers.EvenMorePersonal;
    p.OmitRelationship = 0, p.Preference = INT32_MIN, p.Status = 1;
    std::string out;
    BuildEvenMorePersonalSection(p, out);
    EXPECT_EQ(out, ":r" + std::string(100, '-') + "|");
}

TEST(CodeFrame, StartsAsGlomieCodeAndDefaultsGiveTheShortCode) {
    AnswerSet answers = Defaults();
    CodeFrame frame(answers);
    EXPECT_EQ(frame.fullCode(), "Glomie Code");
    frame.rebuildCode(RebuildAll);
    EXPECT_EQ(frame.fullCode(), "GlomieCode(1.12.05) SM:5m-");
}

TEST(CodeFrame, JoinsTheWorkedExample) {
    AnswerSet answers = Defaults();
    answers.Obsession.GlomiePref = 0;
    answers.Favorites.Senshi0 = 1, answers.Favorites.IntensitySenshi0 = 2;
    answers.Dislikes.Villian0 = 14, answers.Dislikes.IntensityVillian0 = 1;
    answers.Experience.Years = 4;
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    EXPECT_EQ(frame.fullCode(), "GlomieCode(1.12.05) SM:5 F:sMo++ D:vBe- X:**");
}

TEST(CodeFrame, JoinsFavouritesAndDislikesOfBothPages) {
    AnswerSet answers = Defaults();
    answers.Obsession.GlomiePref = 0;
    auto& f = answers.Favorites;
    f.Senshi0 = 1, f.TrendSenshi0 = 2, f.IntensitySenshi0 = 3, f.Senshi1 = 4, f.IntensitySenshi1 = 1;
    f.BoostSenshi1 = 2;
    auto& m = answers.MoreFavorites;
    m.Assist0 = 1, m.IntensityAssist0 = 2, m.Part0 = 5, m.TrendPart0 = 0, m.IntensityPart0 = 1,
    m.BoostPart0 = 1;
    answers.Dislikes.Villian1 = 14, answers.Dislikes.TrendVillian1 = 2,
    answers.Dislikes.IntensityVillian1 = 3;
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    EXPECT_EQ(frame.fullCode(), "GlomieCode(1.12.05) SM:5 F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>---");
}

TEST(CodeFrame, PersonalPagesJoinBehindOneTag) {
    AnswerSet answers = Defaults();
    auto& p0 = answers.Personal;
    p0.OmitAge = 0, p0.SpecifyExactAge = 1, p0.ExactAge = 23, p0.OmitEyes = 0, p0.ColorLeft0 = 2,
    p0.Glasses = 1;
    answers.MorePersonal.OmitHair = 0, answers.MorePersonal.HairColor = 1, answers.MorePersonal.Hair = 1;
    auto& p2 = answers.EvenMorePersonal;
    p2.OmitGender = 0, p2.OmitRelationship = 0, p2.Preference = 2, p2.Status = 2;
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    EXPECT_EQ(frame.fullCode(), "GlomieCode(1.12.05) SM:5m- P:a23:eBg:hBr+:x:r+|+");
}

TEST(CodeFrame, OnlyTheNamedSectionIsRebuilt) {
    AnswerSet answers = Defaults();
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    answers.Obsession.Pri = 30;
    answers.MoreFavorites.Part1 = 6;
    frame.rebuildCode(MoreFavoritesSection);
    EXPECT_EQ(frame.fullCode(), "GlomieCode(1.12.05) SM:5m- F:pSS");
    for (int other : {0, 12, -1, 99}) {
        frame.rebuildCode(other);
        EXPECT_EQ(frame.fullCode(), "GlomieCode(1.12.05) SM:5m- F:pSS") << other;
    }
    frame.rebuildCode(HeaderSection);
    EXPECT_EQ(frame.fullCode(), "GlomieCode(1.12.05) SM:!m- F:pSS");
}

} // namespace
