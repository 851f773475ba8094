#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "code/Answers.h"

// The per-user store the answers are persisted in: sections of named 32-bit integers.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The stored value, or def when it is missing or cannot be read.
    virtual int32_t GetProfileInt(std::string_view section, std::string_view name, int32_t def) = 0;
    // Returns false when the value could not be written; callers go on with the next value.
    virtual bool WriteProfileInt(std::string_view section, std::string_view name, int32_t value) = 0;
};

// Which answer struct a settings value belongs to. The "Fav" and "Dis" sections share their value
// names: F0 and F1 values are read into the favourite pages for "Fav" and the dislike pages for "Dis".
enum class AnswerKind : uint8_t { SM, F0, F1, X, O, P0, P1, P2 };

struct SettingsValue {
    std::string_view Name;
    int Width; // 16 or 32: the width of the answer field; every value is stored as 32 bits
    int32_t Default;
    AnswerKind Kind;
    size_t Offset; // of the answer field within its struct
};

struct SettingsSection {
    std::string_view Name;
    std::span<const SettingsValue> Values;
};

// The six sections in the order they are read and written, each with its values in order.
std::span<const SettingsSection> SettingsLayout();

// The total number of values one load or save touches when both dislike pages exist (183).
size_t StoredValueCount();

// Reads every value into the answers; missing values give their defaults. "Dis" is read only when
// both dislike pages exist. Fields that are not persisted are left as they are.
void LoadSettings(ProfileStore& store, const AnswerRefs& answers);
// Writes every value, in the same order as LoadSettings.
void SaveSettings(ProfileStore& store, const AnswerRefs& answers);

// Sets every persisted field to its default, as a first run's load does.
void ResetToDefaults(const AnswerRefs& answers);
