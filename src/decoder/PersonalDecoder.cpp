// SPDX-License-Identifier: MIT
// The personal section (" P"): the subsections of the Personal, More Personal and Even More
// Personal pages, each present only when its omit box is clear.

#include <algorithm>
#include <climits>

#include "code/CodeFrame.h"
#include "decoder/DecoderParts.h"
#include "decoder/Phrases.h"
#include "vocabulary/Tables.h"

namespace {

#define PER(Field) RangeOf(PageId::Personal, GLOMIE_PAGE_FIELD(PersonalAnswers, Field))
#define MORE(Field) RangeOf(PageId::MorePersonal, GLOMIE_PAGE_FIELD(MorePersonalAnswers, Field))
#define EVEN(Field) RangeOf(PageId::EvenMorePersonal, GLOMIE_PAGE_FIELD(EvenMorePersonalAnswers, Field))

enum PersonalOrder : int {
    Age,
    Stature,
    Weight,
    Fat,
    Eyes,
    Hair,
    Tone,
    Group,
    Blood,
    Sign,
    Gender,
    Relationship
};

// The letters of the subsections up to the sign, in their order; the gender has no letter of its own
// (its answer "x", "y" or "z" opens it) and the relationship follows it.
constexpr std::string_view kPersonalLetters = "aswfehtcb*";

int PersonalOrderOf(std::string_view piece) {
    if (piece.empty())
        return -1;
    switch (piece[0]) {
    case 'x':
    case 'y':
    case 'z':
        return Gender;
    case 'r':
        return Relationship;
    default: {
        const size_t order = LetterPlace(kPersonalLetters, piece[0]);
        return order == std::string_view::npos ? -1 : static_cast<int>(order);
    }
    }
}

// "m", "b" or "m[b]" (and "g", "z", "g[z]" for the eyes): the second bracketed when both are set.
// The second is 'b' or 'z'.
bool ReadMarkPair(CodeReader& r, char first, char second, int32_t& a, int32_t& b) {
    a = r.accept(first) ? 1 : 0;
    if (a && r.accept('[')) {
        if (!r.accept(second) || !r.accept(']'))
            return r.fail(second == 'z' ? "expected '[z]'" : "expected '[b]'");
        b = 1;
    } else {
        b = !a && r.accept(second) ? 1 : 0;
    }
    return r.expectEnd();
}

// The rest of the subsection as a slider's level with its tune ("--[+]"), said as "<what>: level ...".
bool DecodeLevel(CodeReader& r, PieceContext& context, int section, std::string_view what, ControlRange range,
                 int32_t& value, int16_t& boost) {
    TunedRun level;
    if (!ReadSignedRun(r, level) || !r.expectEnd())
        return false;
    value = level.Run, boost = static_cast<int16_t>(level.Tune);
    TextWriter& text = context.start(what);
    text += ": level ";
    AppendLevel(text, level.Run, range.Minimum, range.Maximum, level.Tune);
    text += '.';
    context.say(section);
    return true;
}

bool DecodeAge(CodeReader& r, PieceContext& context) {
    PersonalAnswers& p = context.Result.Answers.Personal;
    if (r.peekDigit()) {
        int age = 0;
        if (!ReadNumber(r, age) || !r.expectEnd())
            return false;
        p.SpecifyExactAge = 1, p.ExactAge = age;
        TextWriter& text = context.start("Age: ");
        AppendNumber(text, age);
        text += age == 1 ? " year" : " years";
        AppendBeyond(text, age > PER(ExactAge).Maximum);
        text += '.';
        context.say(PersonalSection);
    } else if (!DecodeLevel(r, context, PersonalSection, "Age", PER(Age), p.Age, p.BoostAge)) {
        return false;
    }
    p.OmitAge = 0;
    return true;
}

// The number "%d" writes as these digits, or -1 when it writes no number so.
int64_t WrittenNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0'))
        return -1;
    int64_t value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value <= INT32_MAX ? value : -1;
}

