// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>

#include "RandomAnswers.h"

namespace {

const std::string kHeader = "GlomieCode(1.12.05) SM:";

TEST(DecoderBadInput, EmptyTextHasNoCode) {
    const DecodeResult result = DecodeGlomieCode("");
    EXPECT_FALSE(result.HeaderFound);
    EXPECT_FALSE(result.complete());
    EXPECT_TRUE(result.Sentences.empty());
    EXPECT_TRUE(result.Problems.empty());
    EXPECT_EQ(AllAnswers(result.Answers), AllAnswers(DefaultAnswers()));
}

TEST(DecoderBadInput, TextWithoutAHeaderHasNoCode) {
    for (const char* text : {"hello", "GlomieCode", "GlomieCode(1.12.05)", "GlomieCode(1.12.05) SM",
                             "glomiecode(1.12.05) SM:5", "GlomieCode(1.12.05 SM:5", "GlomieCode(1 12) SM:5"})
        EXPECT_FALSE(DecodeGlomieCode(text).HeaderFound) << text;
}

TEST(DecoderBadInput, HeaderAloneLacksItsLevel) {
    const DecodeResult result = DecodeGlomieCode(kHeader);
    EXPECT_TRUE(result.HeaderFound);
    EXPECT_FALSE(result.complete());
    ASSERT_EQ(result.Problems.size(), 1u);
    EXPECT_EQ(result.Problems[0].Position, kHeader.size());
    EXPECT_EQ(result.Problems[0].Text, kHeader);
    EXPECT_NE(result.Problems[0].Message.find("obsession level"), std::string::npos);
    EXPECT_EQ(result.Answers.Obsession.Pri, 15);
}

TEST(DecoderBadInput, AnotherVersionIsReadWithAProblem) {
    const DecodeResult result = DecodeGlomieCode("GlomieCode(1.13) SM:7 O:h");
    EXPECT_TRUE(result.HeaderFound);
    ASSERT_EQ(result.Problems.size(), 1u);
    EXPECT_EQ(result.Problems[0].Position, 11u);
    EXPECT_EQ(result.Answers.Obsession.Pri, 21);
    EXPECT_EQ(result.Answers.Opinions.OmitHentai, 0);
}

TEST(DecoderBadInput, TheCodeIsFoundInsideOtherText) {
    const std::string text = "My code:\n  GlomieCode(1.12.05) SM:5m- F:sMo --\nsee you";
    const DecodeResult result = DecodeGlomieCode(text);
    EXPECT_TRUE(result.complete()) << ProblemList(result);
    EXPECT_EQ(text.substr(result.CodeBegin, result.CodeEnd - result.CodeBegin),
              "GlomieCode(1.12.05) SM:5m- F:sMo");
    EXPECT_EQ(result.Answers.Favorites.Senshi0, 1);
}

// Every prefix of a long code: nothing breaks, every problem lies inside the text, and whatever reads
// without a problem is a code the encoder writes exactly so.
TEST(DecoderBadInput, TruncatedCodes) {
    const std::string code = "GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>---:pSS "
                             "X:***[*]:aClr++|ClS[SS]s++++:m18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ "
                             "P:a23:s511:w150:f-:eBBrL|Gg[z]:hBrD++m[b]:t--[+]:cWhAs:bAB+:*Ar:y+P:r+|-";
    ASSERT_TRUE(DecodeGlomieCode(code).complete());
    int complete = 0;
    for (size_t length = 0; length <= code.size(); ++length) {
        const std::string prefix = code.substr(0, length);
        const DecodeResult result = DecodeGlomieCode(prefix);
        EXPECT_EQ(result.HeaderFound, length >= kHeader.size()) << prefix;
        for (const DecodeProblem& p : result.Problems)
            EXPECT_LE(p.Position, prefix.size()) << prefix;
        if (result.complete()) {
            ++complete;
            EXPECT_EQ(EncodeGlomieCode(result.Answers), prefix.substr(0, result.CodeEnd)) << prefix;
        }
    }
    EXPECT_GT(complete, 50);
}

struct BadCode {
    const char* name;
    std::string code;
    size_t position;  // where reading stops
    const char* text; // the problem's text
    std::function<void(const AnswerSet&)> stillRead;
};

std::ostream& operator<<(std::ostream& os, const BadCode& c) {
    return os << c.code;
}

class ReadsOnAfter : public testing::TestWithParam<BadCode> {};

// One problem, at the place it is, and the subsections around it are still read.
TEST_P(ReadsOnAfter, AProblem) {
    const DecodeResult result = DecodeGlomieCode(GetParam().code);
    ASSERT_EQ(result.Problems.size(), 1u) << ProblemList(result);
    EXPECT_EQ(result.Problems[0].Position, GetParam().position) << ProblemList(result);
    EXPECT_EQ(result.Problems[0].Text, GetParam().text);
    EXPECT_FALSE(result.Problems[0].Message.empty());
    GetParam().stillRead(result.Answers);
}

std::string BadName(const testing::TestParamInfo<BadCode>& info) {
    return info.param.name;
}

// A bad code whose problem starts where `part` first occurs (plus `skip`), or at its very end for "$".
BadCode Bad(const char* name, const std::string& code, const char* part, const char* text,
            std::function<void(const AnswerSet&)> stillRead, size_t skip = 0) {
    const size_t position = std::string_view(part) == "$" ? code.size() : code.find(part) + skip;
    return {name, code, position, text, std::move(stillRead)};
}

#define STILL(check) [](const AnswerSet& a) { check; }

INSTANTIATE_TEST_SUITE_P(
    Decoder, ReadsOnAfter,
    testing::Values(
        Bad("UnknownSubsection", kHeader + "5 O:q+:h", "q+", "q+",
            STILL(EXPECT_EQ(a.Opinions.OmitHentai, 0))),
        Bad("UnknownSenshi", kHeader + "5 F:sXx:vBe", "Xx", "Xx", STILL(EXPECT_EQ(a.Favorites.Villian0, 14))),
        Bad("ThreeChoices", kHeader + "5 F:sMoMeMa:vBe", "Ma", "Ma",
            STILL(EXPECT_EQ(a.Favorites.Senshi0, 0))),
        Bad("UnknownSectionLetterInHeader", kHeader + "5q O:h", "q", "q",
            STILL(EXPECT_EQ(a.Opinions.OmitHentai, 0))),
        Bad("LevelBelowZero", kHeader + "0- O:h", "0-", "0-", STILL(EXPECT_EQ(a.Obsession.Pri, 15))),
        Bad("OpenBracket", kHeader + "5 F:sMo+[+:vBe", ":vBe", ":sMo+[+",
            STILL(EXPECT_EQ(a.Favorites.Villian0, 14))),
        Bad("EmptyBracket", kHeader + "5 P:t[]:bO", "]", "]", STILL(EXPECT_EQ(a.MorePersonal.BloodType, 3))),
        Bad("LeadingZero", kHeader + "5 P:a023:bO", "23", "23", STILL(EXPECT_EQ(a.Personal.OmitAge, 1))),
        Bad("WrongFormOrder", kHeader + "5 X:a3s|4r:m1r", "r:m", "r",
            STILL(EXPECT_EQ(a.Experience.MangaRaw, 1u))),
        Bad("MixedAnimeForms", kHeader + "5 X:a3r|Cls:m1r", "Cls", "Cls",
            STILL(EXPECT_EQ(a.Experience.Raw, 0u))),
        Bad("ZeroEpisodes", kHeader + "5 X:a0r", "0r", "0r", STILL(EXPECT_EQ(a.Experience.ByNumbers, 1))),
        Bad("PartsOutOfOrder", kHeader + "5 X:aSClr", "Clr", "Clr",
            STILL(EXPECT_EQ(a.Experience.RawComplete, 0))),
        Bad("SubsectionsOutOfOrder", kHeader + "5 P:hB:a1", "a1", "a1",
            STILL(EXPECT_EQ(a.MorePersonal.HairColor, 5))),
        Bad("RepeatedSubsection", kHeader + "5 O:h:h-", "h-", "h-",
            STILL(EXPECT_EQ(a.Opinions.IntensityHentai, 0))),
        Bad("NoWhatBoxForHentai", kHeader + "5 O:?h:x", "?h", "?h", STILL(EXPECT_EQ(a.Opinions.OmitMixx, 0))),
        Bad("BitterIsOnlySos", kHeader + "5 O:dZ", "Z", "Z", STILL(EXPECT_EQ(a.Opinions.OmitDub, 1))),
        Bad("EmptySubsection", kHeader + "5 O::h", ":h", ":", STILL(EXPECT_EQ(a.Opinions.OmitHentai, 0))),
        Bad("GlassesTwice", kHeader + "5 P:eBgg:*Ar", "g:", "g",
            STILL(EXPECT_EQ(a.EvenMorePersonal.OmitSign, 0))),
        Bad("RightEyeWithoutLeft", kHeader + "5 P:e|B", "|", "|B", STILL(EXPECT_EQ(a.Personal.OmitEyes, 1))),
        Bad("NoPercent", kHeader + "5 P:x75", "$", ":x75", STILL(EXPECT_EQ(a.EvenMorePersonal.UsePurity, 0))),
        Bad("NoBar", kHeader + "5 P:r+", "$", ":r+",
            STILL(EXPECT_EQ(a.EvenMorePersonal.OmitRelationship, 1))),
        Bad("BlankInsideASection", kHeader + "5 F:sMo :vBe", " :vBe", " :vBe",
            STILL(EXPECT_EQ(a.Favorites.Villian0, 14))),
        Bad("SectionsOutOfOrder", kHeader + "5 D:vBe F:sMo", "F:sMo", "F:sMo",
            STILL(EXPECT_EQ(a.Favorites.Senshi0, 1))),
        Bad("SecondSection", kHeader + "5 O:h O:x", "O:x", "O:x", STILL(EXPECT_EQ(a.Opinions.OmitMixx, 1))),
        Bad("TagWithNothing", kHeader + "5 F", "F", "F", STILL(EXPECT_EQ(a.Obsession.Pri, 15))),
        Bad("StrayBlankInTheSMPart", kHeader + " 5m- F:sMo++ D:vBe-", " 5m-", " 5m-",
            STILL(EXPECT_EQ(a.Dislikes.Villian0, 14))),
        Bad("RunPastAnyCode", kHeader + "5 F:sMo" + std::string(101, '+') + ":vBe", "+", "+",
            STILL(EXPECT_EQ(a.Favorites.Villian0, 14)), 100)),
    BadName);

TEST(DecoderBadInput, NonAsciiAndNulBytesAreProblemsNotCrashes) {
    const std::string code = kHeader + "5 F:sM\xc3\xa9:vBe P:a" + std::string(1, '\0') + "1";
    const DecodeResult result = DecodeGlomieCode(code);
    EXPECT_EQ(result.Problems.size(), 2u) << ProblemList(result);
    EXPECT_EQ(result.Answers.Favorites.Villian0, 14);
}

TEST(DecoderBadInput, AHundredThousandPlusSigns) {
    const std::string plus(100000, '+');
    EXPECT_FALSE(DecodeGlomieCode(plus).HeaderFound);

    const DecodeResult afterHeader = DecodeGlomieCode(kHeader + plus);
    ASSERT_EQ(afterHeader.Problems.size(), 1u);
    EXPECT_EQ(afterHeader.Problems[0].Text.size(), 43u) << "shortened to 40 and '...'";

    const DecodeResult inARun = DecodeGlomieCode(kHeader + "5 F:sMo" + plus);
    ASSERT_EQ(inARun.Problems.size(), 1u);
    EXPECT_EQ(inARun.CodeEnd, kHeader.size() + 7 + plus.size());
}

TEST(DecoderBadInput, ManyBrokenSubsectionsGiveABoundedList) {
    const DecodeResult result = DecodeGlomieCode(kHeader + "5 O" + std::string(100000, ':'));
    EXPECT_EQ(result.Problems.size(), 100u);
    EXPECT_EQ(result.Problems.back().Message, "more problems follow, not listed");
}

TEST(DecoderBadInput, ProblemTextsDoNotSplitACharacter) {
    const std::string letters =
        "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
        "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
        "\xc3\xa9\xc3\xa9";
    // "Z" puts every character across the cut at 40 bytes.
    const DecodeResult result = DecodeGlomieCode(kHeader + "5 O:xZ" + letters);
    ASSERT_EQ(result.Problems.size(), 1u);
    EXPECT_EQ(result.Problems[0].Text, "Z" + letters.substr(0, 38) + "...");
}

} // namespace
