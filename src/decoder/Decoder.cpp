// SPDX-License-Identifier: MIT
#include "decoder/Decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "code/CodeFrame.h"
#include "code/Notation.h"
#include "code/Sections.h"
#include "decoder/DecoderParts.h"
#include "decoder/Phrases.h"
#include "settings/Questions.h"
#include "settings/SettingsLayout.h"

namespace {

// A text full of broken subsections must not give an endless list.
constexpr size_t kMaxProblems = 100;
constexpr size_t kProblemTextLength = 40;

constexpr std::array<bool, 256> kBlanks = [] {
    std::array<bool, 256> blanks{};
    for (const unsigned char c : {' ', '\t', '\n', '\r', '\f', '\v'})
        blanks[c] = true;
    return blanks;
}();

bool IsBlank(char c) {
    return kBlanks[static_cast<unsigned char>(c)];
}

// Eight bytes at a time where none is below '!': blanks are few and far between in a code.
size_t NextBlank(std::string_view text, size_t pos) {
    constexpr uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
    while (pos + 8 <= text.size()) {
        uint64_t bytes;
        std::memcpy(&bytes, text.data() + pos, sizeof bytes);
        if (((bytes - kOnes * '!') & ~bytes & kHighs) == 0) {
            pos += 8;
            continue;
        }
        for (const size_t end = pos + 8; pos < end; ++pos) {
            if (IsBlank(text[pos]))
                return pos;
        }
    }
    while (pos < text.size() && !IsBlank(text[pos]))
        ++pos;
    return pos;
}

// At most kProblemTextLength bytes, cut where no UTF-8 sequence is split.
std::string Shortened(std::string_view text) {
    if (text.size() <= kProblemTextLength)
        return std::string(text);
    size_t cut = kProblemTextLength;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut)) + "...";
}

// The problem's text runs from where reading stopped to the end of the subsection [begin, end); when
// reading stopped at the very end, it is the whole subsection.
void AddProblem(DecodeResult& result, std::string_view text, size_t position, size_t begin, size_t end,
                std::string_view message) {
    if (result.Problems.size() >= kMaxProblems)
        return;
    if (result.Problems.size() + 1 == kMaxProblems) {
        result.Problems.push_back({position, Shortened(text.substr(std::min(position, text.size()))),
                                   "more problems follow, not listed"});
        return;
    }
    const std::string_view there =
        position < end ? text.substr(position, end - position) : text.substr(begin, end - begin);
    result.Problems.push_back({position, Shortened(there), std::string(message)});
}

struct HeaderPlace {
    size_t Begin; // of "GlomieCode("
    size_t Version;
    size_t Body; // after "SM:"
    bool OtherVersion;
};

// The first "GlomieCode(<version>) SM:"; a version other than ours is still read, with a problem.
std::optional<HeaderPlace> FindHeader(std::string_view text) {
    const std::string_view prefix = kHeaderPrefix;
    const size_t open = prefix.find('(') + 1, close = prefix.find(')');
    const std::string_view name = prefix.substr(0, open), ours = prefix.substr(open, close - open),
                           afterVersion = prefix.substr(close);
    for (size_t at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
        const size_t version = at + name.size();
        // A version is short; looking no further keeps the search linear.
        const size_t length = text.substr(version, ours.size() + 16).find(afterVersion);
        if (length == std::string_view::npos)
            continue;
        const std::string_view found = text.substr(version, length);
        if (std::any_of(found.begin(), found.end(), IsBlank))
            continue;
        return HeaderPlace{at, version, version + length + afterVersion.size(), found != ours};
    }
    return std::nullopt;
}

bool ReadLevel(CodeReader& r, int& level) {
    const CodeIndex& levels = Vocab().Obsession;
    const size_t start = r.pos();
    const int row = ReadCode(r, levels, "expected an obsession level: a digit or '!'");
    if (row < 0)
        return false;
    // A third step up or down: "5+" is level 16, "5-" level 14.
    // "0-" would be level -1, which is written "0"; "!+" is past the slider but comes from a stored 31.
    const int value = 3 * row + (r.accept('+') ? 1 : r.accept('-') ? -1 : 0);
    if (value < 0)
        return r.failAt(start, "no obsession level is written so: they run from 0 up to '!'");
    level = value;
    return true;
}

void AppendLevelSentence(TextWriter& text, std::string_view which, int level) {
    const CodeIndex& levels = Vocab().Obsession;
    const int row = (level + 1) / 3;
    text += which;
    text += LevelNotation(level);
    if (level % 3 != 0) {
        text += level % 3 == 1 ? " (a third above " : " (a third below ";
        text += levels.code(row);
        text += ')';
    }
    AppendBeyond(text, level > 3 * (levels.table().count() - 1));
    text += ": ";
    text += levels.description(row);
}

