#pragma once

#include "code/Answers.h"
#include "pages/RatedChoicesPage.h"

// More Favorites and More Dislikes: two assisting characters and two parts of the series.
class AssistPartPage : public RatedChoicesPage {
    Q_OBJECT
  public:
    AssistPartPage(EncoderSheet& sheet, const QString& caption, int sectionNumber);

    AssistPartAnswers& Answers() { return m_answers; }

  private:
    AssistPartAnswers m_answers;
};
