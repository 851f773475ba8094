#include "settings/SettingsLayout.h"

#include <cstring>
#include <type_traits>

namespace {

template <typename T> constexpr AnswerKind KindOf();
template <> constexpr AnswerKind KindOf<ObsessionAnswers>() { return AnswerKind::SM; }
template <> constexpr AnswerKind KindOf<SenshiVillainAnswers>() { return AnswerKind::F0; }
template <> constexpr AnswerKind KindOf<AssistPartAnswers>() { return AnswerKind::F1; }
template <> constexpr AnswerKind KindOf<ExperienceAnswers>() { return AnswerKind::X; }
template <> constexpr AnswerKind KindOf<OpinionsAnswers>() { return AnswerKind::O; }
template <> constexpr AnswerKind KindOf<PersonalAnswers>() { return AnswerKind::P0; }
template <> constexpr AnswerKind KindOf<MorePersonalAnswers>() { return AnswerKind::P1; }
template <> constexpr AnswerKind KindOf<EvenMorePersonalAnswers>() { return AnswerKind::P2; }

// One row of the layout: the value name is the field name, and the width is the field's own.
#define VALUE(Struct, Field, Default)                                                                        \
    SettingsValue {                                                                                          \
        #Field, static_cast<int>(sizeof(Struct::Field) * 8), Default, KindOf<Struct>(), offsetof(Struct, Field) \
    }

constexpr SettingsValue kSM[] = {
    VALUE(ObsessionAnswers, Pri, 15),
    VALUE(ObsessionAnswers, Sec, 0),
    VALUE(ObsessionAnswers, ChkSec, 0),
    VALUE(ObsessionAnswers, GlomiePref, 1),
};

// Shared by "Fav" and "Dis".
constexpr SettingsValue kFavDis[] = {
    VALUE(SenshiVillainAnswers, Senshi0, 0),
    VALUE(SenshiVillainAnswers, Senshi1, 0),
    VALUE(SenshiVillainAnswers, TrendSenshi0, 1),
    VALUE(SenshiVillainAnswers, TrendSenshi1, 1),
    VALUE(SenshiVillainAnswers, IntensitySenshi0, 0),
    VALUE(SenshiVillainAnswers, IntensitySenshi1, 0),
    VALUE(SenshiVillainAnswers, BoostSenshi0, 0),
    VALUE(SenshiVillainAnswers, BoostSenshi1, 0),
    VALUE(SenshiVillainAnswers, Villian0, 0),
    VALUE(SenshiVillainAnswers, Villian1, 0),
    VALUE(SenshiVillainAnswers, TrendVillian0, 1),
    VALUE(SenshiVillainAnswers, TrendVillian1, 1),
    VALUE(SenshiVillainAnswers, IntensityVillian0, 0),
    VALUE(SenshiVillainAnswers, IntensityVillian1, 0),
    VALUE(SenshiVillainAnswers, BoostVillian0, 0),
    VALUE(SenshiVillainAnswers, BoostVillian1, 0),
    VALUE(AssistPartAnswers, Assist0, 0),
    VALUE(AssistPartAnswers, Assist1, 0),
    VALUE(AssistPartAnswers, TrendAssist0, 1),
    VALUE(AssistPartAnswers, TrendAssist1, 1),
    VALUE(AssistPartAnswers, IntensityAssist0, 0),
    VALUE(AssistPartAnswers, IntensityAssist1, 0),
    VALUE(AssistPartAnswers, BoostAssist0, 0),
    VALUE(AssistPartAnswers, BoostAssist1, 0),
    VALUE(AssistPartAnswers, Part0, 0),
    VALUE(AssistPartAnswers, Part1, 0),
    VALUE(AssistPartAnswers, TrendPart0, 1),
    VALUE(AssistPartAnswers, TrendPart1, 1),
    VALUE(AssistPartAnswers, IntensityPart0, 0),
    VALUE(AssistPartAnswers, IntensityPart1, 0),
    VALUE(AssistPartAnswers, BoostPart0, 0),
    VALUE(AssistPartAnswers, BoostPart1, 0),
};

// IntensityMangaRaw, IntensityMangaSub, BoostMangaRaw and BoostMangaSub are not persisted.
constexpr SettingsValue kExp[] = {
    VALUE(ExperienceAnswers, Years, 0),
    VALUE(ExperienceAnswers, RawComplete, 0),
    VALUE(ExperienceAnswers, SubComplete, 0),
    VALUE(ExperienceAnswers, DubComplete, 0),
    VALUE(ExperienceAnswers, RawPartial, 0),
    VALUE(ExperienceAnswers, SubPartial, 0),
    VALUE(ExperienceAnswers, DubPartial, 0),
    VALUE(ExperienceAnswers, IntensityRaw, 4),
    VALUE(ExperienceAnswers, BoostRaw, 0),
    VALUE(ExperienceAnswers, IntensitySub, 4),
    VALUE(ExperienceAnswers, BoostSub, 0),
    VALUE(ExperienceAnswers, IntensityDub, 4),
    VALUE(ExperienceAnswers, BoostDub, 0),
    VALUE(ExperienceAnswers, ByNumbers, 1),
    VALUE(ExperienceAnswers, Raw, 0),
    VALUE(ExperienceAnswers, Sub, 0),
    VALUE(ExperienceAnswers, Dub, 0),
    VALUE(ExperienceAnswers, MangaRaw, 0),
    VALUE(ExperienceAnswers, MangaSub, 0),
};

constexpr SettingsValue kOp[] = {
    VALUE(OpinionsAnswers, IntensityDub, 0),
    VALUE(OpinionsAnswers, IntensitySos, 0),
    VALUE(OpinionsAnswers, IntensityOw, 0),
    VALUE(OpinionsAnswers, IntensityAnti, 0),
    VALUE(OpinionsAnswers, IntensityHentai, 0),
    VALUE(OpinionsAnswers, IntensityMixx, 0),
    VALUE(OpinionsAnswers, BoostDub, 0),
    VALUE(OpinionsAnswers, BoostSos, 0),
    VALUE(OpinionsAnswers, BoostOw, 0),
    VALUE(OpinionsAnswers, BoostAnti, 0),
    VALUE(OpinionsAnswers, BoostHentai, 0),
    VALUE(OpinionsAnswers, BoostMixx, 0),
    VALUE(OpinionsAnswers, NoOpDub, 0),
    VALUE(OpinionsAnswers, NoOpSos, 0),
    VALUE(OpinionsAnswers, NoOpOw, 0),
    VALUE(OpinionsAnswers, NoOpAnti, 0),
    VALUE(OpinionsAnswers, NoOpHentai, 0),
    VALUE(OpinionsAnswers, NoOpMixx, 0),
    VALUE(OpinionsAnswers, OmitDub, 1),
    VALUE(OpinionsAnswers, OmitSos, 1),
    VALUE(OpinionsAnswers, OmitOw, 1),
    VALUE(OpinionsAnswers, OmitAnti, 1),
    VALUE(OpinionsAnswers, OmitHentai, 1),
    VALUE(OpinionsAnswers, OmitMixx, 1),
    VALUE(OpinionsAnswers, WhatDub, 0),
    VALUE(OpinionsAnswers, WhatSos, 0),
    VALUE(OpinionsAnswers, WhatOw, 0),
    VALUE(OpinionsAnswers, WhatMixx, 0),
    VALUE(OpinionsAnswers, AmericanCartoon, 0),
    VALUE(OpinionsAnswers, Member, 0),
    VALUE(OpinionsAnswers, Bitter, 0),
};

// NoTellWeight and NoTellFat are not persisted.
constexpr SettingsValue kPer[] = {
    VALUE(PersonalAnswers, OmitAge, 1),
    VALUE(PersonalAnswers, OmitStature, 1),
    VALUE(PersonalAnswers, OmitWeight, 1),
    VALUE(PersonalAnswers, OmitFat, 1),
    VALUE(PersonalAnswers, OmitEyes, 1),
    VALUE(PersonalAnswers, SpecifyExactAge, 0),
    VALUE(PersonalAnswers, SpecifyExactStature, 0),
    VALUE(PersonalAnswers, SpecifyExactWeight, 0),
    VALUE(PersonalAnswers, ExactAge, 0),
    VALUE(PersonalAnswers, ExactStatureFt, 0),
    VALUE(PersonalAnswers, ExactStatureIn, 0),
    VALUE(PersonalAnswers, ExactWeight, 0),
    VALUE(PersonalAnswers, Age, 0),
    VALUE(PersonalAnswers, Stature, 0),
    VALUE(PersonalAnswers, Weight, 0),
    VALUE(PersonalAnswers, Fat, 0),
    VALUE(PersonalAnswers, BoostAge, 0),
    VALUE(PersonalAnswers, BoostStature, 0),
    VALUE(PersonalAnswers, BoostWeight, 0),
    VALUE(PersonalAnswers, BoostFat, 0),
    VALUE(PersonalAnswers, Same, 1),
    VALUE(PersonalAnswers, Glasses, 0),
    VALUE(PersonalAnswers, Contacts, 0),
    VALUE(PersonalAnswers, ColorLeft0, 0),
    VALUE(PersonalAnswers, ColorLeft1, 0),
    VALUE(PersonalAnswers, ColorLeft2, 0),
    VALUE(PersonalAnswers, ColorRight0, 0),
    VALUE(PersonalAnswers, ColorRight1, 0),
    VALUE(PersonalAnswers, ColorRight2, 0),
    VALUE(PersonalAnswers, ColorAdjLeft0, 0),
    VALUE(PersonalAnswers, ColorAdjLeft1, 0),
    VALUE(PersonalAnswers, ColorAdjLeft2, 0),
    VALUE(PersonalAnswers, ColorAdjRight0, 0),
    VALUE(PersonalAnswers, ColorAdjRight1, 0),
    VALUE(PersonalAnswers, ColorAdjRight2, 0),
    VALUE(MorePersonalAnswers, OmitHair, 1),
    VALUE(MorePersonalAnswers, OmitTone, 1),
    VALUE(MorePersonalAnswers, OmitGroup, 1),
    VALUE(MorePersonalAnswers, OmitBloodType, 1),
    VALUE(MorePersonalAnswers, HairColor, 0),
    VALUE(MorePersonalAnswers, HairColorAdj, 0),
    VALUE(MorePersonalAnswers, Beard, 0),
    VALUE(MorePersonalAnswers, Moustache, 0),
    VALUE(MorePersonalAnswers, Hair, 0),
    VALUE(MorePersonalAnswers, BoostHair, 0),
    VALUE(MorePersonalAnswers, Tone, 0),
    VALUE(MorePersonalAnswers, BoostTone, 0),
    VALUE(MorePersonalAnswers, Group, 0),
    VALUE(MorePersonalAnswers, BloodType, 0),
    VALUE(MorePersonalAnswers, BloodTypeSign, 1),
    VALUE(EvenMorePersonalAnswers, OmitSign, 1),
    VALUE(EvenMorePersonalAnswers, OmitGender, 1),
    VALUE(EvenMorePersonalAnswers, OmitRelationship, 1),
    VALUE(EvenMorePersonalAnswers, Sign, 0),
    VALUE(EvenMorePersonalAnswers, Gender, 0),
    VALUE(EvenMorePersonalAnswers, UsePurity, 0),
    VALUE(EvenMorePersonalAnswers, Purity, 0),
    VALUE(EvenMorePersonalAnswers, NoTellKink, 0),
    VALUE(EvenMorePersonalAnswers, Kink, 0),
    VALUE(EvenMorePersonalAnswers, BoostKink, 0),
    VALUE(EvenMorePersonalAnswers, KinkMembership, 0),
    VALUE(EvenMorePersonalAnswers, Preference, 0),
    VALUE(EvenMorePersonalAnswers, BoostPreference, 0),
    VALUE(EvenMorePersonalAnswers, Status, 0),
    VALUE(EvenMorePersonalAnswers, BoostStatus, 0),
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
