// SPDX-License-Identifier: MIT
#include "settings/SettingsLayout.h"

#include <array>

namespace {

// One row: the stored name written out, then the answer it holds. The name is never made from the
// field's name, so renaming a field cannot rename a user's stored value.
#define VALUE_OF(Name, Default, page, Struct, Field)                                                         \
    SettingsValue {                                                                                          \
        Name, FieldWidth(FieldTypeOf<decltype(Struct::Field)>()), Default, AnswerField {                     \
            page, GLOMIE_PAGE_FIELD(Struct, Field)                                                           \
        }                                                                                                    \
    }
#define VALUE(Name, Default, Page, Struct, Field) VALUE_OF(Name, Default, PageId::Page, Struct, Field)

constexpr SettingsValue kSM[] = {
    VALUE("Pri", 15, Obsession, ObsessionAnswers, Pri),
    VALUE("Sec", 0, Obsession, ObsessionAnswers, Sec),
    VALUE("ChkSec", 0, Obsession, ObsessionAnswers, ChkSec),
    VALUE("GlomiePref", 1, Obsession, ObsessionAnswers, GlomiePref),
};

// The favourites and the dislikes keep the same values in sections of their own ("Fav", "Dis"): the
// senshi and villians of one page, then the assisting characters and parts of the other.
constexpr std::array<SettingsValue, 32> RatedValues(PageId senshi, PageId assist) {
    return {
        VALUE_OF("Senshi0", 0, senshi, SenshiVillainAnswers, Senshi0),
        VALUE_OF("Senshi1", 0, senshi, SenshiVillainAnswers, Senshi1),
        VALUE_OF("TrendSenshi0", 1, senshi, SenshiVillainAnswers, TrendSenshi0),
        VALUE_OF("TrendSenshi1", 1, senshi, SenshiVillainAnswers, TrendSenshi1),
        VALUE_OF("IntensitySenshi0", 0, senshi, SenshiVillainAnswers, IntensitySenshi0),
        VALUE_OF("IntensitySenshi1", 0, senshi, SenshiVillainAnswers, IntensitySenshi1),
        VALUE_OF("BoostSenshi0", 0, senshi, SenshiVillainAnswers, BoostSenshi0),
        VALUE_OF("BoostSenshi1", 0, senshi, SenshiVillainAnswers, BoostSenshi1),
        VALUE_OF("Villian0", 0, senshi, SenshiVillainAnswers, Villian0),
        VALUE_OF("Villian1", 0, senshi, SenshiVillainAnswers, Villian1),
        VALUE_OF("TrendVillian0", 1, senshi, SenshiVillainAnswers, TrendVillian0),
        VALUE_OF("TrendVillian1", 1, senshi, SenshiVillainAnswers, TrendVillian1),
        VALUE_OF("IntensityVillian0", 0, senshi, SenshiVillainAnswers, IntensityVillian0),
        VALUE_OF("IntensityVillian1", 0, senshi, SenshiVillainAnswers, IntensityVillian1),
        VALUE_OF("BoostVillian0", 0, senshi, SenshiVillainAnswers, BoostVillian0),
        VALUE_OF("BoostVillian1", 0, senshi, SenshiVillainAnswers, BoostVillian1),
        VALUE_OF("Assist0", 0, assist, AssistPartAnswers, Assist0),
        VALUE_OF("Assist1", 0, assist, AssistPartAnswers, Assist1),
        VALUE_OF("TrendAssist0", 1, assist, AssistPartAnswers, TrendAssist0),
        VALUE_OF("TrendAssist1", 1, assist, AssistPartAnswers, TrendAssist1),
        VALUE_OF("IntensityAssist0", 0, assist, AssistPartAnswers, IntensityAssist0),
        VALUE_OF("IntensityAssist1", 0, assist, AssistPartAnswers, IntensityAssist1),
        VALUE_OF("BoostAssist0", 0, assist, AssistPartAnswers, BoostAssist0),
        VALUE_OF("BoostAssist1", 0, assist, AssistPartAnswers, BoostAssist1),
        VALUE_OF("Part0", 0, assist, AssistPartAnswers, Part0),
        VALUE_OF("Part1", 0, assist, AssistPartAnswers, Part1),
        VALUE_OF("TrendPart0", 1, assist, AssistPartAnswers, TrendPart0),
        VALUE_OF("TrendPart1", 1, assist, AssistPartAnswers, TrendPart1),
        VALUE_OF("IntensityPart0", 0, assist, AssistPartAnswers, IntensityPart0),
        VALUE_OF("IntensityPart1", 0, assist, AssistPartAnswers, IntensityPart1),
        VALUE_OF("BoostPart0", 0, assist, AssistPartAnswers, BoostPart0),
        VALUE_OF("BoostPart1", 0, assist, AssistPartAnswers, BoostPart1),
    };
}

constexpr auto kFav = RatedValues(PageId::Favorites, PageId::MoreFavorites);
constexpr auto kDis = RatedValues(PageId::Dislikes, PageId::MoreDislikes);

constexpr SettingsValue kExp[] = {
    VALUE("Years", 0, Experience, ExperienceAnswers, Years),
    VALUE("RawComplete", 0, Experience, ExperienceAnswers, RawComplete),
    VALUE("SubComplete", 0, Experience, ExperienceAnswers, SubComplete),
    VALUE("DubComplete", 0, Experience, ExperienceAnswers, DubComplete),
    VALUE("RawPartial", 0, Experience, ExperienceAnswers, RawPartial),
    VALUE("SubPartial", 0, Experience, ExperienceAnswers, SubPartial),
    VALUE("DubPartial", 0, Experience, ExperienceAnswers, DubPartial),
    VALUE("IntensityRaw", 4, Experience, ExperienceAnswers, IntensityRaw),
    VALUE("BoostRaw", 0, Experience, ExperienceAnswers, BoostRaw),
    VALUE("IntensitySub", 4, Experience, ExperienceAnswers, IntensitySub),
    VALUE("BoostSub", 0, Experience, ExperienceAnswers, BoostSub),
    VALUE("IntensityDub", 4, Experience, ExperienceAnswers, IntensityDub),
    VALUE("BoostDub", 0, Experience, ExperienceAnswers, BoostDub),
    VALUE("ByNumbers", 1, Experience, ExperienceAnswers, ByNumbers),
    VALUE("Raw", 0, Experience, ExperienceAnswers, Raw),
    VALUE("Sub", 0, Experience, ExperienceAnswers, Sub),
    VALUE("Dub", 0, Experience, ExperienceAnswers, Dub),
    VALUE("MangaRaw", 0, Experience, ExperienceAnswers, MangaRaw),
    VALUE("MangaSub", 0, Experience, ExperienceAnswers, MangaSub),
};

constexpr SettingsValue kOp[] = {
    VALUE("IntensityDub", 0, Opinions, OpinionsAnswers, IntensityDub),
    VALUE("IntensitySos", 0, Opinions, OpinionsAnswers, IntensitySos),
    VALUE("IntensityOw", 0, Opinions, OpinionsAnswers, IntensityOw),
    VALUE("IntensityAnti", 0, Opinions, OpinionsAnswers, IntensityAnti),
    VALUE("IntensityHentai", 0, Opinions, OpinionsAnswers, IntensityHentai),
    VALUE("IntensityMixx", 0, Opinions, OpinionsAnswers, IntensityMixx),
    VALUE("BoostDub", 0, Opinions, OpinionsAnswers, BoostDub),
    VALUE("BoostSos", 0, Opinions, OpinionsAnswers, BoostSos),
    VALUE("BoostOw", 0, Opinions, OpinionsAnswers, BoostOw),
    VALUE("BoostAnti", 0, Opinions, OpinionsAnswers, BoostAnti),
    VALUE("BoostHentai", 0, Opinions, OpinionsAnswers, BoostHentai),
    VALUE("BoostMixx", 0, Opinions, OpinionsAnswers, BoostMixx),
    VALUE("NoOpDub", 0, Opinions, OpinionsAnswers, NoOpDub),
    VALUE("NoOpSos", 0, Opinions, OpinionsAnswers, NoOpSos),
    VALUE("NoOpOw", 0, Opinions, OpinionsAnswers, NoOpOw),
    VALUE("NoOpAnti", 0, Opinions, OpinionsAnswers, NoOpAnti),
    VALUE("NoOpHentai", 0, Opinions, OpinionsAnswers, NoOpHentai),
    VALUE("NoOpMixx", 0, Opinions, OpinionsAnswers, NoOpMixx),
    VALUE("OmitDub", 1, Opinions, OpinionsAnswers, OmitDub),
    VALUE("OmitSos", 1, Opinions, OpinionsAnswers, OmitSos),
    VALUE("OmitOw", 1, Opinions, OpinionsAnswers, OmitOw),
    VALUE("OmitAnti", 1, Opinions, OpinionsAnswers, OmitAnti),
    VALUE("OmitHentai", 1, Opinions, OpinionsAnswers, OmitHentai),
    VALUE("OmitMixx", 1, Opinions, OpinionsAnswers, OmitMixx),
    VALUE("WhatDub", 0, Opinions, OpinionsAnswers, WhatDub),
    VALUE("WhatSos", 0, Opinions, OpinionsAnswers, WhatSos),
    VALUE("WhatOw", 0, Opinions, OpinionsAnswers, WhatOw),
    VALUE("WhatMixx", 0, Opinions, OpinionsAnswers, WhatMixx),
    VALUE("AmericanCartoon", 0, Opinions, OpinionsAnswers, AmericanCartoon),
    VALUE("Member", 0, Opinions, OpinionsAnswers, Member),
    VALUE("Bitter", 0, Opinions, OpinionsAnswers, Bitter),
};

constexpr SettingsValue kPer[] = {
    VALUE("OmitAge", 1, Personal, PersonalAnswers, OmitAge),
    VALUE("OmitStature", 1, Personal, PersonalAnswers, OmitStature),
    VALUE("OmitWeight", 1, Personal, PersonalAnswers, OmitWeight),
    VALUE("OmitFat", 1, Personal, PersonalAnswers, OmitFat),
    VALUE("OmitEyes", 1, Personal, PersonalAnswers, OmitEyes),
    VALUE("SpecifyExactAge", 0, Personal, PersonalAnswers, SpecifyExactAge),
    VALUE("SpecifyExactStature", 0, Personal, PersonalAnswers, SpecifyExactStature),
    VALUE("SpecifyExactWeight", 0, Personal, PersonalAnswers, SpecifyExactWeight),
    VALUE("ExactAge", 0, Personal, PersonalAnswers, ExactAge),
    VALUE("ExactStatureFt", 0, Personal, PersonalAnswers, ExactStatureFt),
    VALUE("ExactStatureIn", 0, Personal, PersonalAnswers, ExactStatureIn),
    VALUE("ExactWeight", 0, Personal, PersonalAnswers, ExactWeight),
    VALUE("Age", 0, Personal, PersonalAnswers, Age),
    VALUE("Stature", 0, Personal, PersonalAnswers, Stature),
    VALUE("Weight", 0, Personal, PersonalAnswers, Weight),
    VALUE("Fat", 0, Personal, PersonalAnswers, Fat),
    VALUE("BoostAge", 0, Personal, PersonalAnswers, BoostAge),
    VALUE("BoostStature", 0, Personal, PersonalAnswers, BoostStature),
    VALUE("BoostWeight", 0, Personal, PersonalAnswers, BoostWeight),
    VALUE("BoostFat", 0, Personal, PersonalAnswers, BoostFat),
    VALUE("Same", 1, Personal, PersonalAnswers, Same),
    VALUE("Glasses", 0, Personal, PersonalAnswers, Glasses),
    VALUE("Contacts", 0, Personal, PersonalAnswers, Contacts),
    VALUE("ColorLeft0", 0, Personal, PersonalAnswers, ColorLeft0),
    VALUE("ColorLeft1", 0, Personal, PersonalAnswers, ColorLeft1),
    VALUE("ColorLeft2", 0, Personal, PersonalAnswers, ColorLeft2),
    VALUE("ColorRight0", 0, Personal, PersonalAnswers, ColorRight0),
    VALUE("ColorRight1", 0, Personal, PersonalAnswers, ColorRight1),
    VALUE("ColorRight2", 0, Personal, PersonalAnswers, ColorRight2),
    VALUE("ColorAdjLeft0", 0, Personal, PersonalAnswers, ColorAdjLeft0),
    VALUE("ColorAdjLeft1", 0, Personal, PersonalAnswers, ColorAdjLeft1),
    VALUE("ColorAdjLeft2", 0, Personal, PersonalAnswers, ColorAdjLeft2),
    VALUE("ColorAdjRight0", 0, Personal, PersonalAnswers, ColorAdjRight0),
    VALUE("ColorAdjRight1", 0, Personal, PersonalAnswers, ColorAdjRight1),
    VALUE("ColorAdjRight2", 0, Personal, PersonalAnswers, ColorAdjRight2),
    VALUE("OmitHair", 1, MorePersonal, MorePersonalAnswers, OmitHair),
    VALUE("OmitTone", 1, MorePersonal, MorePersonalAnswers, OmitTone),
    VALUE("OmitGroup", 1, MorePersonal, MorePersonalAnswers, OmitGroup),
    VALUE("OmitBloodType", 1, MorePersonal, MorePersonalAnswers, OmitBloodType),
    VALUE("HairColor", 0, MorePersonal, MorePersonalAnswers, HairColor),
    VALUE("HairColorAdj", 0, MorePersonal, MorePersonalAnswers, HairColorAdj),
    VALUE("Beard", 0, MorePersonal, MorePersonalAnswers, Beard),
    VALUE("Moustache", 0, MorePersonal, MorePersonalAnswers, Moustache),
    VALUE("Hair", 0, MorePersonal, MorePersonalAnswers, Hair),
    VALUE("BoostHair", 0, MorePersonal, MorePersonalAnswers, BoostHair),
    VALUE("Tone", 0, MorePersonal, MorePersonalAnswers, Tone),
    VALUE("BoostTone", 0, MorePersonal, MorePersonalAnswers, BoostTone),
    VALUE("Group", 0, MorePersonal, MorePersonalAnswers, Group),
    VALUE("BloodType", 0, MorePersonal, MorePersonalAnswers, BloodType),
    VALUE("BloodTypeSign", 1, MorePersonal, MorePersonalAnswers, BloodTypeSign),
    VALUE("OmitSign", 1, EvenMorePersonal, EvenMorePersonalAnswers, OmitSign),
    VALUE("OmitGender", 1, EvenMorePersonal, EvenMorePersonalAnswers, OmitGender),
    VALUE("OmitRelationship", 1, EvenMorePersonal, EvenMorePersonalAnswers, OmitRelationship),
    VALUE("Sign", 0, EvenMorePersonal, EvenMorePersonalAnswers, Sign),
    VALUE("Gender", 0, EvenMorePersonal, EvenMorePersonalAnswers, Gender),
    VALUE("UsePurity", 0, EvenMorePersonal, EvenMorePersonalAnswers, UsePurity),
    VALUE("Purity", 0, EvenMorePersonal, EvenMorePersonalAnswers, Purity),
    VALUE("NoTellKink", 0, EvenMorePersonal, EvenMorePersonalAnswers, NoTellKink),
    VALUE("Kink", 0, EvenMorePersonal, EvenMorePersonalAnswers, Kink),
    VALUE("BoostKink", 0, EvenMorePersonal, EvenMorePersonalAnswers, BoostKink),
    VALUE("KinkMembership", 0, EvenMorePersonal, EvenMorePersonalAnswers, KinkMembership),
    VALUE("Preference", 0, EvenMorePersonal, EvenMorePersonalAnswers, Preference),
    VALUE("BoostPreference", 0, EvenMorePersonal, EvenMorePersonalAnswers, BoostPreference),
    VALUE("Status", 0, EvenMorePersonal, EvenMorePersonalAnswers, Status),
    VALUE("BoostStatus", 0, EvenMorePersonal, EvenMorePersonalAnswers, BoostStatus),
};

#undef VALUE
#undef VALUE_OF

constexpr SettingsSection kSections[] = {
    {"SM", kSM}, {"Fav", kFav}, {"Dis", kDis}, {"Exp", kExp}, {"Op", kOp}, {"Per", kPer},
};

#define UNSTORED(Section, Name, Page, Struct, Field)                                                         \
    UnstoredValue {                                                                                          \
        Section, Name, AnswerField {                                                                         \
            PageId::Page, GLOMIE_PAGE_FIELD(Struct, Field)                                                   \
        }                                                                                                    \
    }

constexpr UnstoredValue kUnstored[] = {
    UNSTORED("Exp", "IntensityMangaRaw", Experience, ExperienceAnswers, IntensityMangaRaw),
    UNSTORED("Exp", "IntensityMangaSub", Experience, ExperienceAnswers, IntensityMangaSub),
    UNSTORED("Exp", "BoostMangaRaw", Experience, ExperienceAnswers, BoostMangaRaw),
    UNSTORED("Exp", "BoostMangaSub", Experience, ExperienceAnswers, BoostMangaSub),
    UNSTORED("Per", "NoTellWeight", Personal, PersonalAnswers, NoTellWeight),
    UNSTORED("Per", "NoTellFat", Personal, PersonalAnswers, NoTellFat),
};

#undef UNSTORED

template <typename Visit> void ForEachValue(Visit visit) {
    for (const SettingsSection& section : kSections)
        for (const SettingsValue& value : section.Values)
            visit(section.Name, value);
}

} // namespace

