// SPDX-License-Identifier: MIT
// The engine as the browser page sees it: a few C functions over one answer model, the page's
// questions and the page rules, with JSON out. The page keeps no answers and no rules of its own.
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "code/CodeFrame.h"
#include "code/Encode.h"
#include "code/Notation.h"
#include "code/Sections.h"
#include "decoder/Decoder.h"
#include "rules/PageRules.h"
#include "rules/PastedCode.h"
#include "settings/SettingsLayout.h"
#include "vocabulary/Tables.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#define GLOMIE_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE
#else
#define GLOMIE_EXPORT extern "C"
#endif

namespace {

// Just enough JSON for what goes out.
class Json {
  public:
    Json& raw(std::string_view text) {
        m_text += text;
        return *this;
    }
    // The text between characters that need no escape is copied whole: a change's reply is
    // mostly sentences, and a character at a time costs more than the rest of it.
    Json& string(std::string_view text) {
        m_text += '"';
        size_t plain = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != '\\')
                continue;
            m_text.append(text.data() + plain, i - plain);
            plain = i + 1;
            switch (c) {
            case '"':
                m_text += "\\\"";
                break;
            case '\\':
                m_text += "\\\\";
                break;
            case '\n':
                m_text += "\\n";
                break;
            default: {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                m_text += escaped;
            }
            }
        }
        m_text.append(text.data() + plain, text.size() - plain);
        m_text += '"';
        return *this;
    }
    Json& number(int64_t value) {
        m_text += std::to_string(value);
        return *this;
    }
    Json& boolean(bool value) {
        m_text += value ? "true" : "false";
        return *this;
    }
    Json& key(std::string_view name) {
        comma();
        string(name);
        m_text += ':';
        m_fresh = false;
        return *this;
    }
    Json& open(char bracket) {
        comma();
        m_text += bracket;
        m_fresh = true;
        return *this;
    }
    Json& close(char bracket) {
        m_text += bracket;
        m_fresh = false;
        return *this;
    }
    // Before an element of an array.
    Json& item() {
        comma();
        m_fresh = false;
        return *this;
    }
    const std::string& text() const { return m_text; }

  private:
    void comma() {
        if (!m_fresh && !m_text.empty() && m_text.back() != ':' && m_text.back() != '[' &&
            m_text.back() != '{')
            m_text += ',';
    }
    std::string m_text;
    bool m_fresh = true;
};

const char* KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Check:
        return "check";
    case ControlKind::List:
        return "list";
    case ControlKind::Slider:
        return "slider";
    case ControlKind::Tune:
        return "tune";
    case ControlKind::Spin:
        return "spin";
    case ControlKind::Count:
        return "count";
    case ControlKind::Selection:
        return "selection";
    }
    return "";
}

// The one answer model, and a pasted code's answers until the user says whether to take them.
struct Model {
    AnswerSet Answers = DefaultAnswers();
    AnswerSet Pasted;
    std::string Reply; // what the last call gave back, alive until the next
};

Model& TheModel() {
    static Model model;
    return model;
}

const char* Reply(std::string text) {
    TheModel().Reply = std::move(text);
    return TheModel().Reply.c_str();
}

// A slider's position as the code and its sentences count it: an obsession level in its notation
// ("5", "5+"), an upright slider from its bottom (its top, the minimum, is the strongest).
std::string SliderText(PageId page, const Question& q, int32_t value) {
    if (KindOf(page) == PageKind::Obsession)
        return LevelNotation(value);
    return std::to_string(q.Inverted ? q.Maximum + q.Minimum - value : value);
}

// The code read back as sentences, grouped as the decoder page groups them, each line with the page
// it tells of: "sentences": [{"title": "Obsession", "lines": [{"text": "...", "ambiguous": false,
// "page": 0}]}].
void AddSentences(Json& json, const std::string& code) {
    const DecodeResult decoded = DecodeGlomieCode(code);
    json.key("sentences").open('[');
    for (const SentenceGroup& group : SentenceGroups(decoded)) {
        json.open('{').key("title").string(group.Title).key("lines").open('[');
        for (const DecodedSentence& sentence : group.Sentences) {
            json.open('{').key("text").string(decoded.text(sentence));
            json.key("ambiguous").boolean(sentence.Ambiguous);
            json.key("page").number(sentence.Section - HeaderSection).close('}');
        }
        json.close(']').close('}');
    }
    json.close(']');
}

bool ValidQuestion(int page, int question) {
    return page >= 0 && page < kPageCount && question >= 0 &&
           question < static_cast<int>(QuestionsOf(static_cast<PageId>(page)).size());
}

} // namespace

