#include "decoder/Phrases.h"

#include <cctype>

std::string SignedNumber(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

void AppendTune(std::string& text, int tune) {
    if (tune == 0)
        return;
    text += tune > 0 ? ", tuned up by " : ", tuned down by ";
    text += std::to_string(tune > 0 ? tune : -tune);
}

void AppendBeyond(std::string& text, bool beyond) {
    if (beyond)
        text += " (beyond what the page offers)";
}

void AppendLevel(std::string& text, int value, int minimum, int maximum, int tune) {
    text += SignedNumber(value);
    text += " on a scale from ";
    text += std::to_string(minimum);
    text += " to ";
    text += std::to_string(maximum);
    AppendTune(text, tune);
    const int tuned = value + tune;
    AppendBeyond(text, value < minimum || value > maximum || tuned < minimum || tuned > maximum);
}

void AppendIntensity(std::string& text, int run, int maximum, int tune) {
    text += "intensity ";
    text += std::to_string(run);
    text += " of ";
    text += std::to_string(maximum);
    AppendTune(text, tune);
    AppendBeyond(text, run + tune > maximum);
}

std::string LowerFirst(std::string_view text) {
    std::string lower(text);
    if (!lower.empty())
        lower[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[0])));
    return lower;
}
