#include "settings/SettingsLayout.h"

#include <cstring>
#include <type_traits>

namespace {

template <typename T> constexpr AnswerKind KindOf();
template <> constexpr AnswerKind KindOf<SMAnswers>() { return AnswerKind::SM; }
template <> constexpr AnswerKind KindOf<F0Answers>() { return AnswerKind::F0; }
template <> constexpr AnswerKind KindOf<F1Answers>() { return AnswerKind::F1; }
template <> constexpr AnswerKind KindOf<XAnswers>() { return AnswerKind::X; }
template <> constexpr AnswerKind KindOf<OAnswers>() { return AnswerKind::O; }
template <> constexpr AnswerKind KindOf<P0Answers>() { return AnswerKind::P0; }
template <> constexpr AnswerKind KindOf<P1Answers>() { return AnswerKind::P1; }
template <> constexpr AnswerKind KindOf<P2Answers>() { return AnswerKind::P2; }

// One row of the layout: the value name is the field name, and the width is the field's own.
#define VALUE(Struct, Field, Default)                                                                        \
    SettingsValue {                                                                                          \
        #Field, static_cast<int>(sizeof(Struct::Field) * 8), Default, KindOf<Struct>(), offsetof(Struct, Field) \
    }

constexpr SettingsValue kSM[] = {
    VALUE(SMAnswers, Pri, 15),
    VALUE(SMAnswers, Sec, 0),
    VALUE(SMAnswers, ChkSec, 0),
    VALUE(SMAnswers, GlomiePref, 1),
};

// Shared by "Fav" and "Dis".
constexpr SettingsValue kFavDis[] = {
    VALUE(F0Answers, Senshi0, 0),
    VALUE(F0Answers, Senshi1, 0),
    VALUE(F0Answers, TrendSenshi0, 1),
    VALUE(F0Answers, TrendSenshi1, 1),
    VALUE(F0Answers, IntensitySenshi0, 0),
    VALUE(F0Answers, IntensitySenshi1, 0),
    VALUE(F0Answers, BoostSenshi0, 0),
    VALUE(F0Answers, BoostSenshi1, 0),
    VALUE(F0Answers, Villian0, 0),
    VALUE(F0Answers, Villian1, 0),
    VALUE(F0Answers, TrendVillian0, 1),
    VALUE(F0Answers, TrendVillian1, 1),
    VALUE(F0Answers, IntensityVillian0, 0),
    VALUE(F0Answers, IntensityVillian1, 0),
    VALUE(F0Answers, BoostVillian0, 0),
    VALUE(F0Answers, BoostVillian1, 0),
    VALUE(F1Answers, Assist0, 0),
    VALUE(F1Answers, Assist1, 0),
    VALUE(F1Answers, TrendAssist0, 1),
    VALUE(F1Answers, TrendAssist1, 1),
    VALUE(F1Answers, IntensityAssist0, 0),
    VALUE(F1Answers, IntensityAssist1, 0),
    VALUE(F1Answers, BoostAssist0, 0),
    VALUE(F1Answers, BoostAssist1, 0),
    VALUE(F1Answers, Part0, 0),
    VALUE(F1Answers, Part1, 0),
    VALUE(F1Answers, TrendPart0, 1),
    VALUE(F1Answers, TrendPart1, 1),
    VALUE(F1Answers, IntensityPart0, 0),
    VALUE(F1Answers, IntensityPart1, 0),
    VALUE(F1Answers, BoostPart0, 0),
    VALUE(F1Answers, BoostPart1, 0),
};

// IntensityMangaRaw, IntensityMangaSub, BoostMangaRaw and BoostMangaSub are not persisted.
constexpr SettingsValue kExp[] = {
    VALUE(XAnswers, Years, 0),
    VALUE(XAnswers, RawComplete, 0),
    VALUE(XAnswers, SubComplete, 0),
    VALUE(XAnswers, DubComplete, 0),
    VALUE(XAnswers, RawPartial, 0),
    VALUE(XAnswers, SubPartial, 0),
    VALUE(XAnswers, DubPartial, 0),
    VALUE(XAnswers, IntensityRaw, 4),
    VALUE(XAnswers, BoostRaw, 0),
    VALUE(XAnswers, IntensitySub, 4),
    VALUE(XAnswers, BoostSub, 0),
    VALUE(XAnswers, IntensityDub, 4),
    VALUE(XAnswers, BoostDub, 0),
    VALUE(XAnswers, ByNumbers, 1),
    VALUE(XAnswers, Raw, 0),
    VALUE(XAnswers, Sub, 0),
    VALUE(XAnswers, Dub, 0),
    VALUE(XAnswers, MangaRaw, 0),
    VALUE(XAnswers, MangaSub, 0),
};

constexpr SettingsValue kOp[] = {
    VALUE(OAnswers, IntensityDub, 0),
    VALUE(OAnswers, IntensitySos, 0),
    VALUE(OAnswers, IntensityOw, 0),
    VALUE(OAnswers, IntensityAnti, 0),
    VALUE(OAnswers, IntensityHentai, 0),
    VALUE(OAnswers, IntensityMixx, 0),
    VALUE(OAnswers, BoostDub, 0),
    VALUE(OAnswers, BoostSos, 0),
    VALUE(OAnswers, BoostOw, 0),
    VALUE(OAnswers, BoostAnti, 0),
    VALUE(OAnswers, BoostHentai, 0),
    VALUE(OAnswers, BoostMixx, 0),
    VALUE(OAnswers, NoOpDub, 0),
    VALUE(OAnswers, NoOpSos, 0),
    VALUE(OAnswers, NoOpOw, 0),
    VALUE(OAnswers, NoOpAnti, 0),
    VALUE(OAnswers, NoOpHentai, 0),
    VALUE(OAnswers, NoOpMixx, 0),
    VALUE(OAnswers, OmitDub, 1),
    VALUE(OAnswers, OmitSos, 1),
    VALUE(OAnswers, OmitOw, 1),
    VALUE(OAnswers, OmitAnti, 1),
    VALUE(OAnswers, OmitHentai, 1),
    VALUE(OAnswers, OmitMixx, 1),
    VALUE(OAnswers, WhatDub, 0),
    VALUE(OAnswers, WhatSos, 0),
    VALUE(OAnswers, WhatOw, 0),
    VALUE(OAnswers, WhatMixx, 0),
    VALUE(OAnswers, AmericanCartoon, 0),
    VALUE(OAnswers, Member, 0),
    VALUE(OAnswers, Bitter, 0),
};

// NoTellWeight and NoTellFat are not persisted.
constexpr SettingsValue kPer[] = {
    VALUE(P0Answers, OmitAge, 1),
    VALUE(P0Answers, OmitStature, 1),
    VALUE(P0Answers, OmitWeight, 1),
    VALUE(P0Answers, OmitFat, 1),
    VALUE(P0Answers, OmitEyes, 1),
    VALUE(P0Answers, SpecifyExactAge, 0),
    VALUE(P0Answers, SpecifyExactStature, 0),
    VALUE(P0Answers, SpecifyExactWeight, 0),
    VALUE(P0Answers, ExactAge, 0),
    VALUE(P0Answers, ExactStatureFt, 0),
    VALUE(P0Answers, ExactStatureIn, 0),
    VALUE(P0Answers, ExactWeight, 0),
    VALUE(P0Answers, Age, 0),
    VALUE(P0Answers, Stature, 0),
    VALUE(P0Answers, Weight, 0),
    VALUE(P0Answers, Fat, 0),
    VALUE(P0Answers, BoostAge, 0),
    VALUE(P0Answers, BoostStature, 0),
    VALUE(P0Answers, BoostWeight, 0),
    VALUE(P0Answers, BoostFat, 0),
    VALUE(P0Answers, Same, 1),
    VALUE(P0Answers, Glasses, 0),
    VALUE(P0Answers, Contacts, 0),
    VALUE(P0Answers, ColorLeft0, 0),
    VALUE(P0Answers, ColorLeft1, 0),
    VALUE(P0Answers, ColorLeft2, 0),
    VALUE(P0Answers, ColorRight0, 0),
    VALUE(P0Answers, ColorRight1, 0),
    VALUE(P0Answers, ColorRight2, 0),
    VALUE(P0Answers, ColorAdjLeft0, 0),
    VALUE(P0Answers, ColorAdjLeft1, 0),
    VALUE(P0Answers, ColorAdjLeft2, 0),
    VALUE(P0Answers, ColorAdjRight0, 0),
    VALUE(P0Answers, ColorAdjRight1, 0),
    VALUE(P0Answers, ColorAdjRight2, 0),
    VALUE(P1Answers, OmitHair, 1),
    VALUE(P1Answers, OmitTone, 1),
    VALUE(P1Answers, OmitGroup, 1),
    VALUE(P1Answers, OmitBloodType, 1),
    VALUE(P1Answers, HairColor, 0),
    VALUE(P1Answers, HairColorAdj, 0),
    VALUE(P1Answers, Beard, 0),
    VALUE(P1Answers, Moustache, 0),
    VALUE(P1Answers, Hair, 0),
    VALUE(P1Answers, BoostHair, 0),
    VALUE(P1Answers, Tone, 0),
    VALUE(P1Answers, BoostTone, 0),
    VALUE(P1Answers, Group, 0),
    VALUE(P1Answers, BloodType, 0),
    VALUE(P1Answers, BloodTypeSign, 1),
    VALUE(P2Answers, OmitSign, 1),
    VALUE(P2Answers, OmitGender, 1),
    VALUE(P2Answers, OmitRelationship, 1),
    VALUE(P2Answers, Sign, 0),
    VALUE(P2Answers, Gender, 0),
    VALUE(P2Answers, UsePurity, 0),
    VALUE(P2Answers, Purity, 0),
    VALUE(P2Answers, NoTellKink, 0),
    VALUE(P2Answers, Kink, 0),
    VALUE(P2Answers, BoostKink, 0),
    VALUE(P2Answers, KinkMembership, 0),
    VALUE(P2Answers, Preference, 0),
    VALUE(P2Answers, BoostPreference, 0),
    VALUE(P2Answers, Status, 0),
    VALUE(P2Answers, BoostStatus, 0),
};

#undef VALUE

constexpr SettingsSection kSections[] = {
    {"SM", kSM}, {"Fav", kFavDis}, {"Dis", kFavDis}, {"Exp", kExp}, {"Op", kOp}, {"Per", kPer},
};

// The struct a value of a section lives in, or null when that page does not exist.
void* FieldOwner(const AnswerRefs& a, std::string_view section, AnswerKind kind) {
    const bool dislikes = section == "Dis";
    switch (kind) {
    case AnswerKind::SM:
        return a.SM;
    case AnswerKind::F0:
        return dislikes ? static_cast<void*>(a.Dislikes) : a.Favorites;
    case AnswerKind::F1:
        return dislikes ? static_cast<void*>(a.MoreDislikes) : a.MoreFavorites;
    case AnswerKind::X:
        return a.Experience;
    case AnswerKind::O:
        return a.Opinions;
    case AnswerKind::P0:
        return a.Personal;
    case AnswerKind::P1:
        return a.MorePersonal;
    case AnswerKind::P2:
        return a.EvenMorePersonal;
    }
    return nullptr;
}

bool SectionPresent(const AnswerRefs& a, const SettingsSection& section) {
    return section.Name != "Dis" || (a.Dislikes && a.MoreDislikes);
}

template <typename Visit> void ForEachStoredField(const AnswerRefs& answers, Visit visit) {
    for (const SettingsSection& section : kSections) {
        if (!SectionPresent(answers, section))
            continue;
        for (const SettingsValue& value : section.Values) {
            auto* owner = static_cast<unsigned char*>(FieldOwner(answers, section.Name, value.Kind));
            visit(section.Name, value, owner + value.Offset);
        }
    }
}

void StoreField(unsigned char* field, int width, int32_t value) {
    if (width == 16) {
        const auto narrow = static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
        std::memcpy(field, &narrow, sizeof narrow);
    } else {
        std::memcpy(field, &value, sizeof value);
    }
}

int32_t ReadField(const unsigned char* field, int width) {
    if (width == 16) {
        int16_t narrow;
        std::memcpy(&narrow, field, sizeof narrow);
        return narrow; // sign-extended
    }
    int32_t wide;
    std::memcpy(&wide, field, sizeof wide);
    return wide;
}

} // namespace

std::span<const SettingsSection> SettingsLayout() { return kSections; }

size_t StoredValueCount() {
    size_t count = 0;
    for (const SettingsSection& section : kSections)
        count += section.Values.size();
    return count;
}

void LoadSettings(ProfileStore& store, const AnswerRefs& answers) {
    ForEachStoredField(answers, [&](std::string_view section, const SettingsValue& value, unsigned char* field) {
        StoreField(field, value.Width, store.GetProfileInt(section, value.Name, value.Default));
    });
}

void SaveSettings(ProfileStore& store, const AnswerRefs& answers) {
    ForEachStoredField(answers, [&](std::string_view section, const SettingsValue& value, unsigned char* field) {
        store.WriteProfileInt(section, value.Name, ReadField(field, value.Width));
    });
}

void ResetToDefaults(const AnswerRefs& answers) {
    ForEachStoredField(answers, [](std::string_view, const SettingsValue& value, unsigned char* field) {
        StoreField(field, value.Width, value.Default);
    });
}
