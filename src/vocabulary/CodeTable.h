#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// One row of a vocabulary table: the code letters an answer contributes to the code, and the text the
// user sees for it. A row is written as one literal, "<code>\n<description>".
class CodeEntry {
public:
    explicit CodeEntry(std::string_view literal);
    virtual ~CodeEntry() = default;

    std::string m_strCode;
    std::string m_strDescription;
};

// A fixed table of rows. Answers are row indices; GetEntry clamps, so a damaged index reads as the
// nearest real row instead of failing.
class CodeTable {
public:
    CodeTable(const CodeEntry* entries, int32_t count) : m_nCount(count), m_pEntries(entries) {}
    virtual ~CodeTable() = default;

    // Takes 64 bits so that sums and differences of damaged 32-bit answers clamp instead of wrapping.
    const CodeEntry& GetEntry(int64_t index) const {
        if (index <= 0)
            return m_pEntries[0];
        if (index >= m_nCount - 1)
            return m_pEntries[m_nCount - 1];
        return m_pEntries[index];
    }

    int32_t m_nCount;
    const CodeEntry* m_pEntries;
};