std::span<const SettingsSection> SettingsLayout() {
    return kSections;
}

size_t StoredValueCount() {
    size_t count = 0;
    for (const SettingsSection& section : kSections)
        count += section.Values.size();
    return count;
}

std::span<const UnstoredValue> UnstoredValues() {
    return kUnstored;
}

std::string_view SettingsSectionOf(PageId page) {
    switch (page) {
    case PageId::Obsession:
        return "SM";
    case PageId::Favorites:
    case PageId::MoreFavorites:
        return "Fav";
    case PageId::Dislikes:
    case PageId::MoreDislikes:
        return "Dis";
    case PageId::Experience:
        return "Exp";
    case PageId::Opinions:
        return "Op";
    case PageId::Personal:
    case PageId::MorePersonal:
    case PageId::EvenMorePersonal:
        return "Per";
    }
    return {};
}

std::string_view AnswerName(AnswerField field) {
    for (const SettingsSection& section : kSections)
        for (const SettingsValue& value : section.Values)
            if (value.Field == field)
                return value.Name;
    for (const UnstoredValue& value : kUnstored)
        if (value.Field == field)
            return value.Name;
    return {};
}

std::string AnswerKey(AnswerField field) {
    const std::string_view name = AnswerName(field);
    return name.empty() ? std::string()
                        : std::string(SettingsSectionOf(field.Page)) + '/' + std::string(name);
}

