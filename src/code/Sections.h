// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "code/Answers.h"

// The section builders: each empties its own section string and writes it from the page's answers.
// Experience and Opinions include their tags (" X", " O"); the others are joined behind a tag by
// the code frame.

inline constexpr char kHeaderPrefix[] = "GlomieCode(1.12.05) SM:";

void BuildHeaderSection(const ObsessionAnswers& sm, std::string& out);
// symbol is '+' for a favourites page and '-' for a dislikes page.
void BuildSenshiVillianSection(const SenshiVillainAnswers& page, std::string& out, char symbol);
void BuildAssistPartSection(const AssistPartAnswers& page, std::string& out, char symbol);
void BuildExperienceSection(const ExperienceAnswers& x, std::string& out);
void BuildOpinionsSection(const OpinionsAnswers& o, std::string& out);
void BuildPersonalSection(const PersonalAnswers& p, std::string& out);
void BuildMorePersonalSection(const MorePersonalAnswers& p, std::string& out);
void BuildEvenMorePersonalSection(const EvenMorePersonalAnswers& p, std::string& out);
