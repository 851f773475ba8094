// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "code/Answers.h"
#include "code/Encode.h"
#include "decoder/Decoder.h"
#include "settings/SettingsLayout.h"

// Answer sets for tests and fuzzers: what the encoder's pages let a user enter.

// A source of whole numbers: a seeded generator for tests, the fuzzer's bytes for fuzz targets.
class ValueSource {
  public:
    virtual ~ValueSource() = default;
    // A number in low..high, both included (low <= high).
    virtual int between(int low, int high) = 0;
};

// The same numbers for the same seed, on every platform.
class SeededValues : public ValueSource {
  public:
    explicit SeededValues(uint64_t seed) : m_state(seed) {}
    int between(int low, int high) override;

  private:
    uint64_t m_state;
};

// Every answer within its control's range and every tune as its clamp leaves it, with the ends of
// each range and the omitted subsections drawn more often than the middle. Answers the code does not
// show (a hidden secondary level, the values of an omitted subsection) are drawn as well.
AnswerSet RandomAnswerSet(ValueSource& values);

// Empty when every answer is within what the pages allow; otherwise the first that is not, as
// "Personal.ExactAge 250 is outside 0..200".
std::string OutsidePageRanges(const AnswerSet& answers);

// Every persisted answer in settings order, then those the settings do not keep: two answer sets with
// equal lists are the same to the encoder.
std::vector<int32_t> AllAnswers(AnswerSet answers);

// A decode result's problems, one a line, for test failure messages.
std::string ProblemList(const DecodeResult& result);
