#pragma once

#include "code/Answers.h"
#include "pages/RatedChoicesPage.h"

// Favorites and Dislikes: two senshi and two villians, each with trend and intensity.
class SenshiVillainPage : public RatedChoicesPage {
    Q_OBJECT
  public:
    SenshiVillainPage(EncoderSheet& sheet, const QString& caption, int sectionNumber);

    SenshiVillainAnswers& Answers() { return m_answers; }

  private:
    SenshiVillainAnswers m_answers;
};
