#include <gtest/gtest.h>

#include <functional>

#include "RandomAnswers.h"
#include "code/CodeFrame.h"

namespace {

constexpr char kHeader[] = "GlomieCode(1.12.05) SM:5";

struct WorkedExample {
    const char* name;
    std::string code;
    std::function<void(const AnswerSet&)> check;
};

std::ostream& operator<<(std::ostream& os, const WorkedExample& e) {
    return os << e.code;
}

class DecodesWorkedExample : public testing::TestWithParam<WorkedExample> {};

// The code reads back into answers that the encoder turns into the very same code.
TEST_P(DecodesWorkedExample, IntoAnswersThatEncodeToIt) {
    const DecodeResult result = DecodeGlomieCode(GetParam().code);
    ASSERT_TRUE(result.Complete()) << ProblemList(result);
    EXPECT_EQ(result.CodeBegin, 0u);
    EXPECT_EQ(result.CodeEnd, GetParam().code.size());
    EXPECT_EQ(EncodeAnswers(result.Answers), GetParam().code);
    EXPECT_FALSE(result.Sentences.empty());
    GetParam().check(result.Answers);
}

std::string Name(const testing::TestParamInfo<WorkedExample>& info) {
    return info.param.name;
}

WorkedExample In(const char* name, const std::string& section, std::function<void(const AnswerSet&)> check) {
    return {name, kHeader + section, std::move(check)};
}

INSTANTIATE_TEST_SUITE_P(
    Header, DecodesWorkedExample,
    testing::Values(
        WorkedExample{"Plain", "GlomieCode(1.12.05) SM:5",
                      [](const AnswerSet& a) {
                          EXPECT_EQ(a.SM.Pri, 15);
                          EXPECT_EQ(a.SM.ChkSec, 0);
                          EXPECT_EQ(a.SM.GlomiePref, 0);
                      }},
        WorkedExample{"Defaults", "GlomieCode(1.12.05) SM:5m-",
                      [](const AnswerSet& a) { EXPECT_EQ(AllAnswers(a), AllAnswers(DefaultAnswerSet())); }},
        WorkedExample{"Secondary", "GlomieCode(1.12.05) SM:5-[7+]m+",
                      [](const AnswerSet& a) {
                          EXPECT_EQ(a.SM.Pri, 14);
                          EXPECT_EQ(a.SM.ChkSec, 1);
                          EXPECT_EQ(a.SM.Sec, 22);
                          EXPECT_EQ(a.SM.GlomiePref, 2);
                      }},
        WorkedExample{"TopWithSecondaryZero", "GlomieCode(1.12.05) SM:![0]m-",
                      [](const AnswerSet& a) {
                          EXPECT_EQ(a.SM.Pri, 30);
                          EXPECT_EQ(a.SM.Sec, 0);
                      }},
        WorkedExample{"NinePlus", "GlomieCode(1.12.05) SM:9+m+",
                      [](const AnswerSet& a) { EXPECT_EQ(a.SM.Pri, 28); }},
        WorkedExample{"BangMinus", "GlomieCode(1.12.05) SM:!-",
                      [](const AnswerSet& a) { EXPECT_EQ(a.SM.Pri, 29); }},
        WorkedExample{"Zero", "GlomieCode(1.12.05) SM:0", [](const AnswerSet& a) { EXPECT_EQ(a.SM.Pri, 0); }},
        WorkedExample{"Joined", "GlomieCode(1.12.05) SM:5 F:sMo++ D:vBe- X:**",
                      [](const AnswerSet& a) {
                          EXPECT_EQ(a.Favorites.Senshi0, 1);
                          EXPECT_EQ(a.Favorites.IntensitySenshi0, 2);
                          EXPECT_EQ(a.Dislikes.Villian0, 14);
                          EXPECT_EQ(a.Dislikes.IntensityVillian0, 1);
                          EXPECT_EQ(a.Experience.Years, 4);
                      }}),
    Name);

INSTANTIATE_TEST_SUITE_P(FavouritesAndDislikes, DecodesWorkedExample,
                         testing::Values(In("AllFour", " F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>---",
                                            [](const AnswerSet& a) {
                                                const F0Answers& f = a.Favorites;
                                                EXPECT_EQ(f.Senshi0, 1);
                                                EXPECT_EQ(f.TrendSenshi0, 2);
                                                EXPECT_EQ(f.IntensitySenshi0, 3);
                                                EXPECT_EQ(f.Senshi1, 4);
                                                EXPECT_EQ(f.TrendSenshi1, 1);
                                                EXPECT_EQ(f.IntensitySenshi1, 1);
                                                EXPECT_EQ(f.BoostSenshi1, 2);
                                                EXPECT_EQ(a.MoreFavorites.Assist0, 1);
                                                EXPECT_EQ(a.MoreFavorites.Part0, 5);
                                                EXPECT_EQ(a.MoreFavorites.TrendPart0, 0);
                                                EXPECT_EQ(a.MoreFavorites.BoostPart0, 1);
                                                EXPECT_EQ(a.Dislikes.Villian0, 14);
                                                EXPECT_EQ(a.Dislikes.TrendVillian0, 2);
                                                EXPECT_EQ(a.Dislikes.IntensityVillian0, 3);
                                                EXPECT_EQ(a.MoreDislikes.Assist0, 0);
                                            }),
                                         In("TuneOnly", " D:sMo<[--]",
                                            [](const AnswerSet& a) {
                                                EXPECT_EQ(a.Dislikes.IntensitySenshi0, 0);
                                                EXPECT_EQ(a.Dislikes.BoostSenshi0, 2);
                                            }),
                                         In("CodesWithDigits", " F:v4GA3:p*R1",
                                            [](const AnswerSet& a) {
                                                EXPECT_EQ(a.Favorites.Villian0, 10);
                                                EXPECT_EQ(a.Favorites.Villian1, 41);
                                                EXPECT_EQ(a.MoreFavorites.Part0, 7);
                                                EXPECT_EQ(a.MoreFavorites.Part1, 3);
                                            })),
                         Name);

INSTANTIATE_TEST_SUITE_P(
    Experience, DecodesWorkedExample,
    testing::Values(In("Years", " X:***[*]", [](const AnswerSet& a) { EXPECT_EQ(a.Experience.Years, 7); }),
                    In("HalfYear", " X:[*]", [](const AnswerSet& a) { EXPECT_EQ(a.Experience.Years, 1); }),
                    In("FiftyYears", " X:" + std::string(50, '*'),
                       [](const AnswerSet& a) { EXPECT_EQ(a.Experience.Years, 100); }),
                    In("ByNumbers", " X:a52s+++|12d[+]",
                       [](const AnswerSet& a) {
                           const XAnswers& x = a.Experience;
                           EXPECT_EQ(x.ByNumbers, 1);
                           EXPECT_EQ(x.Sub, 52u);
                           EXPECT_EQ(x.IntensitySub, 1);
                           EXPECT_EQ(x.Dub, 12u);
                           EXPECT_EQ(x.IntensityDub, 4);
                           EXPECT_EQ(x.BoostDub, 1);
                           EXPECT_EQ(x.IntensityRaw, 4);
                       }),
                    In("ByParts", " X:aClr++|ClS[SS]s++++",
                       [](const AnswerSet& a) {
                           const XAnswers& x = a.Experience;
                           EXPECT_EQ(x.ByNumbers, 0);
                           EXPECT_EQ(x.RawComplete, 1);
                           EXPECT_EQ(x.IntensityRaw, 2);
                           EXPECT_EQ(x.SubComplete, 17);
                           EXPECT_EQ(x.SubPartial, 32);
                           EXPECT_EQ(x.IntensitySub, 0);
                       }),
                    In("PartialOnly", " X:a[R]d+",
                       [](const AnswerSet& a) {
                           EXPECT_EQ(a.Experience.DubPartial, 2);
                           EXPECT_EQ(a.Experience.IntensityDub, 3);
                       }),
                    In("RawAndDubbed", " X:a3r|4d",
                       [](const AnswerSet& a) { EXPECT_EQ(a.Experience.Sub, 0u); }),
                    In("Manga", " X:m18s++[+]",
                       [](const AnswerSet& a) {
                           EXPECT_EQ(a.Experience.MangaSub, 18u);
                           EXPECT_EQ(a.Experience.IntensityMangaSub, 2);
                           EXPECT_EQ(a.Experience.BoostMangaSub, 1);
                       }),
                    In("Everything", " X:***[*]:aClr++|ClS[SS]s++++:m18s++[+]", [](const AnswerSet&) {})),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Opinions, DecodesWorkedExample,
    testing::Values(
        In("Dub", " O:d--",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Opinions.OmitDub, 0);
               EXPECT_EQ(a.Opinions.IntensityDub, -2);
               EXPECT_EQ(a.Opinions.OmitSos, 1);
           }),
        In("CartoonPastTheSlider", " O:!d++[+]",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Opinions.AmericanCartoon, 1);
               EXPECT_EQ(a.Opinions.BoostDub, 1);
           }),
        In("WhatDub", " O:?d", [](const AnswerSet& a) { EXPECT_EQ(a.Opinions.WhatDub, 1); }),
        In("MemberBitter", " O:!sZ",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Opinions.Member, 1);
               EXPECT_EQ(a.Opinions.Bitter, 1);
           }),
        In("MemberNoOpinion", " O:!s?", [](const AnswerSet& a) { EXPECT_EQ(a.Opinions.NoOpSos, 1); }),
        In("OtakuNoOpinion", " O:o?", [](const AnswerSet& a) { EXPECT_EQ(a.Opinions.NoOpOw, 1); }),
        In("HatersPastTheSlider", " O:a---[-]",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Opinions.IntensityAnti, -3);
               EXPECT_EQ(a.Opinions.BoostAnti, -1);
           }),
        In("BareLetter", " O:h", [](const AnswerSet& a) { EXPECT_EQ(a.Opinions.OmitHentai, 0); }),
        In("OppositeTune", " O:x++[-]", [](const AnswerSet& a) { EXPECT_EQ(a.Opinions.BoostMixx, -1); }),
        In("AllTopics", " O:d--:!s++:?o:a?:h-[-]:x+",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Opinions.WhatOw, 1);
               EXPECT_EQ(a.Opinions.NoOpAnti, 1);
               EXPECT_EQ(a.Opinions.IntensityHentai, -1);
               EXPECT_EQ(a.Opinions.IntensityMixx, 1);
           })),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Personal, DecodesWorkedExample,
    testing::Values(
        In("AgeLevel", " P:a++", [](const AnswerSet& a) { EXPECT_EQ(a.Personal.Age, 2); }),
        In("ExactAge", " P:a23",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Personal.SpecifyExactAge, 1);
               EXPECT_EQ(a.Personal.ExactAge, 23);
               EXPECT_EQ(a.Personal.OmitStature, 1);
           }),
        In("ExactStature", " P:s511",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Personal.ExactStatureFt, 5);
               EXPECT_EQ(a.Personal.ExactStatureIn, 11);
           }),
        In("StatureLevel", " P:s-[++]",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Personal.Stature, -1);
               EXPECT_EQ(a.Personal.BoostStature, 2);
           }),
        In("WeightNotTold", " P:w?", [](const AnswerSet& a) { EXPECT_EQ(a.Personal.NoTellWeight, 1); }),
        In("ExactWeight", " P:w150", [](const AnswerSet& a) { EXPECT_EQ(a.Personal.ExactWeight, 150); }),
        In("BareFat", " P:f", [](const AnswerSet& a) { EXPECT_EQ(a.Personal.OmitFat, 0); }),
        In("EyesSame", " P:eBD",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Personal.Same, 1);
               EXPECT_EQ(a.Personal.ColorLeft0, 2);
               EXPECT_EQ(a.Personal.ColorAdjLeft0, 1);
           }),
        In("EyesDiffer", " P:eBD|G",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Personal.Same, 0);
               EXPECT_EQ(a.Personal.ColorRight0, 3);
           }),
        In("EyesWithBoth", " P:eBBrL|Gg[z]",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.Personal.ColorLeft1, 4);
               EXPECT_EQ(a.Personal.ColorAdjLeft1, 2);
               EXPECT_EQ(a.Personal.Glasses, 1);
               EXPECT_EQ(a.Personal.Contacts, 1);
           }),
        In("EyesOneListGlasses", " P:eGg", [](const AnswerSet& a) { EXPECT_EQ(a.Personal.Glasses, 1); }),
        In("Hair", " P:hBrD++m[b]",
           [](const AnswerSet& a) {
               const P1Answers& p = a.MorePersonal;
               EXPECT_EQ(p.HairColor, 1);
               EXPECT_EQ(p.HairColorAdj, 1);
               EXPECT_EQ(p.Hair, 2);
               EXPECT_EQ(p.Moustache, 1);
               EXPECT_EQ(p.Beard, 1);
           }),
        In("BlondWithBeard", " P:hBlb",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.MorePersonal.HairColor, 0);
               EXPECT_EQ(a.MorePersonal.Beard, 1);
               EXPECT_EQ(a.MorePersonal.Moustache, 0);
           }),
        In("Tone", " P:t--[+]", [](const AnswerSet& a) { EXPECT_EQ(a.MorePersonal.BoostTone, 1); }),
        In("Groups", " P:cWhAs", [](const AnswerSet& a) { EXPECT_EQ(a.MorePersonal.Group, 9); }),
        In("NoGroup", " P:c", [](const AnswerSet& a) { EXPECT_EQ(a.MorePersonal.OmitGroup, 0); }),
        In("BloodAB", " P:bAB+",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.MorePersonal.BloodType, 2);
               EXPECT_EQ(a.MorePersonal.BloodTypeSign, 2);
           }),
        In("BloodO", " P:bO", [](const AnswerSet& a) { EXPECT_EQ(a.MorePersonal.BloodTypeSign, 0); }),
        In("Sign", " P:*Ar", [](const AnswerSet& a) { EXPECT_EQ(a.EvenMorePersonal.OmitSign, 0); }),
        In("Kink", " P:y+P",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.EvenMorePersonal.Gender, 1);
               EXPECT_EQ(a.EvenMorePersonal.Kink, 1);
               EXPECT_EQ(a.EvenMorePersonal.KinkMembership, 2);
           }),
        In("Purity", " P:x75%",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.EvenMorePersonal.UsePurity, 1);
               EXPECT_EQ(a.EvenMorePersonal.Purity, 75);
               EXPECT_EQ(a.EvenMorePersonal.KinkMembership, 0);
           }),
        In("KinkNotTold", " P:z?", [](const AnswerSet& a) { EXPECT_EQ(a.EvenMorePersonal.NoTellKink, 1); }),
        In("RelationshipPastTheRows", " P:r+|-[-]",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.EvenMorePersonal.Preference, 2);
               EXPECT_EQ(a.EvenMorePersonal.Status, 0);
               EXPECT_EQ(a.EvenMorePersonal.BoostStatus, -1);
           }),
        In("RelationshipNegotiable", " P:r|",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.EvenMorePersonal.Preference, 1);
               EXPECT_EQ(a.EvenMorePersonal.Status, 1);
           }),
        In("Joined", " P:a23:eBg:hBr+:x:r+|+",
           [](const AnswerSet& a) {
               EXPECT_EQ(a.EvenMorePersonal.Gender, 0);
               EXPECT_EQ(a.EvenMorePersonal.OmitGender, 0);
               EXPECT_EQ(a.Personal.OmitWeight, 1);
           })),
    Name);

