#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Small pieces of the English the decoder writes its sentences in. Everything appends to the
// sentence being written, so a sentence costs one allocation.

// A sentence buffer with room for most sentences.
std::string NewSentence(std::string_view start);

// "12", "-3".
void AppendLongNumber(std::string& text, long long value);
inline void AppendNumber(std::string& text, long long value) {
    if (value >= 0 && value < 10) // nearly every number in a sentence
        text += static_cast<char>('0' + value);
    else
        AppendLongNumber(text, value);
}

// "+2", "0", "-1".
void AppendSigned(std::string& text, int value);

// ", tuned up by 2", ", tuned down by 1", or nothing for 0.
void AppendTune(std::string& text, int tune);

// " (beyond what the page offers)" when the answer is outside the page's range; the encoder writes
// such answers from stored settings.
void AppendBeyond(std::string& text, bool beyond);

// "+2 on a scale from -3 to 4, tuned down by 1", noting a level or tune past the scale.
void AppendLevel(std::string& text, int value, int minimum, int maximum, int tune);

// "intensity 2 of 4, tuned up by 1", noting an intensity and tune past the maximum.
void AppendIntensity(std::string& text, int run, int maximum, int tune);

// The text with its first letter in lower case ("Stable" -> "stable").
void AppendLowerFirst(std::string& text, std::string_view words);

// Writes the separators of a list of `count` items: "A", "A and B", "A, B and C". Call Next()
// before each item.
class ListSeparators {
  public:
    ListSeparators(std::string& text, size_t count) : m_text(text), m_count(count) {}
    void Next() {
        if (m_done > 0)
            m_text += m_done + 1 == m_count ? " and " : ", ";
        ++m_done;
    }

  private:
    std::string& m_text;
    size_t m_count;
    size_t m_done = 0;
};
