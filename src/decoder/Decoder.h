// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "code/Answers.h"

// Reading a Glomie Code back: from a text that holds a code to the answers that encode to it, and
// to one English sentence for each thing the code says.

// A part of the code that could not be read. Reading goes on with the next subsection.
struct DecodeProblem {
    size_t Position = 0; // byte offset in the decoded text where reading stopped
    std::string Text;    // from there to the end of its subsection, or all of the subsection when
                         // reading stopped at its end; shortened to 40 bytes and "..."
    std::string Message;
};

// A sentence's text lies in its DecodeResult's SentenceText: DecodeResult::Text gives it.
struct DecodedSentence {
    int Section = 0;      // the SectionNumber (CodeFrame.h) of the page the answer belongs to, 2..11
    size_t Position = 0;  // byte offset of the subsection the sentence was read from
    size_t TextBegin = 0; // where the text lies in DecodeResult::SentenceText
    size_t TextLength = 0;
    bool Ambiguous = false; // the letters can also be read another way; the text says how
};

struct DecodeResult {
    // False when the text holds no code header at all; everything below is then empty or default.
    bool HeaderFound = false;
    // Where the code lies in the text: [CodeBegin, CodeEnd).
    size_t CodeBegin = 0;
    size_t CodeEnd = 0;
    // Answers that encode to the code. Whatever the code leaves out is as a first run has it (the
    // settings defaults), with every omit flag of an absent subsection set and every absent choice 0.
    // A subsection that could not be read is left out in the same way.
    AnswerSet Answers;
    // In code order.
    std::vector<DecodedSentence> Sentences;
    // The texts of all sentences one after another: one buffer instead of a string per sentence.
    std::string SentenceText;
    std::vector<DecodeProblem> Problems;

    std::string_view text(const DecodedSentence& sentence) const {
        return std::string_view(SentenceText).substr(sentence.TextBegin, sentence.TextLength);
    }

    // A header was found and every part of the code was read.
    bool complete() const { return HeaderFound && Problems.empty(); }
};

// Finds the first code in the text and reads it. Never fails; takes time linear in the text's length.
DecodeResult DecodeGlomieCode(std::string_view text);

// A heading for grouping sentences: "Obsession", "Favourites", "Dislikes", "Experience",
// "Opinions", "Personal"; "" for a number that is no page section.
const char* SectionTitle(int section);

// A run of sentences of one section, under the heading the pages show for it ("Other" for
// sentences of no page section).
struct SentenceGroup {
    std::string_view Title;
    std::span<const DecodedSentence> Sentences;
};
// The sentences in code order, in runs that share a heading.
std::vector<SentenceGroup> SentenceGroups(const DecodeResult& result);

// The answers the encoder keeps only while it runs and never stores in its settings. A code that
// needs any of them non-zero cannot be reproduced from stored settings.
struct UnstoredAnswer {
    const char* Section; // the settings section the page stores its other answers in
    const char* Name;
    int32_t Value;
};
std::array<UnstoredAnswer, 6> UnstoredAnswers(const AnswerSet& answers);
