// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Small pieces of the English the decoder writes its sentences in. Everything appends to the
// text being written, so the sentences of a code share one buffer.

// Collects the text of the sentences. Appending a phrase is a bounds check and a copy, where a
// std::string append costs a call and several checks more, and a code says a lot of phrases. The
// text of a code with every subsection fits in the writer itself, so it costs no allocation and
// no zeroing.
class TextWriter {
  public:
    TextWriter() = default;
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    size_t size() const { return m_size; }
    std::string_view written() const { return {m_data, m_size}; }
    void truncate(size_t size) { m_size = size < m_size ? size : m_size; }
    bool endsWith(char c) const { return m_size > 0 && m_data[m_size - 1] == c; }

    [[gnu::always_inline]] TextWriter& operator+=(std::string_view words) {
        if (m_capacity - m_size < words.size())
            grow(words.size());
        std::memcpy(m_data + m_size, words.data(), words.size());
        m_size += words.size();
        return *this;
    }
    // A literal's length is known here, so its copy is a few moves.
    template <size_t N> [[gnu::always_inline]] TextWriter& operator+=(const char (&words)[N]) {
        return *this += std::string_view(words, N - 1);
    }
    // Room for `count` more characters, for the caller to fill.
    [[gnu::always_inline]] char* extend(size_t count) {
        if (m_capacity - m_size < count)
            grow(count);
        m_size += count;
        return m_data + m_size - count;
    }
    [[gnu::always_inline]] TextWriter& operator+=(char c) {
        if (m_size == m_capacity)
            grow(1);
        m_data[m_size++] = c;
        return *this;
    }

  private:
    void grow(size_t more);

    char m_local[4096];
    std::string m_heap; // once the text outgrows m_local
    char* m_data = m_local;
    size_t m_size = 0;
    size_t m_capacity = sizeof m_local;
};

// "12", "-3".
void AppendLongNumber(TextWriter& text, long long value);
inline void AppendNumber(TextWriter& text, long long value) {
    // Nearly every number in a sentence is a digit, or a digit with a minus.
    if (value > -10 && value < 10) {
        if (value < 0)
            text += '-';
        text += static_cast<char>('0' + (value < 0 ? -value : value));
    } else {
        AppendLongNumber(text, value);
    }
}

// "+2", "0", "-1".
inline void AppendSigned(TextWriter& text, int value) {
    if (value > 0)
        text += '+';
    AppendNumber(text, value);
}

// ", tuned up by 2", ", tuned down by 1", or nothing for 0.
void AppendTuneWords(TextWriter& text, int tune);
inline void AppendTune(TextWriter& text, int tune) {
    if (tune != 0) // as a rule
        AppendTuneWords(text, tune);
}

// " (beyond what the page offers)" when the answer is outside the page's range; the encoder writes
// such answers from stored settings.
inline void AppendBeyond(TextWriter& text, bool beyond) {
    if (beyond)
        text += " (beyond what the page offers)";
}

// "+2 on a scale from -3 to 4, tuned down by 1", noting a level or tune past the scale.
void AppendLevel(TextWriter& text, int value, int minimum, int maximum, int tune);

// "intensity 2 of 4, tuned up by 1", noting an intensity and tune past the maximum.
void AppendIntensity(TextWriter& text, int run, int maximum, int tune);

inline char LowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text with its first letter in lower case ("Stable" -> "stable").
void AppendLowerFirst(TextWriter& text, std::string_view words);

// Writes the separators of a list of `count` items: "A", "A and B", "A, B and C". Call next()
// before each item.
class ListSeparators {
  public:
    ListSeparators(TextWriter& text, size_t count) : m_text(text), m_count(count) {}
    void next() {
        if (m_done > 0)
            m_text += m_done + 1 == m_count ? std::string_view(" and ") : ", ";
        ++m_done;
    }

  private:
    TextWriter& m_text;
    size_t m_count;
    size_t m_done = 0;
};
