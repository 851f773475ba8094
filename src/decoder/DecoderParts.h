#pragma once

#include <string>
#include <string_view>

#include "decoder/CodeReader.h"
#include "decoder/Decoder.h"

// What a subsection's decoder works on: the result it writes answers and sentences into, where the
// subsection lies in the text, and whether it belongs to the dislikes.
struct PieceContext {
    DecodeResult& Result;
    size_t Offset; // of the subsection's first character after its ':'
    bool Dislikes; // " F" and " D" share their subsections

    void Say(int section, std::string text, bool ambiguous = false) {
        Result.Sentences.push_back({section, Offset - 1, std::move(text), ambiguous});
    }
};

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
