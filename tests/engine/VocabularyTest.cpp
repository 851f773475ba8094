// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "code/Notation.h"
#include "vocabulary/Tables.h"

namespace {

struct LiteralCase {
    const char* literal;
    const char* code;
    const char* description;
};

std::ostream& operator<<(std::ostream& os, const LiteralCase& c) {
    return os << "code " << c.code;
}

class CodeEntryLiteral : public testing::TestWithParam<LiteralCase> {};

TEST_P(CodeEntryLiteral, SplitsAtTheFirstLineFeed) {
    const CodeEntry entry(GetParam().literal);
    EXPECT_EQ(entry.Code, GetParam().code);
    EXPECT_EQ(entry.Description, GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(Literals, CodeEntryLiteral,
                         testing::Values(LiteralCase{"\n", "", ""},
                                         LiteralCase{"Mo\nSailor Moon/Tsukino Usagi/Serena", "Mo",
                                                     "Sailor Moon/Tsukino Usagi/Serena"},
                                         LiteralCase{"\nStable", "", "Stable"},
                                         LiteralCase{"a\nb\nc", "a", "b\nc"}, LiteralCase{"abc", "", "abc"}));

struct TableSize {
    const CodeTable* table;
    int32_t rows;
    bool emptyFirstRow;
};

TEST(CodeTables, RowCountsAndFirstRows) {
    const TableSize sizes[] = {
        {&TermFeelingTable, 3, true}, {&SenshiTable, 19, true},     {&VillianTable, 54, true},
        {&AssistTable, 24, true},     {&PartTable, 10, true},       {&TrendTable, 3, false},
        {&EyeColorTable, 7, true},    {&HairColorTable, 10, false}, {&ColorAdjTable, 3, true},
        {&GroupTable, 10, true},      {&BloodTypeTable, 4, false},  {&BloodTypeSignTable, 3, true},
        {&SignTable, 12, false},      {&PreferenceTable, 3, false}, {&StatusTable, 3, false},
        {&GenderTable, 3, false},     {&KinkTable, 4, true},        {&ObsessionTable, 11, false},
    };
    int32_t total = 0;
    for (const TableSize& size : sizes) {
        EXPECT_EQ(size.table->count(), size.rows);
        const CodeEntry& first = size.table->getEntry(0);
        EXPECT_EQ(first.Code.empty() && first.Description.empty(), size.emptyFirstRow)
            << "table with " << size.rows << " rows";
        total += size.table->count();
    }
    EXPECT_EQ(total, 186);
}

TEST(CodeTables, GetEntryClamps) {
    EXPECT_EQ(&SenshiTable.getEntry(-1), &SenshiTable.getEntry(0));
    EXPECT_EQ(&SenshiTable.getEntry(-100), &SenshiTable.getEntry(0));
    EXPECT_EQ(SenshiTable.getEntry(SenshiTable.count()).Code, "Cc");
    EXPECT_EQ(SenshiTable.getEntry(1000).Code, "Cc");
    EXPECT_EQ(VillianTable.getEntry(54).Code, "Zz");
    EXPECT_EQ(VillianTable.getEntry(INT64_MIN).Code, "");
    EXPECT_EQ(SignTable.getEntry(-1).Description, "Aries [march 21 -- april 19]");
    EXPECT_EQ(SignTable.getEntry(12).Description, "Pisces [february 19 -- march 20]");
}

struct RowCase {
    const CodeTable* table;
    int32_t row;
    const char* code;
    const char* description;
};

std::ostream& operator<<(std::ostream& os, const RowCase& c) {
    return os << "row " << c.row << " " << c.code;
}

class TableRow : public testing::TestWithParam<RowCase> {};

TEST_P(TableRow, IsExactlyAsWritten) {
    const CodeEntry& entry = GetParam().table->getEntry(GetParam().row);
    EXPECT_EQ(entry.Code, GetParam().code);
    EXPECT_EQ(entry.Description, GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, TableRow,
    testing::Values(RowCase{&TermFeelingTable, 1, "m-", "If someone calls you a glomie, you go ballistic"},
                    RowCase{&SenshiTable, 18, "Cc", "ChibiChibi, not Mirella Vantoni -.^"},
                    RowCase{&VillianTable, 15, "Ru", "Rubeus/Rubius[sp?]"},
                    RowCase{&VillianTable, 53, "Zz", "Other villain, not on the list(one of the MotDs? ^^;)"},
                    RowCase{&AssistTable, 22, "Zz", "other supporting character"},
                    RowCase{&AssistTable, 23, "Ch", "grown-up Chibiusa[SuperS #16o?]"},
                    RowCase{&PartTable, 9, "Gx", "Galaxia/Starlights arc of SM*"},
                    RowCase{&TrendTable, 1, "", "Stable"}, RowCase{&HairColorTable, 0, "Bl", "Blond"},
                    RowCase{&GroupTable, 3, "Bl", "Black.[African, African-American.]"},
                    RowCase{&GroupTable, 9, "In", "Indian. Ancestry from India, Bangledesh, or that area."},
                    RowCase{&PreferenceTable, 1, "", "( ) Negotiable"},
                    RowCase{&StatusTable, 2, "+", "(+) Available"},
                    RowCase{&GenderTable, 2, "z",
                            "Either you don't want to disclose your gender or you're Starlights' relative"},
                    RowCase{&KinkTable, 3, "A", "One of the Moderate Aliens"},
                    RowCase{&ObsessionTable, 2, "2", "You think it's just another TV show."}));

TEST(CodeTables, ObsessionTextsKeepDoubleSpacesQuotesAndUnderscores) {
    for (int32_t row = 4; row <= 10; ++row)
        EXPECT_NE(ObsessionTable.getEntry(row).Description.find("  "), std::string::npos) << row;
    EXPECT_NE(ObsessionTable.getEntry(6).Description.find("\"that Sailor Moon freak\""), std::string::npos);
    EXPECT_NE(ObsessionTable.getEntry(9).Description.find("Tarvell's \"YKYWTMSMW..\""), std::string::npos);
    EXPECT_EQ(ObsessionTable.getEntry(9).Description.rfind("_You_ go into labor", 0), 0u);
}

TEST(CodeTables, CodesAreUniqueWithinTheCharacterTables) {
    for (const CodeTable* table : {&SenshiTable, &VillianTable, &AssistTable}) {
        for (int32_t i = 1; i < table->count(); ++i)
            for (int32_t j = i + 1; j < table->count(); ++j)
                EXPECT_NE(table->getEntry(i).Code, table->getEntry(j).Code) << i << " " << j;
    }
}

struct DescriptionCase {
    int64_t level;
    int32_t row;
    const char* suffix;
};

std::ostream& operator<<(std::ostream& os, const DescriptionCase& c) {
    return os << "level " << c.level;
}

class ObsessionLevel : public testing::TestWithParam<DescriptionCase> {};

TEST_P(ObsessionLevel, ReadsAsRowWithThirdStep) {
    const std::string expected = ObsessionTable.getEntry(GetParam().row).Description + GetParam().suffix;
    EXPECT_EQ(ObsessionDescription(GetParam().level), expected);
}

INSTANTIATE_TEST_SUITE_P(Levels, ObsessionLevel,
                         testing::Values(DescriptionCase{0, 0, ""}, DescriptionCase{1, 0, "(+)"},
                                         DescriptionCase{2, 1, "(-)"}, DescriptionCase{3, 1, ""},
                                         DescriptionCase{4, 1, "(+)"}, DescriptionCase{15, 5, ""},
                                         DescriptionCase{14, 5, "(-)"}, DescriptionCase{29, 10, "(-)"},
                                         DescriptionCase{30, 10, ""}, DescriptionCase{31, 10, "(+)"},
                                         DescriptionCase{32, 10, "(-)"},
                                         DescriptionCase{2147483647, 10, "(+)"}));

} // namespace
