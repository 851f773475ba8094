// SPDX-License-Identifier: MIT
#include "pages/RatedChoicesPage.h"

#include <QGridLayout>
#include <QHBoxLayout>

RatedChoicesPage::RatedChoicesPage(PageId page, const AnswerSet& answers, QWidget* parent)
    : AnswerPage(page, answers, parent) {}

void RatedChoicesPage::buildQuestions() {
    const PageId page = pageId();
    // Each slot asks four questions in a row: the choice, its trend, its intensity and its tune.
    constexpr int SlotQuestions = 4;
    const auto questions = QuestionsOf(page);
    const auto groups = GroupsOf(page);
    std::vector<std::pair<QGroupBox*, QGridLayout*>> frames;
    for (const QuestionGroup& group : groups) {
        QGroupBox* frame = makeGroup(std::string(group.Name).c_str(), this);
        auto* grid = new QGridLayout(frame);
        grid->setColumnStretch(0, 3);
        grid->setColumnStretch(1, 2);
        frames.emplace_back(frame, grid);
        body()->addWidget(frame);
    }
    for (size_t first = 0; first + SlotQuestions <= questions.size(); first += SlotQuestions) {
        const auto name = [&](size_t offset) {
            return std::string(QuestionName(page, static_cast<int>(first + offset)));
        };
        const std::string choice = name(0), trend = name(1), intensity = name(2), tune = name(3);
        const auto& [frame, grid] = frames.at(static_cast<size_t>(questions[first].Group));
        const int row = (static_cast<int>(first / SlotQuestions) % 2) * 2;

        // The lists have no caption of their own: a tooltip says what each asks.
        for (const auto& [list, at] : {std::pair{&choice, row}, std::pair{&trend, row + 1}}) {
            QWidget* control = makeQuestion(list->c_str(), frame);
            control->setToolTip(control->accessibleName());
            grid->addWidget(control, at, 0);
        }

        auto* intensityFrame = new QGroupBox(questionCaption(intensity.c_str()), frame);
        intensityFrame->setObjectName(QStringLiteral("IntensityFrame") + QString::fromStdString(choice));
        follow(intensityFrame, intensity.c_str());
        auto* tuneLayout = new QHBoxLayout(intensityFrame);
        tuneLayout->addWidget(makeQuestion(intensity.c_str(), intensityFrame), 1);
        tuneLayout->addWidget(makeTuneFrame(intensityFrame, tune.c_str()));
        grid->addWidget(intensityFrame, row, 1, 2, 1);
    }
    body()->addStretch();
    buildFoot();
}
