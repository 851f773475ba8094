// SPDX-License-Identifier: MIT
// How an answer is read and shown: what a control shows of it, what a user's answer stores and keeps
// in range, how a count box's text reads, and the texts shown beside the answers.
#include "rules/PageRules.h"

#include <algorithm>
#include <limits>

#include "code/Notation.h"

namespace {

int32_t Limited(int32_t value, const Question& question) {
    return std::clamp(value, question.Minimum, question.Maximum);
}

} // namespace

int32_t ShownValue(const AnswerSet& answers, PageId page, int question) {
    const Question& q = QuestionsOf(page)[static_cast<size_t>(question)];
    const int32_t value = ReadAnswer(answers, AnswerOf(page, q));
    switch (q.Kind) {
    case ControlKind::Check:
        return value >= 0 && value <= 2 ? value : 0;
    case ControlKind::List:
        return value >= 0 && value < q.Table->count() ? value : -1;
    case ControlKind::Slider:
    case ControlKind::Tune:
    case ControlKind::Spin:
        return Limited(value, q);
    case ControlKind::Count:
    case ControlKind::Selection:
        return value;
    }
    return value;
}

void AnswerQuestion(AnswerSet& answers, PageId page, int question, int32_t value) {
    const auto questions = QuestionsOf(page);
    const auto index = static_cast<size_t>(question);
    const Question& q = questions[index];
    const auto write = [&](const Question& target, int32_t v) {
        WriteAnswer(answers, AnswerOf(page, target), v);
    };
    const auto read = [&](const Question& source) { return ReadAnswer(answers, AnswerOf(page, source)); };
    const Question* tune = index + 1 < questions.size() && questions[index + 1].Kind == ControlKind::Tune
                               ? &questions[index + 1]
                               : nullptr;

    if (q.Kind == ControlKind::Tune) {
        // A tune step: the tune, clamped against what it tunes as that control shows it.
        const Question& tuned = questions[index - 1];
        const int32_t step = Limited(value, q);
        const int32_t kept =
            tuned.Kind == ControlKind::List
                ? ClampRowTune(read(tuned), step)
                : ClampTune(Limited(read(tuned), tuned), step, tuned.Minimum, tuned.Maximum, tuned.Inverted);
        write(q, Limited(kept, q));
        return;
    }
    write(q, value);
    if (!tune)
        return;
    // A level or row with a tune: the tune as its spin shows it, clamped against the new value.
    const int32_t shown = Limited(read(*tune), *tune);
    const int32_t kept = q.Kind == ControlKind::List
                             ? ClampRowTune(value, shown)
                             : ClampTune(value, shown, q.Minimum, q.Maximum, q.Inverted);
    write(*tune, Limited(kept, *tune));
}

bool TakeAsShown(AnswerSet& answers, PageId page) {
    bool changed = false;
    const auto questions = QuestionsOf(page);
    for (size_t i = 0; i < questions.size(); ++i) {
        const Question& q = questions[i];
        const AnswerField field = AnswerOf(page, q);
        const int32_t value = ReadAnswer(answers, field);
        int32_t shown = value;
        if (q.Kind == ControlKind::Check)
            shown = ShownValue(answers, page, static_cast<int>(i));
        // An unsigned count shows past the 32-bit range and reads back as the largest count.
        else if (q.Kind == ControlKind::Count && q.Field.Type == FieldType::UInt32 && value < 0)
            shown = std::numeric_limits<int32_t>::max();
        if (shown != value) {
            WriteAnswer(answers, field, shown);
            changed = true;
        }
    }
    return changed;
}

void FitToControls(AnswerSet& answers) {
    for (int p = 0; p < kPageCount; ++p) {
        const auto page = static_cast<PageId>(p);
        const auto questions = QuestionsOf(page);
        for (size_t i = 0; i < questions.size(); ++i) {
            const Question& q = questions[i];
            if (q.Kind == ControlKind::Slider || q.Kind == ControlKind::Tune || q.Kind == ControlKind::Spin) {
                AnswerQuestion(answers, page, static_cast<int>(i),
                               ShownValue(answers, page, static_cast<int>(i)));
            } else if (q.Kind == ControlKind::Count) {
                const int32_t stored = ReadAnswer(answers, AnswerOf(page, q));
                const int64_t count = q.Field.Type == FieldType::UInt32
                                          ? int64_t{static_cast<uint32_t>(stored)}
                                          : int64_t{stored};
                WriteAnswer(answers, AnswerOf(page, q),
                            static_cast<int32_t>(std::clamp<int64_t>(count, q.Minimum, q.Maximum)));
            }
        }
    }
}

std::string ObsessionDescriptionOf(const ObsessionAnswers& sm) {
    std::string text = ObsessionDescription(sm.Pri);
    if (sm.ChkSec != 0)
        text += "\n\n" + ObsessionDescription(sm.Sec);
    return text;
}

std::string CountProblem(std::string_view text, int64_t minimum, int64_t maximum) {
    switch (CheckCount(text, minimum, maximum)) {
    case CountVerdict::Fine:
        return {};
    case CountVerdict::NotAPositiveInteger:
        return kPositiveIntegerMessage;
    case CountVerdict::OutOfRange:
        break;
    }
    std::string message = kIntegerRangeMessage;
    message.replace(message.find("%1"), 2, std::to_string(minimum));
    message.replace(message.find("%2"), 2, std::to_string(maximum));
    return message;
}

std::string YearsText(int32_t halfYears) {
    return std::to_string(halfYears / 2) + (halfYears % 2 != 0 ? "+" : "");
}

int32_t ParseCount(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    constexpr int64_t kPastLargest = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), kPastLargest); // saturate, stay small
    if (negative)
        value = -value;
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

CountVerdict CheckCount(std::string_view text, int64_t minimum, int64_t maximum) {
    const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return CountVerdict::NotAPositiveInteger;
    uint64_t value = 0;
    for (const char c : text) {
        if (value > (std::numeric_limits<uint64_t>::max() - 9) / 10)
            return CountVerdict::OutOfRange;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value < static_cast<uint64_t>(std::max<int64_t>(minimum, 0)) ||
        value > static_cast<uint64_t>(maximum))
        return CountVerdict::OutOfRange;
    return CountVerdict::Fine;
}

int32_t ClampTune(int32_t position, int32_t tune, int32_t minimum, int32_t maximum, bool inverted) {
    const int64_t effective = inverted ? int64_t{maximum} - position : int64_t{position};
    if (effective + tune > maximum)
        return static_cast<int32_t>(maximum - effective);
    if (effective + tune < minimum)
        return static_cast<int32_t>(minimum - effective);
    return tune;
}

int32_t ClampRowTune(int32_t row, int32_t tune) {
    int64_t kept = tune;
    if (row + kept < 0)
        kept = -int64_t{row};
    if (row + kept > 2)
        kept = 2 - int64_t{row};
    return static_cast<int32_t>(std::clamp<int64_t>(kept, INT16_MIN, INT16_MAX));
}
