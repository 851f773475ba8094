// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "RandomAnswers.h"

namespace {

constexpr int kAnswerSets = 20000;

// For any answers the pages allow, the code decodes into answers that encode to the same code,
// and those answers are again ones the pages allow (so an import stores nothing a page could not).
TEST(DecoderRoundTrip, ManyRandomAnswerSets) {
    int failures = 0;
    for (int seed = 1; seed <= kAnswerSets && failures < 5; ++seed) {
        SeededValues values(static_cast<uint64_t>(seed));
        const std::string code = EncodeGlomieCode(RandomAnswerSet(values));
        const DecodeResult result = DecodeGlomieCode(code);
        const std::string again = EncodeGlomieCode(result.Answers);
        const std::string outside = OutsidePageRanges(result.Answers);
        bool sentencesOk = !result.Sentences.empty();
        for (const DecodedSentence& s : result.Sentences)
            sentencesOk = sentencesOk && !result.text(s).empty() && *SectionTitle(s.Section) != '\0' &&
                          s.Position < code.size();
        if (!result.complete() || again != code || !outside.empty() || !sentencesOk) {
            ++failures;
            ADD_FAILURE() << "seed " << seed << "\n code    " << code << "\n decoded " << again << "\n "
                          << outside << ProblemList(result);
        }
    }
}

// The generator itself must stay within the pages, or the round trip above proves less than it says.
TEST(DecoderRoundTrip, GeneratorStaysWithinThePages) {
    for (int seed = 1; seed <= 2000; ++seed) {
        SeededValues values(static_cast<uint64_t>(seed));
        ASSERT_EQ(OutsidePageRanges(RandomAnswerSet(values)), "") << seed;
    }
}

TEST(DecoderRoundTrip, RangeCheckCatchesAnswersNoPageGives) {
    AnswerSet answers = DefaultAnswers();
    EXPECT_EQ(OutsidePageRanges(answers), "");
    answers.Favorites.IntensitySenshi0 = 2;
    answers.Favorites.BoostSenshi0 = 2;
    EXPECT_NE(OutsidePageRanges(answers), "");
    answers = DefaultAnswers();
    answers.EvenMorePersonal.BoostStatus = -1; // row 0 tuned below the first row
    EXPECT_NE(OutsidePageRanges(answers), "");
}

// Reading a code and writing it again changes nothing, so a second round gives the same answers.
TEST(DecoderRoundTrip, DecodingIsStable) {
    for (int seed = 1; seed <= 2000; ++seed) {
        SeededValues values(static_cast<uint64_t>(seed));
        const DecodeResult first = DecodeGlomieCode(EncodeGlomieCode(RandomAnswerSet(values)));
        const DecodeResult second = DecodeGlomieCode(EncodeGlomieCode(first.Answers));
        ASSERT_EQ(AllAnswers(first.Answers), AllAnswers(second.Answers)) << seed;
        ASSERT_EQ(first.Sentences.size(), second.Sentences.size()) << seed;
    }
}

TEST(DecoderRoundTrip, SeededValuesAreReproducible) {
    SeededValues a(42), b(42), c(43);
    std::vector<int> fromA, fromB, fromC;
    for (int i = 0; i < 100; ++i) {
        fromA.push_back(a.between(-5, 5));
        fromB.push_back(b.between(-5, 5));
        fromC.push_back(c.between(-5, 5));
    }
    EXPECT_EQ(fromA, fromB);
    EXPECT_NE(fromA, fromC);
    EXPECT_EQ(*std::min_element(fromA.begin(), fromA.end()), -5);
    EXPECT_EQ(*std::max_element(fromA.begin(), fromA.end()), 5);
}

} // namespace
