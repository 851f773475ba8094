// SPDX-License-Identifier: MIT
#include "RandomAnswers.h"

#include <algorithm>

#include "settings/Questions.h"
#include "settings/SettingsLayout.h"

namespace {

// What a question's control can give: a check box 0 or 1, a list its rows, a selection any mask of
// its rows, the others their range.
std::pair<int, int> RangeOfControl(const Question& q) {
    switch (q.Kind) {
    case ControlKind::Check:
        return {0, 1};
    case ControlKind::List:
        return {0, q.Table->count() - 1};
    case ControlKind::Selection:
        return {0, static_cast<int>((uint32_t{1} << (q.Table->count() - 1)) - 1)};
    default:
        return {q.Minimum, q.Maximum};
    }
}

// Every answer with the range its control allows, taken from the pages' questions and visited in one
// place for both the generator and the checker. A level or list followed by its tune is visited with
// it: tune(value, tune, low, high, tuneLow, tuneHigh, inverted): the value lies in low..high and the
// tune keeps what it tunes there too, within its own spin's range. An upright (inverted) slider at
// position p stands for the intensity high - p.
template <typename Answers, typename Visitor> void VisitAnswers(Answers& a, Visitor& v) {
    for (int p = 0; p < kPageCount; ++p) {
        const auto page = static_cast<PageId>(p);
        const auto questions = QuestionsOf(page);
        for (size_t i = 0; i < questions.size(); ++i) {
            const Question& q = questions[i];
            if (q.Kind == ControlKind::Tune)
                continue; // visited with what it tunes
            const auto [low, high] = RangeOfControl(q);
            if (i + 1 < questions.size() && questions[i + 1].Kind == ControlKind::Tune) {
                const Question& tune = questions[i + 1];
                v.tune(a, AnswerOf(page, q), AnswerOf(page, tune), low, high, tune.Minimum, tune.Maximum,
                       q.Inverted);
            } else {
                v.range(a, AnswerOf(page, q), low, high);
            }
        }
    }
}

// The tunes a value leaves: the tuned intensity (an upright slider's counted from its top) plus the
// tune within low..high, and the tune within its spin.
std::pair<int64_t, int64_t> TuneRange(int64_t value, int low, int high, int tuneLow, int tuneHigh,
                                      bool inverted) {
    const int64_t effective = inverted ? high - value : value;
    return {std::max<int64_t>(tuneLow, low - effective), std::min<int64_t>(tuneHigh, high - effective)};
}

class Generator {
  public:
    explicit Generator(ValueSource& values) : m_values(values) {}

    void range(AnswerSet& answers, AnswerField field, int low, int high) {
        WriteAnswer(answers, field, pick(low, high));
    }
    void tune(AnswerSet& answers, AnswerField field, AnswerField tune, int low, int high, int tuneLow,
              int tuneHigh, bool inverted) {
        const int value = pick(low, high);
        const auto [least, most] = TuneRange(value, low, high, tuneLow, tuneHigh, inverted);
        WriteAnswer(answers, field, value);
        WriteAnswer(answers, tune, pick(static_cast<int>(least), static_cast<int>(most)));
    }

  private:
    // The ends of a range are where mistakes hide, and the low end is "nothing" or "omitted".
    int pick(int low, int high) {
        switch (m_values.between(0, 7)) {
        case 0:
        case 1:
            return low;
        case 2:
            return high;
        default:
            return m_values.between(low, high);
        }
    }

    ValueSource& m_values;
};

class Checker {
  public:
    std::string Failure;

    void range(const AnswerSet& answers, AnswerField field, int low, int high) {
        check(field, ReadAnswer(answers, field), low, high);
    }
    void tune(const AnswerSet& answers, AnswerField field, AnswerField tune, int low, int high, int tuneLow,
              int tuneHigh, bool inverted) {
        const int64_t value = ReadAnswer(answers, field);
        check(field, value, low, high);
        const auto [least, most] =
            TuneRange(std::clamp<int64_t>(value, low, high), low, high, tuneLow, tuneHigh, inverted);
        check(tune, ReadAnswer(answers, tune), least, most);
    }

  private:
    void check(AnswerField field, int64_t value, int64_t low, int64_t high) {
        if (Failure.empty() && (value < low || value > high))
            Failure = AnswerKey(field) + " " + std::to_string(value) + " is outside " + std::to_string(low) +
                      ".." + std::to_string(high);
    }
};

} // namespace

int SeededValues::between(int low, int high) {
    // splitmix64: small, fast and the same everywhere.
    m_state += 0x9E3779B97F4A7C15ull;
    uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    const uint64_t span = static_cast<uint64_t>(int64_t{high} - low) + 1;
    return static_cast<int>(low + static_cast<int64_t>(z % span));
}

AnswerSet RandomAnswerSet(ValueSource& values) {
    AnswerSet answers;
    Generator generator(values);
    VisitAnswers(answers, generator);
    return answers;
}

std::string OutsidePageRanges(const AnswerSet& answers) {
    Checker checker;
    VisitAnswers(answers, checker);
    return checker.Failure;
}

std::vector<int32_t> AllAnswers(AnswerSet answers) {
    struct Capture : ProfileStore {
        std::vector<int32_t> values;
        int32_t getProfileInt(std::string_view, std::string_view, int32_t def) override { return def; }
        bool writeProfileInt(std::string_view, std::string_view, int32_t value) override {
            values.push_back(value);
            return true;
        }
    } capture;
    SaveSettings(capture, answers);
    for (const UnstoredAnswer& unstored : UnstoredAnswers(answers))
        capture.values.push_back(unstored.Value);
    return capture.values;
}

std::string ProblemList(const DecodeResult& result) {
    std::string text;
    for (const DecodeProblem& p : result.Problems)
        text += "\n  at " + std::to_string(p.Position) + " '" + p.Text + "': " + p.Message;
    return text;
}
