// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The answers of each page kind, as plain data. Field names follow the settings value names (the
// settings table writes those out, so renaming a field never renames a stored value); the initial values are
// what a page holds before its settings are loaded (−1 for a list with no selection). Boosts and Years are 16
// bits wide, every other field 32.

// The SM page: obsession levels and the feeling about the term "glomie".
struct ObsessionAnswers {
    int32_t ChkSec = 0;
    int32_t GlomiePref = -1;
    int32_t Sec = 0;
    int32_t Pri = 0;

    bool operator==(const ObsessionAnswers&) const = default;
};

// Favorites and Dislikes: two senshi and two villians, each rated.
struct SenshiVillainAnswers {
    int32_t Senshi0 = -1;
    int32_t Senshi1 = -1;
    int32_t TrendSenshi0 = -1;
    int32_t TrendSenshi1 = -1;
    int32_t TrendVillian0 = -1;
    int32_t Villian0 = -1;
    int32_t Villian1 = -1;
    int32_t TrendVillian1 = -1;
    int32_t IntensitySenshi1 = 0;
    int32_t IntensitySenshi0 = 0;
    int16_t BoostSenshi1 = 0;
    int16_t BoostSenshi0 = 0;
    int32_t IntensityVillian1 = 0;
    int32_t IntensityVillian0 = 0;
    int16_t BoostVillian1 = 0;
    int16_t BoostVillian0 = 0;

    bool operator==(const SenshiVillainAnswers&) const = default;
};

// More Favorites and More Dislikes: two assisting characters and two parts of the series.
struct AssistPartAnswers {
    int32_t Assist0 = -1;
    int32_t Assist1 = -1;
    int32_t TrendAssist0 = -1;
    int32_t TrendAssist1 = -1;
    int32_t TrendPart0 = -1;
    int32_t Part0 = -1;
    int32_t Part1 = -1;
    int32_t TrendPart1 = -1;
    int32_t IntensityAssist1 = 0;
    int32_t IntensityAssist0 = 0;
    int16_t BoostAssist1 = 0;
    int16_t BoostAssist0 = 0;
    int32_t IntensityPart1 = 0;
    int32_t IntensityPart0 = 0;
    int16_t BoostPart1 = 0;
    int16_t BoostPart0 = 0;

    bool operator==(const AssistPartAnswers&) const = default;
};

// Experience: years as a fan, anime and manga seen. Anime sliders are inverted (0 is the strongest).
struct ExperienceAnswers {
    int32_t ByNumbers = 0;
    uint32_t Dub = 0;
    uint32_t Sub = 0;
    uint32_t MangaSub = 0;
    uint32_t Raw = 0;
    uint32_t MangaRaw = 0;
    int32_t IntensityRaw = 0;
    int32_t IntensitySub = 0;
    int32_t IntensityDub = 0;
    int16_t BoostRaw = 0;
    int16_t BoostSub = 0;
    int16_t BoostDub = 0;
    int32_t IntensityMangaRaw = 0; // not persisted
    int32_t IntensityMangaSub = 0; // not persisted
    int16_t BoostMangaRaw = 0;     // not persisted
    int16_t BoostMangaSub = 0;     // not persisted
    int32_t RawComplete = 0;
    int32_t SubComplete = 0;
    int32_t DubComplete = 0;
    int32_t RawPartial = 0;
    int32_t SubPartial = 0;
    int32_t DubPartial = 0;
    int16_t Years = 0;

    bool operator==(const ExperienceAnswers&) const = default;
};

// Opinions on six fandom topics.
struct OpinionsAnswers {
    int32_t AmericanCartoon = 0;
    int32_t WhatDub = 0;
    int32_t NoOpDub = 0;
    int32_t NoOpAnti = 0;
    int32_t NoOpHentai = 0;
    int32_t NoOpMixx = 0;
    int32_t NoOpOw = 0;
    int32_t NoOpSos = 0;
    int32_t Bitter = 0;
    int32_t WhatMixx = 0;
    int32_t WhatSos = 0;
    int32_t OmitDub = 0;
    int32_t Member = 0;
    int32_t OmitAnti = 0;
    int32_t OmitHentai = 0;
    int32_t OmitMixx = 0;
    int32_t OmitOw = 0;
    int32_t OmitSos = 0;
    int32_t WhatOw = 0;
    int32_t IntensityDub = 0;
    int32_t IntensitySos = 0;
    int32_t IntensityOw = 0;
    int32_t IntensityAnti = 0;
    int32_t IntensityHentai = 0;
    int32_t IntensityMixx = 0;
    int16_t BoostDub = 0;
    int16_t BoostSos = 0;
    int16_t BoostOw = 0;
    int16_t BoostAnti = 0;
    int16_t BoostHentai = 0;
    int16_t BoostMixx = 0;

