#include <gtest/gtest.h>

#include "code/Notation.h"
#include "vocabulary/Tables.h"

namespace {

struct LiteralCase {
    const char* literal;
    const char* code;
    const char* description;
};

std::ostream& operator<<(std::ostream& os, const LiteralCase& c) { return os << "code " << c.code; }

class CodeEntryLiteral : public testing::TestWithParam<LiteralCase> {};

TEST_P(CodeEntryLiteral, SplitsAtTheFirstLineFeed) {
    const CodeEntry entry(GetParam().literal);
    EXPECT_EQ(entry.m_strCode, GetParam().code);
    EXPECT_EQ(entry.m_strDescription, GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(Literals, CodeEntryLiteral,
                         testing::Values(LiteralCase{"\n", "", ""},
                                         LiteralCase{"Mo\nSailor Moon/Tsukino Usagi/Serena", "Mo",
                                                     "Sailor Moon/Tsukino Usagi/Serena"},
                                         LiteralCase{"\nStable", "", "Stable"},
                                         LiteralCase{"a\nb\nc", "a", "b\nc"},
                                         LiteralCase{"abc", "", "abc"}));

struct TableSize {
    const CodeTable* table;
    int32_t rows;
    bool emptyFirstRow;
};

TEST(CodeTables, RowCountsAndFirstRows) {
    const TableSize sizes[] = {
        {&TermFeelingTable, 3, true}, {&SenshiTable, 19, true},       {&VillianTable, 54, true},
        {&AssistTable, 24, true},     {&PartTable, 10, true},         {&TrendTable, 3, false},
        {&EyeColorTable, 7, true},    {&HairColorTable, 10, false},   {&ColorAdjTable, 3, true},
        {&GroupTable, 10, true},      {&BloodTypeTable, 4, false},    {&BloodTypeSignTable, 3, true},
        {&SignTable, 12, false},      {&PreferenceTable, 3, false},   {&StatusTable, 3, false},
        {&GenderTable, 3, false},     {&KinkTable, 4, true},          {&ObsessionTable, 11, false},
    };
    int32_t total = 0;
    for (const TableSize& size : sizes) {
        EXPECT_EQ(size.table->m_nCount, size.rows);
        const CodeEntry& first = size.table->GetEntry(0);
        EXPECT_EQ(first.m_strCode.empty() && first.m_strDescription.empty(), size.emptyFirstRow)
            << "table with " << size.rows << " rows";
        total += size.table->m_nCount;
    }
    EXPECT_EQ(total, 186);
}

TEST(CodeTables, GetEntryClamps) {
    EXPECT_EQ(&SenshiTable.GetEntry(-1), &SenshiTable.GetEntry(0));
    EXPECT_EQ(&SenshiTable.GetEntry(-100), &SenshiTable.GetEntry(0));
    EXPECT_EQ(SenshiTable.GetEntry(SenshiTable.m_nCount).m_strCode, "Cc");
    EXPECT_EQ(SenshiTable.GetEntry(1000).m_strCode, "Cc");
    EXPECT_EQ(VillianTable.GetEntry(54).m_strCode, "Zz");
    EXPECT_EQ(VillianTable.GetEntry(INT64_MIN).m_strCode, "");
    EXPECT_EQ(SignTable.GetEntry(-1).m_strDescription, "Aries [march 21 -- april 19]");
    EXPECT_EQ(SignTable.GetEntry(12).m_strDescription, "Pisces [february 19 -- march 20]");
}

struct RowCase {
    const CodeTable* table;
    int32_t row;
    const char* code;
    const char* description;
};

std::ostream& operator<<(std::ostream& os, const RowCase& c) { return os << "row " << c.row << " " << c.code; }

class TableRow : public testing::TestWithParam<RowCase> {};

TEST_P(TableRow, IsExactlyAsWritten) {
    const CodeEntry& entry = GetParam().table->GetEntry(GetParam().row);
    EXPECT_EQ(entry.m_strCode, GetParam().code);
    EXPECT_EQ(entry.m_strDescription, GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, TableRow,
    testing::Values(
        RowCase{&TermFeelingTable, 1, "m-", "If someone calls you a glomie, you go ballistic"},
        RowCase{&SenshiTable, 18, "Cc", "ChibiChibi, not Mirella Vantoni -.^"},
        RowCase{&VillianTable, 15, "Ru", "Rubeus/Rubius[sp?]"},
        RowCase{&VillianTable, 53, "Zz", "Other villain, not on the list(one of the MotDs? ^^;)"},
        RowCase{&AssistTable, 22, "Zz", "other supporting character"},
        RowCase{&AssistTable, 23, "Ch", "grown-up Chibiusa[SuperS #16o?]"},
        RowCase{&PartTable, 9, "Gx", "Galaxia/Starlights arc of SM*"},
        RowCase{&TrendTable, 1, "", "Stable"},
        RowCase{&HairColorTable, 0, "Bl", "Blond"},
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
        EXPECT_NE(ObsessionTable.GetEntry(row).m_strDescription.find("  "), std::string::npos) << row;
    EXPECT_NE(ObsessionTable.GetEntry(6).m_strDescription.find("\"that Sailor Moon freak\""), std::string::npos);
    EXPECT_NE(ObsessionTable.GetEntry(9).m_strDescription.find("Tarvell's \"YKYWTMSMW..\""), std::string::npos);
    EXPECT_EQ(ObsessionTable.GetEntry(9).m_strDescription.rfind("_You_ go into labor", 0), 0u);
}

TEST(CodeTables, CodesAreUniqueWithinTheCharacterTables) {
    for (const CodeTable* table : {&SenshiTable, &VillianTable, &AssistTable}) {
        for (int32_t i = 1; i < table->m_nCount; ++i)
            for (int32_t j = i + 1; j < table->m_nCount; ++j)
                EXPECT_NE(table->GetEntry(i).m_strCode, table->GetEntry(j).m_strCode) << i << " " << j;
    }
}

struct DescriptionCase {
    int64_t level;
    int32_t row;
    const char* suffix;
};

std::ostream& operator<<(std::ostream& os, const DescriptionCase& c) { return os << "level " << c.level; }

class ObsessionLevel : public testing::TestWithParam<DescriptionCase> {};

TEST_P(ObsessionLevel, ReadsAsRowWithThirdStep) {
    const std::string expected = ObsessionTable.GetEntry(GetParam().row).m_strDescription + GetParam().suffix;
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
