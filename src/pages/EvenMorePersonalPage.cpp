// SPDX-License-Identifier: MIT
#include "pages/EvenMorePersonalPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

EvenMorePersonalPage::EvenMorePersonalPage(const AnswerSet& answers, QWidget* parent)
    : AnswerPage(PageId::EvenMorePersonal, answers, parent) {}

void EvenMorePersonalPage::buildQuestions() {
    // The omit boxes come first in the tab order, in a column of their own at the right, each beside
    // the group it omits (so that it scrolls into sight with it).
    QWidget* omits[3] = {};
    int omit = 0;
    for (const char* name : {"OmitSign", "OmitGender", "OmitRelationship"})
        omits[omit++] = makeQuestion(name, this);

    QGroupBox* sign = makeGroup("SignGroup", this);
    auto* signLayout = new QHBoxLayout(sign);
    signLayout->addWidget(makeQuestion("Sign", sign));
    signLayout->addStretch();

    QGroupBox* gender = makeGroup("GenderGroup", this);
    auto* genderLayout = new QVBoxLayout(gender);
    genderLayout->addWidget(makeQuestion("Gender", gender));
    QGroupBox* kink = makeGroup("KinkGroup", gender);
    auto* kinkLayout = new QGridLayout(kink);
    kinkLayout->addWidget(makeQuestion("UsePurity", kink), 0, 0);
    QGroupBox* quiz = makeGroup("QuizGroup", kink);
    auto* quizLayout = new QHBoxLayout(quiz);
    auto* purity = makeQuestion<QLineEdit>("Purity", quiz);
    purity->setAlignment(Qt::AlignCenter);
    quizLayout->addWidget(purity);
    kinkLayout->addWidget(quiz, 1, 0);
    // The kink factor and membership in a frame of their own, beside the quiz.
    auto* factor = new QGroupBox(kink);
    factor->setObjectName(QStringLiteral("KinkFactorGroup"));
    factor->setAccessibleName(kink->accessibleName());
    auto* factorLayout = new QGridLayout(factor);
    factorLayout->addWidget(makeQuestion("NoTellKink", factor), 0, 0);
    factorLayout->addWidget(makeQuestion("Kink", factor), 1, 0);
    factorLayout->addWidget(makeTuneFrame(factor, "BoostKink"), 1, 1);
    factorLayout->addWidget(makeQuestion("KinkMembership", factor), 2, 0, 1, 2);
    kinkLayout->addWidget(factor, 0, 1, 2, 1);
    kinkLayout->setColumnStretch(1, 1);
    genderLayout->addWidget(kink);

    // Each list's row plus its tune stays within the three rows, whichever of the two the user moves.
    QGroupBox* relationship = makeGroup("RelationshipGroup", this);
    auto* relationshipLayout = new QGridLayout(relationship);
    int line = 0;
    for (const auto& [list, tune] :
         {std::pair{"Preference", "BoostPreference"}, std::pair{"Status", "BoostStatus"}}) {
        relationshipLayout->addWidget(makeQuestion(list, relationship), line, 0);
        relationshipLayout->addWidget(makeTuneFrame(relationship, tune), line, 1);
        ++line;
    }
    relationshipLayout->setColumnStretch(0, 1);

    auto* columns = new QGridLayout;
    int row = 0;
    for (QGroupBox* group : {sign, gender, relationship}) {
        columns->addWidget(group, row, 0);
        columns->addWidget(omits[row], row, 1, Qt::AlignTop);
        ++row;
    }
    columns->setColumnStretch(0, 1);
    body()->addLayout(columns);
    body()->addStretch();
    buildFoot();
}
