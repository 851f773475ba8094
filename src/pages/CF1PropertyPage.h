#pragma once

#include "code/Answers.h"
#include "pages/CRatedChoicesPage.h"

// More Favorites and More Dislikes: two assisting characters and two parts of the series.
class CF1PropertyPage : public CRatedChoicesPage {
    Q_OBJECT
  public:
    CF1PropertyPage(CGCPropertySheet& sheet, const QString& caption, int sectionNumber);

    F1Answers& Answers() { return m_answers; }

  private:
    F1Answers m_answers;
};
