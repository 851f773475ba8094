// SPDX-License-Identifier: MIT
#include "decoder/CodeReader.h"

#include <algorithm>
#include <limits>

#include "code/Notation.h"
#include "vocabulary/Tables.h"

bool CodeReader::failAt(size_t pos, std::string_view message) {
    // The furthest failure wins; of two at the same place, the first one said it best.
    if (!m_failed || pos > m_failPos) {
        m_failed = true;
        m_failPos = pos;
        m_failMessage = message;
    }
    return false;
}

namespace {

// The longest run the encoder writes; a longer one is no code of ours.
[[gnu::always_inline]] inline bool ReadRun(CodeReader& r, char symbol, int& count) {
    const size_t start = r.pos();
    count = r.repeat(symbol);
    if (count > kMaxRunLength)
        return r.failAt(start + kMaxRunLength, "a run longer than any code has");
    return true;
}

// "[" symbols "]" after a run; tune stays 0 when there is no bracket.
bool ReadBracket(CodeReader& r, char plus, char minus, int& tune) {
    if (!r.accept('['))
        return true;
    const char symbol = r.peek();
    int count = 0;
    if ((symbol == plus || (minus != '\0' && symbol == minus)) && !r.atEnd() && !ReadRun(r, symbol, count))
        return false;
    if (count == 0)
        return r.fail(minus != '\0' ? "expected '+' or '-' in the tune bracket"
                      : plus == '-' ? "expected '-' in the tune bracket"
                                    : "expected '+' in the tune bracket");
    if (!r.accept(']'))
        return r.fail("expected ']' to close the tune bracket");
    tune = symbol == plus ? count : -count;
    return true;
}

} // namespace

bool ReadTunedRun(CodeReader& r, char symbol, TunedRun& out) {
    TunedRun read;
    if (!ReadRun(r, symbol, read.Run) || (r.peek() == '[' && !ReadBracket(r, symbol, '\0', read.Tune)))
        return false;
    out = read;
    return true;
}

bool ReadSignedRun(CodeReader& r, TunedRun& out) {
    TunedRun read;
    const char sign = r.peek();
    if ((sign == '+' || sign == '-') && !r.atEnd()) {
        if (!ReadRun(r, sign, read.Run))
            return false;
        read.Run = sign == '+' ? read.Run : -read.Run;
    }
    if (r.peek() == '[' && !ReadBracket(r, '+', '-', read.Tune))
        return false;
    out = read;
    return true;
}

bool ReadNumber(CodeReader& r, int& out) {
    const size_t start = r.pos();
    if (!r.peekDigit())
        return r.fail("expected a number");
    int64_t value = 0;
    while (r.peekDigit()) {
        if (r.pos() == start + 1 && value == 0)
            return r.fail("numbers are written without leading zeros");
        value = value * 10 + (r.peek() - '0');
        if (value > std::numeric_limits<int32_t>::max())
            return r.failAt(start, "a number larger than any code has");
        r.skip(1);
    }
    out = static_cast<int>(value);
    return true;
}

CodeIndex::CodeIndex(const CodeTable& table) : m_table(&table), m_firstOf(257, 0) {
    for (int row = 0; row < table.count(); ++row) {
        const std::string& code = table.getEntry(row).Code;
        m_codeLength.push_back(code.size());
        if (!code.empty())
            m_entries.push_back({code, row});
    }
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
        const auto first = [](const Entry& e) { return static_cast<unsigned char>(e.Code[0]); };
        return first(a) != first(b) ? first(a) < first(b) : a.Code.size() > b.Code.size();
    });
    size_t i = 0;
    for (int c = 0; c < 256; ++c) {
        m_firstOf[static_cast<size_t>(c)] = static_cast<uint16_t>(i);
        while (i < m_entries.size() && static_cast<unsigned char>(m_entries[i].Code[0]) == c)
            ++i;
    }
    m_firstOf[256] = static_cast<uint16_t>(i);
}

// Codes are a character or two: comparing them in place beats a call to memcmp.
bool CodeIndex::starts(std::string_view text, std::string_view code) {
    if (code.size() > text.size())
        return false;
    for (size_t i = 1; i < code.size(); ++i) {
        if (text[i] != code[i])
            return false;
    }
    return true; // the first characters are equal: the entries are indexed by them
}

int CodeIndex::rowsStarting(std::string_view text, int (&rows)[kMaxMatches]) const {
    if (text.empty())
        return 0;
    const auto first = static_cast<unsigned char>(text[0]);
    const Entry* entry = m_entries.data() + m_firstOf[first];
    const Entry* const last = m_entries.data() + m_firstOf[first + 1u];
    // Nearly every code is one or two letters.
    const char second = text.size() > 1 ? text[1] : '\0';
    int count = 0;
    for (; entry != last && count < kMaxMatches; ++entry) {
        const size_t size = entry->Code.size();
        if (size == 1 ||
            (size == 2 ? text.size() > 1 && entry->Code[1] == second : starts(text, entry->Code)))
            rows[count++] = entry->Row;
    }
    return count;
}

const Vocabulary& BuildVocabulary() {
    static const Vocabulary vocabulary{
        CodeIndex(TermFeelingTable), CodeIndex(ObsessionTable), CodeIndex(SenshiTable),
        CodeIndex(VillianTable),     CodeIndex(AssistTable),    CodeIndex(PartTable),
        CodeIndex(EyeColorTable),    CodeIndex(HairColorTable), CodeIndex(ColorAdjTable),
        CodeIndex(GroupTable),       CodeIndex(BloodTypeTable), CodeIndex(BloodTypeSignTable),
        CodeIndex(SignTable),        CodeIndex(GenderTable),    CodeIndex(KinkTable),
    };
    return vocabulary;
}

int ReadCode(CodeReader& r, const CodeIndex& index, std::string_view expected) {
    int rows[CodeIndex::kMaxMatches];
    if (index.rowsStarting(r.rest(), rows) == 0) {
        r.fail(expected);
        return -1;
    }
    r.skip(index.codeLength(rows[0]));
    return rows[0];
}

int ReadOptionalCode(CodeReader& r, const CodeIndex& index) {
    int rows[CodeIndex::kMaxMatches];
    if (index.rowsStarting(r.rest(), rows) == 0)
        return 0;
    r.skip(index.codeLength(rows[0]));
    return rows[0];
}

namespace {

// Rows strictly increase, so the depth is bounded by the table's size whatever the text.
bool BitListFrom(CodeReader& r, const CodeIndex& index, size_t pos, size_t end, int lastRow, uint32_t& mask) {
    if (pos == end)
        return true;
    int rows[CodeIndex::kMaxMatches];
    const int matches = index.rowsStarting(r.text().substr(pos, end - pos), rows);
    bool any = false;
    for (int m = 0; m < matches; ++m) {
        if (rows[m] <= lastRow || rows[m] > 32)
            continue;
        any = true;
        uint32_t rest = 0;
        if (BitListFrom(r, index, pos + index.codeLength(rows[m]), end, rows[m], rest)) {
            mask = rest | (uint32_t{1} << (rows[m] - 1));
            return true;
        }
    }
    return r.failAt(pos, !any && matches > 0 ? "each code is listed once, in the order of its table"
                                             : "expected a code of the list");
}

} // namespace

bool ReadBitList(CodeReader& r, const CodeIndex& index, size_t end, uint32_t& mask) {
    uint32_t found = 0;
    if (!BitListFrom(r, index, r.pos(), end, 0, found))
        return false;
    mask = found;
    r.seek(end);
    return true;
}
