// SPDX-License-Identifier: MIT
#include "rules/PastedCode.h"

#include "code/CodeFrame.h"
#include "decoder/Decoder.h"
#include "rules/PageRules.h"

namespace {

// How many UTF-16 units the first `bytes` bytes of UTF-8 text are: one for each character, two for
// one past the Basic Multilingual Plane (a four-byte sequence).
size_t Utf16Length(std::string_view text, size_t bytes) {
    size_t units = 0;
    for (size_t i = 0; i < bytes && i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

} // namespace

PastedCode ReadPastedCode(std::string_view text) {
    const DecodeResult result = DecodeGlomieCode(text);
    PastedCode pasted;
    pasted.Found = result.HeaderFound;
    if (!pasted.Found)
        return pasted;
    pasted.Answers = result.Answers;
    for (int page = 0; page < kPageCount; ++page)
        TakeAsShown(pasted.Answers, static_cast<PageId>(page));
    FitToControls(pasted.Answers);

    for (const DecodeProblem& problem : result.Problems)
        pasted.Problems.push_back({Utf16Length(text, problem.Position), problem.Text, problem.Message});
    CodeFrame read(result.Answers), taken(pasted.Answers);
    read.rebuildCode(RebuildAll);
    taken.rebuildCode(RebuildAll);
    const std::string_view code = text.substr(result.CodeBegin, result.CodeEnd - result.CodeBegin);
    bool sectionsDiffer = false;
    for (int section = HeaderSection; section <= EvenMorePersonalSection; ++section) {
        const std::string& wanted = read.sectionString(section);
        const std::string& kept = taken.sectionString(section);
        if (wanted == kept)
            continue;
        sectionsDiffer = true;
        const size_t at = code.find(wanted);
        pasted.Problems.push_back(
            {Utf16Length(text, result.CodeBegin + (at == std::string_view::npos ? 0 : at)), wanted,
             kept.empty() ? "more than the page offers; the page leaves it out"
                          : "more than the page offers; the page takes it as \"" + kept + "\""});
    }
    if (result.Problems.empty() && !sectionsDiffer && read.fullCode() != code)
        pasted.Problems.push_back(
            {Utf16Length(text, result.CodeBegin), std::string(code),
             "written otherwise than the encoder writes it, which is \"" + read.fullCode() + "\""});
    return pasted;
}
