// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <utility>

#include "pages/AnswerPage.h"

// The Experience page: years as a fan, the anime seen raw, subbed and dubbed (by numbers of episodes
// or by parts of the series), the manga read raw and translated, each with an intensity and its tune.
class ExperiencePage : public AnswerPage {
    Q_OBJECT
  public:
    explicit ExperiencePage(const AnswerSet& answers, QWidget* parent = nullptr);

  protected:
    void buildQuestions() override;
    void showDerived() override;

  private:
    QGroupBox* buildAnimeForm(const char* form);
    QGroupBox* buildMangaForm(const char* form);
    std::pair<QLabel*, QWidget*> buildTune(const QString& form, QGroupBox* group);

    QLabel* m_yearsLabel = nullptr;
};