std::optional<AnswerField> AnswerOfKey(std::string_view key) {
    const size_t slash = key.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view section = key.substr(0, slash), name = key.substr(slash + 1);
    for (const SettingsSection& stored : kSections)
        if (stored.Name == section)
            for (const SettingsValue& value : stored.Values)
                if (value.Name == name)
                    return value.Field;
    for (const UnstoredValue& value : kUnstored)
        if (value.Section == section && value.Name == name)
            return value.Field;
    return std::nullopt;
}

void LoadSettings(ProfileStore& store, AnswerSet& answers) {
    ForEachValue([&](std::string_view section, const SettingsValue& value) {
        WriteAnswer(answers, value.Field, store.getProfileInt(section, value.Name, value.Default));
    });
}

void SaveSettings(ProfileStore& store, const AnswerSet& answers) {
    ForEachValue([&](std::string_view section, const SettingsValue& value) {
        store.writeProfileInt(section, value.Name, ReadAnswer(answers, value.Field));
    });
}

void ResetToDefaults(AnswerSet& answers) {
    ForEachValue([&](std::string_view, const SettingsValue& value) {
        WriteAnswer(answers, value.Field, value.Default);
    });
}

const AnswerSet& DefaultAnswers() {
    static const AnswerSet defaults = [] {
        AnswerSet answers;
        ResetToDefaults(answers);
        return answers;
    }();
    return defaults;
}
