// SPDX-License-Identifier: MIT
#pragma once

#include "pages/AnswerPage.h"

// The Personal page: age, stature, weight and body fat, each as a level with its tune (or an exact
// number, or not told), and the eyes as up to three colours per eye.
class PersonalPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit PersonalPage(const AnswerSet& answers, QWidget* parent = nullptr);

  protected:
    void buildQuestions() override;
};
