// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "RandomAnswers.h"
#include "code/CodeFrame.h"

namespace {

class DecodesWorkedExample : public testing::TestWithParam<std::string> {};

// The code reads back into answers that the encoder turns into the very same code.
TEST_P(DecodesWorkedExample, IntoAnswersThatEncodeToIt) {
    const DecodeResult result = DecodeGlomieCode(GetParam());
    ASSERT_TRUE(result.complete()) << ProblemList(result);
    EXPECT_EQ(result.CodeBegin, 0u);
    EXPECT_EQ(result.CodeEnd, GetParam().size());
    EXPECT_EQ(EncodeGlomieCode(result.Answers), GetParam());
    EXPECT_FALSE(result.Sentences.empty());
}

// Each section's worked examples behind the header; some carry answers past what the pages offer,
// which the encoder writes from stored settings and the decoder reads back all the same.
std::vector<std::string> Coded(std::initializer_list<const char*> sections) {
    std::vector<std::string> codes;
    for (const char* section : sections)
        codes.push_back(std::string("GlomieCode(1.12.05) SM:5") + section);
    return codes;
}

INSTANTIATE_TEST_SUITE_P(Header, DecodesWorkedExample,
                         testing::Values("GlomieCode(1.12.05) SM:5", "GlomieCode(1.12.05) SM:5m-",
                                         "GlomieCode(1.12.05) SM:5-[7+]m+", "GlomieCode(1.12.05) SM:![0]m-",
                                         "GlomieCode(1.12.05) SM:9+m+", "GlomieCode(1.12.05) SM:!-",
                                         "GlomieCode(1.12.05) SM:0",
                                         "GlomieCode(1.12.05) SM:5 F:sMo++ D:vBe- X:**"));
INSTANTIATE_TEST_SUITE_P(FavouritesAndDislikes, DecodesWorkedExample,
                         testing::ValuesIn(Coded({" F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>---", " D:sMo<[--]",
                                                  " F:v4GA3:p*R1"})));
INSTANTIATE_TEST_SUITE_P(Experience, DecodesWorkedExample,
                         testing::ValuesIn(Coded({" X:***[*]", " X:[*]",
                                                  " X:**************************************"
                                                  "************",
                                                  " X:a52s+++|12d[+]", " X:aClr++|ClS[SS]s++++", " X:a[R]d+",
                                                  " X:a3r|4d", " X:m18s++[+]",
                                                  " X:***[*]:aClr++|ClS[SS]s++++:m18s++[+]"})));
INSTANTIATE_TEST_SUITE_P(Opinions, DecodesWorkedExample,
                         testing::ValuesIn(Coded({" O:d--", " O:!d++[+]", " O:?d", " O:!sZ", " O:!s?",
                                                  " O:o?", " O:a---[-]", " O:h", " O:x++[-]",
                                                  " O:d--:!s++:?o:a?:h-[-]:x+"})));
INSTANTIATE_TEST_SUITE_P(
    Personal, DecodesWorkedExample,
    testing::ValuesIn(
        Coded({" P:a++",  " P:a23",        " P:s511",    " P:s-[++]", " P:w?",
               " P:w150", " P:f",          " P:eBD",     " P:eBD|G",  " P:eBBrL|Gg[z]",
               " P:eGg",  " P:hBrD++m[b]", " P:hBlb",    " P:t--[+]", " P:cWhAs",
               " P:c",    " P:bAB+",       " P:bO",      " P:*Ar",    " P:y+P",
               " P:x75%", " P:z?",         " P:r+|-[-]", " P:r|",     " P:a23:eBg:hBr+:x:r+|+"})));

struct Reading {
    const char* code;
    std::function<void(const AnswerSet&)> check;
};

std::ostream& operator<<(std::ostream& os, const Reading& r) {
    return os << r.code;
}

class ChoosesTheAnswers : public testing::TestWithParam<Reading> {};

// Where the code does not fix an answer by itself, the decoder's choice is the one the encoder's
// pages have for it: the first slot, both eyes the same, an upright anime slider, a row from its signs.
TEST_P(ChoosesTheAnswers, ThePagesWouldHave) {
    const DecodeResult result = DecodeGlomieCode(GetParam().code);
    ASSERT_TRUE(result.complete()) << ProblemList(result);
    GetParam().check(result.Answers);
}

INSTANTIATE_TEST_SUITE_P(Decoder, ChoosesTheAnswers,
                         testing::Values(Reading{"GlomieCode(1.12.05) SM:5-[7+]",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.Obsession.Pri, 14);
                                                     EXPECT_EQ(a.Obsession.ChkSec, 1);
                                                     EXPECT_EQ(a.Obsession.Sec, 22);
                                                     EXPECT_EQ(a.Obsession.GlomiePref, 0);
                                                 }},
                                         Reading{"GlomieCode(1.12.05) SM:5 D:vBe>---",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.Dislikes.Villian0, 14);
                                                     EXPECT_EQ(a.Dislikes.Villian1, 0);
                                                     EXPECT_EQ(a.Dislikes.TrendVillian0, 2);
                                                     EXPECT_EQ(a.Dislikes.IntensityVillian0, 3);
                                                     EXPECT_EQ(a.Favorites.Villian0, 0);
                                                 }},
                                         Reading{"GlomieCode(1.12.05) SM:5 X:a52s+++|12d[+]",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.Experience.ByNumbers, 1);
                                                     EXPECT_EQ(a.Experience.IntensitySub, 1);
                                                     EXPECT_EQ(a.Experience.IntensityDub, 4);
                                                     EXPECT_EQ(a.Experience.BoostDub, 1);
                                                     EXPECT_EQ(a.Experience.IntensityRaw, 4);
                                                 }},
                                         Reading{"GlomieCode(1.12.05) SM:5 X:aClr++|ClS[SS]s++++",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.Experience.ByNumbers, 0);
                                                     EXPECT_EQ(a.Experience.SubComplete, 17);
                                                     EXPECT_EQ(a.Experience.SubPartial, 32);
                                                     EXPECT_EQ(a.Experience.Sub, 0u);
                                                 }},
                                         Reading{"GlomieCode(1.12.05) SM:5 X:m18s++[+]",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.Experience.IntensityMangaSub, 2);
                                                     EXPECT_EQ(a.Experience.BoostMangaSub, 1);
                                                 }},
                                         Reading{"GlomieCode(1.12.05) SM:5 O:?d:a?",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.Opinions.WhatDub, 1);
                                                     EXPECT_EQ(a.Opinions.NoOpAnti, 1);
                                                     EXPECT_EQ(a.Opinions.OmitSos, 1);
                                                 }},
                                         Reading{"GlomieCode(1.12.05) SM:5 P:eBD",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.Personal.Same, 1);
                                                     EXPECT_EQ(a.Personal.ColorLeft0, 2);
                                                     EXPECT_EQ(a.Personal.ColorAdjLeft0, 1);
                                                     EXPECT_EQ(a.Personal.ColorRight0, 0);
                                                 }},
                                         Reading{"GlomieCode(1.12.05) SM:5 P:eBD|G",
                                                 [](const AnswerSet& a) { EXPECT_EQ(a.Personal.Same, 0); }},
                                         Reading{"GlomieCode(1.12.05) SM:5 P:a23:hBlb",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.Personal.SpecifyExactAge, 1);
                                                     EXPECT_EQ(a.Personal.Age, 0);
                                                     EXPECT_EQ(a.MorePersonal.HairColor, 0);
                                                     EXPECT_EQ(a.MorePersonal.Moustache, 0);
                                                 }},
                                         Reading{"GlomieCode(1.12.05) SM:5 P:x75%",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.EvenMorePersonal.UsePurity, 1);
                                                     EXPECT_EQ(a.EvenMorePersonal.KinkMembership, 0);
                                                 }},
                                         Reading{"GlomieCode(1.12.05) SM:5 P:r+|-[-]",
                                                 [](const AnswerSet& a) {
                                                     EXPECT_EQ(a.EvenMorePersonal.Preference, 2);
                                                     EXPECT_EQ(a.EvenMorePersonal.Status, 0);
                                                     EXPECT_EQ(a.EvenMorePersonal.BoostStatus, -1);
                                                 }}));

