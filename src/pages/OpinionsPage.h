// SPDX-License-Identifier: MIT
#pragma once

#include "pages/AnswerPage.h"

// The Opinions page: six fandom topics, each left out with its omit box, or answered with "What?",
// with no opinion, or with an intensity and its tune; the dub and SOS topics carry extra marks.
class OpinionsPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit OpinionsPage(const AnswerSet& answers, QWidget* parent = nullptr);

  protected:
    void buildQuestions() override;
};
