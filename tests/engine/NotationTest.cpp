// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "code/Notation.h"
#include "vocabulary/Tables.h"

namespace {

TEST(LevelNotation, EveryPageLevel) {
    const char* expected[] = {"0",  "0+", "1-", "1",  "1+", "2-", "2",  "2+", "3-", "3",  "3+",
                              "4-", "4",  "4+", "5-", "5",  "5+", "6-", "6",  "6+", "7-", "7",
                              "7+", "8-", "8",  "8+", "9-", "9",  "9+", "!-", "!"};
    for (int level = 0; level <= 30; ++level)
        EXPECT_EQ(LevelNotation(level), expected[level]) << level;
}

TEST(LevelNotation, OutsideThePageRange) {
    EXPECT_EQ(LevelNotation(-1), "0");
    EXPECT_EQ(LevelNotation(-4), "!");
    EXPECT_EQ(LevelNotation(31), "!+");
    // Level + 1 must not overflow for the largest stored value.
    EXPECT_EQ(LevelNotation(2147483647), "!+");
    EXPECT_EQ(LevelNotation(-2147483648LL), "!");
}

std::string Appended(auto append) {
    std::string out = "x";
    append(out);
    return out.substr(1);
}

TEST(AppendRepeated, CountsAndTheCap) {
    EXPECT_EQ(Appended([](auto& s) { AppendRepeated(s, '+', 3); }), "+++");
    EXPECT_EQ(Appended([](auto& s) { AppendRepeated(s, '+', 0); }), "");
    EXPECT_EQ(Appended([](auto& s) { AppendRepeated(s, '+', -5); }), "");
    EXPECT_EQ(Appended([](auto& s) { AppendRepeated(s, '*', 50); }), std::string(50, '*'));
    EXPECT_EQ(Appended([](auto& s) { AppendRepeated(s, '+', 2147483647); }).size(), 100u);
}

struct TunedCase {
    int64_t run, tune, maximum;
    bool inverted;
    const char* expected;
};

std::ostream& operator<<(std::ostream& os, const TunedCase& c) {
    return os << "run " << c.run << " tune " << c.tune << (c.inverted ? " inverted" : "");
}

class TunedRun : public testing::TestWithParam<TunedCase> {};

TEST_P(TunedRun, Writes) {
    const auto& c = GetParam();
    EXPECT_EQ(Appended([&](auto& s) { AppendTunedRun(s, '+', c.run, c.tune, c.maximum, c.inverted); }),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, TunedRun,
                         testing::Values(TunedCase{4, 0, 4, true, ""}, TunedCase{0, 0, 4, true, "++++"},
                                         TunedCase{4, 2, 4, true, "[++]"}, TunedCase{2, -1, 3, false, "++[]"},
                                         TunedCase{3, 0, 99, false, "+++"}, TunedCase{6, 0, 4, true, ""}));

TEST(TunedRun, InvertingTheSmallestRunDoesNotOverflow) {
    EXPECT_EQ(Appended([](auto& s) { AppendTunedRun(s, '+', -2147483648LL, 0, 4, true); }),
              std::string(100, '+'));
}

struct SignedCase {
    int64_t value, tune;
    const char* expected;
};

std::ostream& operator<<(std::ostream& os, const SignedCase& c) {
    return os << "value " << c.value << " tune " << c.tune;
}

class SignedRun : public testing::TestWithParam<SignedCase> {};

TEST_P(SignedRun, Writes) {
    const auto& c = GetParam();
    EXPECT_EQ(Appended([&](auto& s) { AppendSignedRun(s, c.value, c.tune); }), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, SignedRun,
                         testing::Values(SignedCase{2, 0, "++"}, SignedCase{-1, 0, "-"}, SignedCase{0, 0, ""},
                                         SignedCase{1, 2, "+[++]"}, SignedCase{-2, -1, "--[-]"},
                                         SignedCase{0, 3, "[+++]"}, SignedCase{2, -1, "++[-]"}));

TEST(SignedRun, NegatingTheSmallestValueDoesNotOverflow) {
    EXPECT_EQ(Appended([](auto& s) { AppendSignedRun(s, -2147483648LL, -32768); }),
              std::string(100, '-').append("[").append(100, '-').append("]"));
}

TEST(RatedItem, Examples) {
    EXPECT_EQ(Appended([](auto& s) { AppendRatedItem(s, SenshiTable, 1, 2, 2, 1, '+'); }), "Mo>++[+]");
    EXPECT_EQ(Appended([](auto& s) { AppendRatedItem(s, SenshiTable, 1, 1, 0, 0, '+'); }), "Mo");
    EXPECT_EQ(Appended([](auto& s) { AppendRatedItem(s, SenshiTable, 0, 2, 3, 1, '+'); }), "");
    // A negative index is not "nothing chosen": the empty row 0 is written with its trend and runs.
    EXPECT_EQ(Appended([](auto& s) { AppendRatedItem(s, SenshiTable, -1, 0, 1, 0, '-'); }), "<-");
}

TEST(BitList, MasksOverTables) {
    EXPECT_EQ(Appended([](auto& s) { AppendBitList(s, 0, PartTable); }), "");
    EXPECT_EQ(Appended([](auto& s) { AppendBitList(s, 0x1FF, PartTable); }), "ClRR1R2SSS*NhGx");
    EXPECT_EQ(Appended([](auto& s) { AppendBitList(s, 0xFFFFFFFF, PartTable); }), "ClRR1R2SSS*NhGx");
    EXPECT_EQ(Appended([](auto& s) { AppendBitList(s, 9, GroupTable); }), "WhAs");
    EXPECT_EQ(Appended([](auto& s) { AppendBitList(s, 257, GroupTable); }), "WhIn");
    EXPECT_EQ(Appended([](auto& s) { AppendPartsList(s, 17, 32); }), "ClS[SS]");
    EXPECT_EQ(Appended([](auto& s) { AppendPartsList(s, 0, 2); }), "[R]");
}

} // namespace