// Feet and inches written back to back ("%d%d"). Of the ways to split the digits, those the page
// allows (0..10 ft, 0..11 in) come first: "1011" is 10 ft 11 in, not 101 ft 1 in.
bool DecodeExactStature(CodeReader& r, PieceContext& context) {
    const size_t start = r.pos();
    while (r.peekDigit())
        r.skip(1);
    if (!r.expectEnd())
        return false;
    const std::string_view digits = r.text().substr(start, r.pos() - start);
    struct Split {
        int64_t Feet, Inches;
        bool Allowed;
    };
    // Those the page allows first, each group in the order of the split.
    Split splits[20];
    size_t count = 0;
    const int64_t mostFeet = PER(ExactStatureFt).Maximum, mostInches = PER(ExactStatureIn).Maximum;
    for (const bool allowed : {true, false}) {
        for (size_t at = 1; at < digits.size() && digits.size() <= 20; ++at) {
            const int64_t feet = WrittenNumber(digits.substr(0, at)),
                          inches = WrittenNumber(digits.substr(at));
            if (feet >= 0 && inches >= 0 && (feet <= mostFeet && inches <= mostInches) == allowed)
                splits[count++] = {feet, inches, allowed};
        }
    }
    if (count == 0)
        return r.failAt(start, "expected feet and inches written together, as 511");
    const Split& chosen = splits[0];
    PersonalAnswers& p = context.Result.Answers.Personal;
    p.OmitStature = 0, p.SpecifyExactStature = 1;
    p.ExactStatureFt = static_cast<int32_t>(chosen.Feet),
    p.ExactStatureIn = static_cast<int32_t>(chosen.Inches);
    const auto appendHeight = [](TextWriter& text, const Split& s) {
        AppendNumber(text, s.Feet);
        text += " ft ";
        AppendNumber(text, s.Inches);
        text += " in";
    };
    TextWriter& text = context.start("Stature: ");
    appendHeight(text, chosen);
    AppendBeyond(text, !chosen.Allowed);
    bool ambiguous = false;
    for (size_t i = 1; i < count && splits[i].Allowed; ++i) {
        if (ambiguous) {
            text += " or ";
        } else {
            text += "; \"";
            text += digits;
            text += "\" can also be read as ";
        }
        appendHeight(text, splits[i]);
        ambiguous = true;
    }
    text += '.';
    context.say(PersonalSection, ambiguous);
    return true;
}

bool DecodeStature(CodeReader& r, PieceContext& context) {
    if (r.peekDigit())
        return DecodeExactStature(r, context);
    PersonalAnswers& p = context.Result.Answers.Personal;
    if (!DecodeLevel(r, context, PersonalSection, "Stature", PER(Stature), p.Stature, p.BoostStature))
        return false;
    p.OmitStature = 0;
    return true;
}

bool DecodeWeight(CodeReader& r, PieceContext& context) {
    PersonalAnswers& p = context.Result.Answers.Personal;
    if (r.peekDigit()) {
        int weight = 0;
        if (!ReadNumber(r, weight) || !r.expectEnd())
            return false;
        p.SpecifyExactWeight = 1, p.ExactWeight = weight;
        TextWriter& text = context.start("Weight: ");
        AppendNumber(text, weight);
        text += " lbs";
        AppendBeyond(text, weight > PER(ExactWeight).Maximum);
        text += '.';
        context.say(PersonalSection);
    } else if (r.accept('?')) {
        if (!r.expectEnd())
            return false;
        p.NoTellWeight = 1;
        context.sayPhrase(PersonalSection, "Weight: not telling.");
    } else if (!DecodeLevel(r, context, PersonalSection, "Weight", PER(Weight), p.Weight, p.BoostWeight)) {
        return false;
    }
    p.OmitWeight = 0;
    return true;
}

bool DecodeFat(CodeReader& r, PieceContext& context) {
    PersonalAnswers& p = context.Result.Answers.Personal;
    if (r.accept('?')) {
        if (!r.expectEnd())
            return false;
        p.NoTellFat = 1;
        context.sayPhrase(PersonalSection, "Body fat: not telling.");
    } else if (!DecodeLevel(r, context, PersonalSection, "Body fat", PER(Fat), p.Fat, p.BoostFat)) {
        return false;
    }
    p.OmitFat = 0;
    return true;
}

