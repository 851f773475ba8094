#include "decoder/Phrases.h"

#include <algorithm>
#include <charconv>

void TextWriter::Grow(size_t more) {
    std::string bigger(std::max(m_size + more, 2 * m_capacity), '\0');
    std::memcpy(bigger.data(), m_data, m_size);
    m_heap.swap(bigger);
    m_data = m_heap.data();
    m_capacity = m_heap.size();
}

void AppendLongNumber(TextWriter& text, long long value) {
    if (value >= 10 && value < 1000) { // episodes, years, pounds
        const bool three = value >= 100;
        char* at = text.Extend(three ? 3 : 2);
        if (three)
            *at++ = static_cast<char>('0' + value / 100);
        at[0] = static_cast<char>('0' + value / 10 % 10);
        at[1] = static_cast<char>('0' + value % 10);
        return;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text += std::string_view(digits, static_cast<size_t>(end - digits));
}

void AppendSigned(TextWriter& text, int value) {
    if (value > 0)
        text += '+';
    AppendNumber(text, value);
}

void AppendTuneWords(TextWriter& text, int tune) {
    if (tune > 0 && tune < 10) {
        static constexpr std::string_view kUp = ", tuned up by 0";
        char* const at = text.Extend(kUp.size());
        std::memcpy(at, kUp.data(), kUp.size());
        at[kUp.size() - 1] = static_cast<char>('0' + tune);
        return;
    }
    text += tune > 0 ? ", tuned up by " : ", tuned down by ";
    AppendNumber(text, tune > 0 ? tune : -static_cast<long long>(tune));
}

void AppendLevel(TextWriter& text, int value, int minimum, int maximum, int tune) {
    AppendSigned(text, value);
    if (minimum >= -9 && minimum < 0 && maximum >= 0 && maximum <= 9) {
        // Every scale of the pages: one copy, and its two digits put in.
        static constexpr std::string_view kScale = " on a scale from -0 to 0";
        char* const at = text.Extend(kScale.size());
        std::memcpy(at, kScale.data(), kScale.size());
        at[kScale.size() - 6] = static_cast<char>('0' - minimum);
        at[kScale.size() - 1] = static_cast<char>('0' + maximum);
    } else {
        text += " on a scale from ";
        AppendNumber(text, minimum);
        text += " to ";
        AppendNumber(text, maximum);
    }
    AppendTune(text, tune);
    const long long tuned = static_cast<long long>(value) + tune;
    AppendBeyond(text, value < minimum || value > maximum || tuned < minimum || tuned > maximum);
}

void AppendIntensity(TextWriter& text, int run, int maximum, int tune) {
    if (run >= 0 && run <= 9 && maximum >= 0 && maximum <= 9) {
        // Nearly every intensity: one copy, and its two digits put in.
        static constexpr std::string_view kIntensity = "intensity 0 of 0";
        char* const at = text.Extend(kIntensity.size());
        std::memcpy(at, kIntensity.data(), kIntensity.size());
        at[kIntensity.size() - 6] = static_cast<char>('0' + run);
        at[kIntensity.size() - 1] = static_cast<char>('0' + maximum);
    } else {
        text += "intensity ";
        AppendNumber(text, run);
        text += " of ";
        AppendNumber(text, maximum);
    }
    AppendTune(text, tune);
    AppendBeyond(text, static_cast<long long>(run) + tune > maximum);
}

void AppendLowerFirst(TextWriter& text, std::string_view words) {
    if (words.empty())
        return;
    text += LowerCase(words[0]);
    text += words.substr(1);
}
