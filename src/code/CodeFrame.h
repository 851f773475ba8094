#pragma once

#include <array>
#include <string>

#include "code/Answers.h"

// Section numbers a page passes when one of its answers changes.
enum SectionNumber : int {
    JoinOnly = 0,
    RebuildAll = 1,
    HeaderSection = 2,
    FavoritesSection = 3,
    MoreFavoritesSection = 4,
    DislikesSection = 5,
    MoreDislikesSection = 6,
    ExperienceSection = 7,
    OpinionsSection = 8,
    PersonalSection = 9,
    MorePersonalSection = 10,
    EvenMorePersonalSection = 11,
};

// The Glomie Code of one set of pages: one string per page section and the joined FullCode. Only
// the section of the page that changed is rebuilt; the join runs on every call.
class CodeFrame {
public:
    explicit CodeFrame(const AnswerRefs& answers) : m_answers(answers) {}

    // n = 0 joins only, 1 rebuilds every section, 2..11 one page's section; anything else joins only.
    void RebuildCode(int n);

    const std::string& FullCode() const { return m_fullCode; }
    // The stored string of section 2..11 (Experience and Opinions with their tags); empty otherwise.
    const std::string& SectionString(int n) const;

private:
    void Join();

    AnswerRefs m_answers;
    std::array<std::string, 12> m_sections; // indexed by section number; 0 and 1 unused
    std::string m_fullCode = "Glomie Code";
};
