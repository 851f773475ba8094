// SPDX-License-Identifier: MIT
#pragma once

#include "pages/AnswerPage.h"

// A favourites or dislikes page: four rated choices, each a character (or part) list, a trend list
// and an intensity with its tune, two to a group. Favorites and Dislikes ask about senshi and
// villains, More Favorites and More Dislikes about assisting characters and parts of the series.
class RatedChoicesPage : public AnswerPage {
    Q_OBJECT
  public:
    RatedChoicesPage(PageId page, const AnswerSet& answers, QWidget* parent = nullptr);

  protected:
    void buildQuestions() override;
};
