#pragma once

#include "code/Answers.h"
#include "pages/CBasePropertyPage.h"

// The Even More Personal page: sign, gender with kink or purity, relationship.
class CP2PropertyPage : public CBasePropertyPage {
    Q_OBJECT
  public:
    explicit CP2PropertyPage(CGCPropertySheet& sheet);

    P2Answers& Answers() { return m_answers; }

  private:
    P2Answers m_answers;
};
