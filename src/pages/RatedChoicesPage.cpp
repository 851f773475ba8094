#include "pages/RatedChoicesPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "pages/PageControls.h"
#include "vocabulary/Tables.h"

RatedChoicesPage::RatedChoicesPage(EncoderSheet& sheet, const QString& caption, int sectionNumber,
                                     const QString& firstGroup, const QString& secondGroup,
                                     const std::array<SlotDescription, SlotCount>& slotDescriptions)
    : AnswerPage(sheet, caption, sectionNumber) {
    // The frames are named after their choices: "SenshiGroup", "VillianGroup", "AssistGroup", "PartGroup".
    const auto frameName = [&](int slot) {
        return QString::fromLatin1(slotDescriptions[static_cast<size_t>(slot)].Name).chopped(1) +
               QStringLiteral("Group");
    };
    QGroupBox* groups[] = {MakeFrame(this, firstGroup, frameName(0)),
                           MakeFrame(this, secondGroup, frameName(2))};
    QGridLayout* grids[] = {new QGridLayout(groups[0]), new QGridLayout(groups[1])};
    for (int i = 0; i < SlotCount; ++i) {
        Slot& slot = m_slots[static_cast<size_t>(i)];
        slot.Description = slotDescriptions[static_cast<size_t>(i)];
        QGroupBox* group = groups[i / 2];
        QGridLayout* grid = grids[i / 2];
        const QString name = QString::fromLatin1(slot.Description.Name);
        const QString subject = tr(slot.Description.Subject);
        const int row = (i % 2) * 2;

        slot.Choice = MakeCodeList(group, name, subject.left(1).toUpper() + subject.mid(1));
        slot.Trend = MakeCodeList(group, QStringLiteral("Trend") + name, tr("Trend of the %1").arg(subject));
        grid->addWidget(slot.Choice, row, 0);
        grid->addWidget(slot.Trend, row + 1, 0);

        slot.IntensityFrame = new QGroupBox(tr(slot.Description.IntensityCaption), group);
        slot.IntensityFrame->setObjectName(QStringLiteral("IntensityFrame") + name);
        slot.Tune = MakeTuneGroup(slot.IntensityFrame, tr("Intensity of the %1").arg(subject),
                                  tr("the %1").arg(subject), name);
        auto* tuneLayout = new QHBoxLayout(slot.IntensityFrame);
        tuneLayout->addWidget(slot.Tune.Slider, 1);
        tuneLayout->addWidget(slot.Tune.Frame);
        grid->addWidget(slot.IntensityFrame, row, 1, 2, 1);
        grid->setColumnStretch(0, 3);
        grid->setColumnStretch(1, 2);

        connect(slot.Choice, &QComboBox::currentIndexChanged, this,
                [this, &slot](int index) { OnChoiceChanged(slot, index); });
        connect(slot.Trend, &QComboBox::currentIndexChanged, this,
                [this, &slot](int index) { OnTrendChanged(slot, index); });
        slot.Tune.Connect(this, *slot.Description.Fields.Intensity, *slot.Description.Fields.Boost,
                          [this] { RequestRebuild(); });
    }
    Body()->addWidget(groups[0]);
    Body()->addWidget(groups[1]);
    Body()->addStretch();
}

void RatedChoicesPage::OnInitDialog() {
    for (Slot& slot : m_slots) {
        slot.Choice->FillFromTable(*slot.Description.Table);
        slot.Tune.SetRanges(0, 3, 0, 3);
        slot.Trend->FillFromTable(TrendTable);
    }
    ShowAnswers();
}

void RatedChoicesPage::ShowAnswers() {
    UpdateControls();
    for (Slot& slot : m_slots) {
        slot.Tune.Show(*slot.Description.Fields.Intensity, *slot.Description.Fields.Boost);
        SlotRule(slot);
    }
}

void RatedChoicesPage::UpdateControls() {
    for (Slot& slot : m_slots) {
        slot.Choice->ShowRow(*slot.Description.Fields.Choice);
        slot.Trend->ShowRow(*slot.Description.Fields.Trend);
    }
}

void RatedChoicesPage::OnChoiceChanged(Slot& slot, int index) {
    *slot.Description.Fields.Choice = index;
    SlotRule(slot);
    RequestRebuild();
}

void RatedChoicesPage::OnTrendChanged(Slot& slot, int index) {
    *slot.Description.Fields.Trend = index;
    RequestRebuild();
}

void RatedChoicesPage::SlotRule(Slot& slot) {
    // A choice of −1 (no selection, from damaged settings) counts as chosen.
    const bool chosen = *slot.Description.Fields.Choice != 0;
    slot.Trend->setEnabled(chosen);
    slot.IntensityFrame->setEnabled(chosen);
    slot.Tune.SetEnabled(chosen);
}
