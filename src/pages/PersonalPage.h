#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <array>

#include "code/Answers.h"
#include "pages/AnswerPage.h"
#include "pages/CodeLists.h"

// The Personal page: age, stature, weight and body fat, each as a level with its tune (or an exact
// number, or not told), and the eyes as up to three colours per eye.
class PersonalPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit PersonalPage(EncoderSheet& sheet);

    PersonalAnswers& Answers() { return m_answers; }

    // The four exact numbers are checked when the page is left (age, weight, inches, feet), whether
    // their boxes are open or not; blank boxes become "0" first.
    std::optional<ValidationFailure> OnKillActive() override;

    static constexpr int TraitCount = 4;
    static constexpr int ExactNumberCount = 4;
    static constexpr int EyeRowCount = 6;

    // What a trait is made of; the page builds its controls from a table of these.
    struct TraitDescription {
        const char* Name;    // the level's field name: "Age", "Stature", "Weight", "Fat"
        const char* Subject; // what a screen reader calls the trait: "body fat"
        const char* GroupCaption;
        const char* ExactCaption;  // none for the body fat
        const char* NoTellCaption; // none for age and stature
        const char* OmitCaption;
        int Minimum, Maximum, TuneMinimum, TuneMaximum;
        int32_t PersonalAnswers::*Omit;
        int32_t PersonalAnswers::*SpecifyExact;
        int32_t PersonalAnswers::*NoTell;
        int32_t PersonalAnswers::*Level;
        int16_t PersonalAnswers::*Boost;
        std::array<int, 2> ExactNumbers; // indices into the exact numbers, −1 for none
    };
    // An exact number and the range it must be in when the page is left.
    struct ExactNumberDescription {
        const char* Name;
        int32_t PersonalAnswers::*Field;
        int32_t Maximum;
        Qt::Alignment Alignment;
        const char* AccessibleName; // "Age in years", "Stature, feet", ...
    };
    // One colour of one eye, with its intensity.
    struct EyeRowDescription {
        const char* Name; // "Left0" .. "Right2"
        bool Right;
        int32_t PersonalAnswers::*Color;
        int32_t PersonalAnswers::*Intensity;
        const char* ColorName; // "Left eye, first colour"
        const char* IntensityName;
    };

  protected:
    void OnInitDialog() override;
    void ShowAnswers() override;
    void UpdateControls() override;

  private:
    struct Trait {
        const TraitDescription* Description = nullptr;
        QGroupBox* Group = nullptr;
        QCheckBox* Exact = nullptr;
        QCheckBox* NoTell = nullptr;
        QCheckBox* Omit = nullptr;
        TuneGroup Tune;
    };
    struct EyeRow {
        const EyeRowDescription* Description = nullptr;
        CodeComboBox* Color = nullptr;
        CodeComboBox* Intensity = nullptr;
    };

    QGroupBox* BuildTrait(Trait& trait, const TraitDescription& description);
    QGroupBox* BuildEyes();
    void ShowFlags();
    void ShowRows();

    void TraitRule(Trait& trait);
    void EyesRule();

    PersonalAnswers m_answers;
    std::array<Trait, TraitCount> m_traits;
    std::array<CountBox*, ExactNumberCount> m_exactNumbers{};
    std::array<EyeRow, EyeRowCount> m_eyeRows;
    QGroupBox* m_eyes = nullptr;
    QGroupBox* m_left = nullptr;
    QGroupBox* m_right = nullptr;
    QCheckBox* m_same = nullptr;
    QCheckBox* m_glasses = nullptr;
    QCheckBox* m_contacts = nullptr;
    QCheckBox* m_omitEyes = nullptr;
};