// The ten pages as the form shows them: captions, groups, and every question with its key (the
// settings key), control, range, caption (also without its mnemonic: "plain"), accessible name and,
// for lists, the rows it offers.
GLOMIE_EXPORT const char* glomie_form() {
    static const std::string form = [] {
        Json json;
        json.open('[');
        for (int p = 0; p < kPageCount; ++p) {
            const auto page = static_cast<PageId>(p);
            json.open('{').key("caption").string(PageCaption(page));
            json.key("groups").open('[');
            for (const QuestionGroup& group : GroupsOf(page)) {
                json.open('{').key("name").string(group.Name).key("caption").string(group.Caption);
                json.key("plain")
                    .string(PlainCaption(group.Caption))
                    .key("parent")
                    .number(group.Parent)
                    .close('}');
            }
            json.close(']').key("questions").open('[');
            const auto questions = QuestionsOf(page);
            for (size_t i = 0; i < questions.size(); ++i) {
                const Question& q = questions[i];
                json.open('{').key("key").string(AnswerKey(AnswerOf(page, q)));
                json.key("name").string(QuestionName(page, static_cast<int>(i)));
                json.key("kind").string(KindName(q.Kind)).key("group").number(q.Group);
                json.key("min").number(q.Minimum).key("max").number(q.Maximum);
                json.key("caption").string(q.Caption).key("plain").string(PlainCaption(q.Caption));
                json.key("label").string(AccessibleNameOf(q));
                json.key("inverted").boolean(q.Inverted);
                if (q.Kind == ControlKind::Slider) {
                    json.key("texts").open('[');
                    for (int32_t value = q.Minimum; value <= q.Maximum; ++value)
                        json.item().string(SliderText(page, q, value));
                    json.close(']');
                }
                if (q.Table) {
                    json.key("rows").open('[');
                    for (int32_t row = 0; row < q.Table->count(); ++row)
                        json.item().string(q.Table->getEntry(row).Description);
                    json.close(']');
                }
                json.close('}');
            }
            json.close(']').close('}');
        }
        json.close(']');
        return json.text();
    }();
    return form.c_str();
}

// The first run's answers.
GLOMIE_EXPORT void glomie_reset() {
    TheModel().Answers = DefaultAnswers();
}

// One stored answer, by its key, as kept: for answers kept between visits. False for no such key.
GLOMIE_EXPORT int glomie_set(const char* key, int32_t value) {
    const auto field = AnswerOfKey(key ? key : "");
    if (!field)
        return 0;
    WriteAnswer(TheModel().Answers, *field, value);
    return 1;
}

// Every page as shown: flags and counts as their controls give them back. The browser shows all
// pages at once, so all are shown as soon as the answers are loaded.
GLOMIE_EXPORT void glomie_show_all() {
    for (int p = 0; p < kPageCount; ++p)
        TakeAsShown(TheModel().Answers, static_cast<PageId>(p));
}

// Every answer by its key, stored or not: {"SM/Pri": 15, ...}.
GLOMIE_EXPORT const char* glomie_answers() {
    Json json;
    json.open('{');
    const auto add = [&json](AnswerField field) {
        json.key(AnswerKey(field)).number(ReadAnswer(TheModel().Answers, field));
    };
    for (const SettingsSection& section : SettingsLayout())
        for (const SettingsValue& value : section.Values)
            add(value.Field);
    for (const UnstoredValue& value : UnstoredValues())
        add(value.Field);
    json.close('}');
    return Reply(json.text());
}

// The user gave a question a value from its control (see AnswerQuestion).
GLOMIE_EXPORT void glomie_answer(int page, int question, int32_t value) {
    if (ValidQuestion(page, question))
        AnswerQuestion(TheModel().Answers, static_cast<PageId>(page), question, value);
}

// A count box's text as its number.
GLOMIE_EXPORT int32_t glomie_parse_count(const char* text) {
    return ParseCount(text ? text : "");
}

// What is wrong with a count box's text, as the desktop says when its page is left; "" when nothing.
GLOMIE_EXPORT const char* glomie_count_problem(int page, int question, const char* text) {
    if (!ValidQuestion(page, question))
        return "";
    const Question& q = QuestionsOf(static_cast<PageId>(page))[static_cast<size_t>(question)];
    return Reply(CountProblem(text ? text : "", q.Minimum, q.Maximum));
}