struct EyeList {
    int Count = 0;
    int Colour[3] = {};
    int Adjective[3] = {};
};

void ReadEyeList(CodeReader& r, EyeList& list) {
    const Vocabulary& v = Vocab();
    while (list.Count < 3) {
        const int colour = ReadOptionalCode(r, v.EyeColor);
        if (colour == 0)
            return;
        list.Colour[list.Count] = colour;
        list.Adjective[list.Count] = ReadOptionalCode(r, v.ColorAdj);
        ++list.Count;
    }
}

// "Dark blue", "Green".
void AppendColour(TextWriter& text, const CodeIndex& colours, int colour, int adjective) {
    if (adjective == 0) {
        text += colours.description(colour);
        return;
    }
    text += Vocab().ColorAdj.description(adjective);
    text += ' ';
    AppendLowerFirst(text, colours.description(colour));
}

void AppendEyeList(TextWriter& text, const EyeList& list) {
    ListSeparators separators(text, static_cast<size_t>(list.Count));
    for (int i = 0; i < list.Count; ++i) {
        separators.next();
        AppendColour(text, Vocab().EyeColor, list.Colour[i], list.Adjective[i]);
    }
}

// Colours of the left eye, then '|' and the right eye's when they differ, then glasses and contacts.
bool DecodeEyes(CodeReader& r, PieceContext& context) {
    EyeList left, right;
    ReadEyeList(r, left);
    const size_t bar = r.pos();
    if (r.accept('|')) {
        if (left.Count == 0)
            return r.failAt(bar, "'|' comes between the left eye's colours and the right eye's");
        ReadEyeList(r, right);
        if (right.Count == 0)
            return r.fail("expected the right eye's colours after '|'");
    }
    int32_t glasses = 0, contacts = 0;
    if (!ReadMarkPair(r, 'g', 'z', glasses, contacts))
        return false;
    PersonalAnswers& p = context.Result.Answers.Personal;
    p.OmitEyes = 0, p.Glasses = glasses, p.Contacts = contacts;
    int32_t* const leftColour[] = {&p.ColorLeft0, &p.ColorLeft1, &p.ColorLeft2};
    int32_t* const leftAdjective[] = {&p.ColorAdjLeft0, &p.ColorAdjLeft1, &p.ColorAdjLeft2};
    int32_t* const rightColour[] = {&p.ColorRight0, &p.ColorRight1, &p.ColorRight2};
    int32_t* const rightAdjective[] = {&p.ColorAdjRight0, &p.ColorAdjRight1, &p.ColorAdjRight2};
    for (int i = 0; i < 3; ++i) {
        *leftColour[i] = left.Colour[i], *leftAdjective[i] = left.Adjective[i];
        *rightColour[i] = right.Colour[i], *rightAdjective[i] = right.Adjective[i];
    }
    TextWriter& text = context.start("Eyes");
    if (right.Count > 0) {
        p.Same = 0;
        text += ": left ";
        AppendEyeList(text, left);
        text += ", right ";
        AppendEyeList(text, right);
    } else if (left.Count > 0) {
        p.Same = 1;
        text += ", both the same: ";
        AppendEyeList(text, left);
    } else {
        // ":e" with no colour is what both eyes "the same" give when only the right eye's colours
        // are chosen: the code hides them, but one must be there for ":e" to be written.
        p.Same = 1;
        p.ColorRight0 = 1;
        text += ": the colour is not shown";
    }
    if (glasses)
        text += contacts ? "; wears glasses and contacts" : "; wears glasses";
    else if (contacts)
        text += "; wears contacts";
    text += '.';
    context.say(PersonalSection);
    return true;
}

