#pragma once

#include "code/Answers.h"
#include "pages/CBasePropertyPage.h"

// The More Personal page: hair, skin tone, cultural groups and blood type.
class CP1PropertyPage : public CBasePropertyPage {
    Q_OBJECT
  public:
    explicit CP1PropertyPage(CGCPropertySheet& sheet);

    P1Answers& Answers() { return m_answers; }

  private:
    P1Answers m_answers;
};
