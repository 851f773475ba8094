// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <string>

#include "decoder/Decoder.h"

namespace {

// A code with every section and nearly every kind of subsection.
const std::string kEverySection =
    "GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:vBe<+Ga>++[+]:aLu++Ch<+:pS<+[+]SS> "
    "D:sMo>---Me-[--]:vBe<-Ga>--[-]:aLu--Ch<-:pS<-[-]* X:**********[*]:a200r++++|52s+++|12d[+]:m18r|60s++ "
    "O:d--:!s++[+]:o+++:a--[-]:h-:x+ P:a23:s511:w+[-]:f-:eBD|GBr:hBrD++m[b]:t-[+]:cWhAs:bAB+:*Le:y+P:r+|-[+]";

void BM_DecodeEverySection(benchmark::State& state) {
    if (!DecodeGlomieCode(kEverySection).complete()) {
        state.SkipWithError("the benchmark code does not decode completely");
        return;
    }
    for (auto _ : state) {
        DecodeResult result = DecodeGlomieCode(kEverySection);
        benchmark::DoNotOptimize(result.Sentences.data());
    }
    state.counters["code_length"] = static_cast<double>(kEverySection.size());
    state.counters["sentences"] = static_cast<double>(DecodeGlomieCode(kEverySection).Sentences.size());
}
BENCHMARK(BM_DecodeEverySection);

void BM_DecodeHeaderOnly(benchmark::State& state) {
    const std::string code = "GlomieCode(1.12.05) SM:5m-";
    for (auto _ : state) {
        DecodeResult result = DecodeGlomieCode(code);
        benchmark::DoNotOptimize(result.Sentences.data());
    }
}
BENCHMARK(BM_DecodeHeaderOnly);

// Time grows with the text's length and no faster: broken subsections, a long run, no code at all.
void BM_DecodeLongText(benchmark::State& state) {
    const auto length = static_cast<size_t>(state.range(1));
    std::string text;
    switch (state.range(0)) {
    case 0:
        text = "GlomieCode(1.12.05) SM:5 O";
        for (size_t i = 0; text.size() < length; ++i)
            text += i % 2 ? ":q" : ":h--[";
        break;
    case 1:
        text = "GlomieCode(1.12.05) SM:5 F:sMo" + std::string(length, '+');
        break;
    default:
        text = std::string(length, 'G');
        break;
    }
    for (auto _ : state) {
        DecodeResult result = DecodeGlomieCode(text);
        benchmark::DoNotOptimize(result.Problems.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DecodeLongText)->ArgsProduct({{0, 1, 2}, {1000, 10000, 100000}});

} // namespace
