#pragma once

#include "code/Answers.h"
#include "pages/CBasePropertyPage.h"

// The Personal page: age, stature, weight, body fat and eyes.
class CP0PropertyPage : public CBasePropertyPage {
    Q_OBJECT
  public:
    explicit CP0PropertyPage(CGCPropertySheet& sheet);

    P0Answers& Answers() { return m_answers; }

  private:
    P0Answers m_answers;
};