// All the page shows after a change: the code, what each page shows and leaves open, the texts
// that follow from the answers, and the code read back as sentences, grouped as the decoder page
// groups them:
// {"code": "...", "pages": [{"open": [bool per question], "shown": [value per question],
//   "groups": [bool per group]}], "description": "...", "years": "3+",
//  "sentences": [{"title": "Obsession", "lines": [{"text": "...", "ambiguous": false}]}]}
GLOMIE_EXPORT const char* glomie_state() {
    const AnswerSet& answers = TheModel().Answers;
    const std::string code = EncodeGlomieCode(answers);
    Json json;
    json.open('{').key("code").string(code);
    json.key("pages").open('[');
    for (int p = 0; p < kPageCount; ++p) {
        const auto page = static_cast<PageId>(p);
        const OpenQuestions open = OpenQuestionsOf(answers, page);
        const size_t count = QuestionsOf(page).size();
        json.open('{').key("open").open('[');
        for (size_t i = 0; i < count; ++i)
            json.item().boolean(open.test(i));
        json.close(']').key("shown").open('[');
        for (size_t i = 0; i < count; ++i) {
            const Question& q = QuestionsOf(page)[i];
            const int32_t shown = ShownValue(answers, page, static_cast<int>(i));
            // Unsigned counts and masks as the numbers they are.
            const bool unsignedValue = q.Field.Type == FieldType::UInt32 || q.Kind == ControlKind::Selection;
            json.item().number(unsignedValue ? int64_t{static_cast<uint32_t>(shown)} : int64_t{shown});
        }
        json.close(']').key("groups").open('[');
        for (size_t g = 0; g < GroupsOf(page).size(); ++g)
            json.item().boolean(GroupOpen(page, static_cast<int>(g), open));
        json.close(']').close('}');
    }
    json.close(']');
    json.key("description")
        .string(ObsessionDescriptionOf(answers.Obsession))
        .key("years")
        .string(YearsText(answers.Experience.Years));

    AddSentences(json, code);
    json.close('}');
    return Reply(json.text());
}

// What the page shows of one question, and of one group.
struct Shown {
    bool Open = false;
    int64_t Value = 0;
    bool operator==(const Shown&) const = default;
};

// What the page was last given by glomie_changes, to give it only what changed since.
struct Sent {
    bool Valid = false;
    std::string Code;
    std::array<std::vector<Shown>, kPageCount> Questions;
    std::array<std::vector<bool>, kPageCount> Groups;
    std::string Description;
    std::string Years;
    // Each sentence group as last given, by its title and how many groups of that title came
    // before it.
    std::map<std::pair<std::string, int>, std::string> SentenceGroups;
};

Sent& TheSent() {
    static Sent sent;
    return sent;
}

namespace {

// The code's sentences as AddSentences gives them, but a group given last time as it is now is
// only named: {"title": "Obsession", "same": true}.
void AddChangedSentences(Json& json, const std::string& code, Sent& sent, bool all) {
    const DecodeResult decoded = DecodeGlomieCode(code);
    std::map<std::pair<std::string, int>, std::string> given;
    std::map<std::string_view, int> seen;
    json.key("sentences").open('[');
    for (const SentenceGroup& group : SentenceGroups(decoded)) {
        Json one;
        one.open('{').key("title").string(group.Title).key("lines").open('[');
        for (const DecodedSentence& sentence : group.Sentences) {
            one.open('{').key("text").string(decoded.text(sentence));
            one.key("ambiguous").boolean(sentence.Ambiguous);
            one.key("page").number(sentence.Section - HeaderSection).close('}');
        }
        one.close(']').close('}');
        std::pair<std::string, int> key{std::string(group.Title), seen[group.Title]++};
        const auto last = sent.SentenceGroups.find(key);
        if (!all && last != sent.SentenceGroups.end() && last->second == one.text())
            json.open('{').key("title").string(group.Title).key("same").boolean(true).close('}');
        else
            json.item().raw(one.text());
        given.emplace(std::move(key), one.text());
    }
    json.close(']');
    sent.SentenceGroups = std::move(given);
}

} // namespace

