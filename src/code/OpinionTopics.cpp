// SPDX-License-Identifier: MIT
#include "code/OpinionTopics.h"

namespace {

#define F(Field) GLOMIE_PAGE_FIELD(OpinionsAnswers, Field)
// clang-format off
constexpr OpinionTopic kTopics[] = {
    {'d', "NA dub", F(OmitDub), F(WhatDub), F(AmericanCartoon), "thinks Sailor Moon is a cartoon", F(NoOpDub),
     {}, F(IntensityDub), F(BoostDub)},
    {'s', "SOS (Save Our Sailors)", F(OmitSos), F(WhatSos), F(Member), "a member of SOS", F(NoOpSos), F(Bitter),
     F(IntensitySos), F(BoostSos)},
    {'o', "Otaku Wars", F(OmitOw), F(WhatOw), {}, {}, F(NoOpOw), {}, F(IntensityOw), F(BoostOw)},
    {'a', "SM haters/antiglomies", F(OmitAnti), {}, {}, {}, F(NoOpAnti), {}, F(IntensityAnti), F(BoostAnti)},
    {'h', "Hentai", F(OmitHentai), {}, {}, {}, F(NoOpHentai), {}, F(IntensityHentai), F(BoostHentai)},
    {'x', "Mixxzine", F(OmitMixx), F(WhatMixx), {}, {}, F(NoOpMixx), {}, F(IntensityMixx), F(BoostMixx)},
};
// clang-format on
#undef F

} // namespace

std::span<const OpinionTopic> OpinionTopics() {
    return kTopics;
}
