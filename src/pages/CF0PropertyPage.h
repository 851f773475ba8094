#pragma once

#include "code/Answers.h"
#include "pages/CRatedChoicesPage.h"

// Favorites and Dislikes: two senshi and two villians, each with trend and intensity.
class CF0PropertyPage : public CRatedChoicesPage {
    Q_OBJECT
  public:
    CF0PropertyPage(CGCPropertySheet& sheet, const QString& caption, int sectionNumber);

    F0Answers& Answers() { return m_answers; }

  private:
    F0Answers m_answers;
};
