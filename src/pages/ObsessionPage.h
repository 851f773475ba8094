#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>

#include "code/Answers.h"
#include "pages/AnswerPage.h"
#include "pages/CodeLists.h"

// The SM page: the primary and optional secondary obsession level and the feeling about the term
// "glomie", with the description of the chosen levels.
class ObsessionPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit ObsessionPage(EncoderSheet& sheet);

    ObsessionAnswers& Answers() { return m_answers; }

    // What "&Thanks to ..." shows; the application sets it.
    void SetThanksHandler(std::function<void(QWidget&)> handler) { m_thanksHandler = std::move(handler); }

  protected:
    void OnInitDialog() override;
    void ShowAnswers() override;
    void UpdateControls() override;
    // The description of the levels is read after the code, as the last thing on the page.
    QWidget* AfterFoot() const override { return m_description; }

  private:
    void OnPrimaryMoved(int position);
    void OnSecondaryMoved(int position);
    void OnSecondaryClicked();
    void OnFeelingChanged(int index);

    void RefreshDescription();
    void SecondaryRule();

    ObsessionAnswers m_answers;
    CodeSlider* m_primary;
    QCheckBox* m_secondarySwitch;
    CodeSlider* m_secondary;
    CodeComboBox* m_feelings;
    QPlainTextEdit* m_description;
    std::function<void(QWidget&)> m_thanksHandler;
};