    bool operator==(const OpinionsAnswers&) const = default;
};

// Personal: age, stature, weight, body fat and eyes.
struct PersonalAnswers {
    int32_t SpecifyExactAge = 0;
    int32_t ExactAge = 0;
    int32_t ExactWeight = 0;
    int32_t ExactStatureIn = 0;
    int32_t ExactStatureFt = 0;
    int32_t SpecifyExactWeight = 0;
    int32_t SpecifyExactStature = 0;
    int32_t OmitAge = 0;
    int32_t OmitStature = 0;
    int32_t OmitEyes = 0;
    int32_t OmitWeight = 0;
    int32_t NoTellWeight = 0; // not persisted
    int32_t OmitFat = 0;
    int32_t NoTellFat = 0; // not persisted
    int32_t Same = 0;
    int32_t Glasses = 0;
    int32_t Contacts = 0;
    int32_t ColorAdjLeft0 = -1;
    int32_t ColorAdjLeft1 = -1;
    int32_t ColorAdjLeft2 = -1;
    int32_t ColorAdjRight0 = -1;
    int32_t ColorAdjRight1 = -1;
    int32_t ColorAdjRight2 = -1;
    int32_t ColorRight0 = -1;
    int32_t ColorRight1 = -1;
    int32_t ColorRight2 = -1;
    int32_t ColorLeft0 = -1;
    int32_t ColorLeft1 = -1;
    int32_t ColorLeft2 = -1;
    int32_t Age = 0;
    int32_t Stature = 0;
    int32_t Weight = 0;
    int32_t Fat = 0;
    int16_t BoostAge = 0;
    int16_t BoostStature = 0;
    int16_t BoostWeight = 0;
    int16_t BoostFat = 0;

    bool operator==(const PersonalAnswers&) const = default;
};

// More Personal: hair, skin tone, cultural groups, blood type.
struct MorePersonalAnswers {
    int32_t HairColor = -1;
    int32_t HairColorAdj = -1;
    int32_t Beard = 0;
    int32_t Moustache = 0;
    int32_t BloodType = -1;
    int32_t BloodTypeSign = -1;
    int32_t OmitBloodType = 0;
    int32_t OmitGroup = 0;
    int32_t OmitHair = 0;
    int32_t OmitTone = 0;
    int32_t Group = 0;
    int16_t BoostHair = 0;
    int32_t Hair = 0;
    int16_t BoostTone = 0;
    int32_t Tone = 0;

    bool operator==(const MorePersonalAnswers&) const = default;
};

// Even More Personal: sign, gender with kink or purity, relationship.
struct EvenMorePersonalAnswers {
    int32_t Gender = -1;
    int32_t Sign = -1;
    int32_t KinkMembership = -1;
    int32_t Preference = -1;
    int32_t Status = -1;
    int32_t Purity = 0;
    int32_t OmitGender = 0;
    int32_t OmitRelationship = 0;
    int32_t OmitSign = 0;
    int32_t UsePurity = 0;
    int32_t NoTellKink = 0;
    int16_t BoostPreference = 0;
    int16_t BoostStatus = 0;
    int16_t BoostKink = 0;
    int32_t Kink = 0;

    bool operator==(const EvenMorePersonalAnswers&) const = default;
};

// The ten pages, in the order of their tabs. Each has its part of an AnswerSet; Favorites and
// Dislikes share one kind of answers, More Favorites and More Dislikes another.
enum class PageId : uint8_t {
    Obsession,
    Favorites,
    MoreFavorites,
    Dislikes,
    MoreDislikes,
    Experience,
    Opinions,
    Personal,
    MorePersonal,
    EvenMorePersonal,
};
inline constexpr int kPageCount = 10;

// All answers of one profile, held by value: the encoder's one answer model, and what the command
// line, the decoder and the tests work with.
struct AnswerSet {
    ObsessionAnswers Obsession;
    SenshiVillainAnswers Favorites;
    AssistPartAnswers MoreFavorites;
    SenshiVillainAnswers Dislikes;
    AssistPartAnswers MoreDislikes;
    ExperienceAnswers Experience;
    OpinionsAnswers Opinions;
    PersonalAnswers Personal;
    MorePersonalAnswers MorePersonal;
    EvenMorePersonalAnswers EvenMorePersonal;

    bool operator==(const AnswerSet&) const = default;
};
