// SPDX-License-Identifier: MIT
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

    std::string Code;        // the letters in the code
    std::string Description; // what the user reads
};

// A fixed table of rows. Answers are row indices; getEntry clamps, so a damaged index reads as the
// nearest real row instead of failing.
class CodeTable {
  public:
    CodeTable(const CodeEntry* entries, int32_t count) : m_count(count), m_entries(entries) {}
    virtual ~CodeTable() = default;

    // Takes 64 bits so that sums and differences of damaged 32-bit answers clamp instead of wrapping.
    const CodeEntry& getEntry(int64_t index) const {
        if (index <= 0)
            return m_entries[0];
        if (index >= m_count - 1)
            return m_entries[m_count - 1];
        return m_entries[index];
    }
    int32_t count() const { return m_count; }

  private:
    int32_t m_count;
    const CodeEntry* m_entries;
};
