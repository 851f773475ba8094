// SPDX-License-Identifier: MIT
// The favourites and dislikes (" F", " D") and the experience (" X") sections.

#include <algorithm>
#include <array>

#include "code/CodeFrame.h"
#include "code/Notation.h"
#include "decoder/DecoderParts.h"
#include "decoder/Phrases.h"
#include "settings/Questions.h"
#include "vocabulary/Tables.h"

namespace {

// ---- Favourites and dislikes: ":s" senshi, ":v" villians, ":a" assisting characters, ":p" parts

// A subsection names two rated choices of one group of its page: each the four questions choice,
// trend, intensity and tune, in the order the page asks them.
constexpr int kSlotQuestions = static_cast<int>(kRatedSlotQuestions);
constexpr int kGroupQuestions = 2 * kSlotQuestions;

struct RatedSubsection {
    const CodeIndex* Index;
    std::string_view Noun;
    PageId Page;
    int FirstQuestion; // of the group on the page
};

RatedSubsection Rated(int order, bool dislikes) {
    const Vocabulary& v = Vocab();
    const PageId first = dislikes ? PageId::Dislikes : PageId::Favorites;
    const PageId second = dislikes ? PageId::MoreDislikes : PageId::MoreFavorites;
    const RatedSubsection subsections[] = {
        {&v.Senshi, "senshi", first, 0},
        {&v.Villian, "villain", first, kGroupQuestions},
        {&v.Assist, "assisting character", second, 0},
        {&v.Part, "part of the series", second, kGroupQuestions},
    };
    return subsections[std::clamp(order, 0, 3)];
}

struct RatedItem {
    int Row = 0;
    int Trend = 1;
    TunedRun Rating;
};

bool operator==(const RatedItem& a, const RatedItem& b) {
    return a.Row == b.Row && a.Trend == b.Trend && a.Rating.Run == b.Rating.Run &&
           a.Rating.Tune == b.Rating.Tune;
}

struct RatedReading {
    int Count = 0;
    RatedItem Items[2];

    // Two readings say the same when they name the same rated choices, in whichever order.
    bool saysTheSameAs(const RatedReading& other) const {
        if (Count != other.Count)
            return false;
        return Count == 1 ? Items[0] == other.Items[0]
                          : (Items[0] == other.Items[0] && Items[1] == other.Items[1]) ||
                                (Items[0] == other.Items[1] && Items[1] == other.Items[0]);
    }
};

// The code has been read; now its trend and its run of '+' or '-'.
bool ReadRating(CodeReader& r, char symbol, RatedItem& item) {
    item.Trend = r.accept('<') ? 0 : r.accept('>') ? 2 : 1;
    return ReadTunedRun(r, symbol, item.Rating);
}

// The readings of a subsection that matter: the preferred one, and the first that says otherwise.
struct RatedReadings {
    int Count = 0;
    RatedReading Chosen;
    RatedReading Other;
    bool HasOther = false;

