// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include "code/CodeFrame.h"
#include "settings/SettingsLayout.h"

namespace {

// An answer set in which every section of the code is present and long.
AnswerSet EverySection() {
    AnswerSet a;
    ResetToDefaults(a);
    a.Obsession = {.ChkSec = 1, .GlomiePref = 2, .Sec = 22, .Pri = 14};
    a.Favorites = {.Senshi0 = 1,
                   .Senshi1 = 4,
                   .TrendSenshi0 = 2,
                   .TrendSenshi1 = 1,
                   .TrendVillian0 = 0,
                   .Villian0 = 14,
                   .Villian1 = 52,
                   .TrendVillian1 = 2,
                   .IntensitySenshi1 = 1,
                   .IntensitySenshi0 = 3,
                   .BoostSenshi1 = 2,
                   .BoostSenshi0 = 0,
                   .IntensityVillian1 = 2,
                   .IntensityVillian0 = 1,
                   .BoostVillian1 = 1,
                   .BoostVillian0 = 1};
    a.MoreFavorites = {.Assist0 = 1,
                       .Assist1 = 23,
                       .TrendAssist0 = 1,
                       .TrendAssist1 = 0,
                       .TrendPart0 = 0,
                       .Part0 = 5,
                       .Part1 = 7,
                       .TrendPart1 = 2,
                       .IntensityAssist1 = 2,
                       .IntensityAssist0 = 2,
                       .BoostAssist1 = 1,
                       .BoostAssist0 = 0,
                       .IntensityPart1 = 3,
                       .IntensityPart0 = 1,
                       .BoostPart1 = 0,
                       .BoostPart0 = 1};
    a.Dislikes = a.Favorites;
    a.MoreDislikes = a.MoreFavorites;
    a.Experience.Years = 21;
    a.Experience.Raw = 200, a.Experience.Sub = 52, a.Experience.Dub = 12;
    a.Experience.IntensityRaw = 0, a.Experience.IntensitySub = 1, a.Experience.BoostDub = 1;
    a.Experience.MangaRaw = 18, a.Experience.MangaSub = 60, a.Experience.IntensityMangaSub = 2;
    auto& o = a.Opinions;
    o.OmitDub = o.OmitSos = o.OmitOw = o.OmitAnti = o.OmitHentai = o.OmitMixx = 0;
    o.IntensityDub = -2, o.Member = 1, o.IntensitySos = 2, o.BoostSos = 1, o.IntensityOw = 3;
    o.IntensityAnti = -2, o.BoostAnti = -1, o.IntensityHentai = -1, o.IntensityMixx = 1;
    auto& p = a.Personal;
    p.OmitAge = p.OmitStature = p.OmitWeight = p.OmitFat = p.OmitEyes = 0;
    p.SpecifyExactAge = 1, p.ExactAge = 23, p.SpecifyExactStature = 1, p.ExactStatureFt = 5,
    p.ExactStatureIn = 11;
    p.Weight = 1, p.BoostWeight = -1, p.Fat = -1, p.Same = 0, p.ColorLeft0 = 2, p.ColorAdjLeft0 = 1;
    p.ColorRight0 = 3, p.ColorRight1 = 4, p.Glasses = 1, p.Contacts = 1;
    auto& q = a.MorePersonal;
    q.OmitHair = q.OmitTone = q.OmitGroup = q.OmitBloodType = 0;
    q.HairColor = 1, q.HairColorAdj = 1, q.Hair = 2, q.Moustache = 1, q.Beard = 1, q.Tone = -1,
    q.BoostTone = 1;
    q.Group = 9, q.BloodType = 2, q.BloodTypeSign = 2;
    auto& r = a.EvenMorePersonal;
    r.OmitSign = r.OmitGender = r.OmitRelationship = 0;
    r.Sign = 4, r.Gender = 1, r.Kink = 1, r.KinkMembership = 2, r.Preference = 2, r.Status = 0,
    r.BoostStatus = 1;
    return a;
}

void BM_RebuildEverySection(benchmark::State& state) {
    AnswerSet answers = EverySection();
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    for (auto _ : state) {
        frame.rebuildCode(RebuildAll);
        benchmark::DoNotOptimize(frame.fullCode().data());
    }
    state.counters["code_length"] = static_cast<double>(frame.fullCode().size());
}
BENCHMARK(BM_RebuildEverySection);

void BM_RebuildOneSectionAndJoin(benchmark::State& state) {
    AnswerSet answers = EverySection();
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    for (auto _ : state) {
        frame.rebuildCode(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(frame.fullCode().data());
    }
}
BENCHMARK(BM_RebuildOneSectionAndJoin)->DenseRange(JoinOnly, EvenMorePersonalSection);

} // namespace