TEST(Decoder, OnlyWhatTheCodeSaysLeavesTheDefaults) {
    const DecodeResult result = DecodeGlomieCode("GlomieCode(1.12.05) SM:5m- O:h");
    ASSERT_TRUE(result.Complete());
    AnswerSet expected = DefaultAnswerSet();
    expected.Opinions.OmitHentai = 0;
    EXPECT_EQ(AllAnswers(result.Answers), AllAnswers(expected));
}

// Where two readings fit, the longer code wins and the sentence says what else it could be.
TEST(Decoder, TwoSFitAsSuperSOrAsSTwice) {
    const DecodeResult result = DecodeGlomieCode("GlomieCode(1.12.05) SM:5 F:pSS");
    ASSERT_TRUE(result.Complete());
    EXPECT_EQ(result.Answers.MoreFavorites.Part0, 6);
    EXPECT_EQ(result.Answers.MoreFavorites.Part1, 0);
    ASSERT_EQ(result.Sentences.size(), 2u);
    const DecodedSentence& sentence = result.Sentences[1];
    EXPECT_TRUE(sentence.Ambiguous);
    EXPECT_EQ(sentence.Text,
              "Favourite part of the series: Sailormoon SuperS (stable, intensity 0 of 3); the letters "
              "\"SS\" can also be read as Sailormoon S (stable, intensity 0 of 3) followed by "
              "Sailormoon S (stable, intensity 0 of 3).");
}

