// SPDX-License-Identifier: MIT
#include "code/AnswerField.h"

namespace {

template <typename Set, typename Byte> Byte* PagePart(Set& answers, PageId page) {
    const auto bytes = [](auto& part) { return reinterpret_cast<Byte*>(&part); };
    switch (page) {
    case PageId::Obsession:
        return bytes(answers.Obsession);
    case PageId::Favorites:
        return bytes(answers.Favorites);
    case PageId::MoreFavorites:
        return bytes(answers.MoreFavorites);
    case PageId::Dislikes:
        return bytes(answers.Dislikes);
    case PageId::MoreDislikes:
        return bytes(answers.MoreDislikes);
    case PageId::Experience:
        return bytes(answers.Experience);
    case PageId::Opinions:
        return bytes(answers.Opinions);
    case PageId::Personal:
        return bytes(answers.Personal);
    case PageId::MorePersonal:
        return bytes(answers.MorePersonal);
    case PageId::EvenMorePersonal:
        return bytes(answers.EvenMorePersonal);
    }
    return bytes(answers.Obsession);
}

} // namespace

int32_t ReadAnswer(const AnswerSet& answers, AnswerField field) {
    return ReadField(PagePart<const AnswerSet, const unsigned char>(answers, field.Page), field.Field);
}

void WriteAnswer(AnswerSet& answers, AnswerField field, int32_t value) {
    WriteField(PagePart<AnswerSet, unsigned char>(answers, field.Page), field.Field, value);
}
