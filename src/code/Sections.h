#pragma once

#include <string>

#include "code/Answers.h"

// The section builders: each empties its own section string and writes it from the page's answers.
// Experience and Opinions include their tags (" X", " O"); the others are joined behind a tag by
// the code frame.

inline constexpr char kHeaderPrefix[] = "GlomieCode(1.12.05) SM:";

void BuildHeaderSection(const SMAnswers& sm, std::string& out);
// symbol is '+' for a favourites page and '-' for a dislikes page.
void BuildSenshiVillianSection(const F0Answers& page, std::string& out, char symbol);
void BuildAssistPartSection(const F1Answers& page, std::string& out, char symbol);
void BuildExperienceSection(const XAnswers& x, std::string& out);
void BuildOpinionsSection(const OAnswers& o, std::string& out);
void BuildPersonalSection(const P0Answers& p, std::string& out);
void BuildMorePersonalSection(const P1Answers& p, std::string& out);
void BuildEvenMorePersonalSection(const P2Answers& p, std::string& out);
