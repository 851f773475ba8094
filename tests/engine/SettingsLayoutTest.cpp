// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "code/CodeFrame.h"
#include "settings/SettingsLayout.h"
#include "vocabulary/Tables.h"

namespace {

// An in-memory store that records every access in order.
class RecordingStore : public ProfileStore {
  public:
    std::map<std::string, int32_t> values;
    std::vector<std::string> reads, writes;
    bool failEverything = false;

    int32_t getProfileInt(std::string_view section, std::string_view name, int32_t def) override {
        const std::string key = std::string(section) + "/" + std::string(name);
        reads.push_back(key);
        if (failEverything)
            return def;
        const auto found = values.find(key);
        return found == values.end() ? def : found->second;
    }
    bool writeProfileInt(std::string_view section, std::string_view name, int32_t value) override {
        const std::string key = std::string(section) + "/" + std::string(name);
        writes.push_back(key);
        if (failEverything)
            return false;
        values[key] = value;
        return true;
    }
};

// The keys are what users' files and registries hold: they never change, whatever the answer fields
// are called.
TEST(SettingsLayout, HasSixSectionsAndTheirFrozen183Keys) {
    const auto layout = SettingsLayout();
    ASSERT_EQ(layout.size(), 6u);
    const std::pair<const char*, size_t> expected[] = {{"SM", 4},   {"Fav", 32}, {"Dis", 32},
                                                       {"Exp", 19}, {"Op", 31},  {"Per", 65}};
    for (size_t i = 0; i < layout.size(); ++i) {
        EXPECT_EQ(layout[i].Name, expected[i].first);
        EXPECT_EQ(layout[i].Values.size(), expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(StoredValueCount(), 183u);

    // clang-format off
    const std::vector<std::string> frozen = {
        "SM/Pri", "SM/Sec", "SM/ChkSec", "SM/GlomiePref", "Fav/Senshi0", "Fav/Senshi1", "Fav/TrendSenshi0",
        "Fav/TrendSenshi1", "Fav/IntensitySenshi0", "Fav/IntensitySenshi1", "Fav/BoostSenshi0",
        "Fav/BoostSenshi1", "Fav/Villian0", "Fav/Villian1", "Fav/TrendVillian0", "Fav/TrendVillian1",
        "Fav/IntensityVillian0", "Fav/IntensityVillian1", "Fav/BoostVillian0", "Fav/BoostVillian1",
        "Fav/Assist0", "Fav/Assist1", "Fav/TrendAssist0", "Fav/TrendAssist1", "Fav/IntensityAssist0",
        "Fav/IntensityAssist1", "Fav/BoostAssist0", "Fav/BoostAssist1", "Fav/Part0", "Fav/Part1",
        "Fav/TrendPart0", "Fav/TrendPart1", "Fav/IntensityPart0", "Fav/IntensityPart1", "Fav/BoostPart0",
        "Fav/BoostPart1", "Dis/Senshi0", "Dis/Senshi1", "Dis/TrendSenshi0", "Dis/TrendSenshi1",
        "Dis/IntensitySenshi0", "Dis/IntensitySenshi1", "Dis/BoostSenshi0", "Dis/BoostSenshi1",
        "Dis/Villian0", "Dis/Villian1", "Dis/TrendVillian0", "Dis/TrendVillian1", "Dis/IntensityVillian0",
        "Dis/IntensityVillian1", "Dis/BoostVillian0", "Dis/BoostVillian1", "Dis/Assist0", "Dis/Assist1",
        "Dis/TrendAssist0", "Dis/TrendAssist1", "Dis/IntensityAssist0", "Dis/IntensityAssist1",
        "Dis/BoostAssist0", "Dis/BoostAssist1", "Dis/Part0", "Dis/Part1", "Dis/TrendPart0", "Dis/TrendPart1",
        "Dis/IntensityPart0", "Dis/IntensityPart1", "Dis/BoostPart0", "Dis/BoostPart1", "Exp/Years",
        "Exp/RawComplete", "Exp/SubComplete", "Exp/DubComplete", "Exp/RawPartial", "Exp/SubPartial",
        "Exp/DubPartial", "Exp/IntensityRaw", "Exp/BoostRaw", "Exp/IntensitySub", "Exp/BoostSub",
        "Exp/IntensityDub", "Exp/BoostDub", "Exp/ByNumbers", "Exp/Raw", "Exp/Sub", "Exp/Dub", "Exp/MangaRaw",
        "Exp/MangaSub", "Op/IntensityDub", "Op/IntensitySos", "Op/IntensityOw", "Op/IntensityAnti",
        "Op/IntensityHentai", "Op/IntensityMixx", "Op/BoostDub", "Op/BoostSos", "Op/BoostOw", "Op/BoostAnti",
        "Op/BoostHentai", "Op/BoostMixx", "Op/NoOpDub", "Op/NoOpSos", "Op/NoOpOw", "Op/NoOpAnti",
        "Op/NoOpHentai", "Op/NoOpMixx", "Op/OmitDub", "Op/OmitSos", "Op/OmitOw", "Op/OmitAnti",
        "Op/OmitHentai", "Op/OmitMixx", "Op/WhatDub", "Op/WhatSos", "Op/WhatOw", "Op/WhatMixx",
        "Op/AmericanCartoon", "Op/Member", "Op/Bitter", "Per/OmitAge", "Per/OmitStature", "Per/OmitWeight",
        "Per/OmitFat", "Per/OmitEyes", "Per/SpecifyExactAge", "Per/SpecifyExactStature",
        "Per/SpecifyExactWeight", "Per/ExactAge", "Per/ExactStatureFt", "Per/ExactStatureIn",
        "Per/ExactWeight", "Per/Age", "Per/Stature", "Per/Weight", "Per/Fat", "Per/BoostAge",
        "Per/BoostStature", "Per/BoostWeight", "Per/BoostFat", "Per/Same", "Per/Glasses", "Per/Contacts",
        "Per/ColorLeft0", "Per/ColorLeft1", "Per/ColorLeft2", "Per/ColorRight0", "Per/ColorRight1",
        "Per/ColorRight2", "Per/ColorAdjLeft0", "Per/ColorAdjLeft1", "Per/ColorAdjLeft2",
        "Per/ColorAdjRight0", "Per/ColorAdjRight1", "Per/ColorAdjRight2", "Per/OmitHair", "Per/OmitTone",
        "Per/OmitGroup", "Per/OmitBloodType", "Per/HairColor", "Per/HairColorAdj", "Per/Beard",
        "Per/Moustache", "Per/Hair", "Per/BoostHair", "Per/Tone", "Per/BoostTone", "Per/Group",
        "Per/BloodType", "Per/BloodTypeSign", "Per/OmitSign", "Per/OmitGender", "Per/OmitRelationship",
        "Per/Sign", "Per/Gender", "Per/UsePurity", "Per/Purity", "Per/NoTellKink", "Per/Kink",
        "Per/BoostKink", "Per/KinkMembership", "Per/Preference", "Per/BoostPreference", "Per/Status",
        "Per/BoostStatus"};
    // clang-format on
    std::vector<std::string> keys;
    for (const auto& section : layout)
        for (const auto& value : section.Values) {
            keys.push_back(std::string(section.Name) + "/" + std::string(value.Name));
            EXPECT_EQ(AnswerKey(value.Field), keys.back()) << "the key of the answer it holds";
        }
    EXPECT_EQ(keys, frozen);
}

TEST(SettingsLayout, LoadAndSaveWalkTheSameOrder) {
    RecordingStore store;
    AnswerSet answers;
    LoadSettings(store, answers);
    SaveSettings(store, answers);
    ASSERT_EQ(store.reads.size(), StoredValueCount());
    EXPECT_EQ(store.reads, store.writes);
    EXPECT_EQ(store.reads.front(), "SM/Pri");
    EXPECT_EQ(store.reads[4], "Fav/Senshi0");
    EXPECT_EQ(store.reads[4 + 16], "Fav/Assist0");
    EXPECT_EQ(store.reads[4 + 32], "Dis/Senshi0");
    EXPECT_EQ(store.reads[4 + 64], "Exp/Years");
    EXPECT_EQ(store.reads[4 + 64 + 19], "Op/IntensityDub");
    EXPECT_EQ(store.reads[4 + 64 + 19 + 31], "Per/OmitAge");
    EXPECT_EQ(store.reads.back(), "Per/BoostStatus");
}

TEST(SettingsLayout, WidthsFollowTheFields) {
    std::map<std::string, int> widths;
    for (const auto& section : SettingsLayout())
        for (const auto& value : section.Values)
            widths[std::string(section.Name) + "/" + std::string(value.Name)] = value.Width;
    for (const char* key : {"Fav/BoostSenshi0", "Dis/BoostPart1", "Exp/Years", "Exp/BoostDub", "Op/BoostMixx",
                            "Per/BoostAge", "Per/BoostHair", "Per/BoostStatus"})
        EXPECT_EQ(widths[key], 16) << key;
    for (const char* key : {"SM/Pri", "Exp/Raw", "Exp/IntensityDub", "Per/Group", "Per/Purity"})
        EXPECT_EQ(widths[key], 32) << key;
    int sixteen = 0;
    for (const auto& [key, width] : widths)
        sixteen += width == 16;
    // The eight boosts in each of Fav and Dis, Years and three boosts, six opinions, nine personal.
    EXPECT_EQ(sixteen, 8 + 8 + 4 + 6 + 9);
}

TEST(SettingsLayout, NonPersistedFieldsAreNeitherReadNorWritten) {
    RecordingStore store;
    AnswerSet answers;
    answers.Personal.NoTellWeight = 1, answers.Personal.NoTellFat = 1;
    answers.Experience.IntensityMangaRaw = 3, answers.Experience.BoostMangaSub = 2;
    LoadSettings(store, answers);
    SaveSettings(store, answers);
    for (const auto& key : store.reads) {
        // clang-format off
        EXPECT_EQ(key.find("NoTell" "Weight"), std::string::npos);
        EXPECT_EQ(key.find("Manga" "Raw") == std::string::npos || key == "Exp/MangaRaw", true) << key;
        // clang-format on
    }
    EXPECT_EQ(answers.Personal.NoTellWeight, 1);
    EXPECT_EQ(answers.Experience.IntensityMangaRaw, 3);
}

TEST(SettingsLayout, FirstRunDefaults) {
    RecordingStore store;
    AnswerSet answers;
    LoadSettings(store, answers);
    EXPECT_EQ(answers.Obsession.Pri, 15);
    EXPECT_EQ(answers.Obsession.GlomiePref, 1);
    EXPECT_EQ(answers.Favorites.TrendVillian1, 1);
    EXPECT_EQ(answers.MoreDislikes.TrendPart0, 1);
    EXPECT_EQ(answers.Experience.ByNumbers, 1);
    EXPECT_EQ(answers.Experience.IntensitySub, 4);
    EXPECT_EQ(answers.Opinions.OmitMixx, 1);
    EXPECT_EQ(answers.Personal.Same, 1);
    EXPECT_EQ(answers.Personal.ColorLeft0, 0);
    EXPECT_EQ(answers.MorePersonal.BloodTypeSign, 1);
    EXPECT_EQ(answers.EvenMorePersonal.Preference, 0);
    // Every value named Omit... defaults to 1, the few named ones too, the Experience intensities to 4.
    for (const auto& section : SettingsLayout())
        for (const auto& value : section.Values) {
            const bool one = value.Name.starts_with("Omit") || value.Name.starts_with("Trend") ||
                             value.Name == "ByNumbers" || value.Name == "Same" ||
                             value.Name == "BloodTypeSign" || value.Name == "GlomiePref";
            const int32_t expected = value.Name == "Pri"                                              ? 15
                                     : (section.Name == "Exp" && value.Name.starts_with("Intensity")) ? 4
                                     : one                                                            ? 1
                                                                                                      : 0;
            EXPECT_EQ(value.Default, expected) << section.Name << "/" << value.Name;
        }
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    EXPECT_EQ(frame.fullCode(), "GlomieCode(1.12.05) SM:5m-");
}

TEST(SettingsLayout, SixteenBitFieldsTakeTheLowBitsAndSaveSignExtended) {
    RecordingStore store;
    store.values["Fav/BoostSenshi0"] = 65535;
    store.values["Exp/Years"] = 0x12345;
    store.values["Fav/Senshi0"] = 500;
    AnswerSet answers;
    LoadSettings(store, answers);
    EXPECT_EQ(answers.Favorites.BoostSenshi0, -1);
    EXPECT_EQ(answers.Experience.Years, 0x2345);
    EXPECT_EQ(answers.Favorites.Senshi0, 500);
    SaveSettings(store, answers);
    EXPECT_EQ(store.values["Fav/BoostSenshi0"], -1); // 0xFFFFFFFF
    EXPECT_EQ(static_cast<uint32_t>(store.values["Fav/BoostSenshi0"]), 0xFFFFFFFFu);
    EXPECT_EQ(store.values["Fav/Senshi0"], 500);
}

TEST(SettingsLayout, AFailingStoreGivesDefaultsAndStillTriesEveryWrite) {
    RecordingStore store;
    store.failEverything = true;
    store.values["SM/Pri"] = 3;
    AnswerSet answers;
    LoadSettings(store, answers);
    EXPECT_EQ(answers.Obsession.Pri, 15);
    SaveSettings(store, answers);
    EXPECT_EQ(store.writes.size(), StoredValueCount());
}

TEST(SettingsLayout, FavouritesAndDislikesKeepTheirOwnAnswers) {
    RecordingStore store;
    store.values["Fav/Senshi0"] = 1;
    store.values["Dis/Senshi0"] = 2;
    AnswerSet answers;
    LoadSettings(store, answers);
    EXPECT_EQ(answers.Favorites.Senshi0, 1);
    EXPECT_EQ(answers.Dislikes.Senshi0, 2);
}

// Damaged settings must still give a single-line code without crashing or running away.
class DamagedSettings : public testing::TestWithParam<int32_t> {};

TEST_P(DamagedSettings, EveryFieldAtOnceBuildsAOneLineCode) {
    RecordingStore store;
    for (const auto& section : SettingsLayout())
        for (const auto& value : section.Values)
            store.values[std::string(section.Name) + "/" + std::string(value.Name)] = GetParam();
    AnswerSet answers;
    LoadSettings(store, answers);
    CodeFrame frame(answers);
    frame.rebuildCode(RebuildAll);
    const std::string& code = frame.fullCode();
    EXPECT_EQ(code.rfind("GlomieCode(1.12.05) SM:", 0), 0u);
    EXPECT_EQ(code.find('\n'), std::string::npos);
    EXPECT_LT(code.size(), 8000u);
}

TEST(DamagedSettingsEach, EveryFieldAloneAtEveryExtreme) {
    std::vector<std::string> keys;
    for (const auto& section : SettingsLayout())
        for (const auto& value : section.Values)
            keys.push_back(std::string(section.Name) + "/" + std::string(value.Name));
    for (const std::string& key : keys) {
        for (int32_t extreme : {INT32_MIN, INT32_MAX, -1, 1000, 54, 19, 24, 10, 12}) {
            RecordingStore store;
            store.values[key] = extreme;
            // Show every subsection so the damaged field reaches the code.
            for (const auto& section : SettingsLayout())
                for (const auto& value : section.Values)
                    if (value.Name.starts_with("Omit") &&
                        std::string(section.Name) + "/" + std::string(value.Name) != key)
                        store.values[std::string(section.Name) + "/" + std::string(value.Name)] = 0;
            AnswerSet answers;
            LoadSettings(store, answers);
            CodeFrame frame(answers);
            frame.rebuildCode(RebuildAll);
            ASSERT_EQ(frame.fullCode().find('\n'), std::string::npos) << key << "=" << extreme;
            ASSERT_LT(frame.fullCode().size(), 2000u) << key << "=" << extreme;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Extremes, DamagedSettings, testing::Values(INT32_MIN, INT32_MAX, -1, 1000));

} // namespace
