// SPDX-License-Identifier: MIT
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "RandomAnswers.h"

namespace {

// The fuzzer's bytes as the choices of the answer generator; when they run out, every choice is the
// lowest, which is the most common answer too.
class FuzzValues : public ValueSource {
  public:
    FuzzValues(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    int between(int low, int high) override {
        if (m_used >= m_size)
            return low;
        const auto span = static_cast<unsigned>(high - low) + 1u;
        return low + static_cast<int>(m_data[m_used++] % span);
    }

  private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_used = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzValues values(data, size);
    const std::string code = EncodeGlomieCode(RandomAnswerSet(values));
    const DecodeResult result = DecodeGlomieCode(code);
    const std::string outside = OutsidePageRanges(result.Answers);
    if (!result.complete() || EncodeGlomieCode(result.Answers) != code || !outside.empty()) {
        std::fprintf(stderr, "decoder_roundtrip_fuzz: %s\n  decoded %s\n  %s%s\n", code.c_str(),
                     EncodeGlomieCode(result.Answers).c_str(), outside.c_str(), ProblemList(result).c_str());
        std::abort();
    }
    return 0;
}