TEST(Decoder, ReadingsThatNameTheSameChoicesAreNoAmbiguity) {
    // "SSS" is SuperS and S either way round; "S+S" can only be S twice.
    for (const char* code : {"GlomieCode(1.12.05) SM:5 F:pSSS", "GlomieCode(1.12.05) SM:5 F:pS+S"}) {
        const DecodeResult result = DecodeGlomieCode(code);
        ASSERT_TRUE(result.Complete()) << code;
        EXPECT_EQ(EncodeAnswers(result.Answers), code);
        for (const DecodedSentence& s : result.Sentences)
            EXPECT_FALSE(s.Ambiguous) << s.Text;
    }
    EXPECT_EQ(DecodeGlomieCode("GlomieCode(1.12.05) SM:5 F:pS+S").Answers.MoreFavorites.Part1, 5);
}

struct StatureCase {
    const char* digits;
    int feet, inches;
    bool withinPage;
};

class ExactStature : public testing::TestWithParam<StatureCase> {};

// Feet and inches are written back to back; the split the page's ranges allow is the one taken.
TEST_P(ExactStature, SplitsAsThePageAllows) {
    const std::string code = std::string("GlomieCode(1.12.05) SM:5 P:s") + GetParam().digits;
    const DecodeResult result = DecodeGlomieCode(code);
    ASSERT_TRUE(result.Complete()) << ProblemList(result);
    EXPECT_EQ(result.Answers.Personal.ExactStatureFt, GetParam().feet);
    EXPECT_EQ(result.Answers.Personal.ExactStatureIn, GetParam().inches);
    EXPECT_EQ(EncodeAnswers(result.Answers), code);
    EXPECT_EQ(result.Sentences.back().Text.find("beyond") == std::string::npos, GetParam().withinPage)
        << result.Sentences.back().Text;
}

