#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QList>
#include <QSpinBox>
#include <array>

#include "code/Answers.h"
#include "pages/AnswerPage.h"
#include "pages/CodeLists.h"

// The Even More Personal page: astrological sign, gender with the kink factor and membership or a
// purity quiz score, and the relationship preference and status, each with a tune of its own.
class EvenMorePersonalPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit EvenMorePersonalPage(EncoderSheet& sheet);

    EvenMorePersonalAnswers& Answers() { return m_answers; }

    // The quiz score is checked when the page is left, open or not; a blank box becomes "0" first.
    std::optional<ValidationFailure> OnKillActive() override;

    // A row of a three-row list with a "Tune" spin that shifts it, kept within rows 0..2.
    struct TunedRowDescription {
        const char* Name;    // "Preference", "Status"
        const char* Subject; // "relationship preference"
        int32_t EvenMorePersonalAnswers::*Row;
        int16_t EvenMorePersonalAnswers::*Boost;
    };

  protected:
    void OnInitDialog() override;
    void ShowAnswers() override;
    void UpdateControls() override;

  private:
    struct TunedRow {
        const TunedRowDescription* Description = nullptr;
        CodeComboBox* List = nullptr;
        CodeSpinBox* Spin = nullptr;
        QGroupBox* Frame = nullptr;
    };

    QGroupBox* BuildSign();
    QGroupBox* BuildGender();
    QGroupBox* BuildRelationship();
    void ShowFlagsAndRows();

    void SignRule();
    void GenderRule();
    void RelationshipRule();

    EvenMorePersonalAnswers m_answers;
    CodeComboBox* m_sign = nullptr;
    QList<QWidget*> m_signControls;
    CodeComboBox* m_gender = nullptr;
    QCheckBox* m_usePurity = nullptr;
    CountBox* m_purity = nullptr;
    QGroupBox* m_quizGroup = nullptr;
    QCheckBox* m_noTellKink = nullptr;
    TuneGroup m_kink;
    CodeComboBox* m_kinkMembership = nullptr;
    QList<QWidget*> m_genderControls; // open unless the gender is omitted
    std::array<TunedRow, 2> m_relationship;
    QList<QWidget*> m_relationshipControls;
    QCheckBox* m_omitSign = nullptr;
    QCheckBox* m_omitGender = nullptr;
    QCheckBox* m_omitRelationship = nullptr;
};
