// SPDX-License-Identifier: MIT
#pragma once

#include <QPlainTextEdit>

#include "pages/AnswerPage.h"

// The SM page: the primary and optional secondary obsession level and the feeling about the term
// "glomie", with the description of the chosen levels.
class ObsessionPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit ObsessionPage(const AnswerSet& answers, QWidget* parent = nullptr);

  signals:
    // "&Thanks to ..." was pressed.
    void thanksRequested();

  protected:
    void buildQuestions() override;
    void showDerived() override;

  private:
    QPlainTextEdit* m_description = nullptr;
};