TEST(Decoder, OnlyWhatTheCodeSaysLeavesTheDefaults) {
    const DecodeResult result = DecodeGlomieCode("GlomieCode(1.12.05) SM:5m- O:h");
    ASSERT_TRUE(result.complete());
    AnswerSet expected = DefaultAnswers();
    expected.Opinions.OmitHentai = 0;
    EXPECT_EQ(AllAnswers(result.Answers), AllAnswers(expected));
}

// Where two readings fit, the longer code wins and the sentence says what else it could be.
TEST(Decoder, TwoSFitAsSuperSOrAsSTwice) {
    const DecodeResult result = DecodeGlomieCode("GlomieCode(1.12.05) SM:5 F:pSS");
    ASSERT_TRUE(result.complete());
    EXPECT_EQ(result.Answers.MoreFavorites.Part0, 6);
    EXPECT_EQ(result.Answers.MoreFavorites.Part1, 0);
    ASSERT_EQ(result.Sentences.size(), 2u);
    const DecodedSentence& sentence = result.Sentences[1];
    EXPECT_TRUE(sentence.Ambiguous);
    EXPECT_EQ(result.text(sentence),
              "Favourite part of the series: Sailormoon SuperS (stable, intensity 0 of 3); the letters "
              "\"SS\" can also be read as Sailormoon S (stable, intensity 0 of 3) followed by "
              "Sailormoon S (stable, intensity 0 of 3).");
}

