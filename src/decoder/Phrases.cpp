// SPDX-License-Identifier: MIT
#include "decoder/Phrases.h"

#include <algorithm>
#include <charconv>

void TextWriter::grow(size_t more) {
    std::string bigger(std::max(m_size + more, 2 * m_capacity), '\0');
    std::memcpy(bigger.data(), m_data, m_size);
    m_heap.swap(bigger);
    m_data = m_heap.data();
    m_capacity = m_heap.size();
}

namespace {

char Digit(long long value) {
    return static_cast<char>('0' + value);
}

// lead, a number, middle, a number: " on a scale from -3 to 4", "intensity 2 of 4".
void AppendNumberPair(TextWriter& text, std::string_view lead, long long first, std::string_view middle,
                      long long second) {
    text += lead;
    AppendNumber(text, first);
    text += middle;
    AppendNumber(text, second);
}

// The same for a pair of digits: the phrase copied whole, and its digits put in at their places.
void AppendDigitPair(TextWriter& text, std::string_view phrase, size_t firstAt, long long first,
                     size_t secondAt, long long second) {
    char* const at = text.extend(phrase.size());
    std::memcpy(at, phrase.data(), phrase.size());
    at[firstAt] = Digit(first);
    at[secondAt] = Digit(second);
}

} // namespace

void AppendLongNumber(TextWriter& text, long long value) {
    if (value >= 10 && value < 1000) { // episodes, years, pounds
        const bool three = value >= 100;
        char* at = text.extend(three ? 3 : 2);
        if (three)
            *at++ = Digit(value / 100);
        at[0] = Digit(value / 10 % 10);
        at[1] = Digit(value % 10);
        return;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text += std::string_view(digits, static_cast<size_t>(end - digits));
}

void AppendTuneWords(TextWriter& text, int tune) {
    if (tune > 0 && tune < 10) {
        // One copy, and the digit put in.
        static constexpr std::string_view kUp = ", tuned up by 0";
        char* const at = text.extend(kUp.size());
        std::memcpy(at, kUp.data(), kUp.size());
        at[kUp.size() - 1] = Digit(tune);
        return;
    }
    text += tune > 0 ? ", tuned up by " : ", tuned down by ";
    AppendNumber(text, tune > 0 ? tune : -static_cast<long long>(tune));
}

void AppendLevel(TextWriter& text, int value, int minimum, int maximum, int tune) {
    AppendSigned(text, value);
    if (minimum > -10 && minimum < 0 && maximum >= 0 && maximum < 10) // every scale of the pages
        AppendDigitPair(text, " on a scale from -0 to 0", 18, -minimum, 23, maximum);
    else
        AppendNumberPair(text, " on a scale from ", minimum, " to ", maximum);
    AppendTune(text, tune);
    const long long tuned = static_cast<long long>(value) + tune;
    AppendBeyond(text, value < minimum || value > maximum || tuned < minimum || tuned > maximum);
}

void AppendIntensity(TextWriter& text, int run, int maximum, int tune) {
    if (run >= 0 && run < 10 && maximum >= 0 && maximum < 10) // nearly every intensity
        AppendDigitPair(text, "intensity 0 of 0", 10, run, 15, maximum);
    else
        AppendNumberPair(text, "intensity ", run, " of ", maximum);
    AppendTune(text, tune);
    AppendBeyond(text, static_cast<long long>(run) + tune > maximum);
}

void AppendLowerFirst(TextWriter& text, std::string_view words) {
    if (words.empty())
        return;
    text += LowerCase(words[0]);
    text += words.substr(1);
}
