// SPDX-License-Identifier: MIT
#include "RandomAnswers.h"

#include <algorithm>

#include "settings/SettingsLayout.h"

namespace {

// A favourite or dislike: a row of its table, a trend, and an intensity 0..3 with its tune.
template <typename Visitor, typename Field, typename Boost>
void Rated(Visitor& v, const char* name, Field& row, Field& trend, Field& intensity, Boost& boost,
           int lastRow) {
    v.range(name, row, 0, lastRow);
    v.range(name, trend, 0, 2);
    v.tune(name, intensity, boost, 0, 3, 0);
}

// Every answer with the range its control allows, visited in one place for both the generator and
// the checker. tune(value, tune, low, high, floor): the value lies in low..high and the tune keeps
// value + tune there too, never below floor (the spin's own minimum). An upright (inverted) anime
// slider at position p leaves a tune of 0..p.
template <typename Answers, typename Visitor> void VisitAnswers(Answers& a, Visitor& v) {
    v.range("SM.Pri", a.Obsession.Pri, 0, 30);
    v.range("SM.Sec", a.Obsession.Sec, 0, 30);
    v.range("SM.ChkSec", a.Obsession.ChkSec, 0, 1);
    v.range("SM.GlomiePref", a.Obsession.GlomiePref, 0, 2);

    for (auto* f : {&a.Favorites, &a.Dislikes}) {
        Rated(v, "F0.Senshi0", f->Senshi0, f->TrendSenshi0, f->IntensitySenshi0, f->BoostSenshi0, 18);
        Rated(v, "F0.Senshi1", f->Senshi1, f->TrendSenshi1, f->IntensitySenshi1, f->BoostSenshi1, 18);
        Rated(v, "F0.Villian0", f->Villian0, f->TrendVillian0, f->IntensityVillian0, f->BoostVillian0, 53);
        Rated(v, "F0.Villian1", f->Villian1, f->TrendVillian1, f->IntensityVillian1, f->BoostVillian1, 53);
    }
    for (auto* f : {&a.MoreFavorites, &a.MoreDislikes}) {
        Rated(v, "F1.Assist0", f->Assist0, f->TrendAssist0, f->IntensityAssist0, f->BoostAssist0, 23);
        Rated(v, "F1.Assist1", f->Assist1, f->TrendAssist1, f->IntensityAssist1, f->BoostAssist1, 23);
        Rated(v, "F1.Part0", f->Part0, f->TrendPart0, f->IntensityPart0, f->BoostPart0, 9);
        Rated(v, "F1.Part1", f->Part1, f->TrendPart1, f->IntensityPart1, f->BoostPart1, 9);
    }

    auto& x = a.Experience;
    v.range("Experience.Years", x.Years, 0, 100);
    v.range("Experience.ByNumbers", x.ByNumbers, 0, 1);
    v.range("Experience.Raw", x.Raw, 0, 200);
    v.range("Experience.Sub", x.Sub, 0, 200);
    v.range("Experience.Dub", x.Dub, 0, 200);
    v.range("Experience.MangaRaw", x.MangaRaw, 0, 200);
    v.range("Experience.MangaSub", x.MangaSub, 0, 200);
    v.range("Experience.RawComplete", x.RawComplete, 0, 511);
    v.range("Experience.SubComplete", x.SubComplete, 0, 511);
    v.range("Experience.DubComplete", x.DubComplete, 0, 511);
    v.range("Experience.RawPartial", x.RawPartial, 0, 511);
    v.range("Experience.SubPartial", x.SubPartial, 0, 511);
    v.range("Experience.DubPartial", x.DubPartial, 0, 511);
    v.inverted("Experience.Raw rating", x.IntensityRaw, x.BoostRaw, 4);
    v.inverted("Experience.Sub rating", x.IntensitySub, x.BoostSub, 4);
    v.inverted("Experience.Dub rating", x.IntensityDub, x.BoostDub, 4);
    v.tune("Experience.MangaRaw rating", x.IntensityMangaRaw, x.BoostMangaRaw, 0, 4, 0);
    v.tune("Experience.MangaSub rating", x.IntensityMangaSub, x.BoostMangaSub, 0, 4, 0);

    auto& o = a.Opinions;
    for (auto* flag : {&o.AmericanCartoon, &o.WhatDub, &o.NoOpDub, &o.NoOpAnti, &o.NoOpHentai, &o.NoOpMixx,
                       &o.NoOpOw, &o.NoOpSos, &o.Bitter, &o.WhatMixx, &o.WhatSos, &o.OmitDub, &o.Member,
                       &o.OmitAnti, &o.OmitHentai, &o.OmitMixx, &o.OmitOw, &o.OmitSos, &o.WhatOw})
        v.range("Opinions flag", *flag, 0, 1);
    v.tune("Opinions.Dub", o.IntensityDub, o.BoostDub, -2, 2, -4);
    v.tune("Opinions.Sos", o.IntensitySos, o.BoostSos, -2, 3, -5);
    v.tune("Opinions.Ow", o.IntensityOw, o.BoostOw, -2, 3, -5);
    v.tune("Opinions.Anti", o.IntensityAnti, o.BoostAnti, -2, 3, -5);
    v.tune("Opinions.Hentai", o.IntensityHentai, o.BoostHentai, -3, 3, -6);
    v.tune("Opinions.Mixx", o.IntensityMixx, o.BoostMixx, -2, 3, -5);

    auto& p = a.Personal;
    for (auto* flag : {&p.SpecifyExactAge, &p.SpecifyExactWeight, &p.SpecifyExactStature, &p.OmitAge,
                       &p.OmitStature, &p.OmitEyes, &p.OmitWeight, &p.NoTellWeight, &p.OmitFat, &p.NoTellFat,
                       &p.Same, &p.Glasses, &p.Contacts})
        v.range("Personal flag", *flag, 0, 1);
    v.range("Personal.ExactAge", p.ExactAge, 0, 200);
    v.range("Personal.ExactWeight", p.ExactWeight, 0, 500);
    v.range("Personal.ExactStatureFt", p.ExactStatureFt, 0, 10);
    v.range("Personal.ExactStatureIn", p.ExactStatureIn, 0, 11);
    for (auto* colour :
         {&p.ColorLeft0, &p.ColorLeft1, &p.ColorLeft2, &p.ColorRight0, &p.ColorRight1, &p.ColorRight2})
        v.range("Personal eye colour", *colour, 0, 6);
    for (auto* adjective : {&p.ColorAdjLeft0, &p.ColorAdjLeft1, &p.ColorAdjLeft2, &p.ColorAdjRight0,
                            &p.ColorAdjRight1, &p.ColorAdjRight2})
        v.range("Personal eye colour adjective", *adjective, 0, 2);
    v.tune("Personal.Age", p.Age, p.BoostAge, -3, 4, -7);
    v.tune("Personal.Stature", p.Stature, p.BoostStature, -3, 3, -6);
    v.tune("Personal.Weight", p.Weight, p.BoostWeight, -3, 3, -6);
    v.tune("Personal.Fat", p.Fat, p.BoostFat, -3, 3, -6);

    auto& q = a.MorePersonal;
    for (auto* flag : {&q.Beard, &q.Moustache, &q.OmitBloodType, &q.OmitGroup, &q.OmitHair, &q.OmitTone})
        v.range("MorePersonal flag", *flag, 0, 1);
    v.range("MorePersonal.HairColor", q.HairColor, 0, 9);
    v.range("MorePersonal.HairColorAdj", q.HairColorAdj, 0, 2);
    v.range("MorePersonal.BloodType", q.BloodType, 0, 3);
    v.range("MorePersonal.BloodTypeSign", q.BloodTypeSign, 0, 2);
    v.range("MorePersonal.Group", q.Group, 0, 511);
    v.tune("MorePersonal.Hair", q.Hair, q.BoostHair, -3, 4, -7);
    v.tune("MorePersonal.Tone", q.Tone, q.BoostTone, -2, 2, -4);

    auto& r = a.EvenMorePersonal;
    for (auto* flag : {&r.OmitGender, &r.OmitRelationship, &r.OmitSign, &r.UsePurity, &r.NoTellKink})
        v.range("EvenMorePersonal flag", *flag, 0, 1);
    v.range("EvenMorePersonal.Gender", r.Gender, 0, 2);
    v.range("EvenMorePersonal.Sign", r.Sign, 0, 11);
    v.range("EvenMorePersonal.KinkMembership", r.KinkMembership, 0, 3);
    v.range("EvenMorePersonal.Purity", r.Purity, 0, 500);
    v.tune("EvenMorePersonal.Kink", r.Kink, r.BoostKink, -3, 3, -6);
    // A preference or status row plus its tune stays within the rows 0..2.
    v.tune("EvenMorePersonal.Preference", r.Preference, r.BoostPreference, 0, 2, -2);
    v.tune("EvenMorePersonal.Status", r.Status, r.BoostStatus, 0, 2, -2);
}

class Generator {
  public:
    explicit Generator(ValueSource& values) : m_values(values) {}