bool DecodeHair(CodeReader& r, PieceContext& context) {
    const Vocabulary& v = Vocab();
    const int colour = ReadCode(r, v.HairColor, "expected a hair colour");
    if (colour < 0)
        return false;
    const int adjective = ReadOptionalCode(r, v.ColorAdj);
    TunedRun length;
    int32_t moustache = 0, beard = 0;
    if (!ReadSignedRun(r, length) || !ReadMarkPair(r, 'm', 'b', moustache, beard))
        return false;
    MorePersonalAnswers& p = context.Result.Answers.MorePersonal;
    p.OmitHair = 0, p.HairColor = colour, p.HairColorAdj = adjective;
    p.Hair = length.Run, p.BoostHair = static_cast<int16_t>(length.Tune);
    p.Moustache = moustache, p.Beard = beard;
    TextWriter& text = context.start("Hair: ");
    AppendColour(text, v.HairColor, colour, adjective);
    text += ", length ";
    const ControlRange lengths = MORE(Hair);
    AppendLevel(text, length.Run, lengths.Minimum, lengths.Maximum, length.Tune);
    if (moustache || beard)
        text += moustache && beard ? "; moustache and beard" : moustache ? "; moustache" : "; beard";
    text += '.';
    context.say(MorePersonalSection);
    return true;
}

bool DecodeTone(CodeReader& r, PieceContext& context) {
    MorePersonalAnswers& p = context.Result.Answers.MorePersonal;
    if (!DecodeLevel(r, context, MorePersonalSection, "Skin tone", MORE(Tone), p.Tone, p.BoostTone))
        return false;
    p.OmitTone = 0;
    return true;
}

bool DecodeGroup(CodeReader& r, PieceContext& context) {
    const Vocabulary& v = Vocab();
    uint32_t mask = 0;
    if (!ReadBitList(r, v.Group, r.text().size(), mask))
        return false;
    MorePersonalAnswers& p = context.Result.Answers.MorePersonal;
    p.OmitGroup = 0, p.Group = static_cast<int32_t>(mask);
    const int rows = std::min(v.Group.table().count(), 33);
    int chosen = 0;
    for (int row = 1; row < rows; ++row)
        chosen += (mask >> (row - 1)) & 1u;
    TextWriter& text = context.start(chosen > 1 ? "Cultural groups: " : "Cultural group: ");
    if (chosen == 0)
        text += "none chosen";
    ListSeparators separators(text, static_cast<size_t>(chosen));
    for (int row = 1; row < rows; ++row) {
        if ((mask >> (row - 1)) & 1u) {
            separators.next();
            text += v.Group.description(row);
        }
    }
    if (!text.endsWith('.'))
        text += '.';
    context.say(MorePersonalSection);
    return true;
}

bool DecodeBlood(CodeReader& r, PieceContext& context) {
    const Vocabulary& v = Vocab();
    const int type = ReadCode(r, v.BloodType, "expected a blood type: A, B, AB or O");
    if (type < 0)
        return false;
    const int sign = ReadOptionalCode(r, v.BloodTypeSign);
    if (!r.expectEnd())
        return false;
    MorePersonalAnswers& p = context.Result.Answers.MorePersonal;
    p.OmitBloodType = 0, p.BloodType = type, p.BloodTypeSign = sign;
    TextWriter& text = context.start("Blood type ");
    text += v.BloodType.description(type);
    text += "; rhesus ";
    if (sign)
        AppendLowerFirst(text, v.BloodTypeSign.description(sign));
    else
        text += "not stated";
    text += '.';
    context.say(MorePersonalSection);
    return true;
}

bool DecodeSign(CodeReader& r, PieceContext& context) {
    const int sign = ReadCode(r, Vocab().Sign, "expected an astrological sign");
    if (sign < 0 || !r.expectEnd())
        return false;
    EvenMorePersonalAnswers& p = context.Result.Answers.EvenMorePersonal;
    p.OmitSign = 0, p.Sign = sign;
    TextWriter& text = context.start("Astrological sign: ");
    text += Vocab().Sign.description(sign);
    text += '.';
    context.say(EvenMorePersonalSection);
    return true;
}

