#pragma once

#include "code/Answers.h"
#include "pages/CBasePropertyPage.h"

// The Opinions page: six fandom topics.
class COPropertyPage : public CBasePropertyPage {
    Q_OBJECT
  public:
    explicit COPropertyPage(CGCPropertySheet& sheet);

    OAnswers& Answers() { return m_answers; }

  private:
    OAnswers m_answers;
};
