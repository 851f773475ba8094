// SPDX-License-Identifier: MIT
#include "pages/MorePersonalPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

MorePersonalPage::MorePersonalPage(const AnswerSet& answers, QWidget* parent)
    : AnswerPage(PageId::MorePersonal, answers, parent) {}

void MorePersonalPage::buildQuestions() {
    // The omit boxes come first in the tab order, in a column of their own at the right.
    auto* omits = new QVBoxLayout;
    for (const char* omit : {"OmitHair", "OmitTone", "OmitGroup", "OmitBloodType"})
        omits->addWidget(makeQuestion(omit, this));
    omits->addStretch();

    QGroupBox* hair = makeGroup("HairGroup", this);
    auto* hairLayout = new QVBoxLayout(hair);
    auto* lists = new QHBoxLayout;
    lists->addWidget(makeQuestion("HairColor", hair), 1);
    lists->addWidget(makeQuestion("HairColorAdj", hair));
    hairLayout->addLayout(lists);
    QGroupBox* length = makeGroup("LengthGroup", hair);
    auto* lengthLayout = new QHBoxLayout(length);
    lengthLayout->addWidget(makeQuestion("Hair", length), 1);
    lengthLayout->addWidget(makeTuneFrame(length, "BoostHair"));
    hairLayout->addWidget(length);
    auto* marks = new QHBoxLayout;
    marks->addWidget(makeQuestion("Beard", hair));
    marks->addWidget(makeQuestion("Moustache", hair));
    marks->addStretch();
    hairLayout->addLayout(marks);

    QGroupBox* tone = makeGroup("ToneGroup", this);
    auto* toneLayout = new QHBoxLayout(tone);
    toneLayout->addWidget(makeQuestion("Tone", tone), 1);
    toneLayout->addWidget(makeTuneFrame(tone, "BoostTone"));

    // Every change stores the whole selection; bits past the list are dropped then.
    QGroupBox* group = makeGroup("GroupGroup", this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(makeQuestion("Group", group));

    QGroupBox* bloodType = makeGroup("BloodTypeGroup", this);
    auto* bloodTypeLayout = new QHBoxLayout(bloodType);
    bloodTypeLayout->addWidget(makeQuestion("BloodType", bloodType), 1);
    bloodTypeLayout->addWidget(makeQuestion("BloodTypeSign", bloodType));

    auto* columns = new QHBoxLayout;
    auto* grid = new QGridLayout;
    grid->addWidget(hair, 0, 0);
    grid->addWidget(tone, 1, 0);
    grid->addWidget(group, 0, 1);
    grid->addWidget(bloodType, 1, 1);
    columns->addLayout(grid, 1);
    columns->addLayout(omits);
    body()->addLayout(columns);
    body()->addStretch();
    buildFoot();
}
