// SPDX-License-Identifier: MIT
// What the native engine says, for the same engine compiled to WebAssembly to be held against
// (tests/wasm/engine-check.js): the worked examples, random answer sets with their codes and each
// page's open questions, and random user actions with the answers they leave. Prints JSON.
// Usage: glomie-engine-oracle [SETS]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "RandomAnswers.h"
#include "WorkedExamples.h"
#include "rules/PageRules.h"

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// Every answer by its key.
std::string AnswersJson(const AnswerSet& answers) {
    std::string json = "{";
    const auto add = [&](const std::string& key, AnswerField field) {
        if (json.size() > 1)
            json += ',';
        json += Quoted(key) + ':' + std::to_string(ReadAnswer(answers, field));
    };
    for (const SettingsSection& section : SettingsLayout())
        for (const SettingsValue& value : section.Values)
            add(std::string(section.Name) + '/' + std::string(value.Name), value.Field);
    for (const UnstoredValue& value : UnstoredValues())
        add(std::string(value.Section) + '/' + std::string(value.Name), value.Field);
    return json + '}';
}

std::string OpenJson(const AnswerSet& answers) {
    std::string json = "[";
    for (int p = 0; p < kPageCount; ++p) {
        const auto page = static_cast<PageId>(p);
        const OpenQuestions open = OpenQuestionsOf(answers, page);
        json += p ? ",[" : "[";
        for (size_t i = 0; i < QuestionsOf(page).size(); ++i)
            json += std::string(i ? "," : "") + (open.test(i) ? "true" : "false");
        json += ']';
    }
    return json + ']';
}

} // namespace

int main(int argc, char** argv) {
    const int sets = argc > 1 ? std::atoi(argv[1]) : 200;
    std::string out = "{\"examples\":[";
    for (size_t i = 0; i < std::size(kWorkedExamples); ++i)
        out += std::string(i ? "," : "") + Quoted(kWorkedExamples[i]);
    out += "],\"sets\":[";
    for (int seed = 1; seed <= sets; ++seed) {
        SeededValues values(static_cast<uint64_t>(seed));
        const AnswerSet answers = RandomAnswerSet(values);
        out += std::string(seed > 1 ? "," : "") + "{\"answers\":" + AnswersJson(answers) +
               ",\"code\":" + Quoted(EncodeGlomieCode(answers)) + ",\"open\":" + OpenJson(answers) + '}';
    }
    // A user's action on each set: any question of any page, with any value its control can give
    // (and some it cannot), from the answers the set holds.
    out += "],\"actions\":[";
    for (int seed = 1; seed <= sets; ++seed) {
        SeededValues values(static_cast<uint64_t>(seed));
        const AnswerSet before = RandomAnswerSet(values);
        const int page = values.between(0, kPageCount - 1);
        const auto questions = QuestionsOf(static_cast<PageId>(page));
        const int question = values.between(0, static_cast<int>(questions.size()) - 1);
        const Question& q = questions[static_cast<size_t>(question)];
        const int value = values.between(q.Minimum - 2, std::max(q.Maximum, 3) + 2);
        AnswerSet after = before;
        AnswerQuestion(after, static_cast<PageId>(page), question, value);
        out += std::string(seed > 1 ? "," : "") + "{\"answers\":" + AnswersJson(before) +
               ",\"page\":" + std::to_string(page) + ",\"question\":" + std::to_string(question) +
               ",\"value\":" + std::to_string(value) + ",\"after\":" + AnswersJson(after) + '}';
    }
    out += "]}\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}
