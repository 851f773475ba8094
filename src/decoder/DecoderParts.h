// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "code/AnswerField.h"
#include "decoder/CodeReader.h"
#include "decoder/Decoder.h"
#include "decoder/Phrases.h"

// What a subsection's decoder works on: the result it writes answers and sentences into, where the
// subsection lies in the text, and whether it belongs to the dislikes.
struct PieceContext {
    DecodeResult& Result;
    TextWriter& Text; // writes Result.SentenceText
    size_t Offset;    // of the subsection's first character after its ':'
    bool Dislikes;    // " F" and " D" share their subsections
    size_t Begun = 0; // where the sentence being written starts

    // Starts a sentence at the end of the result's text; Say ends it. A subsection that fails
    // after starting one leaves it unsaid, and DecodeBody cuts it off again.
    [[gnu::always_inline]] TextWriter& start(std::string_view start) {
        Begun = Text.size();
        Text += start;
        return Text;
    }
    [[gnu::always_inline]] void say(int section, bool ambiguous = false) {
        Result.Sentences.push_back({section, Offset - 1, Begun, Text.size() - Begun, ambiguous});
    }
    // A sentence that is all one phrase.
    void sayPhrase(int section, std::string_view whole) {
        start(whole);
        say(section);
    }
};

// The range of the control a page asks for an answer with (a slider's, a count box's): what a
// sentence calls beyond it. Taken from the page's questions, so the decoder writes no range itself.
struct ControlRange {
    int Minimum = 0, Maximum = 0;
};
ControlRange RangeOf(PageId page, PageField field);

// Where the character is among a few letters, or npos: a short loop the compiler unrolls, where
// string_view::find makes a call.
constexpr size_t LetterPlace(std::string_view letters, char c) {
    for (size_t i = 0; i < letters.size(); ++i) {
        if (letters[i] == c)
            return i;
    }
    return std::string_view::npos;
}

// The subsections of one tagged section. Order gives a subsection's place in its section from its
// text (-1: no such subsection). Decode reads one, and writes its answers and sentences only when
// all of it could be read, so a subsection with a problem stays left out.
struct SectionGrammar {
    char Tag;
    const char* Name; // for messages: "favourites", ...
    int (*Order)(std::string_view piece);
    bool (*Decode)(int order, CodeReader& r, PieceContext& context);
};

extern const SectionGrammar kFavouritesGrammar; // " F" and " D"
extern const SectionGrammar kDislikesGrammar;
extern const SectionGrammar kExperienceGrammar;
extern const SectionGrammar kOpinionsGrammar;
extern const SectionGrammar kPersonalGrammar;