TEST(Decoder, ReadingsThatNameTheSameChoicesAreNoAmbiguity) {
    // "SSS" is SuperS and S either way round; "S+S" can only be S twice.
    for (const char* code : {"GlomieCode(1.12.05) SM:5 F:pSSS", "GlomieCode(1.12.05) SM:5 F:pS+S"}) {
        const DecodeResult result = DecodeGlomieCode(code);
        ASSERT_TRUE(result.complete()) << code;
        EXPECT_EQ(EncodeGlomieCode(result.Answers), code);
        for (const DecodedSentence& s : result.Sentences)
            EXPECT_FALSE(s.Ambiguous) << result.text(s);
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
    ASSERT_TRUE(result.complete()) << ProblemList(result);
    EXPECT_EQ(result.Answers.Personal.ExactStatureFt, GetParam().feet);
    EXPECT_EQ(result.Answers.Personal.ExactStatureIn, GetParam().inches);
    EXPECT_EQ(EncodeGlomieCode(result.Answers), code);
    EXPECT_EQ(result.text(result.Sentences.back()).find("beyond") == std::string::npos, GetParam().withinPage)
        << result.text(result.Sentences.back());
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
    ASSERT_TRUE(result.complete());
    EXPECT_EQ(result.Answers.Personal.Same, 1);
    EXPECT_NE(result.Answers.Personal.ColorRight0, 0);
    EXPECT_EQ(EncodeGlomieCode(result.Answers), "GlomieCode(1.12.05) SM:5 P:eg");
    EXPECT_EQ(result.text(result.Sentences.back()), "Eyes: the colour is not shown; wears glasses.");
}

struct SentenceCase {
    const char* code;
    int section;
    const char* sentence;
};

class Sentence : public testing::TestWithParam<SentenceCase> {};

TEST_P(Sentence, SaysWhatTheSubsectionSays) {
    const DecodeResult result = DecodeGlomieCode(GetParam().code);
    ASSERT_TRUE(result.complete()) << ProblemList(result);
    ASSERT_FALSE(result.Sentences.empty());
    EXPECT_EQ(result.Sentences.back().Section, GetParam().section);
    EXPECT_EQ(result.text(result.Sentences.back()), GetParam().sentence);
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
    ASSERT_TRUE(result.complete());
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
    ASSERT_TRUE(result.complete());
    std::vector<std::string> set;
    for (const UnstoredAnswer& u : UnstoredAnswers(result.Answers)) {
        if (u.Value != 0)
            set.push_back(std::string(u.Section) + "/" + u.Name);
    }
    EXPECT_EQ(set, (std::vector<std::string>{"Exp/IntensityMangaRaw", "Exp/BoostMangaRaw", "Per/NoTellWeight",
                                             "Per/NoTellFat"}));
}

} // namespace
