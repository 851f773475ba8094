// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "vocabulary/CodeTable.h"

// Reads one subsection of a code (the text between two ':'). When an attempt fails, the reader
// remembers the furthest position any attempt reached and what was expected there: that is where a
// person reading the code would say it stops making sense.
class CodeReader {
  public:
    explicit CodeReader(std::string_view text) : m_text(text) {}

    std::string_view text() const { return m_text; }
    size_t pos() const { return m_pos; }
    void seek(size_t pos) { m_pos = pos; }
    void skip(size_t count) { m_pos += count; }
    bool atEnd() const { return m_pos >= m_text.size(); }
    // The character `ahead` places on, or '\0' past the end.
    char peek(size_t ahead = 0) const { return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0'; }
    bool peekDigit() const { return !atEnd() && peek() >= '0' && peek() <= '9'; }
    std::string_view rest() const { return m_text.substr(m_pos < m_text.size() ? m_pos : m_text.size()); }
    bool accept(char c) {
        if (atEnd() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }
    // Consumes every repeat of the symbol and returns how many there were.
    int repeat(char symbol) {
        const size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] == symbol)
            ++m_pos;
        return static_cast<int>(std::min<size_t>(m_pos - start, std::numeric_limits<int>::max()));
    }

    // Both return false, so a reader can `return r.fail(...)`. The message must outlive the reader:
    // every message is a literal, and readers try many readings, so keeping one costs no copy.
    bool fail(std::string_view message) { return failAt(m_pos, message); }
    bool failAt(size_t pos, std::string_view message);
    bool expectEnd() { return atEnd() || fail("did not expect this here"); }

    bool failed() const { return m_failed; }
    size_t failPos() const { return m_failPos; }
    std::string_view failMessage() const { return m_failMessage; }

  private:
    std::string_view m_text;
    size_t m_pos = 0;
    bool m_failed = false;
    size_t m_failPos = 0;
    std::string_view m_failMessage;
};

// A run of one symbol with an optional bracketed tune: "++[+]". For an inverted slider the caller
// turns Run back into a slider position.
struct TunedRun {
    int Run = 0;
    int Tune = 0;
};

// Runs and tunes are read as long as the encoder ever writes them, also past what a page's slider
// offers: the encoder writes such values from stored settings, and they read back exactly. Whether
// they are within the page's range only matters to the sentence.

// Symbols, then optionally "[" symbols "]" (at least one). The symbol is '+' or '-'.
bool ReadTunedRun(CodeReader& r, char symbol, TunedRun& out);

// A signed run "--[+]": Run is the value (+ or - signs), Tune the bracket's.
bool ReadSignedRun(CodeReader& r, TunedRun& out);

// A decimal number as "%d" writes a non-negative one: no sign, no leading zeros.
bool ReadNumber(CodeReader& r, int& out);

// The rows of one vocabulary table by their code letters.
class CodeIndex {
  public:
    explicit CodeIndex(const CodeTable& table);

    static constexpr int kMaxMatches = 4;
    // The rows whose non-empty code begins the text, longest code first; returns how many.
    int rowsStarting(std::string_view text, int (&rows)[kMaxMatches]) const;

    const CodeTable& table() const { return *m_table; }
    const std::string& code(int row) const { return m_table->getEntry(row).Code; }
    // The length of a row's code, for a row Find gave.
    size_t codeLength(int row) const { return m_codeLength[static_cast<size_t>(row)]; }
    const std::string& description(int row) const { return m_table->getEntry(row).Description; }

  private:
    struct Entry {
        std::string_view Code;
        int Row;
    };
    static bool starts(std::string_view text, std::string_view code);
    const CodeTable* m_table;
    std::vector<Entry> m_entries;     // by first character, longer codes first
    std::vector<uint16_t> m_firstOf;  // 257 bounds into m_entries, indexed by the first character
    std::vector<size_t> m_codeLength; // by row
};

// The indexes of the tables a code's letters come from, built on first use.
struct Vocabulary {
    CodeIndex TermFeeling, Obsession, Senshi, Villian, Assist, Part, EyeColor, HairColor, ColorAdj, Group,
        BloodType, BloodTypeSign, Sign, Gender, Kink;
};
const Vocabulary& BuildVocabulary();
// Inline, so that the many uses check a flag and make no call.
inline const Vocabulary& Vocab() {
    static const Vocabulary& vocabulary = BuildVocabulary();
    return vocabulary;
}

// The row of the longest code of the table that starts here, or -1 (failing with `expected`) when
// none does. For the tables read this way no code is the start of another that could follow it, so
// the longest code is the only reading.
int ReadCode(CodeReader& r, const CodeIndex& index, std::string_view expected);
// The same for an answer that may be left out: row 0 (the table's empty row) when no code starts here.
int ReadOptionalCode(CodeReader& r, const CodeIndex& index);

// A bit list: codes of rows 1.. of the table in ascending order, each at most once, filling the text
// up to `end` exactly. Longer codes are tried first, and a shorter one where the longer leaves no
// reading ("SSS" is S then SS).
bool ReadBitList(CodeReader& r, const CodeIndex& index, size_t end, uint32_t& mask);
