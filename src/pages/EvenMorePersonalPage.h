// SPDX-License-Identifier: MIT
#pragma once

#include "pages/AnswerPage.h"

// The Even More Personal page: astrological sign, gender with the kink factor and membership or a
// purity quiz score, and the relationship preference and status, each with a tune of its own.
class EvenMorePersonalPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit EvenMorePersonalPage(const AnswerSet& answers, QWidget* parent = nullptr);

  protected:
    void buildQuestions() override;
};
