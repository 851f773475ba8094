// SPDX-License-Identifier: MIT
#pragma once

#include "pages/AnswerPage.h"

// The More Personal page: hair, skin tone, cultural groups and blood type.
class MorePersonalPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit MorePersonalPage(const AnswerSet& answers, QWidget* parent = nullptr);

  protected:
    void buildQuestions() override;
};
