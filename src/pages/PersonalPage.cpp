// SPDX-License-Identifier: MIT
#include "pages/PersonalPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <map>

namespace {
enum { Age, Stature, Weight, Fat, Eyes, LeftEye, RightEye };
} // namespace

PersonalPage::PersonalPage(const AnswerSet& answers, QWidget* parent)
    : AnswerPage(PageId::Personal, answers, parent) {}

void PersonalPage::buildQuestions() {
    auto* traits = new QGridLayout;
    // The omit boxes stand in a column of their own, so that closing a trait never closes them; each
    // comes first in the tab order of its trait.
    auto* omits = new QVBoxLayout;
    struct Frame {
        QGroupBox* Box = nullptr;
        QHBoxLayout* Top = nullptr;   // check boxes and exact numbers
        QHBoxLayout* Level = nullptr; // a trait's slider and tune; an eye's sides
        QGridLayout* Rows = nullptr;  // an eye's colours, a colour and its intensity to a line
        int Items = 0;
    };
    std::map<int, Frame> frames;
    const auto frameOf = [&](int group) -> Frame& {
        Frame& frame = frames[group];
        if (frame.Box)
            return frame;
        const QuestionGroup& description = GroupsOf(PageId::Personal)[static_cast<size_t>(group)];
        // A group inside another comes after the first question of the outer one.
        QWidget* parent =
            description.Parent < 0 ? static_cast<QWidget*>(this) : frames[description.Parent].Box;
        frame.Box = makeGroup(std::string(description.Name).c_str(), parent);
        if (group == LeftEye || group == RightEye) {
            frame.Rows = new QGridLayout(frame.Box);
            frames[Eyes].Level->addWidget(frame.Box);
            return frame;
        }
        auto* layout = new QVBoxLayout(frame.Box);
        frame.Top = new QHBoxLayout;
        frame.Level = new QHBoxLayout;
        layout->addLayout(frame.Top);
        layout->addLayout(frame.Level);
        if (group < Eyes)
            traits->addWidget(frame.Box, group / 2, group % 2);
        return frame;
    };

    const auto questions = QuestionsOf(PageId::Personal);
    for (size_t i = 0; i < questions.size(); ++i) {
        const Question& question = questions[i];
        const std::string name(QuestionName(PageId::Personal, static_cast<int>(i)));
        if (question.Group < 0) {
            omits->addWidget(makeQuestion(name.c_str(), this));
            continue;
        }
        Frame& frame = frameOf(question.Group);
        switch (question.Kind) {
        case ControlKind::Slider:
            frame.Level->addWidget(makeQuestion(name.c_str(), frame.Box), 1);
            break;
        case ControlKind::Tune:
            frame.Level->addWidget(makeTuneFrame(frame.Box, name.c_str()));
            break;
        case ControlKind::List:
            frame.Rows->addWidget(makeQuestion(name.c_str(), frame.Box), frame.Items / 2, frame.Items % 2);
            ++frame.Items;
            break;
        default: {
            QWidget* control = makeQuestion(name.c_str(), frame.Box);
            if (auto* count = qobject_cast<QLineEdit*>(control))
                count->setAlignment(name == "ExactAge" ? Qt::AlignCenter : Qt::AlignLeft);
            frame.Top->addWidget(control);
            break;
        }
        }
    }
    for (auto& [group, frame] : frames)
        if (frame.Top)
            frame.Top->addStretch();
    body()->addLayout(traits);

    auto* lower = new QHBoxLayout;
    lower->addWidget(frames[Eyes].Box, 1);
    omits->addStretch();
    lower->addLayout(omits);
    body()->addLayout(lower);
    body()->addStretch();
    buildFoot();
}
