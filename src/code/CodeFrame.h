// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>

#include "code/Answers.h"

// Section numbers: which part of the code to rebuild when an answer changes. A page's own section
// is SectionOf(page).
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

constexpr int SectionOf(PageId page) {
    return HeaderSection + static_cast<int>(page);
}

// The Glomie Code of an answer set kept up to date as it changes: one string per page section and the
// joined fullCode(). Only the section of the page that changed is rebuilt; the join runs on every call.
// EncodeGlomieCode (Encode.h) is the one-call form.
class CodeFrame {
  public:
    // The frame reads the answers wherever they are when it rebuilds: they must outlive it.
    explicit CodeFrame(const AnswerSet& answers) : m_answers(answers) {}

    // n = 0 joins only, 1 rebuilds every section, 2..11 one page's section; anything else joins only.
    void rebuildCode(int n);

    const std::string& fullCode() const { return m_fullCode; }
    // The stored string of section 2..11 (Experience and Opinions with their tags); empty otherwise.
    const std::string& sectionString(int n) const;

  private:
    void join();

    const AnswerSet& m_answers;
    std::array<std::string, 12> m_sections; // indexed by section number; 0 and 1 unused
    std::string m_fullCode = "Glomie Code";
};
