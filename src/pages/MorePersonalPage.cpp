#include "pages/MorePersonalPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "code/CodeFrame.h"
#include "pages/PageControls.h"
#include "vocabulary/Tables.h"

namespace {

struct OmitDescription {
    const char* Caption;
    const char* Name;
    int32_t MorePersonalAnswers::*Flag;
};
constexpr std::array<OmitDescription, 4> Omits = {{
    {QT_TRANSLATE_NOOP("MorePersonalPage", "&Omit Hair"), "OmitHair", &MorePersonalAnswers::OmitHair},
    {QT_TRANSLATE_NOOP("MorePersonalPage", "Om&it Tone"), "OmitTone", &MorePersonalAnswers::OmitTone},
    {QT_TRANSLATE_NOOP("MorePersonalPage", "O&mit Group"), "OmitGroup", &MorePersonalAnswers::OmitGroup},
    {QT_TRANSLATE_NOOP("MorePersonalPage", "Omi&t Bloodtype"), "OmitBloodType", &MorePersonalAnswers::OmitBloodType},
}};

} // namespace

MorePersonalPage::MorePersonalPage(EncoderSheet& sheet)
    : AnswerPage(sheet, tr("More Personal"), MorePersonalSection) {
    // The omit boxes come first in the tab order, in a column of their own at the right.
    auto* omits = new QVBoxLayout;
    for (size_t i = 0; i < m_traits.size(); ++i) {
        Omittable& trait = m_traits[i];
        trait.Flag = Omits[i].Flag;
        trait.Omit = MakeFlagBox(this, tr(Omits[i].Caption), QLatin1String(Omits[i].Name));
        omits->addWidget(trait.Omit);
        BindFlag(trait.Omit, this, m_answers.*trait.Flag, [this, &trait] {
            OmitRule(trait);
            RequestRebuild();
        });
    }
    omits->addStretch();

    auto* columns = new QHBoxLayout;
    auto* grid = new QGridLayout;
    grid->addWidget(BuildHair(), 0, 0);
    grid->addWidget(BuildTone(), 1, 0);
    grid->addWidget(BuildGroup(), 0, 1);
    grid->addWidget(BuildBloodType(), 1, 1);
    columns->addLayout(grid, 1);
    columns->addLayout(omits);
    Body()->addLayout(columns);
    Body()->addStretch();
}

QGroupBox* MorePersonalPage::BuildHair() {
    auto* group = MakeFrame(this, tr("&Hair"), QStringLiteral("HairGroup"));
    auto* layout = new QVBoxLayout(group);
    auto* lists = new QHBoxLayout;
    m_hairColor = MakeCodeList(group, QStringLiteral("HairColor"), tr("Hair colour"));
    m_hairColorAdj = MakeCodeList(group, QStringLiteral("HairColorAdj"), tr("Intensity of the hair colour"));
    lists->addWidget(m_hairColor, 1);
    lists->addWidget(m_hairColorAdj);
    layout->addLayout(lists);

    auto* length = MakeFrame(group, tr("&Length (Short to Long)"), QStringLiteral("LengthGroup"));
    auto* lengthLayout = new QHBoxLayout(length);
    m_hair = MakeLevelTuneGroup(length, tr("Hair length"), tr("the hair length"), QStringLiteral("Hair"));
    lengthLayout->addWidget(m_hair.Slider, 1);
    lengthLayout->addWidget(m_hair.Frame);
    layout->addWidget(length);

    auto* marks = new QHBoxLayout;
    m_beard = MakeFlagBox(group, tr("&Beard"), QStringLiteral("Beard"));
    m_moustache = MakeFlagBox(group, tr("&Moustache"), QStringLiteral("Moustache"));
    marks->addWidget(m_beard);
    marks->addWidget(m_moustache);
    marks->addStretch();
    layout->addLayout(marks);

    m_traits[Hair].Controls = {m_hairColor, m_hairColorAdj, m_hair.Slider, m_hair.Spin, m_beard,
                               m_moustache, group,          length,        m_hair.Frame};
    const auto rebuild = [this] { RequestRebuild(); };
    BindRow(m_hairColor, this, m_answers.HairColor, rebuild);
    BindRow(m_hairColorAdj, this, m_answers.HairColorAdj, rebuild);
    m_hair.Connect(this, m_answers.Hair, m_answers.BoostHair, rebuild);
    BindFlag(m_beard, this, m_answers.Beard, rebuild);
    BindFlag(m_moustache, this, m_answers.Moustache, rebuild);
    return group;
}

