#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <array>
#include <utility>
#include <vector>

#include "code/Answers.h"
#include "pages/AnswerPage.h"

// The Opinions page: six fandom topics, each left out with its omit box, or answered with "What?",
// with no opinion, or with an intensity and its tune; the dub and SOS topics carry extra marks.
class OpinionsPage : public AnswerPage {
    Q_OBJECT
  public:
    explicit OpinionsPage(EncoderSheet& sheet);

    OpinionsAnswers& Answers() { return m_answers; }

    static constexpr int TopicCount = 6;
    static constexpr int MostMarks = 2;
    struct TopicDescription;

  protected:
    void OnInitDialog() override;
    void ShowAnswers() override;
    void UpdateControls() override;

  private:
    struct Topic {
        const TopicDescription* Description = nullptr;
        QGroupBox* Group = nullptr;
        QCheckBox* What = nullptr; // null on the topics without one
        std::array<QCheckBox*, MostMarks> Marks{};
        QCheckBox* NoOpinion = nullptr;
        QCheckBox* Omit = nullptr;
        TuneGroup Tune;
    };

    // Builds the topic's group box and its omit box (a child of omitParent), and wires their handlers.
    QGroupBox* BuildTopic(Topic& topic, const TopicDescription& description, QWidget* omitParent);
    QCheckBox* AddFlagBox(QWidget* parent, const char* caption, const char* name, int32_t OpinionsAnswers::*flag);

    void OnFlagClicked(Topic& topic, QCheckBox& box, int32_t& flag, bool ruleInput);
    void TopicRule(Topic& topic);

    OpinionsAnswers m_answers;
    std::array<Topic, TopicCount> m_topics;
    // Every check box with its flag, for showing the flags again on a later activation.
    std::vector<std::pair<QCheckBox*, int32_t OpinionsAnswers::*>> m_flagBoxes;
};
