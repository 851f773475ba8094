#include "decoder/Phrases.h"

#include <charconv>

std::string NewSentence(std::string_view start) {
    std::string text;
    text.reserve(start.size() + 120);
    text += start;
    return text;
}

void AppendLongNumber(std::string& text, long long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

void AppendSigned(std::string& text, int value) {
    if (value > 0)
        text += '+';
    AppendNumber(text, value);
}

void AppendTune(std::string& text, int tune) {
    if (tune == 0)
        return;
    text += tune > 0 ? ", tuned up by " : ", tuned down by ";
    AppendNumber(text, tune > 0 ? tune : -static_cast<long long>(tune));
}

void AppendBeyond(std::string& text, bool beyond) {
    if (beyond)
        text += " (beyond what the page offers)";
}

void AppendLevel(std::string& text, int value, int minimum, int maximum, int tune) {
    AppendSigned(text, value);
    text += " on a scale from ";
    AppendNumber(text, minimum);
    text += " to ";
    AppendNumber(text, maximum);
    AppendTune(text, tune);
    const long long tuned = static_cast<long long>(value) + tune;
    AppendBeyond(text, value < minimum || value > maximum || tuned < minimum || tuned > maximum);
}

void AppendIntensity(std::string& text, int run, int maximum, int tune) {
    text += "intensity ";
    AppendNumber(text, run);
    text += " of ";
    AppendNumber(text, maximum);
    AppendTune(text, tune);
    AppendBeyond(text, static_cast<long long>(run) + tune > maximum);
}

void AppendLowerFirst(std::string& text, std::string_view words) {
    if (words.empty())
        return;
    const char first = words[0];
    text += first >= 'A' && first <= 'Z' ? static_cast<char>(first - 'A' + 'a') : first;
    text += words.substr(1);
}
