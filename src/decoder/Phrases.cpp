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
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text += std::string_view(digits, static_cast<size_t>(end - digits));
}

void AppendSigned(TextWriter& text, int value) {
    if (value > 0)
        text += '+';
    AppendNumber(text, value);
}

void AppendTune(TextWriter& text, int tune) {
    if (tune == 0)
        return;
    text += tune > 0 ? ", tuned up by " : ", tuned down by ";
    AppendNumber(text, tune > 0 ? tune : -static_cast<long long>(tune));
}

void AppendBeyond(TextWriter& text, bool beyond) {
    if (beyond)
        text += " (beyond what the page offers)";
}

void AppendLevel(TextWriter& text, int value, int minimum, int maximum, int tune) {
    AppendSigned(text, value);
    text += " on a scale from ";
    AppendNumber(text, minimum);
    text += " to ";
    AppendNumber(text, maximum);
    AppendTune(text, tune);
    const long long tuned = static_cast<long long>(value) + tune;
    AppendBeyond(text, value < minimum || value > maximum || tuned < minimum || tuned > maximum);
}

void AppendIntensity(TextWriter& text, int run, int maximum, int tune) {
    text += "intensity ";
    AppendNumber(text, run);
    text += " of ";
    AppendNumber(text, maximum);
    AppendTune(text, tune);
    AppendBeyond(text, static_cast<long long>(run) + tune > maximum);
}

void AppendLowerFirst(TextWriter& text, std::string_view words) {
    if (words.empty())
        return;
    text += LowerCase(words[0]);
    text += words.substr(1);
}