INSTANTIATE_TEST_SUITE_P(Decoder, ExactStature,
                         testing::Values(StatureCase{"511", 5, 11, true}, StatureCase{"1011", 10, 11, true},
                                         StatureCase{"53", 5, 3, true}, StatureCase{"60", 6, 0, true},
                                         StatureCase{"00", 0, 0, true}, StatureCase{"100", 10, 0, true},
                                         StatureCase{"110", 1, 10, true}, StatureCase{"010", 0, 10, true},
                                         StatureCase{"1299", 1, 299, false}));

TEST(Decoder, AnEyesSubsectionWithNoColourKeepsAHiddenOne) {
    // Both eyes "the same" with only right-eye colours chosen: the code shows ":e" but no colour.
    const DecodeResult result = DecodeGlomieCode("GlomieCode(1.12.05) SM:5 P:eg");
    ASSERT_TRUE(result.Complete());
    EXPECT_EQ(result.Answers.Personal.Same, 1);
    EXPECT_NE(result.Answers.Personal.ColorRight0, 0);
    EXPECT_EQ(EncodeAnswers(result.Answers), "GlomieCode(1.12.05) SM:5 P:eg");
    EXPECT_EQ(result.Sentences.back().Text, "Eyes: the colour is not shown; wears glasses.");
}

