// SPDX-License-Identifier: MIT
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "code/Encode.h"
#include "decoder/Decoder.h"

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "decoder_fuzz: %s\n", what);
    std::abort();
}

// The blanks of a code are single spaces in front of its tags; a code pasted with other blanks
// reads the same but is written back with single spaces.
bool WrittenAsTheEncoderWrites(std::string_view code) {
    return code.find_first_of("\t\n\r\f\v") == std::string_view::npos &&
           code.find("  ") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DecodeResult result = DecodeGlomieCode(text);

    if (!result.HeaderFound && (!result.Sentences.empty() || !result.Problems.empty()))
        Broken("sentences or problems without a code");
    if (result.CodeBegin > result.CodeEnd || result.CodeEnd > size)
        Broken("the code lies outside the text");
    if (result.Problems.size() > 100)
        Broken("an unbounded list of problems");
    for (const DecodeProblem& problem : result.Problems) {
        if (problem.Position > size || problem.Message.empty())
            Broken("a problem outside the text or without a message");
    }
    for (const DecodedSentence& sentence : result.Sentences) {
        if (*SectionTitle(sentence.Section) == '\0' || result.text(sentence).empty() ||
            sentence.Position >= size)
            Broken("a sentence without a section, a text or a place");
    }

    if (result.complete()) {
        const std::string code = EncodeGlomieCode(result.Answers);
        const std::string_view read = text.substr(result.CodeBegin, result.CodeEnd - result.CodeBegin);
        if (WrittenAsTheEncoderWrites(read) && code != read)
            Broken("a code read without a problem is written back otherwise");
        const DecodeResult again = DecodeGlomieCode(code);
        if (!again.complete() || EncodeGlomieCode(again.Answers) != code)
            Broken("the code written from decoded answers does not read back");
    }
    return 0;
}
