#pragma once

#include <string>
#include <string_view>

// Small pieces of the English the decoder writes its sentences in.

// "+2", "0", "-1".
std::string SignedNumber(int value);

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
std::string LowerFirst(std::string_view text);

// Joins with ", " and a final " and ": "A", "A and B", "A, B and C".
template <typename Container> void AppendJoined(std::string& text, const Container& items) {
    size_t i = 0;
    for (const auto& item : items) {
        if (i > 0)
            text += (i + 1 == items.size()) ? " and " : ", ";
        text += item;
        ++i;
    }
}
