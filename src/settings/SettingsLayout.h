// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "code/AnswerField.h"

// The per-user store the answers are persisted in: sections of named 32-bit integers.
class ProfileStore {
  public:
    virtual ~ProfileStore() = default;
    // The stored value, or def when it is missing or cannot be read.
    virtual int32_t getProfileInt(std::string_view section, std::string_view name, int32_t def) = 0;
    // Returns false when the value could not be written; callers go on with the next value.
    virtual bool writeProfileInt(std::string_view section, std::string_view name, int32_t value) = 0;
};

// One stored value: its name, written out as users' files and registries know it, the width of the
// answer it holds (16 or 32 bits; every value is stored as 32), its default and its answer.
struct SettingsValue {
    std::string_view Name;
    int Width;
    int32_t Default;
    AnswerField Field;
};

struct SettingsSection {
    std::string_view Name;
    std::span<const SettingsValue> Values;
};

// The six sections in the order they are read and written, each with its values in order: 183
// values in all.
std::span<const SettingsSection> SettingsLayout();
size_t StoredValueCount();

// The answers the encoder keeps only while it runs: the manga intensities and their tunes, and
// "not telling" the weight or the body fat. They have keys of the same form, for the front ends.
struct UnstoredValue {
    std::string_view Section;
    std::string_view Name;
    AnswerField Field;
};
std::span<const UnstoredValue> UnstoredValues();

// The settings section a page's answers live in: "SM", "Fav", "Dis", "Exp", "Op" or "Per".
std::string_view SettingsSectionOf(PageId page);
// "Section/Name" of an answer, stored or not, and its Name alone; empty for a field that is no answer.
std::string AnswerKey(AnswerField field);
std::string_view AnswerName(AnswerField field);
// The answer a "Section/Name" key names.
std::optional<AnswerField> AnswerOfKey(std::string_view key);

// Reads every value into the answers; missing values give their defaults. Fields that are not
// persisted are left as they are.
void LoadSettings(ProfileStore& store, AnswerSet& answers);
// Writes every value, in the same order as LoadSettings.
void SaveSettings(ProfileStore& store, const AnswerSet& answers);

// Sets every persisted field to its default, as a first run's load does.
void ResetToDefaults(AnswerSet& answers);
// The answers of a first run.
const AnswerSet& DefaultAnswers();