// "SM:" level, then "[" the secondary level "]", then the feeling about the term "m-" or "m+".
// Returns false, with the reader failed, when the SM part cannot be read.
bool DecodeHeader(CodeReader& r, TextWriter& out, DecodeResult& result) {
    ObsessionAnswers sm = DefaultAnswers().Obsession;
    bool read = ReadLevel(r, sm.Pri);
    if (read && r.accept('[')) {
        sm.ChkSec = 1;
        read = ReadLevel(r, sm.Sec) && (r.accept(']') || r.fail("expected ']' after the secondary level"));
    }
    if (read) {
        sm.GlomiePref = ReadOptionalCode(r, Vocab().TermFeeling);
        read = r.expectEnd();
    }
    if (!read)
        return false;
    result.Answers.Obsession = sm;
    const auto say = [&](size_t begin) {
        result.Sentences.push_back({HeaderSection, result.CodeBegin, begin, out.size() - begin, false});
    };
    size_t begin = out.size();
    AppendLevelSentence(out, "Obsession level ", sm.Pri);
    say(begin);
    if (sm.ChkSec) {
        begin = out.size();
        AppendLevelSentence(out, "Secondary obsession level ", sm.Sec);
        say(begin);
    }
    if (sm.GlomiePref) {
        begin = out.size();
        out += "About the term \"glomie\": ";
        out += Vocab().TermFeeling.description(sm.GlomiePref);
        out += '.';
        say(begin);
    }
    return true;
}

// Where reading goes on after an SM part that could not be read: a stray blank splits it, so the next
// words that hold no ':' are still its own, up to the next section tag. Words that could be prose
// after the code are not skipped: at most two, and short ones.
size_t AfterDamagedHeader(std::string_view text, size_t pos) {
    constexpr int kMostWords = 2;
    constexpr size_t kLongestWord = 12;
    size_t end = pos;
    for (int words = 0; words < kMostWords; ++words) {
        size_t next = end;
        while (next < text.size() && IsBlank(text[next]))
            ++next;
        const size_t wordEnd = NextBlank(text, next);
        const std::string_view word = text.substr(next, wordEnd - next);
        if (word.empty() || word.find(':') != std::string_view::npos || word.size() > kLongestWord)
            break;
        end = wordEnd;
    }
    return end;
}

// A section's body from its first ':' to the next blank, subsection by subsection. lastOrder is the
// place of the last subsection read, carried over when a blank splits the section.
void DecodeBody(std::string_view text, size_t begin, size_t end, const SectionGrammar& grammar,
                int& lastOrder, TextWriter& out, DecodeResult& result) {
    for (size_t colon = begin; colon < end;) {
        const size_t pieceBegin = colon + 1;
        // Looking no further than the section's end.
        const void* found = std::memchr(text.data() + pieceBegin, ':', end - pieceBegin);
        const size_t pieceEnd =
            found ? static_cast<size_t>(static_cast<const char*>(found) - text.data()) : end;
        const std::string_view piece = text.substr(pieceBegin, pieceEnd - pieceBegin);
        const int order = grammar.Order(piece);
        if (order < 0) {
            AddProblem(result, text, pieceBegin, colon, pieceEnd,
                       piece.empty() ? std::string("':' with no subsection after it")
                                     : std::string("no such subsection in the ") + grammar.Name);
        } else if (order <= lastOrder) {
            AddProblem(result, text, pieceBegin, colon, pieceEnd,
                       std::string("this subsection of the ") + grammar.Name +
                           " is repeated or out of order");
        } else {
            lastOrder = order;
            CodeReader r(piece);
            PieceContext context{result, out, pieceBegin, grammar.Tag == 'D'};
            const size_t textEnd = out.size();
            if (!grammar.Decode(order, r, context)) {
                // A sentence the subsection began but never said is dropped.
                size_t said = textEnd;
                if (!result.Sentences.empty())
                    said = std::max(said,
                                    result.Sentences.back().TextBegin + result.Sentences.back().TextLength);
                out.truncate(said);
                AddProblem(result, text, pieceBegin + (r.failed() ? r.failPos() : 0), colon, pieceEnd,
                           r.failed() ? r.failMessage() : "cannot read this subsection");
            }
        }
        colon = pieceEnd;
    }
}