// The gender letter, then a purity quiz score "75%", or the kink factor ("?" when not told) and
// the membership.
bool DecodeGender(CodeReader& r, PieceContext& context) {
    const Vocabulary& v = Vocab();
    EvenMorePersonalAnswers& p = context.Result.Answers.EvenMorePersonal;
    EvenMorePersonalAnswers read = p; // what the gender leaves unsaid stays at its default
    read.Gender = ReadCode(r, v.Gender, "expected 'x', 'y' or 'z'");
    if (read.Gender < 0)
        return false;
    TunedRun kink;
    TextWriter& text = context.start("Gender: ");
    text += v.Gender.description(read.Gender);
    if (r.peekDigit()) {
        if (!ReadNumber(r, read.Purity))
            return false;
        if (!r.accept('%'))
            return r.fail("expected '%' after the purity quiz score");
        read.UsePurity = 1;
        text += "; purity quiz score ";
        AppendNumber(text, read.Purity);
        text += '%';
        AppendBeyond(text, read.Purity > EVEN(Purity).Maximum);
    } else {
        if (r.accept('?')) {
            read.NoTellKink = 1;
            text += "; kink factor not told";
        } else if (ReadSignedRun(r, kink)) {
            text += "; kink factor ";
            const ControlRange kinks = EVEN(Kink);
            AppendLevel(text, kink.Run, kinks.Minimum, kinks.Maximum, kink.Tune);
        } else {
            return false;
        }
        read.KinkMembership = ReadOptionalCode(r, v.Kink);
        if (read.KinkMembership) {
            text += "; ";
            AppendLowerFirst(text, v.Kink.description(read.KinkMembership));
        }
    }
    if (!r.expectEnd())
        return false;
    p.OmitGender = 0, p.Gender = read.Gender, p.UsePurity = read.UsePurity, p.Purity = read.Purity;
    p.NoTellKink = read.NoTellKink, p.Kink = kink.Run, p.BoostKink = static_cast<int16_t>(kink.Tune);
    p.KinkMembership = read.KinkMembership;
    text += '.';
    context.say(EvenMorePersonalSection);
    return true;
}

// A preference or status row with its tune, which together stay within the table's rows.
void AppendRow(TextWriter& text, const CodeTable& table, int row, int tune) {
    text += table.getEntry(row).Description;
    AppendTune(text, tune);
    const int last = table.count() - 1;
    AppendBeyond(text, row < 0 || row > last || row + tune < 0 || row + tune > last);
}

// Preference and status, each a row 0..2 written as row - 1 in signs, with its tune.
bool DecodeRelationship(CodeReader& r, PieceContext& context) {
    TunedRun preference, status;
    if (!ReadSignedRun(r, preference))
        return false;
    if (!r.accept('|'))
        return r.fail("expected '|' between preference and status");
    if (!ReadSignedRun(r, status) || !r.expectEnd())
        return false;
    EvenMorePersonalAnswers& p = context.Result.Answers.EvenMorePersonal;
    p.OmitRelationship = 0;
    p.Preference = preference.Run + 1, p.BoostPreference = static_cast<int16_t>(preference.Tune);
    p.Status = status.Run + 1, p.BoostStatus = static_cast<int16_t>(status.Tune);
    TextWriter& text = context.start("Relationship preference: ");
    AppendRow(text, PreferenceTable, p.Preference, preference.Tune);
    text += "; status: ";
    AppendRow(text, StatusTable, p.Status, status.Tune);
    text += '.';
    context.say(EvenMorePersonalSection);
    return true;
}

bool DecodePersonal(int order, CodeReader& r, PieceContext& context) {
    // The gender's letter is its answer; every other subsection's letter only names it.
    if (order != Gender)
        r.skip(1);
    switch (order) {
    case Age:
        return DecodeAge(r, context);
    case Stature:
        return DecodeStature(r, context);
    case Weight:
        return DecodeWeight(r, context);
    case Fat:
        return DecodeFat(r, context);
    case Eyes:
        return DecodeEyes(r, context);
    case Hair:
        return DecodeHair(r, context);
    case Tone:
        return DecodeTone(r, context);
    case Group:
        return DecodeGroup(r, context);
    case Blood:
        return DecodeBlood(r, context);
    case Sign:
        return DecodeSign(r, context);
    case Gender:
        return DecodeGender(r, context);
    default:
        return DecodeRelationship(r, context);
    }
}

#undef PER
#undef MORE
#undef EVEN

} // namespace

const SectionGrammar kPersonalGrammar{'P', "personal", PersonalOrderOf, DecodePersonal};
