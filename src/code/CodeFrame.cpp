// SPDX-License-Identifier: MIT
#include "code/CodeFrame.h"

#include "code/Sections.h"

namespace {
const std::string kNoSection;
}

void CodeFrame::rebuildCode(int n) {
    const auto wanted = [n](int section) { return n == RebuildAll || n == section; };
    auto& s = m_sections;
    if (wanted(HeaderSection))
        BuildHeaderSection(m_answers.Obsession, s[HeaderSection]);
    if (wanted(FavoritesSection))
        BuildSenshiVillianSection(m_answers.Favorites, s[FavoritesSection], '+');
    if (wanted(MoreFavoritesSection))
        BuildAssistPartSection(m_answers.MoreFavorites, s[MoreFavoritesSection], '+');
    if (wanted(DislikesSection))
        BuildSenshiVillianSection(m_answers.Dislikes, s[DislikesSection], '-');
    if (wanted(MoreDislikesSection))
        BuildAssistPartSection(m_answers.MoreDislikes, s[MoreDislikesSection], '-');
    if (wanted(ExperienceSection))
        BuildExperienceSection(m_answers.Experience, s[ExperienceSection]);
    if (wanted(OpinionsSection))
        BuildOpinionsSection(m_answers.Opinions, s[OpinionsSection]);
    if (wanted(PersonalSection))
        BuildPersonalSection(m_answers.Personal, s[PersonalSection]);
    if (wanted(MorePersonalSection))
        BuildMorePersonalSection(m_answers.MorePersonal, s[MorePersonalSection]);
    if (wanted(EvenMorePersonalSection))
        BuildEvenMorePersonalSection(m_answers.EvenMorePersonal, s[EvenMorePersonalSection]);
    join();
}

const std::string& CodeFrame::sectionString(int n) const {
    return (n >= HeaderSection && n <= EvenMorePersonalSection) ? m_sections[static_cast<size_t>(n)]
                                                                : kNoSection;
}

void CodeFrame::join() {
    const auto& s = m_sections;
    const auto appendTagged = [this](const char* tag, std::initializer_list<const std::string*> bodies) {
        bool any = false;
        for (const std::string* body : bodies)
            any = any || !body->empty();
        if (!any)
            return;
        m_fullCode += tag;
        for (const std::string* body : bodies)
            m_fullCode += *body;
    };
    m_fullCode.clear();
    m_fullCode += s[HeaderSection];
    appendTagged(" F", {&s[FavoritesSection], &s[MoreFavoritesSection]});
    appendTagged(" D", {&s[DislikesSection], &s[MoreDislikesSection]});
    m_fullCode += s[ExperienceSection];
    m_fullCode += s[OpinionsSection];
    appendTagged(" P", {&s[PersonalSection], &s[MorePersonalSection], &s[EvenMorePersonalSection]});
}