    template <typename Field> void range(const char*, Field& field, int low, int high) {
        field = static_cast<Field>(pick(low, high));
    }
    template <typename Field, typename Boost>
    void tune(const char*, Field& value, Boost& tune, int low, int high, int floor) {
        value = static_cast<Field>(pick(low, high));
        tune = static_cast<Boost>(
            pick(std::max(low - static_cast<int>(value), floor), high - static_cast<int>(value)));
    }
    template <typename Field, typename Boost>
    void inverted(const char*, Field& position, Boost& tune, int maximum) {
        position = static_cast<Field>(pick(0, maximum));
        tune = static_cast<Boost>(pick(0, static_cast<int>(position)));
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

    template <typename Field> void range(const char* name, const Field& field, int low, int high) {
        check(name, static_cast<int64_t>(field), low, high);
    }
    template <typename Field, typename Boost>
    void tune(const char* name, const Field& value, const Boost& tune, int low, int high, int floor) {
        check(name, static_cast<int64_t>(value), low, high);
        check(name, int64_t{value} + tune, low, high);
        check(name, tune, floor, high - low);
    }
    template <typename Field, typename Boost>
    void inverted(const char* name, const Field& position, const Boost& tune, int maximum) {
        check(name, position, 0, maximum);
        check(name, tune, 0, static_cast<int>(position));
    }

  private:
    void check(const char* name, int64_t value, int64_t low, int64_t high) {
        if (Failure.empty() && (value < low || value > high))
            Failure = std::string(name) + " " + std::to_string(value) + " is outside " + std::to_string(low) +
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