// Reads the code whose header was found.
void DecodeCode(std::string_view text, const HeaderPlace& header, TextWriter& out, DecodeResult& result) {
    result.HeaderFound = true;
    result.CodeBegin = header.Begin;
    if (header.OtherVersion)
        AddProblem(result, text, header.Version, header.Begin, header.Body,
                   "not version 1.12.05 of the code; read as if it were");
    size_t pos = NextBlank(text, header.Body);
    CodeReader headerReader(text.substr(header.Body, pos - header.Body));
    if (!DecodeHeader(headerReader, out, result)) {
        const size_t failed = header.Body + headerReader.failPos();
        pos = AfterDamagedHeader(text, pos);
        AddProblem(result, text, failed, result.CodeBegin, pos, headerReader.failMessage());
    }
    result.CodeEnd = pos;

    // The tags, in the order the code has them.
    static constexpr std::string_view kTags = "FDXOP";
    const SectionGrammar* const grammars[] = {&kFavouritesGrammar, &kDislikesGrammar, &kExperienceGrammar,
                                              &kOpinionsGrammar, &kPersonalGrammar};
    bool seen[std::size(grammars)] = {};
    int lastSection = -1;
    const SectionGrammar* current = nullptr;
    int lastOrder = -1;
    while (pos < text.size()) {
        size_t next = pos;
        while (next < text.size() && IsBlank(text[next]))
            ++next;
        if (next == text.size())
            break;
        size_t bodyBegin = next;
        if (text[next] == ':' && current) {
            AddProblem(result, text, pos, pos, NextBlank(text, next),
                       "a blank inside a section: blanks only come before a tag");
        } else {
            const size_t kind = LetterPlace(kTags, text[next]);
            const bool atEnd = next + 1 == text.size();
            // A tag is its letter and the ':' of its first subsection; anything else ends the code.
            if (kind == std::string_view::npos || (!atEnd && text[next + 1] != ':'))
                break;
            current = grammars[kind];
            lastOrder = -1;
            if (atEnd) {
                AddProblem(result, text, next, next, text.size(), "a section tag with nothing after it");
                result.CodeEnd = text.size();
                break;
            }
            bodyBegin = next + 1;
            if (seen[kind]) {
                AddProblem(result, text, next, next, NextBlank(text, next),
                           "a second section with this tag; it is not read");
                pos = result.CodeEnd = NextBlank(text, next);
                current = nullptr;
                continue;
            }
            if (static_cast<int>(kind) < lastSection)
                AddProblem(result, text, next, next, NextBlank(text, next),
                           "this section comes before the one in front of it");
            seen[kind] = true;
            lastSection = std::max(lastSection, static_cast<int>(kind));
        }
        pos = result.CodeEnd = NextBlank(text, bodyBegin);
        DecodeBody(text, bodyBegin, pos, *current, lastOrder, out, result);
    }
}

} // namespace

DecodeResult DecodeGlomieCode(std::string_view text) {
    // A copy of an empty result: cheaper than setting every answer to its default twice.
    static const DecodeResult empty = [] {
        DecodeResult made;
        made.Answers = DefaultAnswers();
        return made;
    }();
    DecodeResult result = empty;
    const std::optional<HeaderPlace> header = FindHeader(text);
    if (!header)
        return result;
    // Room for the sentences of a code with every subsection.
    result.Sentences.reserve(48);
    TextWriter out;
    DecodeCode(text, *header, out, result);
    result.SentenceText = out.written();
    return result;
}

ControlRange RangeOf(PageId page, PageField field) {
    const int question = QuestionIndex(page, field);
    if (question < 0)
        return {};
    const Question& q = QuestionsOf(page)[static_cast<size_t>(question)];
    return {q.Minimum, q.Maximum};
}

std::vector<SentenceGroup> SentenceGroups(const DecodeResult& result) {
    std::vector<SentenceGroup> groups;
    const std::span<const DecodedSentence> sentences(result.Sentences);
    for (size_t begin = 0; begin < sentences.size();) {
        const std::string_view title = SectionTitle(sentences[begin].Section);
        size_t end = begin + 1;
        while (end < sentences.size() && SectionTitle(sentences[end].Section) == title)
            ++end;
        groups.push_back(
            {title.empty() ? std::string_view("Other") : title, sentences.subspan(begin, end - begin)});
        begin = end;
    }
    return groups;
}

const char* SectionTitle(int section) {
    switch (section) {
    case HeaderSection:
        return "Obsession";
    case FavoritesSection:
    case MoreFavoritesSection:
        return "Favourites";
    case DislikesSection:
    case MoreDislikesSection:
        return "Dislikes";
    case ExperienceSection:
        return "Experience";
    case OpinionsSection:
        return "Opinions";
    case PersonalSection:
    case MorePersonalSection:
    case EvenMorePersonalSection:
        return "Personal";
    default:
        return "";
    }
}

std::array<UnstoredAnswer, 6> UnstoredAnswers(const AnswerSet& answers) {
    std::array<UnstoredAnswer, 6> unstored{};
    const auto values = UnstoredValues();
    for (size_t i = 0; i < unstored.size() && i < values.size(); ++i)
        unstored[i] = {values[i].Section.data(), values[i].Name.data(), ReadAnswer(answers, values[i].Field)};
    return unstored;
}