QGroupBox* MorePersonalPage::BuildTone() {
    auto* group = MakeFrame(this, tr("Skin &Tone (Light to Dark)"), QStringLiteral("ToneGroup"));
    auto* layout = new QHBoxLayout(group);
    m_tone = MakeLevelTuneGroup(group, tr("Skin tone"), tr("the skin tone"), QStringLiteral("Tone"));
    layout->addWidget(m_tone.Slider, 1);
    layout->addWidget(m_tone.Frame);
    m_traits[Tone].Controls = {m_tone.Slider, m_tone.Spin, group, m_tone.Frame};
    m_tone.Connect(this, m_answers.Tone, m_answers.BoostTone, [this] { RequestRebuild(); });
    return group;
}

QGroupBox* MorePersonalPage::BuildGroup() {
    auto* group = MakeFrame(this, tr("&Cultural Group"), QStringLiteral("GroupGroup"));
    auto* layout = new QVBoxLayout(group);
    m_group = new CodeListBox(group);
    m_group->setObjectName(QStringLiteral("Group"));
    m_group->setAccessibleName(group->accessibleName());
    layout->addWidget(m_group);
    m_traits[Group].Controls = {m_group, group};
    // Every change stores the whole selection; bits past the list are dropped then.
    connect(m_group, &QListWidget::itemSelectionChanged, this,
            [this] { StoreSelection(m_answers.Group, *m_group); });
    return group;
}

QGroupBox* MorePersonalPage::BuildBloodType() {
    auto* group = MakeFrame(this, tr("&Bloodtype"), QStringLiteral("BloodTypeGroup"));
    auto* layout = new QHBoxLayout(group);
    m_bloodType = MakeCodeList(group, QStringLiteral("BloodType"), tr("Blood type"));
    m_bloodTypeSign = MakeCodeList(group, QStringLiteral("BloodTypeSign"), tr("Sign of the blood type"));
    layout->addWidget(m_bloodType, 1);
    layout->addWidget(m_bloodTypeSign);
    m_traits[BloodType].Controls = {m_bloodType, m_bloodTypeSign, group};
    const auto rebuild = [this] { RequestRebuild(); };
    BindRow(m_bloodType, this, m_answers.BloodType, rebuild);
    BindRow(m_bloodTypeSign, this, m_answers.BloodTypeSign, rebuild);
    return group;
}

void MorePersonalPage::OnInitDialog() {
    m_hairColor->FillFromTable(HairColorTable);
    m_hairColorAdj->FillFromTable(ColorAdjTable);
    m_hair.SetRanges(-3, 4, -7, 7);
    m_tone.SetRanges(-2, 2, -4, 4);
    m_bloodType->FillFromTable(BloodTypeTable);
    m_bloodTypeSign->FillFromTable(BloodTypeSignTable);
    m_group->FillFromTable(GroupTable);
    ShowAnswers();
}

void MorePersonalPage::ShowAnswers() {
    m_hair.Show(m_answers.Hair, m_answers.BoostHair);
    m_tone.Show(m_answers.Tone, m_answers.BoostTone);
    m_group->ShowSelectionMask(static_cast<uint32_t>(m_answers.Group));
    ShowFlagsAndRows();
    for (Omittable& trait : m_traits)
        OmitRule(trait);
    // A damaged flag has just been set to 0; the code must say so too.
    RequestRebuild();
}

void MorePersonalPage::UpdateControls() {
    ShowFlagsAndRows();
}

void MorePersonalPage::ShowFlagsAndRows() {
    m_hairColor->ShowRow(m_answers.HairColor);
    m_hairColorAdj->ShowRow(m_answers.HairColorAdj);
    ShowFlag(*m_beard, m_answers.Beard);
    ShowFlag(*m_moustache, m_answers.Moustache);
    m_bloodType->ShowRow(m_answers.BloodType);
    m_bloodTypeSign->ShowRow(m_answers.BloodTypeSign);
    for (Omittable& trait : m_traits)
        ShowFlag(*trait.Omit, m_answers.*trait.Flag);
}

// Hair, tone, group and blood type: each is open unless omitted; no other answer closes anything.
void MorePersonalPage::OmitRule(Omittable& trait) {
    const bool a = m_answers.*trait.Flag == 0;
    for (QWidget* control : trait.Controls)
        control->setEnabled(a);
}