    void add(const RatedReading& reading) {
        if (Count++ == 0) {
            Chosen = reading;
        } else if (!HasOther && !reading.saysTheSameAs(Chosen)) {
            Other = reading;
            HasOther = true;
        }
    }
};

// Every way to read the rest of the subsection as one or two rated choices, in order of preference:
// the longest code first ("SS" is SuperS before it is S twice).
void ReadRatedItems(CodeReader& r, const CodeIndex& index, char symbol, RatedReadings& readings) {
    const size_t start = r.pos();
    int firstRows[CodeIndex::kMaxMatches];
    const int firsts = index.rowsStarting(r.rest(), firstRows);
    if (firsts == 0)
        r.fail("expected a code from the list of choices");
    for (int i = 0; i < firsts; ++i) {
        RatedItem first{firstRows[i], 1, {}};
        r.seek(start + index.codeLength(first.Row));
        if (!ReadRating(r, symbol, first))
            continue;
        if (r.atEnd()) {
            readings.add({1, {first}});
            continue;
        }
        const size_t next = r.pos();
        int secondRows[CodeIndex::kMaxMatches];
        const int seconds = index.rowsStarting(r.rest(), secondRows);
        if (seconds == 0)
            r.fail("expected a code from the list of choices");
        for (int j = 0; j < seconds; ++j) {
            RatedItem second{secondRows[j], 1, {}};
            r.seek(next + index.codeLength(second.Row));
            if (ReadRating(r, symbol, second) && (r.atEnd() || r.fail("at most two choices here")))
                readings.add({2, {first, second}});
        }
    }
}

// " (decreasing, ", " (stable, ", " (increasing, ": what follows a choice up to its intensity.
std::string_view TrendPhrase(int trend) {
    static const std::array<std::string, 3> phrases = [] {
        std::array<std::string, 3> made;
        for (int row = 0; row < 3; ++row) {
            const std::string& name = TrendTable.getEntry(row).Description;
            std::string& phrase = made[static_cast<size_t>(row)];
            phrase = " (";
            phrase += name;
            if (!name.empty())
                phrase[2] = LowerCase(phrase[2]);
            phrase += ", ";
        }
        return made;
    }();
    return phrases[static_cast<size_t>(std::clamp(trend, 0, 2))];
}

// "Sailor Moon/Tsukino Usagi/Serena (increasing, intensity 3 of 3)".
void AppendRatedChoice(TextWriter& text, const RatedSubsection& sub, const RatedItem& item) {
    text += sub.Index->description(item.Row);
    text += TrendPhrase(item.Trend);
    const Question& intensity = QuestionsOf(sub.Page)[static_cast<size_t>(sub.FirstQuestion + 2)];
    AppendIntensity(text, item.Rating.Run, intensity.Maximum, item.Rating.Tune);
    text += ')';
}

int RatedOrder(std::string_view piece) {
    static constexpr std::string_view kLetters = "svap";
    const size_t order = piece.empty() ? std::string_view::npos : LetterPlace(kLetters, piece[0]);
    return order == std::string_view::npos ? -1 : static_cast<int>(order);
}

bool DecodeRated(int order, CodeReader& r, PieceContext& context) {
    const RatedSubsection sub = Rated(order, context.Dislikes);
    r.skip(1);
    RatedReadings readings;
    ReadRatedItems(r, *sub.Index, context.Dislikes ? '-' : '+', readings);
    if (readings.Count == 0)
        return false;
    const RatedReading& chosen = readings.Chosen;
    const RatedReading* other = readings.HasOther ? &readings.Other : nullptr;
    for (int i = 0; i < chosen.Count; ++i) {
        const RatedItem& item = chosen.Items[i];
        const auto slot = QuestionsOf(sub.Page).subspan(
            static_cast<size_t>(sub.FirstQuestion + i * kSlotQuestions), kSlotQuestions);
        const int32_t answers[kSlotQuestions] = {item.Row, item.Trend, item.Rating.Run, item.Rating.Tune};
        for (size_t k = 0; k < slot.size(); ++k)
            WriteAnswer(context.Result.Answers, AnswerOf(sub.Page, slot[k]), answers[k]);
        TextWriter& text = context.Dislikes ? context.start("Disliked ") : context.start("Favourite ");
        text += sub.Noun;
        text += ": ";
        AppendRatedChoice(text, sub, item);
        if (other && i == 0) {
            text += "; the letters \"";
            text += r.text().substr(1);
            text += "\" can also be read as ";
            for (int k = 0; k < other->Count; ++k) {
                text += k > 0 ? " followed by " : "";
                AppendRatedChoice(text, sub, other->Items[k]);
            }
        }
        text += '.';
        context.say(SectionOf(sub.Page), other && i == 0);
    }
    return true;
}

// ---- Experience: ":" years, ":a" anime, ":m" manga

constexpr std::string_view kAnimeForms = "rsd";
constexpr std::string_view kMangaForms = "rs";

struct SeenForm {
    int Form = 0; // index into kAnimeForms or kMangaForms
    int Amount = 0;
    uint32_t Complete = 0;
    uint32_t Partial = 0;
    TunedRun Rating;
};

bool DecodeYears(CodeReader& r, PieceContext& context) {
    const int stars = r.repeat('*');
    if (stars > kMaxRunLength)
        return r.failAt(kMaxRunLength, "a run longer than any code has");
    bool half = false;
    if (r.accept('[')) {
        if (!r.accept('*') || !r.accept(']'))
            return r.fail("expected '[*]' for half a year");
        half = true;
    }
    if (!r.expectEnd())
        return false;
    const int years = 2 * stars + (half ? 1 : 0);
    context.Result.Answers.Experience.Years = static_cast<int16_t>(years);
    TextWriter& text = context.start("Fan of the series for ");
    if (stars == 0) {
        text += "half a year";
    } else {
        AppendNumber(text, stars);
        text += half ? " and a half years" : stars == 1 ? " year" : " years";
    }
    AppendBeyond(text,
                 years > RangeOf(PageId::Experience, GLOMIE_PAGE_FIELD(ExperienceAnswers, Years)).Maximum);
    text += '.';
    context.say(ExperienceSection);
    return true;
}

// A form letter in the order raw, subbed, dubbed, each form at most once.
bool ReadForm(CodeReader& r, std::string_view forms, int previous, int& form) {
    const size_t found = r.atEnd() ? std::string_view::npos : LetterPlace(forms, r.peek());
    if (found == std::string_view::npos)
        return r.fail(forms.size() == 3 ? "expected 'r', 's' or 'd': raw, subbed or dubbed"
                                        : "expected 'r' or 's': raw or translated");
    if (static_cast<int>(found) <= previous)
        return r.fail("each form comes once, in the order raw, subbed, dubbed");
    form = static_cast<int>(found);
    r.skip(1);
    return true;
}

// Parts seen completely, then "[" parts seen partly "]": "ClS[SS]".
bool ReadPartsSeen(CodeReader& r, SeenForm& seen) {
    const size_t listEnd = std::min(r.text().find_first_of("[rsd|", r.pos()), r.text().size());
    if (listEnd > r.pos() && !ReadBitList(r, Vocab().Part, listEnd, seen.Complete))
        return false;
    if (r.accept('[')) {
        const size_t close = std::min(r.text().find(']', r.pos()), r.text().size());
        if (close == r.pos())
            return r.fail("expected the parts seen partly");
        if (!ReadBitList(r, Vocab().Part, close, seen.Partial))
            return false;
        if (!r.accept(']'))
            return r.fail("expected ']' after the parts seen partly");
    }
    return seen.Complete != 0 || seen.Partial != 0 || r.fail("expected parts of the series");
}

// One entry of an anime or manga list: a count (or the parts seen), a form letter and a run.
bool ReadSeenForm(CodeReader& r, bool byNumbers, std::string_view forms, int previous, SeenForm& seen) {
    if (r.atEnd())
        return r.fail("expected another entry after '|'");
    if (r.peekDigit() != byNumbers)
        return r.fail(byNumbers ? "expected a number, as in the entry before"
                                : "expected parts of the series, as in the entry before");
    if (byNumbers) {
        const size_t start = r.pos();
        if (!ReadNumber(r, seen.Amount))
            return false;
        if (seen.Amount == 0)
            return r.failAt(start, "a form with nothing seen is left out, not written as 0");
    } else if (!ReadPartsSeen(r, seen)) {
        return false;
    }
    return ReadForm(r, forms, previous, seen.Form) && ReadTunedRun(r, '+', seen.Rating);
}

// Up to `most` entries joined by '|'.
int ReadSeenForms(CodeReader& r, bool byNumbers, std::string_view forms, SeenForm (&seen)[3]) {
    int count = 0;
    do {
        if (!ReadSeenForm(r, byNumbers, forms, count > 0 ? seen[count - 1].Form : -1, seen[count]))
            return 0;
        ++count;
    } while (count < static_cast<int>(forms.size()) && r.accept('|'));
    return r.expectEnd() ? count : 0;
}

// "Sailormoon classic, Sailormoon S and Sailormoon SuperS".
void AppendPartNames(TextWriter& text, uint32_t mask) {
    const int rows = std::min(PartTable.count(), 33);
    int chosen = 0;
    for (int row = 1; row < rows; ++row)
        chosen += (mask >> (row - 1)) & 1u;
    ListSeparators separators(text, static_cast<size_t>(chosen));
    for (int row = 1; row < rows; ++row) {
        if ((mask >> (row - 1)) & 1u) {
            separators.next();
            text += Vocab().Part.description(row);
        }
    }
}

bool DecodeAnime(CodeReader& r, PieceContext& context) {
    static constexpr std::string_view kFormNames[] = {"raw", "subbed", "dubbed"};
    r.skip(1);
    const bool byNumbers = r.peekDigit();
    SeenForm seen[3];
    const int count = ReadSeenForms(r, byNumbers, kAnimeForms, seen);
    if (count == 0)
        return false;
    ExperienceAnswers& x = context.Result.Answers.Experience;
    x.ByNumbers = byNumbers ? 1 : 0;
#define EXP(Field) GLOMIE_PAGE_FIELD(ExperienceAnswers, Field)
#define FORM(Name)                                                                                           \
    { EXP(Name), EXP(Name##Complete), EXP(Name##Partial), EXP(Intensity##Name), EXP(Boost##Name) }
    struct FormFields {
        PageField Episodes, Complete, Partial, Intensity, Boost;
    };
    const FormFields fields[] = {FORM(Raw), FORM(Sub), FORM(Dub)};
#undef FORM
#undef EXP
    for (int i = 0; i < count; ++i) {
        const SeenForm& form = seen[i];
        const FormFields& f = fields[form.Form];
        TextWriter& text = context.start("Anime seen ");
        text += kFormNames[form.Form];
        text += ": ";
        if (byNumbers) {
            WriteField(x, f.Episodes, form.Amount);
            AppendNumber(text, form.Amount);
            text += form.Amount == 1 ? " episode" : " episodes";
            AppendBeyond(text, form.Amount > RangeOf(PageId::Experience, f.Episodes).Maximum);
        } else {
            WriteField(x, f.Complete, static_cast<int32_t>(form.Complete));
            WriteField(x, f.Partial, static_cast<int32_t>(form.Partial));
            if (form.Complete) {
                text += "completely ";
                AppendPartNames(text, form.Complete);
            }
            if (form.Complete && form.Partial)
                text += ", ";
            if (form.Partial) {
                text += "partly ";
                AppendPartNames(text, form.Partial);
            }
        }
        // The anime sliders stand upright with the strongest position at the top.
        const int strongest = RangeOf(PageId::Experience, f.Intensity).Maximum;
        WriteField(x, f.Intensity, strongest - form.Rating.Run);
        WriteField(x, f.Boost, form.Rating.Tune);
        text += "; ";
        AppendIntensity(text, form.Rating.Run, strongest, form.Rating.Tune);
        text += '.';
        context.say(ExperienceSection);
    }
    return true;
}

bool DecodeManga(CodeReader& r, PieceContext& context) {
    static constexpr std::string_view kFormNames[] = {"raw", "translated"};
    r.skip(1);
    SeenForm seen[3];
    const int count = ReadSeenForms(r, true, kMangaForms, seen);
    if (count == 0)
        return false;
    ExperienceAnswers& x = context.Result.Answers.Experience;
#define EXP(Field) GLOMIE_PAGE_FIELD(ExperienceAnswers, Field)
    const std::array<PageField, 3> fields[] = {{EXP(MangaRaw), EXP(IntensityMangaRaw), EXP(BoostMangaRaw)},
                                               {EXP(MangaSub), EXP(IntensityMangaSub), EXP(BoostMangaSub)}};
#undef EXP
    for (int i = 0; i < count; ++i) {
        const SeenForm& form = seen[i];
        const auto& [amount, intensity, boost] = fields[form.Form];
        WriteField(x, amount, form.Amount);
        WriteField(x, intensity, form.Rating.Run);
        WriteField(x, boost, form.Rating.Tune);
        TextWriter& text = context.start("Manga read ");
        text += kFormNames[form.Form];
        text += ": ";
        AppendNumber(text, form.Amount);
        AppendBeyond(text, form.Amount > RangeOf(PageId::Experience, amount).Maximum);
        text += "; ";
        AppendIntensity(text, form.Rating.Run, RangeOf(PageId::Experience, intensity).Maximum,
                        form.Rating.Tune);
        text += '.';
        context.say(ExperienceSection);
    }
    return true;
}

int ExperienceOrder(std::string_view piece) {
    if (piece.empty())
        return -1;
    switch (piece[0]) {
    case '*':
    case '[':
        return 0;
    case 'a':
        return 1;
    case 'm':
        return 2;
    default:
        return -1;
    }
}

bool DecodeExperience(int order, CodeReader& r, PieceContext& context) {
    switch (order) {
    case 0:
        return DecodeYears(r, context);
    case 1:
        return DecodeAnime(r, context);
    default:
        return DecodeManga(r, context);
    }
}

} // namespace

const SectionGrammar kFavouritesGrammar{'F', "favourites", RatedOrder, DecodeRated};
const SectionGrammar kDislikesGrammar{'D', "dislikes", RatedOrder, DecodeRated};
const SectionGrammar kExperienceGrammar{'X', "experience", ExperienceOrder, DecodeExperience};
