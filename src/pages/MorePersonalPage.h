#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QList>
#include <array>

#include "code/Answers.h"
#include "pages/AnswerPage.h"
#include "pages/CodeLists.h"

// The More Personal page: hair, skin tone, cultural groups and blood type.
class MorePersonalPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit MorePersonalPage(EncoderSheet& sheet);

    MorePersonalAnswers& Answers() { return m_answers; }

  protected:
    void OnInitDialog() override;
    void ShowAnswers() override;
    void UpdateControls() override;

  private:
    // A trait that its omit box closes as a whole: hair, tone, group, blood type.
    struct Omittable {
        int32_t MorePersonalAnswers::*Flag = nullptr;
        QCheckBox* Omit = nullptr;
        QList<QWidget*> Controls;
    };
    enum { Hair, Tone, Group, BloodType, TraitCount };

    QGroupBox* BuildHair();
    QGroupBox* BuildTone();
    QGroupBox* BuildGroup();
    QGroupBox* BuildBloodType();
    void ShowFlagsAndRows();

    void OmitRule(Omittable& trait);

    MorePersonalAnswers m_answers;
    std::array<Omittable, TraitCount> m_traits;
    CodeComboBox* m_hairColor = nullptr;
    CodeComboBox* m_hairColorAdj = nullptr;
    QCheckBox* m_beard = nullptr;
    QCheckBox* m_moustache = nullptr;
    TuneGroup m_hair;
    TuneGroup m_tone;
    CodeListBox* m_group = nullptr;
    CodeComboBox* m_bloodType = nullptr;
    CodeComboBox* m_bloodTypeSign = nullptr;
};
