#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <array>
#include <utility>

#include "code/Answers.h"
#include "pages/AnswerPage.h"
#include "pages/CodeLists.h"

// The Experience page: years as a fan, the anime seen raw, subbed and dubbed (by numbers of episodes
// or by parts of the series), the manga read raw and translated, each with an intensity and its tune.
class ExperiencePage : public AnswerPage {
    Q_OBJECT
  public:
    explicit ExperiencePage(EncoderSheet& sheet);

    ExperienceAnswers& Answers() { return m_answers; }

    // Counts are checked against 0..200 when the page is left; blank boxes become "0" first.
    std::optional<ValidationFailure> OnKillActive() override;

    static constexpr int AnimeFormCount = 3;
    static constexpr int MangaFormCount = 2;
    // Positions in the form arrays: raw, subbed, dubbed anime; raw, translated manga.
    static constexpr size_t RawForm = 0, SubForm = 1, DubForm = 2;

  protected:
    void OnInitDialog() override;
    void ShowAnswers() override;
    void UpdateControls() override;

  private:
  public:
    // The answers of one anime form: a count of episodes or two part lists, and an upright intensity
    // with its tune.
    struct AnimeFields {
        uint32_t ExperienceAnswers::*Episodes;
        int32_t ExperienceAnswers::*Complete;
        int32_t ExperienceAnswers::*Partial;
        int32_t ExperienceAnswers::*Intensity;
        int16_t ExperienceAnswers::*Boost;
    };
    // The answers of one manga form: an amount and a level intensity with its tune.
    struct MangaFields {
        uint32_t ExperienceAnswers::*Amount;
        int32_t ExperienceAnswers::*Intensity;
        int16_t ExperienceAnswers::*Boost;
    };

  private:
    struct AnimeForm {
        AnimeFields Fields{};
        CountBox* EpisodesBox = nullptr;
        CodeListBox* CompleteList = nullptr;
        CodeListBox* PartialList = nullptr;
        QLabel* CompleteLabel = nullptr;
        QLabel* PartialLabel = nullptr;
        TuneGroup Tune;
    };
    struct MangaForm {
        MangaFields Fields{};
        CountBox* AmountBox = nullptr;
        TuneGroup Tune;
    };

    // Each builds the form's group box with its controls and wires its handlers.
    QGroupBox* BuildAnimeForm(AnimeForm& form, const char* caption, const char* name, const QString& subject,
                              const AnimeFields& fields);
    QGroupBox* BuildMangaForm(MangaForm& form, const char* caption, const char* name, const QString& subject,
                              const MangaFields& fields);

    void OnYearsChanged(int position);
    void OnByNumbersClicked();
    void OnCountChanged(uint32_t& field, const CountBox& box);
    void OnSelectionChanged(int32_t& field, const CodeListBox& list);

    std::array<std::pair<CountBox*, uint32_t*>, 5> CountsInExchangeOrder();

    void RefreshYearsLabel();
    void ModeSwitch();
    void GroupRules();
    bool AnimeFormAnswered(const AnimeForm& form) const;

    ExperienceAnswers m_answers;
    CodeSpinBox* m_years;
    QLabel* m_yearsLabel;
    QCheckBox* m_byNumbers;
    std::array<AnimeForm, AnimeFormCount> m_anime;
    std::array<MangaForm, MangaFormCount> m_manga;
};
