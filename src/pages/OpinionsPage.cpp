// SPDX-License-Identifier: MIT
#include "pages/OpinionsPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <map>

OpinionsPage::OpinionsPage(const AnswerSet& answers, QWidget* parent)
    : AnswerPage(PageId::Opinions, answers, parent) {}

void OpinionsPage::buildQuestions() {
    auto* columns = new QHBoxLayout;
    auto* topics = new QGridLayout;
    // The omit boxes stand in a column of their own, outside the group boxes they close; each comes
    // first in its topic, since it opens the rest.
    auto* omitColumn = new QVBoxLayout;
    struct Topic {
        QGroupBox* Frame;
        QVBoxLayout* Boxes;
        QHBoxLayout* Layout;
    };
    std::map<int, Topic> frames;
    const auto questions = QuestionsOf(PageId::Opinions);
    for (size_t i = 0; i < questions.size(); ++i) {
        const Question& question = questions[i];
        const std::string name(QuestionName(PageId::Opinions, static_cast<int>(i)));
        if (question.Group < 0) {
            omitColumn->addWidget(makeQuestion(name.c_str(), this));
            continue;
        }
        auto found = frames.find(question.Group);
        if (found == frames.end()) {
            const auto& group = GroupsOf(PageId::Opinions)[static_cast<size_t>(question.Group)];
            QGroupBox* frame = makeGroup(std::string(group.Name).c_str(), this);
            auto* layout = new QHBoxLayout(frame);
            auto* boxes = new QVBoxLayout;
            layout->addLayout(boxes);
            topics->addWidget(frame, question.Group / 2, question.Group % 2);
            found = frames.emplace(question.Group, Topic{frame, boxes, layout}).first;
        }
        const Topic& topic = found->second;
        switch (question.Kind) {
        case ControlKind::Slider:
            topic.Boxes->addStretch();
            topic.Layout->addWidget(makeQuestion(name.c_str(), topic.Frame), 1);
            break;
        case ControlKind::Tune:
            topic.Layout->addWidget(makeTuneFrame(topic.Frame, name.c_str()), 0, Qt::AlignVCenter);
            break;
        default:
            topic.Boxes->addWidget(makeQuestion(name.c_str(), topic.Frame));
            break;
        }
    }
    omitColumn->addStretch();
    columns->addLayout(topics, 1);
    columns->addLayout(omitColumn);
    body()->addLayout(columns, 1);
    buildFoot();
}