// What changed on the page since the last call (everything after glomie_forget, or the first time):
// {"code": "..." (when it changed), "controls": [[page, question, open, shown], ...],
//  "groups": [[page, group, open], ...], "description", "years" (when they changed),
//  "sentences" (with the code; a group as it was last given only by its title and "same": true)}.
// A change of one answer hands over a few numbers, not the page.
// The question the user just answered (page, question; -1 for none) is always given, since its
// control may show what the rules did not take.
GLOMIE_EXPORT const char* glomie_changes(int answeredPage, int answeredQuestion) {
    const AnswerSet& answers = TheModel().Answers;
    Sent& sent = TheSent();
    const bool all = !sent.Valid;
    sent.Valid = true;
    Json json;
    json.open('{');
    // An answer changes only its own page: its section of the code, what it shows and leaves open.
    static CodeFrame frame(TheModel().Answers);
    const bool onePage = !all && answeredPage >= 0 && answeredPage < kPageCount;
    frame.rebuildCode(onePage ? SectionOf(static_cast<PageId>(answeredPage)) : RebuildAll);
    const std::string& code = frame.fullCode();
    const bool codeChanged = all || code != sent.Code;
    json.key("controls").open('[');
    std::array<OpenQuestions, kPageCount> opens;
    const auto pageShown = [&](int p) { return !onePage || p == answeredPage; };
    for (int p = 0; p < kPageCount; ++p) {
        if (!pageShown(p))
            continue;
        const auto page = static_cast<PageId>(p);
        opens[p] = OpenQuestionsOf(answers, page);
        const auto questions = QuestionsOf(page);
        sent.Questions[p].resize(questions.size());
        for (size_t i = 0; i < questions.size(); ++i) {
            const Question& q = questions[i];
            const int32_t value = ShownValue(answers, page, static_cast<int>(i));
            const bool unsignedValue = q.Field.Type == FieldType::UInt32 || q.Kind == ControlKind::Selection;
            const Shown now{opens[p].test(i),
                            unsignedValue ? int64_t{static_cast<uint32_t>(value)} : int64_t{value}};
            const bool answered = p == answeredPage && static_cast<int>(i) == answeredQuestion;
            if (!all && !answered && now == sent.Questions[p][i])
                continue;
            sent.Questions[p][i] = now;
            json.open('[')
                .item()
                .number(p)
                .item()
                .number(static_cast<int64_t>(i))
                .item()
                .number(now.Open ? 1 : 0);
            json.item().number(now.Value).close(']');
        }
    }
    json.close(']').key("groups").open('[');
    for (int p = 0; p < kPageCount; ++p) {
        if (!pageShown(p))
            continue;
        const auto page = static_cast<PageId>(p);
        const size_t count = GroupsOf(page).size();
        sent.Groups[p].resize(count);
        for (size_t g = 0; g < count; ++g) {
            const bool open = GroupOpen(page, static_cast<int>(g), opens[p]);
            if (!all && open == sent.Groups[p][g])
                continue;
            sent.Groups[p][g] = open;
            json.open('[')
                .item()
                .number(p)
                .item()
                .number(static_cast<int64_t>(g))
                .item()
                .number(open ? 1 : 0)
                .close(']');
        }
    }
    json.close(']');
    std::string description = ObsessionDescriptionOf(answers.Obsession);
    if (all || description != sent.Description) {
        json.key("description").string(description);
        sent.Description = std::move(description);
    }
    std::string years = YearsText(answers.Experience.Years);
    if (all || years != sent.Years) {
        json.key("years").string(years);
        sent.Years = std::move(years);
    }
    if (codeChanged) {
        json.key("code").string(code);
        AddChangedSentences(json, code, sent, all);
        sent.Code = code;
    }
    json.close('}');
    return Reply(json.text());
}

// The next glomie_changes gives everything.
GLOMIE_EXPORT void glomie_forget() {
    TheSent().Valid = false;
}

// Reads the first code in a text as Paste Code does: whether there is one, what the pages take of
// it (its code) and what they cannot take as it is. Nothing changes until glomie_take_pasted.
GLOMIE_EXPORT const char* glomie_read_code(const char* text) {
    const PastedCode pasted = ReadPastedCode(text ? text : "");
    TheModel().Pasted = pasted.Answers;
    Json json;
    json.open('{').key("found").boolean(pasted.Found);
    json.key("code").string(pasted.Found ? EncodeGlomieCode(pasted.Answers) : std::string());
    json.key("problems").open('[');
    for (const PasteProblem& problem : pasted.Problems) {
        json.open('{').key("position").number(static_cast<int64_t>(problem.Position));
        json.key("text").string(problem.Text).key("message").string(problem.Message).close('}');
    }
    json.close(']').close('}');
    return Reply(json.text());
}

// The answers of the code read last become the answers.
GLOMIE_EXPORT void glomie_take_pasted() {
    TheModel().Answers = TheModel().Pasted;
}

// The header every code starts with, for the page's messages.
GLOMIE_EXPORT const char* glomie_header() {
    return kHeaderPrefix;
}