struct SentenceCase {
    const char* code;
    int section;
    const char* sentence;
};

class Sentence : public testing::TestWithParam<SentenceCase> {};

TEST_P(Sentence, SaysWhatTheSubsectionSays) {
    const DecodeResult result = DecodeGlomieCode(GetParam().code);
    ASSERT_TRUE(result.Complete()) << ProblemList(result);
    ASSERT_FALSE(result.Sentences.empty());
    EXPECT_EQ(result.Sentences.back().Section, GetParam().section);
    EXPECT_EQ(result.Sentences.back().Text, GetParam().sentence);
}

INSTANTIATE_TEST_SUITE_P(
    Decoder, Sentence,
    testing::Values(
        SentenceCase{"GlomieCode(1.12.05) SM:0+", HeaderSection,
                     "Obsession level 0+ (a third above 0): You watched Sailor Moon once, when your remote "
                     "control got broken."},
        SentenceCase{"GlomieCode(1.12.05) SM:5m-", HeaderSection,
                     "About the term \"glomie\": If someone calls you a glomie, you go ballistic."},
        SentenceCase{"GlomieCode(1.12.05) SM:5 D:vBe>---", DislikesSection,
                     "Disliked villain: Queen Beryl (increasing, intensity 3 of 3)."},
        SentenceCase{"GlomieCode(1.12.05) SM:5 F:aLu<+[++]", MoreFavoritesSection,
                     "Favourite assisting character: Luna (decreasing, intensity 1 of 3, tuned up by 2)."},
        SentenceCase{"GlomieCode(1.12.05) SM:5 X:***[*]", ExperienceSection,
                     "Fan of the series for 3 and a half years."},
        SentenceCase{
            "GlomieCode(1.12.05) SM:5 X:aClS[SS]s++++", ExperienceSection,
            "Anime seen subbed: completely Sailormoon classic and Sailormoon S, partly Sailormoon SuperS; "
            "intensity 4 of 4."},
        SentenceCase{"GlomieCode(1.12.05) SM:5 X:m1r", ExperienceSection,
                     "Manga read raw: 1; intensity 0 of 4."},
        SentenceCase{"GlomieCode(1.12.05) SM:5 O:!s++", OpinionsSection,
                     "SOS (Save Our Sailors): +2 on a scale from -2 to 3; a member of SOS."},
        SentenceCase{
            "GlomieCode(1.12.05) SM:5 O:a---[-]", OpinionsSection,
            "SM haters/antiglomies: -3 on a scale from -2 to 3, tuned down by 1 (beyond what the page "
            "offers)."},
        SentenceCase{"GlomieCode(1.12.05) SM:5 P:eBD|G", PersonalSection,
                     "Eyes: left Dark blue, right Green."},
        SentenceCase{"GlomieCode(1.12.05) SM:5 P:bAB+", MorePersonalSection,
                     "Blood type AB : proud, diplomatic, discriminating; rhesus positive."},
        SentenceCase{
            "GlomieCode(1.12.05) SM:5 P:z?A", EvenMorePersonalSection,
            "Gender: Either you don't want to disclose your gender or you're Starlights' relative; kink "
            "factor not told; one of the Moderate Aliens."},
        SentenceCase{"GlomieCode(1.12.05) SM:5 P:r|+[-]", EvenMorePersonalSection,
                     "Relationship preference: ( ) Negotiable; status: (+) Available, tuned down by 1."}));

