// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "code/Answers.h"

// One answer of an AnswerSet, reached by its page and its place in the page's answers: what the
// settings table and the page questions use to read and write answers by row.

enum class FieldType : uint8_t { Int32, Int16, UInt32 };

// A field of a page's answers: its byte offset in the page's struct and its type.
struct PageField {
    uint16_t Offset = 0;
    FieldType Type = FieldType::Int32;

    constexpr bool operator==(const PageField&) const = default;
};

struct AnswerField {
    PageId Page = PageId::Obsession;
    PageField Field;

    constexpr bool operator==(const AnswerField&) const = default;
};

template <typename T> constexpr FieldType FieldTypeOf() {
    static_assert(std::is_same_v<T, int32_t> || std::is_same_v<T, int16_t> || std::is_same_v<T, uint32_t>);
    return std::is_same_v<T, int16_t>    ? FieldType::Int16
           : std::is_same_v<T, uint32_t> ? FieldType::UInt32
                                         : FieldType::Int32;
}

// The field of a page's answer struct: GLOMIE_PAGE_FIELD(SenshiVillainAnswers, Senshi0).
#define GLOMIE_PAGE_FIELD(Struct, Field)                                                                     \
    PageField {                                                                                              \
        static_cast<uint16_t>(offsetof(Struct, Field)), FieldTypeOf<decltype(Struct::Field)>()               \
    }

// The width of a field in bits: 16 or 32.
constexpr int FieldWidth(FieldType type) {
    return type == FieldType::Int16 ? 16 : 32;
}

// A field of a page's answers as a 32-bit value: a 16-bit field sign-extended, an unsigned one as its
// bits; and the value stored back, a 16-bit field taking its low 16 bits.
inline int32_t ReadField(const unsigned char* part, PageField field) {
    if (field.Type == FieldType::Int16) {
        int16_t narrow;
        std::memcpy(&narrow, part + field.Offset, sizeof narrow);
        return narrow;
    }
    int32_t wide;
    std::memcpy(&wide, part + field.Offset, sizeof wide);
    return wide;
}
inline void WriteField(unsigned char* part, PageField field, int32_t value) {
    if (field.Type == FieldType::Int16) {
        const auto narrow = static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
        std::memcpy(part + field.Offset, &narrow, sizeof narrow);
    } else {
        std::memcpy(part + field.Offset, &value, sizeof value);
    }
}
template <typename Part> int32_t ReadField(const Part& part, PageField field) {
    return ReadField(reinterpret_cast<const unsigned char*>(&part), field);
}
template <typename Part> void WriteField(Part& part, PageField field, int32_t value) {
    WriteField(reinterpret_cast<unsigned char*>(&part), field, value);
}

// The answer as a 32-bit value: a 16-bit field sign-extended, an unsigned one as its bits.
int32_t ReadAnswer(const AnswerSet& answers, AnswerField field);
// Stores a 32-bit value: a 16-bit field takes its low 16 bits, an unsigned one its bits.
void WriteAnswer(AnswerSet& answers, AnswerField field, int32_t value);
