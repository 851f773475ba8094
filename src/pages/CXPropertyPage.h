#pragma once

#include "code/Answers.h"
#include "pages/CBasePropertyPage.h"

// The Experience page: years as a fan, anime and manga seen.
class CXPropertyPage : public CBasePropertyPage {
    Q_OBJECT
  public:
    explicit CXPropertyPage(CGCPropertySheet& sheet);

    XAnswers& Answers() { return m_answers; }

  private:
    XAnswers m_answers;
};