TEST(Decoder, SentencesComeInCodeOrderWithTheirSections) {
    const DecodeResult result =
        DecodeGlomieCode("GlomieCode(1.12.05) SM:5 F:sMo:pS D:vBe:aLu X:* O:h P:a1:hB:*Ar");
    ASSERT_TRUE(result.Complete());
    std::vector<int> sections;
    for (const DecodedSentence& s : result.Sentences)
        sections.push_back(s.Section);
    EXPECT_EQ(sections,
              (std::vector<int>{HeaderSection, FavoritesSection, MoreFavoritesSection, DislikesSection,
                                MoreDislikesSection, ExperienceSection, OpinionsSection, PersonalSection,
                                MorePersonalSection, EvenMorePersonalSection}));
    EXPECT_EQ(result.Sentences[1].Position, 26u); // the ':' of ":sMo"
}

TEST(Decoder, SectionTitlesGroupThePages) {
    const std::vector<std::pair<int, std::string>> titles = {{HeaderSection, "Obsession"},
                                                             {FavoritesSection, "Favourites"},
                                                             {MoreFavoritesSection, "Favourites"},
                                                             {DislikesSection, "Dislikes"},
                                                             {MoreDislikesSection, "Dislikes"},
                                                             {ExperienceSection, "Experience"},
                                                             {OpinionsSection, "Opinions"},
                                                             {PersonalSection, "Personal"},
                                                             {EvenMorePersonalSection, "Personal"},
                                                             {RebuildAll, ""},
                                                             {12, ""}};
    for (const auto& [section, title] : titles)
        EXPECT_EQ(SectionTitle(section), title) << section;
}

TEST(Decoder, NamesTheAnswersTheSettingsDoNotKeep) {
    const DecodeResult result = DecodeGlomieCode("GlomieCode(1.12.05) SM:5 X:m3r++[+] P:w?:f?");
    ASSERT_TRUE(result.Complete());
    std::vector<std::string> set;
    for (const UnstoredAnswer& u : UnstoredAnswers(result.Answers)) {
        if (u.Value != 0)
            set.push_back(std::string(u.Section) + "/" + u.Name);
    }
    EXPECT_EQ(set, (std::vector<std::string>{"Exp/IntensityMangaRaw", "Exp/BoostMangaRaw", "Per/NoTellWeight",
                                             "Per/NoTellFat"}));
}

} // namespace
